#!/usr/bin/env bash
# A cut or bit-flipped data file stops the real game and editor with that file's message and status 1.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"

# damaged_start HOW FILE PROGRAM MESSAGE: in a fresh copy of the run tree, cuts data/FILE to half
# (HOW "cut") or flips one bit in its middle (HOW "flip"), starts PROGRAM and expects MESSAGE.
damaged_start() {
  local how=$1 file=$2 program=$3 message=$4 tree path size byte status
  rm -rf "$E2E_TMP/run"
  tree=$(e2e_copy_run_tree)
  path="$tree/data/$file"
  size=$(stat -c %s "$path")
  if [[ $how == cut ]]; then
    truncate -s $((size / 2)) "$path"
  else
    byte=$(( $(od -An -tu1 -j $((size / 2)) -N 1 "$path") ^ 16 ))
    printf "\\$(printf '%03o' "$byte")" | dd of="$path" bs=1 seek=$((size / 2)) conv=notrunc status=none
  fi
  : > "$E2E_TMP/xmessage.log"
  timeout 60 "$tree/$program" >"$E2E_TMP/$program.out" 2>&1
  status=$?
  [[ $status -eq 1 ]] || e2e_fail "$program, $file ($how): exit status $status, not 1"
  grep -qF "$message" "$E2E_TMP/xmessage.log" || e2e_fail "$program, $file ($how): \"$message\" not shown"
}

damaged_start cut d_build_tiles.dat game "Failed to load build tile data."
damaged_start flip d_system.dat game "Failed to load system data."
damaged_start cut d_data.dat editor "Failed to load data data."
damaged_start flip d_tiles.dat editor "Failed to load tile data."
echo "e2e damaged data: ok"
