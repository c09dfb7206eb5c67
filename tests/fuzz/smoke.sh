#!/usr/bin/env bash
# A short fuzzing run of the reader, as CI does it: seeds from the real
# workbooks beside the project when they are there (copied to a temporary
# folder, never into the project), the record dictionary, one minute.
#   tests/fuzz/smoke.sh BUILD_DIR [SECONDS]
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$1"
seconds="${2:-60}"
fuzzer="$build/tests/fuzz/fuzz_xls_reader"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" "$work/artifacts"
if [ -d "$repo/../shared/corpus" ]; then
  find "$repo/../shared/corpus" -type f -size -300k -exec cp {} "$work/corpus/" \;
fi

"$fuzzer" "$work/corpus" -dict="$repo/tests/fuzz/xls_reader.dict" \
  -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -max_len=200000 \
  -artifact_prefix="$work/artifacts/" -print_final_stats=1 2>"$work/log" || {
  tail -40 "$work/log"
  echo "fuzzing found a fault; the input is in the log above"
  exit 1
}
grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' "$work/log" || true
echo "fuzz smoke run: ${seconds} s, no finding"
