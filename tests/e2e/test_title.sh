#!/usr/bin/env bash
# The real game from its logo through the title menu into the first map and back: New Game, the
# introduction skipped with Escape, the map with its banner, Escape to the menu with Continue, Quit.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"

e2e_start_windowed_game
[[ -f "$tree/data/levels/original levels/level1.map" ]] || e2e_fail "the built-in set's first map is missing"
count_colour() { e2e_count_colour "$shots/$1.png" "${@:2}"; }

# 1. The logo (about 6.3 s), then the title menu.
sleep 9
alive "the logo"
shot title_menu
[[ $(count_colour title_menu 0 0 0 0 0 640 460) -lt 200000 ]] || e2e_fail "the title menu is black"

# 2. New Game (the cursor starts on it), then Escape skips the introduction.
e2e_key "$window" Return
sleep 1.5
alive "the introduction"
e2e_key "$window" Escape
sleep 0.8
alive "loading the first map"
shot first_map
# The map-name banner rests in the middle of the screen on its lavender plate.
plate=$(count_colour first_map 141 147 197 0 200 640 280)
[[ $plate -gt 300 ]] || e2e_fail "no map-name banner in the middle of the first map ($plate plate pixels)"

# 3. Escape in play (once Pim has faded in) opens the menu with Continue on item 1. In play the
# frame holds the screen while it draws, which delays the window's key events: hold keys longer.
sleep 2.5
e2e_key "$window" Escape 0.3
sleep 1
alive "the title menu from play"
shot title_continue
# Continue returns to play; Escape opens the menu again. Without a game in progress the same keys
# would start a new game here and the game would not end below.
e2e_key "$window" Down
e2e_key "$window" Return
sleep 1
alive "continuing"
e2e_key "$window" Escape 0.3
sleep 1
alive "the second title menu"

# 4. Up from New Game goes to Quit: the process ends with status 1.
e2e_key "$window" Up
e2e_key "$window" Return
e2e_expect_exit_1 "$game_pid" 5 "Quit did not end the game"
# A machine without a sound card is reported and passed over; anything else is an error.
others=$(awk '/Error initialising sound system/ {skip = 2; next} skip > 0 {skip--; next} NF' \
  "$E2E_TMP/xmessage.log")
if [[ -n "$others" ]]; then
  e2e_fail "the game reported an error: $others"
fi
echo "e2e title: ok (screenshots in $shots)"
