#!/usr/bin/env bash
# The real game starting with an empty, a damaged and an orphaned save beside a good one: it lists
# them all, Title -> Options -> Erase Save deletes the damaged one, and loading the orphaned one is
# refused with a message while the game goes on; then Quit.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"

write_saves() {
  local saves="$tree/data/saves"
  rm -f "$saves"/*.qsv
  printf 'data/levels/original levels/\nlevel1.map\nOriginal Levels\nlevel1.map\noriginal\n84\n85\n82\n83\n75\n18\n13\n19\n' \
    > "$saves/Save_000.qsv"
  : > "$saves/Save_001.qsv"
  printf '\x7fELF\x02\x01\x01\xff\xfe\x80\nnot a save\n' > "$saves/Save_002.qsv"
  printf 'data/levels/a set that is gone/\nlevel1.map\nGone Set\nlevel1.map\ngone\n84\n85\n82\n83\n75\n18\n13\n19\n' \
    > "$saves/Save_003.qsv"
}
e2e_start_windowed_game write_saves
saves="$tree/data/saves"
count_colour() { e2e_count_colour "$shots/$1.png" "${@:2}"; }
# The row of a save in the lists: the game lists the directory in its own (unsorted) order.
row_of() { ls -U "$saves" | grep '\.qsv$' | grep -n -x "$1" | cut -d: -f1; }
# White text pixels in window position $2 (0..3) of the list screen $1.
# A row of text has well over 1000 of them; the twinkling stars of the backdrop give a few dozen.
row_ink() { count_colour "$1" 255 255 255 100 $((130 + 80 * $2)) 540 $((200 + 80 * $2)); }
# The rows of the list screen in the picture $1 read $2 (a regular expression over
# e2e_list_rows: L the lit row, N another, . an empty place).
list_like() { e2e_looks list "$1" && [[ $(e2e_list_rows "$shots/$1.png") =~ ^$2$ ]]; }
# The rows that a list of $1 entries shows with the cursor on entry $2 (1 the first).
rows_lit() {
  local i out=''
  for ((i = 1; i <= 4; i++)); do
    if ((i == $2)); then out+=L; elif ((i <= $1)); then out+=N; else out+=.; fi
  done
  echo "$out"
}
# Moves the list cursor down from the first of $1 entries to entry $2, a press a row.
list_down_to() {
  local i
  for ((i = 2; i <= $2; i++)); do
    e2e_press_until Down "list_row_$i" e2e_list_shows "list_row_$i" "$(rows_lit "$1" "$i")"
  done
}

# 1. Start-up lists the four saves and reaches the title menu.
e2e_wait_for title 40 e2e_title_at title 1
alive "start-up with damaged saves"
grep -q "Could Not load" "$E2E_TMP/xmessage.log" && e2e_fail "start-up reported a save"

# 2. Title -> Options (item 4, three rows below the first) -> Erase Save (item 5).
e2e_walk_cursor 168 Down 2 3 4
e2e_press_until Return options e2e_options_at options 0
e2e_walk_cursor 200 Down 1 2 3 4 5
e2e_press_until Return erase_four_saves e2e_list_shows erase_four_saves "$(rows_lit 4 1)"
for p in 0 1 2 3; do
  [[ $(row_ink erase_four_saves $p) -gt 600 ]] || e2e_fail "the erase screen shows no save in row $((p + 1))"
done

# 3. The damaged save's row, Enter, "Yes" (Left), Enter: its file goes, the others stay.
list_down_to 4 "$(row_of Save_002.qsv)"
e2e_press_until Return erase_box e2e_looks_like list_box "$shots/erase_box.png"
e2e_press_until Left erase_box_yes e2e_looks_like list_box_yes "$shots/erase_box_yes.png"
e2e_press_until Return erased test ! -e "$saves/Save_002.qsv"
e2e_wait_for erase_three_saves 10 list_like erase_three_saves '[LN]{3}\.'
for f in Save_000.qsv Save_001.qsv Save_003.qsv; do
  [[ -e "$saves/$f" ]] || e2e_fail "$f was erased too"
done
[[ $(row_ink erase_three_saves 3) -lt 300 ]] || e2e_fail "a fourth row is still shown after the erase"
[[ $(row_ink erase_three_saves 0) -gt 600 ]] || e2e_fail "the erase screen lost its rows"

# 4. Escape back to the options (cursor still on Erase Save), Back below it, then Load Game (two
# rows above Options).
e2e_press_until Escape options_again e2e_options_at options_again 5
e2e_walk_cursor 200 Down 6
e2e_press_until Return title_again e2e_title_at title_again 4
e2e_walk_cursor 168 Up 3 2
e2e_press_until Return load_three_saves e2e_list_shows load_three_saves "$(rows_lit 3 1)"
[[ $(row_ink load_three_saves 2) -gt 600 ]] || e2e_fail "the load screen does not list three saves"

# 5. Loading the orphaned save is refused with a message; the game goes on in the load list.
list_down_to 3 "$(row_of Save_003.qsv)"
refused() { grep -q "This save is damaged or its level set is gone:" "$E2E_TMP/xmessage.log"; }
e2e_press_until Return load_refusing refused
e2e_wait_for load_refused 10 list_like load_refused '[LN]{3}\.'
[[ $(row_ink load_refused 0) -gt 600 ]] || e2e_fail "the load list is not shown again after the message"

# 6. Escape to the title (the cursor on Load Game), then Quit (two rows up, past the first item):
# status 1.
e2e_press_until Escape title_end e2e_title_at title_end 2
e2e_walk_cursor 168 Up 1 5
e2e_quit_game
echo "e2e damaged saves: ok (screenshots in $shots)"
