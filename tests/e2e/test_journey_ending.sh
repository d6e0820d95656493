#!/usr/bin/env bash
# A player's journey to the end of a short level set of his own: its first map's exit, the
# intermission, the second and last map, its intermission, the ending, the credits, and the title
# menu again, with no intermission for the credits map on the way.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"
E2E_SHOT_DIR=${E2E_SHOT_DIR:-$1/../e2e_shots}/journey_ending

write_set() { e2e_write_test_set "$tree"; }
e2e_start_windowed_game write_set
looks() { e2e_looks_like "$1" "$shots/$2.png"; }

# The set chosen in Options -> Level Set (its row first), Back, New Game, the introduction skipped.
e2e_wait_for title 40 e2e_title_at title 1
e2e_walk_cursor 168 Up 5 4
e2e_press_until Return options e2e_options_at options 0
e2e_walk_cursor 200 Down 1 2 3 4
e2e_press_until Return level_sets e2e_list_shows level_sets LN..
e2e_press_until Return options_after_set e2e_options_at options_after_set 4
e2e_walk_cursor 200 Down 5 6
e2e_press_until Return title_after_options e2e_title_at title_after_options 4
e2e_walk_cursor 168 Down 5 1
e2e_key "$window" Return
e2e_wait_for introduction 20 looks story introduction
e2e_press_until Escape first_map e2e_star_map "$shots/first_map.png"

# One step right onto the exit: the intermission; Enter: the set's second map.
e2e_press_until Right first_intermission looks intermission first_intermission
e2e_press_until Return second_map e2e_cloud_map "$shots/second_map.png"
# Its exit: the intermission, then, for the last map, the ending, whose dialogue Escape skips.
e2e_press_until Right last_intermission looks intermission last_intermission
e2e_press_until Return ending looks story ending
e2e_press_until Escape credits looks credits credits

# The credits run for about 47 seconds and end by themselves on the title menu, with no game in
# progress (the cursor on New Game, row 1). An intermission would wait for a key and keep the
# title away: seeing one fails at once.
credits_end() {
  looks intermission credits_end && e2e_fail "an intermission came after the credits ($shots/credits_end.png)"
  e2e_title_at credits_end 1
}
e2e_wait_for credits_end 120 credits_end
others=$(awk '/Error initialising sound system/ {skip = 2; next} skip > 0 {skip--; next} NF' "$E2E_TMP/xmessage.log")
[[ -z "$others" ]] || e2e_fail "the game reported an error: $others"
echo "e2e journey ending: ok (screenshots in $shots)"
