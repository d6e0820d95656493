#!/usr/bin/env bash
# The real editor when its sound system will not start (Allegro is told to use ALSA, and ALSA has no
# sound device to open): the failure is reported once, the window stays up, and the author can still
# paint, save and quit.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"

tree=$(e2e_copy_run_tree)
rm -f "$tree/data/ed_settings.txt" "$tree"/*.map
# Allegro reads allegro.cfg from the program's directory. A driver it is told to use must start
# (an unknown id would only mean detection, which ends on no sound without failing); ALSA's
# configuration then holds no device at all.
printf '[sound]\ndigi_card = ALSA\nmidi_card = DIGI\n' > "$tree/allegro.cfg"
printf '# no sound devices\n' > "$E2E_TMP/no_pcm.conf"
export ALSA_CONFIG_PATH="$E2E_TMP/no_pcm.conf"

# The editor's first frame comes after its sound system has been tried and reported.
e2e_start_editor "$tree"
alive "its start"

# The message (after the stub's record of xmessage's options): "Error initialising sound system",
# then Allegro's reason on a line of its own, and nothing else.
[[ -s "$E2E_TMP/xmessage.log" ]] || e2e_fail "no message about the sound system"
head -n 1 "$E2E_TMP/xmessage.log" | grep -q ' Error initialising sound system$' ||
  e2e_fail "first message line is '$(head -n 1 "$E2E_TMP/xmessage.log")'"
reason=$(sed -n 2p "$E2E_TMP/xmessage.log")
[[ -n "$reason" ]] || e2e_fail "the message gives no reason after its first line"
reports=$(grep -c 'Error initialising sound system' "$E2E_TMP/xmessage.log")
[[ $reports -eq 1 ]] || e2e_fail "the sound failure was reported $reports times"
grep -q -e 'Failed to load' -e 'Could not' -e 'Sorry' "$E2E_TMP/xmessage.log" &&
  e2e_fail "unexpected message: $(cat "$E2E_TMP/xmessage.log")"

size=$(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[[ "$size" == "800x600" ]] || e2e_fail "window is $size, not 800x600"
[[ "$(xwininfo -id "$window" | awk '/Map State:/ {print $3}')" == "IsViewable" ]] || e2e_fail "the window is not shown"

# Still an editor: paint two cells and place the exit, then save through the selector.
pick_tile 5                 # palette cell (1,1)
paint 6 7 7 7
pick_tool 200               # the exit tool
paint 12 4
alive "painting"
open_selector 32
for k in q u i e t period m a p; do e2e_key "$window" "$k" 0.08; done
e2e_key "$window" Return
e2e_wait_until 10 test -s "$tree/quiet.map" || e2e_fail "no saved map at $tree/quiet.map"
e2e_wait_until 10 editing || e2e_fail "the editor did not come back after saving"
alive "saving"

map="$tree/quiet.map"
line() { sed -n "${1}p" "$map"; }
block() { line $((11 + 2 * (15 * $1 + $2))); }
[[ $(wc -l < "$map") -eq 611 ]] || e2e_fail "saved map has $(wc -l < "$map") lines, not 611"
[[ "$(line 2)" == "quiet.map" ]] || e2e_fail "line 2 is '$(line 2)'"
[[ "$(block 6 7) $(block 7 7)" == "5 5" ]] || e2e_fail "cells (6,7) (7,7) hold $(block 6 7) $(block 7 7), not tile 5"
[[ "$(line 6) $(line 7)" == "12 4" ]] || e2e_fail "exit is $(line 6) $(line 7), not 12 4"

# Quit through the box: exit status 1, as always.
e2e_press_key_until "$window" Escape 10 box_open || e2e_fail "ESC did not open the quit box"
alive "the quit box"
e2e_press_key_until "$window" Right 10 box_yes || e2e_fail "RIGHT did not move to \"Yes\""
e2e_press_key_until "$window" Return 10 e2e_ended "$editor_pid" || e2e_fail "the editor did not end after Yes"
e2e_expect_exit_1 "$editor_pid" 10 "the editor did not end after Yes"
echo "e2e editor without sound: ok ($reason)"
