#!/usr/bin/env bash
# Builds the benchmark programs in Release and runs each, printing its figures.
#   bench/run.sh [build-dir]      (default: build-bench beside the repository)
# Extra arguments for one program go through its own options, e.g.
#   BENCH_READER_ARGS="--runs 9 --write /tmp/big.xls" bench/run.sh
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$repo/../build-bench}"

cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DDRAVELLA_BUILD_TESTS=OFF -DDRAVELLA_BUILD_GUI=OFF >/dev/null
mapfile -t programs < <(cd "$repo/bench" && ls -1 *.cpp | grep -v '^gui_' | sed 's/\.cpp$//')
cmake --build "$build" --target "${programs[@]}" -j2 >/dev/null

status=0
for program in "${programs[@]}"; do
  echo "== $program"
  args_var="$(echo "${program}" | tr '[:lower:]' '[:upper:]')_ARGS"
  # shellcheck disable=SC2086  # the arguments are meant to split
  "$build/bench/$program" ${!args_var:-} || status=$?
  echo
done
# dravbatch against GDAL's ogr2ogr on the benchmark workbook.
echo "== convert_vs_ogr2ogr"
cmake --build "$build" --target dravbatch -j2 >/dev/null
"$build/bench/bench_reader" --runs 1 --write "$build/bench-workbook.xls" >/dev/null
"$repo/bench/convert_vs_ogr2ogr.py" "$build/CMD/dravbatch" "$build/bench-workbook.xls" || status=$?
echo
# A double-byte code page against 1252 on the same workbook.
echo "== convert_code_pages"
"$repo/bench/convert_code_pages.py" "$build/CMD/dravbatch" "$build/bench-workbook.xls" || status=$?
echo

# Whole processes: a workbook of 40 such sheets against one, and a folder of
# 400 small workbooks (PROCESS_BENCH_ARGS="--rows 10000" for a slow machine).
echo "== process_bench"
# shellcheck disable=SC2086  # the arguments are meant to split
"$repo/bench/process_bench.py" "$build/CMD/dravbatch" "$build/bench/bench_reader" ${PROCESS_BENCH_ARGS:-} || status=$?
echo

# The window's Convert against dravbatch: the desktop program needs a build of its own.
gui_build="$build-gui"
cmake -S "$repo" -B "$gui_build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$gui_build" --target window_convert dravbatch bench_reader -j2 >/dev/null
"$gui_build/bench/bench_reader" --runs 1 --write "$gui_build/bench-workbook.xls" >/dev/null
echo "== gui_convert_bench"
"$repo/bench/gui_convert_bench.py" "$gui_build/tests/gui/window_convert" "$gui_build/CMD/dravbatch" \
  "$gui_build/bench-workbook.xls" || status=$?
echo

# The window program's listing: click on the workbook above to the redrawn
# worksheet list (offscreen).
echo "== gui_listing_bench"
cmake --build "$gui_build" --target gui_listing_bench -j2 >/dev/null
QT_QPA_PLATFORM=offscreen QT_QPA_PLATFORMTHEME= "$gui_build/bench/gui_listing_bench" \
  --input "$gui_build/bench-workbook.xls" ${GUI_LISTING_BENCH_ARGS:-} || status=$?

exit "$status"
