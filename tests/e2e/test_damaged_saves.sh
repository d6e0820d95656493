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
press() { local k; for k in "$@"; do e2e_key "$window" "$k"; sleep 0.15; done; }

# 1. Start-up lists the four saves and reaches the title menu.
sleep 9
alive "start-up with damaged saves"
grep -q "Could Not load" "$E2E_TMP/xmessage.log" && e2e_fail "start-up reported a save"

# 2. Title -> Options (item 4, three rows below the first) -> Erase Save (item 5).
press Down Down Down Return
sleep 0.8
alive "the options menu"
press Down Down Down Down Down Return
sleep 0.8
alive "the erase screen"
shot erase_four_saves
for p in 0 1 2 3; do
  [[ $(row_ink erase_four_saves $p) -gt 600 ]] || e2e_fail "the erase screen shows no save in row $((p + 1))"
done

# 3. The damaged save's row, Enter, "Yes" (Left), Enter: its file goes, the others stay.
row=$(row_of Save_002.qsv)
for ((i = 1; i < row; i++)); do press Down; done
press Return Left Return
sleep 0.8
alive "erasing the damaged save"
shot erase_three_saves
[[ -e "$saves/Save_002.qsv" ]] && e2e_fail "the damaged save was not erased"
for f in Save_000.qsv Save_001.qsv Save_003.qsv; do
  [[ -e "$saves/$f" ]] || e2e_fail "$f was erased too"
done
[[ $(row_ink erase_three_saves 3) -lt 300 ]] || e2e_fail "a fourth row is still shown after the erase"
[[ $(row_ink erase_three_saves 0) -gt 600 ]] || e2e_fail "the erase screen lost its rows"

# 4. Escape back to the options (cursor still on Erase Save), Back below it, then Load Game (two
# rows above Options).
press Escape
sleep 0.5
press Down Return
sleep 0.8
alive "back at the title menu"
press Up Up Return
sleep 0.8
alive "the load screen"
shot load_three_saves
[[ $(row_ink load_three_saves 2) -gt 600 ]] || e2e_fail "the load screen does not list three saves"

# 5. Loading the orphaned save is refused with a message; the game goes on in the load list.
row=$(row_of Save_003.qsv)
for ((i = 1; i < row; i++)); do press Down; done
press Return
sleep 2
alive "loading the orphaned save"
grep -q "This save is damaged or its level set is gone:" "$E2E_TMP/xmessage.log" ||
  e2e_fail "loading the orphaned save was not refused with a message"
shot load_refused
[[ $(row_ink load_refused 0) -gt 600 ]] || e2e_fail "the load list is not shown again after the message"

# 6. Escape to the title, then Quit (two rows up from Load, past the first item): status 1.
press Escape
sleep 0.8
press Up Up Return
e2e_expect_exit_1 "$game_pid" 5 "Quit did not end the game"
echo "e2e damaged saves: ok (screenshots in $shots)"
