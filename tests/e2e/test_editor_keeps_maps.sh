#!/usr/bin/env bash
# The real editor never throws an author's map away on a reflex or a typo: a Load of a path that does
# not exist keeps the map on the screen and says so, and Save then writes the map with its edit; after
# R, Save, ENTER, ENTER and the overwrite question's ENTER leave the old map's file byte for byte; a
# path typed too long is refused whole. Also the teleport tool's "Del" and a long "Current Map:",
# each within its space. Every step waits for what it should bring about, within a bound.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"

e2e_copy_with_set_dir keeps
level1="$set_dir/level1.map"
# Pim on (4, 10), the exit beside him, a floor from row 11 down.
e2e_write_map "$level1" "Pillow Hills" end 4 10 5 10 0
shots=$(e2e_shot_dir)
mkdir -p "$shots"

e2e_start_editor "$tree"
# The "Current Map:" line and the End button beside it, as in the picture $2 (default the last one
# remembered with remember_text).
file_lines_as_in() { grab; e2e_same_picture "$now" 384 580 "${1:-$E2E_TMP/before_text.png}" 384 580 416 20; }
same_field_as() { grab; e2e_same_picture "$now" 160 0 "$1" 160 0 640 480; }
holds() { [[ "$(block_of "$level1" "$1" "$2")" == "$3" ]]; }   # cx cy value: level1.map on disk
only_level1() { [[ "$(ls -A "$set_dir")" == "level1.map" ]] || e2e_fail "beside level1.map: $(ls -A "$set_dir")"; }

# ---- Load level1.map; an edit that is not saved yet. (Tiles are picked below palette row 3, which
# editing compares with the first frame.)
open_selector 96
e2e_type "$window" "data/levels/keeps/level1.map"
e2e_key "$window" Return
e2e_wait_until 10 cell_painted 0 11 || e2e_fail "level1.map did not load"
e2e_wait_until 10 editing || e2e_fail "the editor did not come back after loading level1.map"
pick_tile 21
paint 10 3
pointer_aside
cp "$now" "$E2E_TMP/edited.png"
remember_text

# ---- A typo in Load: levl1.map does not exist. The failure is shown with the path; a key returns to
# the map exactly as it was.
open_selector 96
e2e_backspaces "$window" 10         # the selector holds the path of level1.map
e2e_type "$window" "levl1.map"
e2e_key "$window" Return
e2e_wait_until 10 report_shown || e2e_fail "the failed load was not reported"
cp "$now" "$shots/e2e_editor_load_failed.png"
e2e_press_key_until "$window" space 10 editing || e2e_fail "a key did not return from the report"
pointer_aside
e2e_wait_until 10 same_field_as "$E2E_TMP/edited.png" || e2e_fail "the failed load changed the map on the screen"
file_lines_as_in || e2e_fail "the failed load changed the Current Map line"
# Save offers the map's own file; ENTER writes it with the edit, without a question.
open_selector 32
e2e_key "$window" Return
e2e_wait_until 10 holds 10 3 21 || e2e_fail "Save did not write the edit into level1.map"
e2e_wait_until 10 editing || e2e_fail "the editor did not come back after saving level1.map"
holds 0 11 33 && [[ "$(map_line "$level1" 1)" == "Pillow Hills" ]] || e2e_fail "level1.map lost what it held"
cp "$level1" "$E2E_TMP/level1.saved"

# ---- R, paint, Save, ENTER, ENTER: Save starts in level1.map's folder, where ENTER only lists it.
pointer_aside
e2e_press_key_until "$window" r 10 map_emptied || e2e_fail "R did not empty the map"
pick_tile 52
paint 2 2
open_selector 32
e2e_key "$window" Return
e2e_key "$window" Return
# Still in the selector: level1.map chosen there now asks first, and opens on "No", so ENTER keeps it.
e2e_type "$window" "level1.map"
e2e_key "$window" Return
e2e_wait_until 10 question_open || {
  cmp -s "$level1" "$E2E_TMP/level1.saved" || e2e_fail "Save, ENTER, ENTER replaced level1.map with the new map"
  e2e_fail "saving the new map over level1.map did not ask"
}
cp "$now" "$shots/e2e_editor_overwrite_question.png"
e2e_press_key_until "$window" Return 10 editing || e2e_fail "ENTER did not close the question"
cmp -s "$level1" "$E2E_TMP/level1.saved" || e2e_fail "level1.map changed: the question did not open on No"
only_level1

# ---- A path typed too long (the folder's path and 230 characters) is refused with a message, never
# cut; the selector then offers it again, and ESC there leaves everything as it was.
remember_text
open_selector 32
e2e_type "$window" "$(printf 'd%.0s' $(seq 226)).map"
e2e_key "$window" Return
e2e_wait_until 10 report_shown || e2e_fail "the path too long was not refused"
cp "$now" "$shots/e2e_editor_path_too_long.png"
e2e_press_key_until "$window" space 10 selector_open || e2e_fail "the selector did not open again"
e2e_press_key_until "$window" Escape 10 editing || e2e_fail "ESC did not close the selector"
only_level1
file_lines_as_in || e2e_fail "the refused save changed the Current Map line"

# ---- The teleport tool's second state reads "Del" whole, between its button and the next one.
del_shown() { grab; (($(count 0 0 0 376 520 382 528) > 4)); }
pick_tool 350
e2e_click "$window" 366 536 3 del_shown || e2e_fail "the teleport tool does not read Del"
cp "$now" "$shots/e2e_editor_teleport_del.png"

# ---- A long file name in "Current Map:" ends before the End button, which shows as at the start.
long_name="a-rather-long-level-file-name-for-the-dream-set-number-twelve.map"
open_selector 32
e2e_type "$window" "$long_name"
e2e_key "$window" Return
e2e_wait_until 10 file_saved "$set_dir/$long_name" || e2e_fail "the map was not saved as $long_name"
pointer_aside
e2e_wait_until 10 editing || e2e_fail "the editor did not come back after saving $long_name"
e2e_wait_until 10 text_changed 384 580 300 || e2e_fail "Current Map did not change"
grab; e2e_same_picture "$now" 735 568 "$E2E_TMP/editor_start.png" 735 568 65 32 ||
  e2e_fail "the Current Map line runs over the End button"
cp "$now" "$shots/e2e_editor_long_current_map.png"
cmp -s "$level1" "$E2E_TMP/level1.saved" || e2e_fail "level1.map changed"

# Quit: ESC, then a press on the box's "Yes" ends the editor at once.
e2e_press_key_until "$window" Escape 10 box_open || e2e_fail "ESC did not open the quit box"
e2e_hold_mouse "$window" 1 320 330 10 e2e_ended "$editor_pid" || e2e_fail "Yes did not end the editor"
e2e_expect_exit_1 "$editor_pid" 10 "the editor did not end on Yes"
others=$(awk '/Error initialising sound system/ {skip = 2; next} skip > 0 {skip--; next} NF' "$E2E_TMP/xmessage.log")
[[ -z "$others" ]] || e2e_fail "the editor reported an error: $others"
echo "e2e editor keeps maps: ok (screenshots in $shots)"
