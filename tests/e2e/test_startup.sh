#!/usr/bin/env bash
# The real game starts in its window, and stops with its message when a data file is missing.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"

# 1. A complete run tree (a copy, as the game may write its settings): the window appears, shows
# the logo, and the game keeps running.
tree=$(e2e_copy_run_tree)
"$tree/game" >"$E2E_TMP/game.out" 2>&1 &
game_pid=$!
E2E_PIDS+=($game_pid)
E2E_WATCH=$game_pid
e2e_wait_window "Pim's Slumberia" 30 >/dev/null || e2e_fail "no window titled \"Pim's Slumberia\""
# Full screen on Xvfb is a screen-sized window around a 640x480 picture; either way one is 640x480.
picture() { xwininfo -root -tree | awk '/ 640x480\+/ {print $1; exit}'; }
picture_up() { [[ -n $(picture) ]]; }
e2e_wait_until 30 picture_up || e2e_fail "no 640x480 picture on the screen"
e2e_expect_logo "$(picture)" "$E2E_TMP/logo.png"
kill -0 "$game_pid" 2>/dev/null || e2e_fail "the game ended by itself: $(cat "$E2E_TMP/game.out")"
kill -9 "$game_pid"; wait "$game_pid" 2>/dev/null

# 2. Without the build tile data: status 1, its message, and the sound file is never opened.
rm "$tree/data/d_build_tiles.dat"
: > "$E2E_TMP/xmessage.log"
timeout 60 strace -f -e trace=open,openat -o "$E2E_TMP/opens.log" "$tree/game" >"$E2E_TMP/game2.out" 2>&1
status=$?
[[ $status -eq 1 ]] || e2e_fail "exit status $status, not 1"
grep -q "Failed to load build tile data." "$E2E_TMP/xmessage.log" || e2e_fail "message not shown"
grep -q "Failed to load build tile data." "$E2E_TMP/game2.out" || e2e_fail "message not on stdout"
grep -q 'd_tiles.dat' "$E2E_TMP/opens.log" || e2e_fail "strace saw no data file opened"
if grep -q 'd_sounds.dat' "$E2E_TMP/opens.log"; then e2e_fail "the sound data file was tried"; fi
echo "e2e startup: ok"
