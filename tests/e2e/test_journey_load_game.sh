#!/usr/bin/env bash
# A player's journey from the title through Load Game and the level selection into an earlier level
# of the saved game's set, played with the save's own keys: the save moves Pim with A and D, and the
# arrow keys no longer do. Then Escape and Quit.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"

# A save on the built-in set's second map, "Pillow Stairs", with Left on A (1) and Right on D (4).
write_save() {
  mkdir -p "$tree/data/saves"
  printf '%s\n' "data/levels/original levels/" level2.map "Original Levels" level1.map original \
    84 85 1 4 75 18 13 19 > "$tree/data/saves/Save_000.qsv"
}
e2e_start_windowed_game write_save
# Pim's orange face in the cell (column $2, row 8) of the PNG $1: on the first map he starts on
# (1, 8), on a brick ledge five cells long.
pim_in_cell() { (($(e2e_count_where "$1" $(($2 * 32)) 256 $(($2 * 32 + 32)) 288 'r > 200 && r - b > 80') > 150)); }
# Walked right: gone from his start cell, and to the right of it, on the ledge or, a press that
# lasted long on a busy machine, below its end (the floor the ledge overlooks).
pim_walked_right() {
  ! pim_in_cell "$1" 1 &&
    (($(e2e_count_where "$1" 64 256 192 288 'r > 200 && r - b > 80') > 150 ||
      $(e2e_count_where "$1" 160 320 320 384 'r > 200 && r - b > 80') > 150))
}

# The logo passes by itself; the title menu it leads to stays.
e2e_wait_for title 40 e2e_title_at title 1
# Load Game (row 2): the one save. Enter: the level selection, the saved map first and the set's
# first map after it; the cursor goes down to the first map, Enter plays it.
e2e_walk_cursor 168 Down 2
e2e_press_until Return load_screen e2e_list_shows load_screen L...
e2e_press_until Return level_selection e2e_list_shows level_selection LN..
e2e_press_until Down level_selection_first e2e_list_shows level_selection_first NL..
e2e_press_until Return first_map pim_in_cell "$shots/first_map.png" 1

# Right, the default key, is no binding of this save: held for two seconds, Pim stays. (A wrong
# binding would have started his step well within them.)
e2e_key "$window" Right 2
shot right_arrow
pim_in_cell "$shots/right_arrow.png" 1 || e2e_fail "the Right arrow moved Pim, though the save binds Right to D"
# D, the save's Right, walks him along the ledge.
e2e_press_until d walked pim_walked_right "$shots/walked.png"

# Escape: the title menu with the game in progress (cursor on New Game, row 0); Quit (up from it).
e2e_hold_until Escape title_in_game e2e_title_at title_in_game 0
e2e_walk_cursor 168 Up 5
e2e_quit_game
e2e_expect_no_messages
echo "e2e journey load game: ok (screenshots in $shots)"
