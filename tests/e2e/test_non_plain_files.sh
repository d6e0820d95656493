#!/usr/bin/env bash
# The real programs meet what a user's disk may hold where their files should be: the game reaches
# play with a save naming /dev/zero as its map, a named pipe among its saves and another among its
# songs; the editor opens its window with a named pipe as its settings file. Both ignore SIGXFSZ,
# so that a write past a file-size limit fails like any failed write, and both say in words why
# they cannot start without an X display.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"

# Whether the process $1 ignores SIGXFSZ (signal 25, bit 24 of the mask /proc shows in hex).
ignores_file_size_signal() {
  local mask
  mask=$(awk '/^SigIgn:/ {print $2}' "/proc/$1/status")
  [[ -n "$mask" ]] && (((0x$mask >> 24) & 1))
}

special_files() {
  local saves="$tree/data/saves"
  mkdir -p "$saves"
  rm -f "$saves"/*.qsv
  printf '%s\n' /dev/ zero "Original Levels" level1.map original 84 85 82 83 75 18 13 19 > "$saves/Save_000.qsv"
  mkfifo "$saves/Save_001.qsv"
  mkfifo "$tree/data/music/zz_pipe.mid"
}

# 1. The game: past the logo to the title, New Game, the introduction skipped, the first map in play.
e2e_start_windowed_game special_files
pim_in_cell() { (($(e2e_count_where "$1" $(($2 * 32)) 256 $(($2 * 32 + 32)) 288 'r > 200 && r - b > 80') > 150)); }
e2e_wait_for title 40 e2e_title_at title 1
ignores_file_size_signal "$game_pid" || e2e_fail "the game does not ignore SIGXFSZ"
e2e_press_until Return introduction e2e_looks_like story "$shots/introduction.png"
e2e_press_until Escape first_map pim_in_cell "$shots/first_map.png" 1
alive "play on the first map"
[[ -p "$tree/data/saves/Save_001.qsv" && -p "$tree/data/music/zz_pipe.mid" ]] || e2e_fail "a named pipe was replaced"
e2e_expect_no_messages
kill -9 "$game_pid"; wait "$game_pid" 2>/dev/null

# 2. The editor, with a named pipe where its settings file should be: its window opens and stays.
rm -f "$tree/data/ed_settings.txt"
mkfifo "$tree/data/ed_settings.txt"
e2e_start_editor "$tree"
e2e_wait_until 10 ignores_file_size_signal "$editor_pid" || e2e_fail "the editor does not ignore SIGXFSZ"
kill -0 "$editor_pid" 2>/dev/null || e2e_fail "the editor ended: $(cat "$E2E_TMP/editor.out")"
kill -9 "$editor_pid"; wait "$editor_pid" 2>/dev/null

# 3. No X display, as DISPLAY unset or naming no server: status 1, and why, naming DISPLAY.
for program in game editor; do
  env -u DISPLAY timeout 60 "$tree/$program" >"$E2E_TMP/unset.out" 2>&1
  status=$?
  [[ $status -eq 1 ]] || e2e_fail "$program without DISPLAY: exit status $status, not 1"
  grep -q "no X display could be opened, because DISPLAY is not set" "$E2E_TMP/unset.out" ||
    e2e_fail "$program without DISPLAY said: $(cat "$E2E_TMP/unset.out")"
  DISPLAY=:nowhere timeout 60 "$tree/$program" >"$E2E_TMP/bad.out" 2>&1
  status=$?
  [[ $status -eq 1 ]] || e2e_fail "$program with a bad DISPLAY: exit status $status, not 1"
  grep -q 'no X display could be opened at DISPLAY=":nowhere"' "$E2E_TMP/bad.out" ||
    e2e_fail "$program with a bad DISPLAY said: $(cat "$E2E_TMP/bad.out")"
done
echo "e2e special files: ok (screenshots in $shots)"
