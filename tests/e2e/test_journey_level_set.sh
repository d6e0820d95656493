#!/usr/bin/env bash
# A player's journey through the real menus with a level set of his own beside the built-in one:
# the logo, the title, Options -> Configure Keys (the save key moved to K), Options -> Level Set
# lists and takes the set, New Game through the introduction plays its first map, K opens the save
# screen whose New Save writes a new file naming the set and leaves the older save alone, and
# Options -> Erase Save deletes exactly that new file.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"

set_dir="data/levels/e2e dreams/"
older="data/saves/Save_001.qsv"
# A short set with a star-field first map, and an older save of the built-in set in slot 1, so
# that a New Save numbered by the count of saves would land on it.
write_files() {
  e2e_write_test_set "$tree"
  mkdir -p "$tree/data/saves"
  printf '%s\n' "data/levels/original levels/" level1.map "Original Levels" level1.map original \
    84 85 82 83 75 18 13 19 > "$tree/$older"
}
e2e_start_windowed_game write_files
older_sum=$(md5sum < "$tree/$older")

# 1. The title menu, after the logo that passes by itself, with its cursor on New Game (row 1
# without a game).
e2e_wait_for title 40 e2e_title_at title 1

# 2. Options (row 4, up past Quit), Configure Keys (row 3): the save key (row 7, up past Back)
# becomes K; Back (row 8).
e2e_walk_cursor 168 Up 5 4
e2e_press_until Return options e2e_options_at options 0
e2e_walk_cursor 200 Down 1 2 3
e2e_press_until Return keyconfig e2e_keys_at keyconfig 0
e2e_walk_cursor 180 Up 8 7
# Enter waits for a key (nothing shows it); K, held a little, takes the binding, and the row's key
# name changes (the save file shows which key below). The name's letters, as a checksum of where
# their dark pixels lie in the PNG $1:
key_name_letters() {
  e2e_pixels "$1" 200 404 400 430 | awk '{ if ($1 + $2 + $3 < 60) s = (s * 131 + NR) % 1000000007 } END { print s + 0 }'
}
old_name=$(key_name_letters "$shots/cursor_7.png")
name_changed() { [[ $(key_name_letters "$shots/$1.png") != "$old_name" ]]; }
# Enter is pressed once, held until the game has run a few steps: what it does cannot be told from
# a press not seen. A K the game did not see leaves the old name and the cursor on the row, and is
# pressed again. (Enter itself, seen while the game waits, would become the binding: the save file
# below would tell.)
e2e_key "$window" Return
name_unchanged() { ! name_changed "$1" && e2e_keys_at "$1" 7; }
e2e_press_until_still name_unchanged k save_key_bound name_changed save_key_bound
e2e_walk_cursor 180 Down 8
e2e_press_until Return options_again e2e_options_at options_again 3

# 3. Level Set (row 4): the written set on the first row, the built-in one after it, nothing more;
# chosen, Back (row 6), then New Game: the introduction, skipped with Escape; the set's star-field
# map plays, Pim on its floor.
e2e_walk_cursor 200 Down 4
e2e_play_test_set

# 4. K opens the save screen: the older save, then "New Save". New Save writes slot 2, since slot 1
# is taken, and leaves slot 1 as it was.
e2e_press_until k save_screen e2e_list_shows save_screen LN..
e2e_press_until Down save_screen_new e2e_list_shows save_screen_new NL..
new_save="data/saves/Save_002.qsv"
e2e_press_until Return save_written test -e "$tree/$new_save"
e2e_wait_for save_screen_after 10 e2e_list_shows save_screen_after NLN.
[[ $(md5sum < "$tree/$older") == "$older_sum" ]] || e2e_fail "New Save changed the older save $older"
[[ $(find "$tree/data/saves" -name '*.qsv' | wc -l) -eq 2 ]] || e2e_fail "saves: $(ls "$tree/data/saves")"
mapfile -t lines < "$tree/$new_save"
expected=("$set_dir" m1.map "Test Dreams" m1.map dreams.qlx 84 85 82 83 75 18 13 11)
[[ "${lines[*]}" == "${expected[*]}" ]] ||
  e2e_fail "the new save holds \"${lines[*]}\", not \"${expected[*]}\" (its set, map and keys, save on K)"

# 5. Back in play, Escape opens the title menu (New Game on row 0 with a game); Options, Erase Save
# (row 5): the two saves. The new one is the row with the shorter texts ("Starfall", "Test Dreams").
e2e_press_until Escape first_map_again e2e_star_map "$shots/first_map_again.png"
e2e_hold_until Escape title_in_game e2e_title_at title_in_game 0
e2e_walk_cursor 168 Up 5 4
e2e_press_until Return options_to_erase e2e_options_at options_to_erase 0
e2e_walk_cursor 200 Up 6 5
e2e_press_until Return erase_screen e2e_list_shows erase_screen LN..
if (($(e2e_list_row_ink "$shots/erase_screen.png" 1) < $(e2e_list_row_ink "$shots/erase_screen.png" 0))); then
  e2e_press_until Down erase_screen_second e2e_list_shows erase_screen_second NL..
fi
# "Are You Sure?" opens on "No" over the rows; Left moves to "Yes", Enter erases.
e2e_press_until Return erase_box e2e_looks_like list_box "$shots/erase_box.png"
e2e_press_until Left erase_box_yes e2e_looks_like list_box_yes "$shots/erase_box_yes.png"
e2e_press_until Return erased test ! -e "$tree/$new_save"
[[ -e "$tree/$older" && $(md5sum < "$tree/$older") == "$older_sum" ]] || e2e_fail "Erase Save touched $older"
e2e_wait_for erase_screen_after 10 e2e_list_shows erase_screen_after L...
e2e_expect_no_messages
echo "e2e journey level set: ok (screenshots in $shots)"
