#!/usr/bin/env bash
# A user's way through the window with the keyboard only, on a private X
# server: add two folders, go back to the first with an arrow key, untick a
# worksheet of one workbook, rename a worksheet of another with F2, type the
# output directory and convert through the menu opened by Alt. The tables
# written must be exactly those chosen; the checker compares those not
# renamed with their worksheets.
#   scripts/keyboard-walkthrough.sh [BUILD_DIR] [CHECKER]
# Needs Xvfb and xdotool. Exit 0 when every check holds.
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$repo/build}"
checker="${2:-$repo/../shared/tools/xls2dbf-check}"
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "keyboard-walkthrough: $tool is missing" >&2; exit 2; }
done

work="$(mktemp -d "${TMPDIR:-/tmp}/dravella-keys.XXXXXX")"
xvfb_pid=""
app_pid=""
finish() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT

# Folder A: sales.xls (Orders, Regions) and staff.xls (Staff). Folder B holds
# another workbook under the name sales.xls, so choosing the wrong folder
# would show in the tables.
mkdir -p "$work/data/A" "$work/data/B" "$work/program" "$work/home"
cp "$repo/examples/sales.xls" "$repo/examples/staff.xls" "$work/data/A/"
cp "$repo/examples/inventory.xls" "$work/data/B/sales.xls"
# The program in a folder of its own: its saved lists land there.
cp "$build/gui/Dravella" "$work/program/"
out="$work/out/run"
mkdir -p "$work/out"

display=":$((100 + RANDOM % 400))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY="$display"
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME= \
  QT_SCALE_FACTOR=1 "$work/program/Dravella" >"$work/app.log" 2>&1 &
app_pid=$!
xdotool search --sync --onlyvisible --name '^Dravella$' >/dev/null
window="$(xdotool search --onlyvisible --name '^Dravella$' | head -1)"
# There is no window manager: the pointer is put aside (a tooltip under it
# would take the keys) and the keyboard focus given to the window, as a
# window manager does when a window opens or a dialog over it closes.
xdotool mousemove 1023 767
give_focus() { xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"; sleep 0.3; }
give_focus

pause() { sleep "${1:-0.4}"; }
keys() { xdotool key --delay 60 "$@"; pause; }
type_text() { xdotool type --delay 20 "$1"; pause; }
# Keys typed into a list choose by the start of an entry's name; the search
# starts afresh after a short pause.
search() { pause 1.2; type_text "$1"; }

# The focus starts on Add Excel; Add Folder is next.
keys Tab
for folder in A B; do
  keys space
  xdotool search --sync --name '^Add all excel files in folder$' >/dev/null
  type_text "$work/data/$folder"
  keys Return
  pause 0.8
  give_focus
done
# The input list, six stops on; Up goes back from B to A.
keys Tab Tab Tab Tab Tab Tab
keys Up
# The workbook list (past the naming choice): staff.xls, and its only
# worksheet unticked in the worksheet list.
keys Tab Tab
search staff
keys Tab
keys Home
keys space
# Back to sales.xls: Orders renamed in place, Regions left as it is.
keys shift+Tab
search sales
keys Tab
keys Home
keys F2
keys ctrl+a
type_text "Bestellungen"
keys Return
# Up, Down and the level choice lie between the worksheets and the output box.
keys Tab Tab Tab Tab
type_text "$out"
# Actions > Convert, by the keyboard: Alt, two menus to the right, open, the first item.
keys alt
keys Right Right
keys Down
keys Return
for _ in $(seq 100); do [ -f "$out/sales/Regions.dbf" ] && break; sleep 0.1; done
pause 1

status=0
expect() {  # expect WHAT CONDITION...
  local what="$1"; shift
  if "$@"; then echo "ok    $what"; else echo "FAIL  $what"; status=1; fi
}
listing="$(cd "$work/out" 2>/dev/null && find . -mindepth 1 | sort | tr '\n' ' ')"
expect "tables are exactly those chosen ($listing)" \
  test "$listing" = "./run ./run/sales ./run/sales/Bestellungen.dbf ./run/sales/Regions.dbf ./run/staff "
if [ -x "$checker" ]; then
  # Regions is not renamed: it holds exactly what A's worksheet holds.
  "$checker" "$work/data/A/sales.xls" "$out/sales" --level 4 --json "$work/check.json" \
    >"$work/check.log" 2>&1 || true
  expect "checker: Regions exact" python3 -c '
import json, sys
sheets = json.load(open(sys.argv[1]))["workbooks"][0]["sheets"]
sys.exit(0 if any(s["sheet"] == "Regions" and s["verdict"] == "exact" for s in sheets) else 1)
' "$work/check.json"
  # Bestellungen is Orders under its new name.
  mkdir "$work/renamed-back"
  cp "$out/sales/Regions.dbf" "$work/renamed-back/"
  cp "$out/sales/Bestellungen.dbf" "$work/renamed-back/Orders.dbf"
  quietly() { "$@" >>"$work/check.log" 2>&1; }
  expect "checker: Bestellungen holds Orders exactly" \
    quietly "$checker" "$work/data/A/sales.xls" "$work/renamed-back" --level 4
  [ "$status" -eq 0 ] || cat "$work/check.log"
else
  echo "skip  checker not found at $checker"
fi
exit "$status"
