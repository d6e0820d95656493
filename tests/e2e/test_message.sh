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
sleep 9
alive "the logo"
e2e_key "$window" Return
sleep 8
alive "the introduction"
shot message_first
first=$(line_ink message_first 352)
[[ $first -gt 20 ]] || e2e_fail "no text typed in the box ($first dark pixels)"
second_before=$(e2e_count_colour "$shots/message_first.png" 0 0 0 60 356 580 390)
[[ $second_before -lt 20 ]] || e2e_fail "a second line before the second message ($second_before dark pixels)"

# A press and release closes it (keys are held briefly: X repeats a key held longer); the second
# message ("...|completely altered...") types its two lines.
e2e_key "$window" Return
sleep 4.5
alive "closing the message"
shot message_next
second_after=$(e2e_count_colour "$shots/message_next.png" 0 0 0 60 356 580 390)
[[ $second_after -gt 20 ]] ||
  e2e_fail "the next message did not follow ($second_after dark pixels on its second line)"
echo "e2e message: ok (screenshots in $shots)"
