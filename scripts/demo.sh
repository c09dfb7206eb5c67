#!/usr/bin/env bash
# Installs what is missing, builds, and converts the bundled example workbooks
# with dravbatch into out/examples/ (one subfolder per workbook), then lists
# the tables it wrote.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh build

rm -rf out/examples
mkdir -p out/examples
set +e
build/CMD/dravbatch examples out/examples /dbf4 /name=2
status=$?
set -e
echo "dravbatch exit status: $status"
echo "Tables written below out/examples:"
find out/examples -type f | sort | while read -r file; do
  printf '  %-50s %8d bytes\n' "$file" "$(stat -c %s "$file")"
done
exit "$status"
