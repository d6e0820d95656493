#!/usr/bin/env bash
# The real editor's file dialogs: name a map, link it to the next one, a save that cannot be written
# (reported, the editor goes on), save, then compile the two maps into a level set whose loader file
# the game can find; a chain with a missing map writes no loader file.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"

e2e_copy_with_set_dir e2eset
# The second map of the set, as the editor writes maps: its own name on line 2, the end on line 3.
{
  printf 'Second Dream\nb.map\nend\n0\n0\n19\n14\n0\n0\n0\n'
  for i in $(seq 600); do echo -1; done
  echo 0
} > "$set_dir/bstored.map"
# A map whose next map does not exist.
{
  printf 'Broken\nbroken.map\nmissing.map\n0\n0\n19\n14\n0\n0\n0\n'
  for i in $(seq 600); do echo -1; done
  echo 0
} > "$set_dir/broken.map"

e2e_start_editor "$tree"

# Name the map: the field holds "Enter Map Name" (14 characters).
name_map "First Dream"

# Link the next map by choosing a file: the link is the name stored inside it.
remember_text
open_selector 224
e2e_type "$window" "data/levels/e2eset/bstored.map"
e2e_key "$window" Return
e2e_wait_until 10 text_changed 384 590 200 || e2e_fail "the next-map line did not change"
e2e_wait_until 10 editing || e2e_fail "the editor did not come back after Next"

# A save into a folder that does not exist is reported on the screen; a key goes on.
open_selector 32
e2e_type "$window" "nofolder/lost.map"
e2e_key "$window" Return
e2e_wait_until 10 report_shown || e2e_fail "the failed save was not reported"
cp "$now" "$E2E_TMP/save_failed.png"
alive "the failed save"
e2e_key "$window" space
e2e_wait_until 10 editing || e2e_fail "space did not close the report"
alive "after the failed save"

# Save for real (the selector starts again on the editor's directory: nothing was loaded yet).
open_selector 32
e2e_type "$window" "data/levels/e2eset/a.map"
e2e_key "$window" Return
e2e_wait_until 10 test -s "$set_dir/a.map" || e2e_fail "a.map was not saved"
[[ "$(sed -n 1p "$set_dir/a.map")" == "First Dream" ]] || e2e_fail "map name is '$(sed -n 1p "$set_dir/a.map")'"
[[ "$(sed -n 2p "$set_dir/a.map")" == "a.map" ]] || e2e_fail "own name is '$(sed -n 2p "$set_dir/a.map")'"
[[ "$(sed -n 3p "$set_dir/a.map")" == "b.map" ]] || e2e_fail "next map is '$(sed -n 3p "$set_dir/a.map")'"
[[ -e "$tree/nofolder/lost.map" ]] && e2e_fail "the failed save wrote something"
e2e_wait_until 10 editing || e2e_fail "the editor did not come back after saving a.map"
mv "$set_dir/bstored.map" "$set_dir/b.map"

# Compile: the first-map selector starts at the path last chosen (a.map); ENTER takes it.
open_selector 288
e2e_key "$window" Return
# The set's name: the field holds "Level Set Name" (14 characters).
e2e_wait_until 10 set_name_open || e2e_fail "the level set's name was not asked"
alive "the level set's name"
e2e_backspaces "$window" 14
e2e_type "$window" "Night Pair"
e2e_key "$window" Return
# The loader's selector starts in the maps' folder, and ".qlx" is added to the name typed.
e2e_wait_until 10 selector_open || e2e_fail "no selector for the loader file"
e2e_type "$window" "pair"
e2e_key "$window" Return
e2e_wait_until 10 test -s "$set_dir/pair.qlx" || e2e_fail "no loader file written"
[[ "$(cat "$set_dir/pair.qlx")" == $'a.map\nNight Pair' ]] || e2e_fail "loader file holds: $(cat "$set_dir/pair.qlx")"
[[ "$(tail -c 1 "$set_dir/pair.qlx" | od -An -c | tr -d ' ')" == '\n' ]] || e2e_fail "loader file does not end in a line feed"
e2e_wait_until 10 editing || e2e_fail "the editor did not come back after the level set"

# A chain with a missing map: the failure shows, a key returns to the editor, nothing is written.
open_selector 288
e2e_backspaces "$window" 5   # the selector holds the path of a.map
e2e_type "$window" "broken.map"
e2e_key "$window" Return
e2e_wait_until 10 report_shown || e2e_fail "the broken chain was not reported"
cp "$now" "$E2E_TMP/compile_failed.png"
alive "the broken chain"
e2e_key "$window" space
e2e_wait_until 10 editing || e2e_fail "space did not close the report"
alive "after the broken chain"
ls "$set_dir"/*.qlx | grep -v pair.qlx && e2e_fail "a loader file was written for the broken chain"

mkdir -p "$E2E_RUN_DIR/shots"
cp "$E2E_TMP/save_failed.png" "$E2E_RUN_DIR/shots/e2e_editor_save_failed.png"
cp "$E2E_TMP/compile_failed.png" "$E2E_RUN_DIR/shots/e2e_editor_compile_failed.png"

# Quit with a click on the box's "Yes" area.
e2e_press_key_until "$window" Escape 10 box_open || e2e_fail "ESC did not open the quit box"
e2e_hold_mouse "$window" 1 320 330 10 e2e_ended "$editor_pid" || e2e_fail "the editor did not end on Yes"
e2e_expect_exit_1 "$editor_pid" 5 "the editor did not end on Yes"
echo "e2e editor level set: ok"
