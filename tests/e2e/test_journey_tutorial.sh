#!/usr/bin/env bash
# A player's journey through the tutorial: the title's Tutorial item, the tutorial menu, lesson 1
# played through its real states (each message read to its end and closed, each task done with the
# keys it asks for, its two demonstrations watched), and its exit back to the title menu.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"

e2e_start_windowed_game

e2e_wait_for title 40 e2e_title_at title 1
e2e_walk_cursor 168 Down 2 3
e2e_press_until Return tutorial_menu e2e_tutorial_at tutorial_menu 0
e2e_press_until Return lesson e2e_looks message lesson

# The lesson's messages, by how many have been closed when each task comes: walk right (after 5),
# turn left (10), duck (13), look up (16); after the 23rd Pim may walk to the exit. A task is done
# with its key held until the lesson answers with its next message.
declare -A task_keys=([5]=Right [10]=Left [13]=Down [16]=Up)
# One reading of the message box in shots/$1.png: how much of it shows, how much of its arrow (the
# text is all typed), and a checksum of where its letters' dark pixels lie, which tells one
# message from the next.
box_reading() {
  e2e_pixels "$shots/$1.png" 60 322 580 470 | awk '
    { i = NR - 1; x = i % 520; y = int(i / 520); r = $1; g = $2; b = $3
      if (y < 118 && r > 200 && r < 232 && g > 188 && g < 216 && b > 210 && b < 236) box++
      if (x >= 480 && x < 505 && y >= 123 && r > 200 && r - b > 60) arrow++
      if (x < 480 && y < 118 && r + g + b < 120) sum = (sum * 131 + NR) % 1000000007 }
    END { printf "%d %d %d\n", (box >= 10000), (arrow >= 10), sum }'
}
closed=0 tapped='' tapped_cpu=0 done_task=-1 deadline=$((SECONDS + 500))
declare -A seen=()
# Counts the message read from shots/$1.png if it waits with its text all typed and is new.
count_if_new() {
  read -r box arrow letters < <(box_reading "$1")
  ((box && arrow)) || return 1
  [[ -n ${seen[$letters]:-} ]] || { seen[$letters]=1; closed=$((closed + 1)); }
}
while ((closed < 23)); do
  ((SECONDS < deadline)) || e2e_fail "the lesson stopped after $closed messages ($shots/lesson.png)"
  alive "lesson 1"
  e2e_read_cpu
  shot lesson
  read -r box arrow letters < <(box_reading lesson)
  if ((box && arrow)); then
    count_if_new lesson
    # A close press that the game has not seen leaves the same message waiting: pressed again
    # once the game has run long enough to act on it before this picture was taken.
    if [[ $letters != "$tapped" ]] || ((E2E_CPU - tapped_cpu >= E2E_ACTED_CPU)); then
      tapped=$letters
      e2e_key "$window" Return 0.15
      e2e_read_cpu
      tapped_cpu=$E2E_CPU
    fi
  elif ((box)); then
    # Enter held while a message types makes it type a letter a frame; the release closes nothing.
    e2e_key_down "$window" Return
    e2e_wait_for lesson_typed 30 count_if_new lesson_typed
    xdotool keyup Return
  elif [[ -n ${task_keys[$closed]:-} ]] && ((done_task != closed)); then
    e2e_key_down "$window" "${task_keys[$closed]}"
    e2e_wait_for lesson_answer 20 e2e_looks message lesson_answer
    xdotool keyup "${task_keys[$closed]}"
    done_task=$closed
  else
    sleep 0.2
  fi
done

# The last message closed, Right, held, takes Pim to the exit: the lesson ends on the title menu,
# with no game (cursor on row 1).
no_message() { ! e2e_looks message "$1"; }
e2e_press_until Return lesson_free no_message lesson_free
e2e_key_down "$window" Right
e2e_wait_for title_after_lesson 40 e2e_title_at title_after_lesson 1
xdotool keyup Right
e2e_expect_no_messages
echo "e2e journey tutorial: ok (screenshots in $shots)"
