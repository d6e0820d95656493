#!/usr/bin/env bash
# The real game's message box: the introduction types its first message, a press and release of
# Enter closes it, and the next message follows.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"

e2e_start_windowed_game
# Black text pixels on the box's first line of text.
line_ink() { e2e_count_colour "$shots/$1.png" 0 0 0 60 322 580 $2; }

# The logo, the title menu, New Game; the stars stand alone for about four seconds, then the first
# message ("There exists a world...", one line) types out and waits with its arrow.
e2e_wait_for title 40 e2e_title_at title 1
e2e_press_until Return introduction e2e_off_menu introduction
e2e_wait_for message_first 30 e2e_looks message_waiting message_first
first=$(line_ink message_first 352)
[[ $first -gt 20 ]] || e2e_fail "no text typed in the box ($first dark pixels)"
second_before=$(e2e_count_colour "$shots/message_first.png" 0 0 0 60 356 580 390)
[[ $second_before -lt 20 ]] || e2e_fail "a second line before the second message ($second_before dark pixels)"

# A press and release closes it (keys are held briefly: X repeats a key held longer): its line
# goes; the second message ("...|completely altered...") types its two lines.
first_line_shown() { e2e_same_picture "$shots/$1.png" 60 322 "$shots/message_first.png" 60 322 520 30; }
first_line_gone() { ! first_line_shown "$1"; }
e2e_press_until_still first_line_shown Return message_closed first_line_gone message_closed
second_line() { second_after=$(e2e_count_colour "$shots/$1.png" 0 0 0 60 356 580 390); ((second_after > 20)); }
e2e_wait_until 20 e2e_shot_check message_next second_line message_next ||
  e2e_fail "the next message did not follow ($second_after dark pixels on its second line)"
echo "e2e message: ok (screenshots in $shots)"
