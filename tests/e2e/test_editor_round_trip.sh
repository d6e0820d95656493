#!/usr/bin/env bash
# A level author's round trip with the real editor and the real game: paint two maps with the mouse
# (both layers, start, exit, a teleport, special blocks), name them, link the first to the second,
# save both (a save onto the other map asks first), compile the set through the file selectors;
# then choose the set in the game's Options, start a New Game, see the first map drawn as it was
# painted, walk Pim to its exit and arrive in the second map. Every step waits for what it should
# bring about on the screen or on disk, within a bound.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"

e2e_copy_with_set_dir roundtrip
shots=$(e2e_shot_dir)
mkdir -p "$shots"
began=$(date +%s)

e2e_start_editor "$tree"

# ---- Map 2 first, so that map 1 can be linked to it: a floor, a trans tile, start and exit.
pick_tile 21
paint 0 13 1 13 2 13 3 13
toggle_layer
pick_tile 58
paint 8 3
toggle_layer
pick_tool 250; paint 2 12                      # start
pick_tool 200; paint 18 2                      # exit
name_map "Second Dream"
pointer_aside; grab; cp "$now" "$E2E_TMP/map2_drawn.png"
# Save: nothing was loaded or saved yet, so the selector starts in the editor's folder.
open_selector 32
e2e_type "$window" "data/levels/roundtrip/b.map"
e2e_key "$window" Return
e2e_wait_until 10 file_saved "$set_dir/b.map" || e2e_fail "b.map was not saved"
e2e_wait_until 10 editing || e2e_fail "the editor did not come back after saving b.map"
cp "$set_dir/b.map" "$E2E_TMP/b.map.saved"

# ---- R empties the map for map 1: a floor, three special blocks, a teleport, trans tiles.
pointer_aside
e2e_press_key_until "$window" r 10 map_emptied || e2e_fail "R did not empty the map"
pick_tile 5
paint 0 12 1 12 2 12 3 12 4 12 5 12 6 12 7 12
pick_tool 0; paint 10 12                       # blocked tile
pick_tool 400; paint 12 12                     # Up Block
pick_tool 600; paint 14 12                     # horizontal tunnel
pick_tool 250; paint 1 11                      # start
pick_tool 200; paint 5 11                      # exit
# The teleport: left on the source, then the prompt asks for the destination with the right button.
pick_tool 350
e2e_hold_mouse "$window" 1 $(($(cell_x 10) + 30)) $(($(cell_y 5) + 30)) 10 teleport_prompt ||
  e2e_fail "no teleport destination prompt"
grab; cp "$now" "$shots/e2e_round_trip_teleport_prompt.png"
e2e_hold_mouse "$window" 3 $(($(cell_x 14) + 30)) $(($(cell_y 5) + 30)) 10 destination_placed 14 5 ||
  e2e_fail "the teleport destination was not placed"
# The right button that chose the destination also picked up the empty cell under it: Delete.
tool_on 300 || e2e_fail "the tool is not Delete after the teleport was placed"
toggle_layer
pick_tile 58; paint 10 3 11 3
pick_tile 52; paint 12 3
toggle_layer
name_map "First Dream"
pointer_aside; grab; cp "$now" "$E2E_TMP/map1_drawn.png"
cp "$now" "$shots/e2e_round_trip_map1_drawn.png"

# Next Map: the selector still holds b.map, the file just saved; ENTER links it.
remember_text
open_selector 224
e2e_key "$window" Return
e2e_wait_until 10 text_changed 384 590 200 || e2e_fail "the next-map line did not change"

# R parted this map from b.map, so Save starts in b.map's folder. Choosing b.map there asks first,
# and "No" leaves b.map as it was.
open_selector 32
e2e_type "$window" "b.map"
e2e_key "$window" Return
e2e_wait_until 10 question_open || e2e_fail "saving over b.map did not ask"
cp "$now" "$shots/e2e_round_trip_overwrite_question.png"
e2e_key "$window" n
e2e_wait_until 10 editing || e2e_fail "the editor did not come back after No"
cmp -s "$set_dir/b.map" "$E2E_TMP/b.map.saved" || e2e_fail "b.map changed though the answer was No"
# Save again, this time under its own name.
open_selector 32
e2e_type "$window" "a.map"
e2e_key "$window" Return
e2e_wait_until 10 file_saved "$set_dir/a.map" || e2e_fail "a.map was not saved"
e2e_wait_until 10 editing || e2e_fail "the editor did not come back after saving a.map"
cmp -s "$set_dir/b.map" "$E2E_TMP/b.map.saved" || e2e_fail "saving a.map changed b.map"

# ---- The level set: the first-map selector holds a.map, the last path chosen.
open_selector 288
cp "$now" "$shots/e2e_round_trip_first_map_selector.png"
e2e_key "$window" Return
# The chain is walked; the set's name is asked under its prompt.
e2e_wait_until 10 set_name_open || e2e_fail "the level set's name was not asked"
cp "$now" "$shots/e2e_round_trip_set_name.png"
e2e_backspaces "$window" 14
e2e_type "$window" "Round Trip"
e2e_key "$window" Return
# The loader's selector opens in the maps' folder: the name alone is typed, and ".qlx" is added.
e2e_wait_until 10 selector_open || e2e_fail "no selector for the loader file"
cp "$now" "$shots/e2e_round_trip_loader_selector.png"
e2e_type "$window" "trip"
e2e_key "$window" Return
e2e_wait_until 10 file_saved "$set_dir/trip.qlx" || e2e_fail "no loader file trip.qlx"
e2e_wait_until 10 editing || e2e_fail "the editor did not come back after the level set"
[[ "$(cat "$set_dir/trip.qlx")" == $'a.map\nRound Trip' ]] || e2e_fail "trip.qlx holds: $(cat "$set_dir/trip.qlx")"

# Quit: ESC, then a press on the box's "Yes" ends the editor at once.
e2e_press_key_until "$window" Escape 10 box_open || e2e_fail "ESC did not open the quit box"
e2e_hold_mouse "$window" 1 320 330 10 e2e_ended "$editor_pid" || e2e_fail "Yes did not end the editor"
e2e_expect_exit_1 "$editor_pid" 10 "the editor did not end on Yes"
editor_done=$(date +%s)

# ---- The files as the game will read them.
a="$set_dir/a.map" b="$set_dir/b.map"
expect_line "$a" 1 "First Dream"; expect_line "$a" 2 "a.map"; expect_line "$a" 3 "b.map"
expect_line "$a" 4 1; expect_line "$a" 5 11; expect_line "$a" 6 5; expect_line "$a" 7 11
for x in 0 1 2 3 4 5 6 7; do [[ "$(block_of "$a" $x 12)" == 5 ]] || e2e_fail "a.map ($x,12) holds $(block_of "$a" $x 12)"; done
for c in "10 12 -5" "12 12 -2" "14 12 -10" "9 12 -1" "10 3 -1"; do
  set -- $c
  [[ "$(block_of "$a" "$1" "$2")" == "$3" ]] || e2e_fail "a.map block ($1,$2) holds $(block_of "$a" "$1" "$2"), not $3"
done
for c in "10 3 58" "11 3 58" "12 3 52" "0 12 -1"; do
  set -- $c
  [[ "$(trans_of "$a" "$1" "$2")" == "$3" ]] || e2e_fail "a.map trans ($1,$2) holds $(trans_of "$a" "$1" "$2"), not $3"
done
expect_line "$a" 611 1
[[ "$(sed -n 612,615p "$a" | tr '\n' ' ')" == "10 5 14 5 " ]] || e2e_fail "a.map teleport is $(sed -n 612,615p "$a" | tr '\n' ' ')"
expect_line "$b" 1 "Second Dream"; expect_line "$b" 2 "b.map"; expect_line "$b" 3 "end"
expect_line "$b" 4 2; expect_line "$b" 5 12; expect_line "$b" 6 18; expect_line "$b" 7 2
[[ "$(block_of "$b" 3 13)" == 21 && "$(trans_of "$b" 8 3)" == 58 ]] || e2e_fail "b.map is not as painted"

# ---- The game: Options, Level Set, the set; then New Game.
e2e_start_game_in "$tree"
count() { e2e_count_colour "$now" "$@"; }
grab() { e2e_grab "$window" "$now"; }
# The menu cursor (a small Pim head, dark-outlined) on the menu row at y.
cursor_at() { grab; (($(count 33 20 57 68 "$1" 100 $(($1 + 32))) > 30)); }
level_set_screen_open() { grab; (($(count 16 24 66 100 0 540 30) > 2000)); }
# Each painted cell of a map stands in the game (field at x 0) as the editor drew it (field at
# x 160); what is see-through in the editor shows the game's star field instead, and cells left
# empty show only that. Compared by rows of cells: cx cy n, n cells from (cx, cy) rightwards.
map_as_drawn() {                               # the editor's picture, then the rows
  local drawn=$1
  shift
  grab
  while (($# > 2)); do
    e2e_same_picture "$drawn" $((160 + 32 * $1)) $((32 * $2)) "$now" $((32 * $1)) $((32 * $2)) $((32 * $3)) 32 "${pink[@]}" ||
      return 1
    shift 3
  done
}
# Map 1: the floor and the special blocks on row 12, the trans tiles on row 3. Map 2: its floor on
# row 13, a trans tile on row 3. (The map-name banner crosses the rows between.)
map1_shown() { map_as_drawn "$E2E_TMP/map1_drawn.png" 0 12 15 10 3 3; }
map1_gone() { grab; ! e2e_same_picture "$E2E_TMP/map1_drawn.png" 160 384 "$now" 0 384 32 32 "${pink[@]}"; }
map2_shown() { map_as_drawn "$E2E_TMP/map2_drawn.png" 0 13 4 8 3 1; }

# Title menu after the logo: the cursor on New Game (row y 200); Options is three rows down.
e2e_wait_until 40 cursor_at 200 || e2e_fail "no title menu"
alive "the title menu"
for y in 232 264 296; do e2e_press_key_until "$window" Down 10 cursor_at $y || e2e_fail "the title cursor did not reach y $y"; done
e2e_press_key_until "$window" Return 10 cursor_at 200 || e2e_fail "Options did not open"
# Options: Level Set is the fifth row.
for y in 232 264 296 328; do e2e_press_key_until "$window" Down 10 cursor_at $y || e2e_fail "the options cursor did not reach y $y"; done
e2e_press_key_until "$window" Return 10 level_set_screen_open || e2e_fail "the level-set screen did not open"
shot e2e_round_trip_level_sets
# The set is the first row, where the cursor starts; ENTER chooses it and returns to the options.
e2e_press_key_until "$window" Return 10 cursor_at 328 || e2e_fail "choosing the set did not return to the options"
for y in 360 392; do e2e_press_key_until "$window" Down 10 cursor_at $y || e2e_fail "the options cursor did not reach y $y"; done
e2e_press_key_until "$window" Return 10 cursor_at 296 || e2e_fail "Back did not return to the title menu"
for y in 264 232 200; do e2e_press_key_until "$window" Up 10 cursor_at $y || e2e_fail "the title cursor did not reach y $y"; done
# New Game: the introduction, skipped with ESC, then the set's first map.
no_cursor() { ! cursor_at 200; }
e2e_press_key_until "$window" Return 10 no_cursor || e2e_fail "New Game did not start"
e2e_hold_key "$window" Escape 20 map1_shown || { shot map1_not_shown; e2e_fail "the first map is not shown as it was drawn (see $shots/map1_not_shown.png)"; }
shot e2e_round_trip_map1_played
alive "the first map"

# Right, held, walks Pim from the start to the exit; the intermission follows.
e2e_hold_key "$window" Right 30 map1_gone || e2e_fail "Pim did not leave the first map by its exit"
shot e2e_round_trip_intermission
# ENTER leaves the intermission for the map that the first one names: the second.
e2e_hold_key "$window" Return 20 map2_shown || { shot map2_not_shown; e2e_fail "the second map did not follow (see $shots/map2_not_shown.png)"; }
shot e2e_round_trip_map2_played
alive "the second map"

# Quit: ESC opens the title menu on New Game (y 168, a game in progress); Up goes round to Quit.
e2e_hold_key "$window" Escape 10 cursor_at 168 || e2e_fail "ESC did not open the title menu"
e2e_press_key_until "$window" Up 10 cursor_at 328 || e2e_fail "the cursor did not reach Quit"
e2e_quit_game
others=$(awk '/Error initialising sound system/ {skip = 2; next} skip > 0 {skip--; next} NF' "$E2E_TMP/xmessage.log")
[[ -z "$others" ]] || e2e_fail "a program reported an error: $others"
echo "e2e editor round trip: ok (editor $((editor_done - began)) s, game $(($(date +%s) - editor_done)) s; screenshots in $shots)"
