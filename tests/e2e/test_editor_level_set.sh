#!/usr/bin/env bash
# The real editor's file dialogs: name a map, link it to the next one, a save that cannot be written
# (reported, the editor goes on), save, then compile the two maps into a level set whose loader file
# the game can find; a chain with a missing map writes no loader file.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"

tree=$(e2e_copy_run_tree)
set_dir="$tree/data/levels/e2eset"
mkdir -p "$set_dir"
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
sleep 1

click() {
  xdotool mousemove --window "$window" "$1" "$2"
  sleep 0.3
  xdotool mousedown 1
  sleep 0.2
  xdotool mouseup 1
  sleep 0.5
}
type_text() { e2e_type "$window" "$1"; }
backspaces() { e2e_backspaces "$window" "$1"; }
alive() { kill -0 "$editor_pid" 2>/dev/null || e2e_fail "the editor ended: $(cat "$E2E_TMP/editor.out")"; }

# Name the map: the field holds "Enter Map Name" (14 characters).
click 160 584
backspaces 14
type_text "First Dream"
e2e_key "$window" Return
sleep 0.5

# Link the next map by choosing a file: the link is the name stored inside it.
click 224 584
sleep 0.8
type_text "data/levels/e2eset/bstored.map"
e2e_key "$window" Return
sleep 0.5

# A save into a folder that does not exist is reported on the screen; a key goes on.
click 32 584
sleep 0.8
type_text "nofolder/lost.map"
e2e_key "$window" Return
sleep 0.8
e2e_screenshot "$E2E_TMP/save_failed.png"
alive
e2e_key "$window" space
sleep 0.5
alive

# Save for real (the selector starts again on the editor's directory: nothing was loaded yet).
click 32 584
sleep 0.8
type_text "data/levels/e2eset/a.map"
e2e_key "$window" Return
for i in $(seq 30); do [[ -s "$set_dir/a.map" ]] && break; sleep 0.1; done
[[ -f "$set_dir/a.map" ]] || e2e_fail "a.map was not saved"
[[ "$(sed -n 1p "$set_dir/a.map")" == "First Dream" ]] || e2e_fail "map name is '$(sed -n 1p "$set_dir/a.map")'"
[[ "$(sed -n 2p "$set_dir/a.map")" == "a.map" ]] || e2e_fail "own name is '$(sed -n 2p "$set_dir/a.map")'"
[[ "$(sed -n 3p "$set_dir/a.map")" == "b.map" ]] || e2e_fail "next map is '$(sed -n 3p "$set_dir/a.map")'"
[[ -e "$tree/nofolder/lost.map" ]] && e2e_fail "the failed save wrote something"
mv "$set_dir/bstored.map" "$set_dir/b.map"

# Compile: the first-map selector starts at the path last chosen (a.map); ENTER takes it.
click 288 584
sleep 0.8
e2e_key "$window" Return
sleep 1
alive
# The set's name: the field holds "Level Set Name" (14 characters).
backspaces 14
type_text "Night Pair"
e2e_key "$window" Return
sleep 0.8
# The loader's selector starts in the maps' folder, and ".qlx" is added to the name typed.
type_text "pair"
e2e_key "$window" Return
for i in $(seq 30); do [[ -s "$set_dir/pair.qlx" ]] && break; sleep 0.1; done
[[ -f "$set_dir/pair.qlx" ]] || e2e_fail "no loader file written"
[[ "$(cat "$set_dir/pair.qlx")" == $'a.map\nNight Pair' ]] || e2e_fail "loader file holds: $(cat "$set_dir/pair.qlx")"
[[ "$(tail -c 1 "$set_dir/pair.qlx" | od -An -c | tr -d ' ')" == '\n' ]] || e2e_fail "loader file does not end in a line feed"

# A chain with a missing map: the failure shows, a key returns to the editor, nothing is written.
click 288 584
sleep 0.8
backspaces 5   # the selector holds the path of a.map
type_text "broken.map"
e2e_key "$window" Return
sleep 1
e2e_screenshot "$E2E_TMP/compile_failed.png"
alive
e2e_key "$window" space
sleep 0.5
alive
ls "$set_dir"/*.qlx | grep -v pair.qlx && e2e_fail "a loader file was written for the broken chain"

mkdir -p "$E2E_RUN_DIR/shots"
cp "$E2E_TMP/save_failed.png" "$E2E_RUN_DIR/shots/e2e_editor_save_failed.png"
cp "$E2E_TMP/compile_failed.png" "$E2E_RUN_DIR/shots/e2e_editor_compile_failed.png"

# Quit with a click on the box's "Yes" area.
e2e_key "$window" Escape
sleep 0.5
click 320 330
e2e_expect_exit_1 "$editor_pid" 5 "the editor did not end on Yes"
echo "e2e editor level set: ok"
