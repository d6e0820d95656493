#!/usr/bin/env bash
# A desktop that refuses full screen (here another program holds the pointer, which a full-screen
# mode must grab) never ends or locks out a program: the game asked for full screen at start opens a
# window, and Options -> Screen Mode says so and plays on in that window, which the settings file
# then keeps; the editor asked for full screen by its settings file or "-f" opens a window, and F
# brings its window back with the map as it was, and quitting keeps the window for the next start.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"

tree=$(e2e_copy_run_tree)
shots=$(e2e_shot_dir)
mkdir -p "$shots"
cc -O1 -o "$E2E_TMP/hold_pointer" "$(dirname "$0")/helpers/hold_pointer.c" -lX11 || e2e_fail "the pointer holder does not build"

hold_pointer() {
  : > "$E2E_TMP/hold.out"
  "$E2E_TMP/hold_pointer" > "$E2E_TMP/hold.out" &
  holder_pid=$!
  E2E_PIDS+=($holder_pid)
  e2e_wait_until 10 grep -q held "$E2E_TMP/hold.out" || e2e_fail "the pointer could not be held"
}
let_go_of_pointer() {
  kill "$holder_pid"
  wait "$holder_pid" 2>/dev/null
  : > "$E2E_TMP/hold.out"
}
# A program's window, not a full screen: titled $1, $2 x $3 pixels.
window_of_size() {
  local geometry
  geometry=$(xwininfo -id "$(e2e_window_id "$1")" 2>/dev/null | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
  [[ $geometry == "$2x$3" ]]
}
said() { grep -q "$1" "$E2E_TMP/xmessage.log"; }

# ---- The game, asked for full screen by its settings file.
hold_pointer
printf '255\n255\n0' > "$tree/data/settings.txt"
"$tree/game" >"$E2E_TMP/game.out" 2>&1 &
game_pid=$!
E2E_PIDS+=($game_pid)
window=$(e2e_wait_window "Pim's Slumberia" 30) || e2e_fail "the game opened no window: $(cat "$E2E_TMP/game.out")"
e2e_wait_until 10 window_of_size "Pim's Slumberia" 640 480 || e2e_fail "the game did not start in a 640x480 window"
shot() { e2e_window_shot "$window" "$shots/$1.png"; }
alive() { kill -0 "$game_pid" 2>/dev/null || e2e_fail "the game ended during: $1 ($(cat "$E2E_TMP/game.out"))"; }
e2e_wait_for title 40 e2e_title_at title 1
alive "a start with full screen refused"

# Options (item 4), Screen Mode (item 2): full screen is refused, the window comes back.
e2e_walk_cursor 168 Down 2 3 4
e2e_press_until Return options e2e_options_at options 0
e2e_walk_cursor 200 Down 1 2
# Enter held until the game has answered: one press, however busy the machine.
e2e_hold_key "$window" Return 30 said "15bit or 16bit grahpics card" || e2e_fail "the refused full screen was not reported"
window=$(e2e_wait_window "Pim's Slumberia" 20) || e2e_fail "the game's window did not come back"
e2e_wait_until 10 window_of_size "Pim's Slumberia" 640 480 || e2e_fail "the window came back at another size"
e2e_wait_for options_again 20 e2e_options_at options_again 2
alive "a refused switch to full screen"
# Back (item 6) writes the settings: the window that runs.
e2e_walk_cursor 200 Down 3 4 5 6
e2e_press_until Return title_again e2e_title_at title_again 4
[[ "$(cat "$tree/data/settings.txt")" == $'255\n255\n1' ]] ||
  e2e_fail "the settings file holds '$(cat "$tree/data/settings.txt")', not the window"
(($(grep -c -- "^-buttons" "$E2E_TMP/xmessage.log") == 1)) || e2e_fail "the game said more than the refused mode"
{ kill "$game_pid"; wait "$game_pid"; } 2>/dev/null
let_go_of_pointer

# ---- The editor, asked for full screen by its settings file: a window, and the settings keep it.
printf '1' > "$tree/data/ed_settings.txt"
hold_pointer
"$tree/editor" >"$E2E_TMP/editor.out" 2>&1 &
editor_pid=$!
E2E_PIDS+=($editor_pid)
window=$(e2e_wait_window "Pim's Slumberia Editor" 30) || e2e_fail "the editor opened no window: $(cat "$E2E_TMP/editor.out")"
e2e_wait_until 10 window_of_size "Pim's Slumberia Editor" 800 600 || e2e_fail "the editor did not start in an 800x600 window"
# Its first frame, read once the pointer is free to move again.
let_go_of_pointer
xdotool windowfocus --sync "$window" 2>/dev/null || true
e2e_editor_journey

# An unsaved map; then F while full screen is refused.
pick_tile 21
paint 10 3
hold_pointer
e2e_hold_key "$window" f 30 report_shown || e2e_fail "the refused switch was not reported on the editor's screen"
window=$(e2e_wait_window "Pim's Slumberia Editor" 10) || e2e_fail "the editor's window did not come back"
e2e_window_shot "$window" "$shots/editor_refused.png"
window_of_size "Pim's Slumberia Editor" 800 600 || e2e_fail "the editor's window came back at another size"
alive "a refused switch to full screen"
let_go_of_pointer
e2e_press_key_until "$window" space 20 editing || e2e_fail "the editor did not go on after its report"
cell_painted 10 3 || e2e_fail "the map lost its cell after the refused switch"
e2e_window_shot "$window" "$shots/editor_after.png"

# Quit: Esc, Yes, Enter; the settings file keeps the window that ran.
e2e_press_key_until "$window" Escape 10 box_open || e2e_fail "the quit box did not open"
e2e_press_key_until "$window" Right 10 box_yes || e2e_fail "Yes was not lit"
e2e_key "$window" Return
e2e_expect_exit_1 "$editor_pid" 20 "the editor did not quit"
[[ "$(cat "$tree/data/ed_settings.txt")" == "2" ]] ||
  e2e_fail "the editor's settings hold '$(cat "$tree/data/ed_settings.txt")', not the window"

# ---- "-f" on the same desktop: a window too.
hold_pointer
"$tree/editor" -f >"$E2E_TMP/editor_f.out" 2>&1 &
editor_pid=$!
E2E_PIDS+=($editor_pid)
e2e_wait_window "Pim's Slumberia Editor" 30 >/dev/null || e2e_fail "editor -f opened no window: $(cat "$E2E_TMP/editor_f.out")"
e2e_wait_until 10 window_of_size "Pim's Slumberia Editor" 800 600 || e2e_fail "editor -f did not open an 800x600 window"
kill -0 "$editor_pid" 2>/dev/null || e2e_fail "editor -f ended"
said "Initialization failed" && e2e_fail "editor -f reported a failed start"
echo "ok"
