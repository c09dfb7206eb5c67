#!/usr/bin/env bash
# Installs the Debian packages that building, testing and the examples need,
# only those that are missing. Uses apt-get (through sudo when not root).
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev googletest
  qt6-base-dev qt6-svg-dev libxkbcommon-dev fonts-liberation
  xvfb xauth
  clang-14 libclang-rt-14-dev
  python3 python3-xlrd python3-dbfread gdal-bin
  python3-markdown dpkg-dev file lintian desktop-file-utils appstream man-db
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
