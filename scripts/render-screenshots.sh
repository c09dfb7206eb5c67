#!/usr/bin/env bash
# Renders the main window, the About box and the Setting dialog to docs/screenshots/ on the
# offscreen platform, at 100% scale; and the window filled by a walk through the
# example workbooks (filled-window.png).
#   scripts/render-screenshots.sh [BUILD_DIR]   (default: build)
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$repo/build}"

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$repo" -B "$build" -G Ninja
fi
cmake --build "$build" --target render_screenshots listing_walkthrough -j2

mkdir -p "$repo/docs/screenshots"
QT_QPA_PLATFORM=offscreen QT_QPA_PLATFORMTHEME= QT_SCALE_FACTOR=1 \
  "$build/tests/gui/render_screenshots" \
  "$repo/docs/screenshots/main-window.png" \
  "$repo/docs/screenshots/about-box.png" \
  "$repo/docs/screenshots/setting-dialog.png"
# The examples under a fixed name, so that the picture does not show where
# the repository happens to lie.
samples="${TMPDIR:-/tmp}/Dravella examples"
rm -rf "$samples" && mkdir -p "$samples" && cp "$repo"/examples/*.xls "$samples"/
QT_QPA_PLATFORM=offscreen QT_QPA_PLATFORMTHEME= QT_SCALE_FACTOR=1 \
  "$build/tests/gui/listing_walkthrough" "$samples" \
  --window "$repo/docs/screenshots/filled-window.png" >/dev/null
rm -rf "$samples"
echo "Wrote main-window.png, about-box.png, setting-dialog.png and filled-window.png in docs/screenshots/"
