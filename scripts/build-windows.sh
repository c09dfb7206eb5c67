#!/usr/bin/env bash
# Cross-builds dravbatch.exe for 64-bit Windows with MinGW-w64 into
# build-windows/ (or the folder given), installing the compiler and Wine
# first when they are missing. The .exe carries its C++ run-time, so it runs
# on a bare Windows 10 or later:
#   scripts/build-windows.sh [build-dir] [target ...]
# The targets default to dravbatch; name the test programs to build those too.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build-windows}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(dravbatch)
jobs=$(nproc 2>/dev/null || echo 2)

packages=(cmake ninja-build g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
          mingw-w64-x86-64-dev wine64 wine googletest)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi

cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
  -DDRAVELLA_BUILD_GUI=OFF >/dev/null
cmake --build "$build_dir" -j "$jobs" --target "${targets[@]}"
