#!/usr/bin/env bash
# The real editor: paint with the mouse, save through the file selector by typing a name, quit
# through the confirmation box (exit status 1, the screen mode kept), then check the saved map file.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"

tree=$(e2e_copy_run_tree)
rm -f "$tree/data/ed_settings.txt" "$tree"/*.map

e2e_start_editor "$tree"
alive "its start"
size=$(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[[ "$size" == "800x600" ]] || e2e_fail "window is $size, not 800x600"

# Each press and each click is held until the editor shows what it did.
pick_tile 5                 # palette cell (1,1)
paint 2 10 3 10 4 10
pick_tool 400               # the Up Block tool
paint 8 6
pick_tool 250               # the start tool
paint 3 9
e2e_screenshot "$E2E_TMP/painted.png"
mkdir -p "$E2E_RUN_DIR/shots" && cp "$E2E_TMP/painted.png" "$E2E_RUN_DIR/shots/e2e_editor_painted.png"

# Save: the selector opens on the editor's directory; the typed name is added to it.
open_selector 32
for k in s l e e p y period m a p; do e2e_key "$window" "$k" 0.08; done
e2e_key "$window" Return
e2e_wait_until 10 test -s "$tree/sleepy.map" || e2e_fail "no saved map at $tree/sleepy.map"
e2e_wait_until 10 editing || e2e_fail "the editor did not come back after saving"

# Quit: ESC opens the box with "No" chosen, RIGHT moves to "Yes", ENTER ends the editor.
e2e_press_key_until "$window" Escape 10 box_open || e2e_fail "ESC did not open the quit box"
e2e_screenshot "$E2E_TMP/quit_box.png"
cp "$E2E_TMP/quit_box.png" "$E2E_RUN_DIR/shots/e2e_editor_quit_box.png"
kill -0 "$editor_pid" 2>/dev/null || e2e_fail "ESC ended the editor without asking"
e2e_press_key_until "$window" Right 10 box_yes || e2e_fail "RIGHT did not move to \"Yes\""
e2e_press_key_until "$window" Return 10 e2e_ended "$editor_pid" || e2e_fail "the editor did not end after Yes"
e2e_expect_exit_1 "$editor_pid" 10 "the editor did not end after Yes"
[[ "$(cat "$tree/data/ed_settings.txt" 2>/dev/null)" == "2" ]] || e2e_fail "settings file does not hold the windowed mode 2"

# The saved file: the editor's format, 611 lines with no teleports, and what was painted.
map="$tree/sleepy.map"
lines=$(wc -l < "$map")
[[ $lines -eq 611 ]] || e2e_fail "saved map has $lines lines, not 611"
grep -q $'\r' "$map" && e2e_fail "saved map holds carriage returns"
line() { sed -n "${1}p" "$map"; }
# Block value of cell (x, y) is on line 11 + 2 * (15x + y); its trans value on the next.
block() { line $((11 + 2 * (15 * $1 + $2))); }
[[ "$(line 1)" == "Enter Map Name" ]] || e2e_fail "line 1 is '$(line 1)'"
[[ "$(line 2)" == "sleepy.map" ]] || e2e_fail "line 2 is '$(line 2)'"
[[ "$(line 3)" == "end" ]] || e2e_fail "line 3 is '$(line 3)'"
[[ "$(line 4) $(line 5)" == "3 9" ]] || e2e_fail "start is $(line 4) $(line 5), not 3 9"
[[ "$(line 6) $(line 7)" == "19 14" ]] || e2e_fail "exit is $(line 6) $(line 7)"
for x in 2 3 4; do
  [[ "$(block $x 10)" == "5" ]] || e2e_fail "cell ($x,10) holds $(block $x 10), not tile 5"
done
[[ "$(block 8 6)" == "-2" ]] || e2e_fail "cell (8,6) holds $(block 8 6), not an Up Block"
[[ "$(block 5 10)" == "-1" ]] || e2e_fail "cell (5,10) was painted"
[[ "$(line 611)" == "0" ]] || e2e_fail "teleport count is $(line 611)"

# Nothing failed on the way; a sound system that will not start may have been reported.
if grep -q -e 'Failed to load' -e 'Could not' -e 'Sorry' "$E2E_TMP/xmessage.log"; then
  e2e_fail "unexpected message: $(cat "$E2E_TMP/xmessage.log")"
fi
if [[ -s "$E2E_TMP/xmessage.log" ]] && ! head -n 1 "$E2E_TMP/xmessage.log" | grep -q 'Error initialising sound system'; then
  e2e_fail "unexpected message: $(cat "$E2E_TMP/xmessage.log")"
fi
echo "e2e editor session: ok"
