#!/usr/bin/env bash
# The real game from its logo through the title menu into the first map and back: New Game, the
# introduction skipped with Escape, the map with its banner, Escape to the menu with Continue, Quit.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"

e2e_start_windowed_game
[[ -f "$tree/data/levels/original levels/level1.map" ]] || e2e_fail "the built-in set's first map is missing"
count_colour() { e2e_count_colour "$shots/$1.png" "${@:2}"; }

# 1. The logo, then the title menu with its cursor on New Game (row 1 without a game).
e2e_expect_logo "$window" "$shots/logo.png"
e2e_wait_for title_menu 30 e2e_title_at title_menu 1
[[ $(count_colour title_menu 0 0 0 0 0 640 460) -lt 200000 ]] || e2e_fail "the title menu is black"

# 2. New Game (the cursor starts on it), then Escape skips the introduction.
e2e_press_until Return introduction e2e_off_menu introduction
# The map-name banner rests in the middle of the screen on its lavender plate.
banner_shown() { (($(count_colour first_map 141 147 197 0 200 640 280) > 300)); }
e2e_press_until Escape first_map banner_shown

# 3. Escape in play (taken once Pim has faded in, so held until then) opens the menu with the game
# in progress: New Game on row 0, the cursor on it, Continue below.
e2e_hold_until Escape title_continue e2e_title_at title_continue 0
# Continue returns to play; Escape opens the menu again. Without a game in progress the same keys
# would start a new game here and the game would not end below.
e2e_walk_cursor 168 Down 1
e2e_press_until Return continuing e2e_off_menu continuing
e2e_hold_until Escape title_again e2e_title_at title_again 0

# 4. Up from New Game goes to Quit: the process ends with status 1.
e2e_walk_cursor 168 Up 5
e2e_quit_game
# A machine without a sound card is reported and passed over; anything else is an error.
others=$(awk '/Error initialising sound system/ {skip = 2; next} skip > 0 {skip--; next} NF' \
  "$E2E_TMP/xmessage.log")
if [[ -n "$others" ]]; then
  e2e_fail "the game reported an error: $others"
fi
echo "e2e title: ok (screenshots in $shots)"
