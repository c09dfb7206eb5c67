#!/usr/bin/env bash
# Configures and builds the project into build/ (or the folder given).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" -j "$jobs"
