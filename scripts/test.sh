#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test:
#   1. the normal build and all its tests (the window's tests offscreen);
#   2. the engine and conversion tests again under AddressSanitizer and
#      UndefinedBehaviorSanitizer;
#   3. the reader's fuzz target, built with clang and run briefly on its seeds;
#   4. the Debian package, made from the build of step 1, installed, run and
#      removed (scripts/package-test.sh);
#   5. dravbatch.exe and the engine, core and command-line tests cross-built
#      for Windows and run under Wine (scripts/test-windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)

scripts/install-deps.sh

summary="$(mktemp)"
trap 'rm -f "$summary"' EXIT

echo "== Build and test"
scripts/build.sh build
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$jobs" | tee -a "$summary"

echo "== Engine and conversion tests under ASan + UBSan"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDRAVELLA_SANITIZE=ON \
  -DDRAVELLA_BUILD_GUI=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" | tee -a "$summary"

if [ -f tests/fuzz/CMakeLists.txt ]; then
  echo "== Fuzz target (clang, libFuzzer)"
  CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DDRAVELLA_FUZZ=ON -DDRAVELLA_BUILD_GUI=OFF -DDRAVELLA_BUILD_TESTS=OFF >/dev/null
  cmake --build build-fuzz -j "$jobs" --target fuzz_xls_reader
  tests/fuzz/smoke.sh build-fuzz
fi

# ---- Package: built from build/ of the first stage, installed, run, removed.
echo "== Debian package: build, install, run, remove"
scripts/package-test.sh build
# ---- end of the package stage

echo "== Windows build under Wine"
scripts/test-windows.sh build | tee -a "$summary"

# All test runs together, as one closing line.
awk '/tests passed, .* tests failed out of/ { failed += $4; total += $NF }
     END { printf "tests: %d passed, %d failed\n", total - failed, failed }' "$summary"
