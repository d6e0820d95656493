#!/usr/bin/env bash
# A player's journey to the end of a short level set of his own: its first map's exit, the
# intermission, the second and last map, its intermission, the ending, the credits, and the title
# menu again, with no intermission for the credits map on the way.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"

write_set() { e2e_write_test_set "$tree"; }
e2e_start_windowed_game write_set

# The set chosen in Options -> Level Set (its row first), Back, New Game, the introduction skipped.
e2e_wait_for title 40 e2e_title_at title 1
e2e_walk_cursor 168 Up 5 4
e2e_press_until Return options e2e_options_at options 0
e2e_walk_cursor 200 Down 1 2 3 4
e2e_play_test_set

# One step right onto the exit: the intermission; Enter: the set's second map.
# (Right is taken once Pim has faded in: held until the intermission shows.)
e2e_hold_until Right first_intermission e2e_looks intermission first_intermission
e2e_press_until Return second_map e2e_cloud_map "$shots/second_map.png"
# Its exit: the intermission, then, for the last map, the ending, whose dialogue Escape skips.
e2e_hold_until Right last_intermission e2e_looks intermission last_intermission
e2e_press_until Return ending e2e_looks story ending
e2e_press_until Escape credits e2e_looks credits credits

# The credits run for about 47 seconds and end by themselves on the title menu, with no game in
# progress (the cursor on New Game, row 1). An intermission would wait for a key and keep the
# title away: seeing one fails at once.
credits_end() {
  e2e_looks intermission credits_end && e2e_fail "an intermission came after the credits ($shots/credits_end.png)"
  e2e_title_at credits_end 1
}
e2e_wait_for credits_end 120 credits_end
e2e_expect_no_messages
echo "e2e journey ending: ok (screenshots in $shots)"
