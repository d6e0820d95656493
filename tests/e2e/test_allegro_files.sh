#!/usr/bin/env bash
# The real programs meet crafted files where Allegro reads its own: a named pipe or an instrument
# set with an overlong name as patches.dat, a 20 GiB allegro.cfg, and two data files traded with
# their records. Each program opens its window within seconds and plays on (without music, with
# the usual message, when the instruments are refused), or ends with the data file's message.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"

pipe_as_patches() { rm -f "$tree/patches.dat"; mkfifo "$tree/patches.dat"; }
long_name_in_patches() {
  python3 - "$tree/patches.dat" <<'PY'
import struct, sys
name, body = b'n' * 600, b'GF1PATCH110'
obj = b'prop' + b'NAME' + struct.pack('>I', len(name)) + name + b'PAT ' + struct.pack('>II', len(body), len(body)) + body
open(sys.argv[1], 'wb').write(b'slh.ALL.' + struct.pack('>I', 1) + obj)
PY
}
huge_config() { truncate -s 20G "$tree/allegro.cfg"; }

# case: how the tree is damaged, and the sound message it gives ("" for none)
cases=(
  "pipe_as_patches|DIGMID patch set not found"
  "long_name_in_patches|DIGMID patch set not found"
  "huge_config|"
)

check_messages() { # $1 program, $2 case, $3 the reason expected after the sound message, or ""
  if [[ -z "$3" ]]; then
    [[ ! -s "$E2E_TMP/xmessage.log" ]] || e2e_fail "$1, $2: unexpected message: $(cat "$E2E_TMP/xmessage.log")"
  else
    grep -q 'Error initialising sound system' "$E2E_TMP/xmessage.log" &&
      grep -qF "$3" "$E2E_TMP/xmessage.log" || e2e_fail "$1, $2: messages were: $(cat "$E2E_TMP/xmessage.log")"
  fi
}

for c in "${cases[@]}"; do
  damage=${c%%|*} reason=${c#*|}
  for program in game editor; do
    rm -rf "$E2E_TMP/run"
    tree=$(e2e_copy_run_tree)
    "$damage"
    : > "$E2E_TMP/xmessage.log"
    if [[ $program == game ]]; then
      e2e_start_game_in "$tree"
      pid=$game_pid
    else
      e2e_start_editor "$tree"
      pid=$editor_pid
    fi
    kill -0 "$pid" 2>/dev/null || e2e_fail "$program, $damage: the program ended"
    check_messages "$program" "$damage" "$reason"
    kill -9 "$pid"; wait "$pid" 2>/dev/null
  done
done

# Two genuine data files traded, each with its record: the first the program loads of them ends it
# with its own message and status 1.
for program in game editor; do
  rm -rf "$E2E_TMP/run"
  tree=$(e2e_copy_run_tree)
  data="$tree/data"
  for suffix in "" .sum; do
    mv "$data/d_tiles.dat$suffix" "$data/swap"
    mv "$data/d_backgrounds.dat$suffix" "$data/d_tiles.dat$suffix"
    mv "$data/swap" "$data/d_backgrounds.dat$suffix"
  done
  printf '255\n255\n1' > "$data/settings.txt"
  : > "$E2E_TMP/xmessage.log"
  timeout 60 "$tree/$program" >"$E2E_TMP/$program.out" 2>&1
  status=$?
  [[ $status -eq 1 ]] || e2e_fail "$program with traded data files: exit status $status, not 1"
  grep -q 'Failed to load tile data\.' "$E2E_TMP/xmessage.log" ||
    e2e_fail "$program with traded data files said: $(cat "$E2E_TMP/xmessage.log")"
done
echo "e2e files Allegro reads: ok"
