# Shared by the end-to-end scripts: a private Xvfb, a stub xmessage, window and key helpers.
# Source it, then call e2e_begin RUN_DIR. Everything started is stopped on exit.

e2e_begin() {
  E2E_RUN_DIR=$(cd "$1" && pwd)
  E2E_TMP=$(mktemp -d /tmp/slumberia_e2e.XXXXXX)
  E2E_PIDS=()
  trap e2e_end EXIT
  # allegro_message runs xmessage and waits for a click: the stub records the text instead.
  mkdir -p "$E2E_TMP/bin"
  cat > "$E2E_TMP/bin/xmessage" <<STUB
#!/bin/sh
printf '%s\n' "\$*" >> "$E2E_TMP/xmessage.log"
exit 0
STUB
  chmod +x "$E2E_TMP/bin/xmessage"
  export PATH="$E2E_TMP/bin:$PATH"
  : > "$E2E_TMP/xmessage.log"
  # A null sound output, so that the programs start their sound as on a desktop with a card.
  printf 'pcm.!default {\n  type null\n}\n' > "$E2E_TMP/alsa.conf"
  export ALSA_CONFIG_PATH="$E2E_TMP/alsa.conf"
  # Xvfb picks a free display number itself and writes it out once it listens: two tests started
  # at the same moment never share a display.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$E2E_TMP/display" >"$E2E_TMP/xvfb.log" 2>&1 &
  E2E_PIDS+=($!)
  local i
  for i in $(seq 100); do
    if [[ -s "$E2E_TMP/display" ]]; then
      export DISPLAY=":$(head -n 1 "$E2E_TMP/display")"
      xdpyinfo >/dev/null 2>&1 && return 0
    fi
    sleep 0.1
  done
  e2e_fail "Xvfb did not start: $(cat "$E2E_TMP/xvfb.log")"
}

e2e_end() {
  local pid
  for pid in "${E2E_PIDS[@]}"; do kill -9 "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$E2E_TMP"
}

e2e_fail() {
  echo "FAIL: $*" >&2
  [[ -s "${E2E_TMP:-/nonexistent}/xmessage.log" ]] && { echo "xmessage said:" >&2; cat "$E2E_TMP/xmessage.log" >&2; }
  exit 1
}

# A copy of the run tree that a test may change freely.
e2e_copy_run_tree() {
  cp -a "$E2E_RUN_DIR" "$E2E_TMP/run"
  echo "$E2E_TMP/run"
}

# Waits up to $2 seconds (default 20) for a window titled $1; prints its id.
e2e_wait_window() {
  local title=$1 limit=${2:-20} i id
  for i in $(seq $((limit * 10))); do
    id=$(xdotool search --name "^${title}\$" 2>/dev/null | head -n 1)
    [[ -n "$id" ]] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Presses one key the way Allegro's key[] sees it: down, a short hold, up.
e2e_key() {
  local window=$1 keyname=$2 hold=${3:-0.12}
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool keydown "$keyname"
  sleep "$hold"
  xdotool keyup "$keyname"
}

# Saves the whole X screen as a PNG.
e2e_screenshot() {
  import -window root "$1" 2>/dev/null || { xwd -root -silent | convert xwd:- "$1"; }
}

# Saves the picture of window $1 (cut from the whole screen) as the PNG $2.
e2e_window_shot() {
  local window=$1 file=$2 geometry
  geometry=$(xwininfo -id "$window" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {printf "%dx%d+%d+%d", w, h, x, y}')
  e2e_screenshot "$E2E_TMP/root.png"
  convert "$E2E_TMP/root.png" -crop "$geometry" +repage "$file" || e2e_fail "screenshot $file"
}

# How many pixels of the PNG $1 lie near the colour r g b ($2 $3 $4) within the box x0 y0 x1 y1.
e2e_count_colour() {
  local file=$1 r=$2 g=$3 b=$4 x0=$5 y0=$6 x1=$7 y1=$8
  convert "$file" -crop "$((x1 - x0))x$((y1 - y0))+$x0+$y0" +repage -depth 8 txt:- |
    awk -v r="$r" -v g="$g" -v b="$b" -F'[(),]+' 'NR > 1 {
      dr = $3 - r; dg = $4 - g; db = $5 - b
      if (dr < 0) dr = -dr; if (dg < 0) dg = -dg; if (db < 0) db = -db
      if (dr < 10 && dg < 10 && db < 10) n++ } END { print n + 0 }'
}

# Waits up to $2 seconds (default 10) for the process $1, started by this shell, to end; fails with
# $3 if it does not, and checks that it ended with status 1, as both programs always do.
e2e_expect_exit_1() {
  local pid=$1 limit=${2:-10} what=${3:-"the program did not end"} i status
  for i in $(seq $((limit * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"; status=$?
      [[ $status -eq 1 ]] || e2e_fail "exit status $status, not 1"
      return 0
    fi
    sleep 0.1
  done
  e2e_fail "$what"
}

# Starts the real game from a private copy of the run tree, set to play in a window, and waits for
# its window. Sets tree, game_pid, window and shots (where shot NAME saves the window's picture);
# alive WHAT fails the test if the game has ended.
e2e_start_windowed_game() {
  shots=${E2E_SHOT_DIR:-$E2E_RUN_DIR/../e2e_shots}
  mkdir -p "$shots"
  tree=$(e2e_copy_run_tree)
  printf '255\n255\n1' > "$tree/data/settings.txt"
  # A script that defines e2e_prepare_tree gets the copied tree before the game starts in it.
  if declare -F e2e_prepare_tree >/dev/null; then e2e_prepare_tree "$tree"; fi
  "$tree/game" >"$E2E_TMP/game.out" 2>&1 &
  game_pid=$!
  E2E_PIDS+=($game_pid)
  window=$(e2e_wait_window "Pim's Slumberia" 30) || e2e_fail "no window titled \"Pim's Slumberia\""
  alive() {
    kill -0 "$game_pid" 2>/dev/null || e2e_fail "the game ended during: $1 ($(cat "$E2E_TMP/game.out"))"
  }
  shot() { e2e_window_shot "$window" "$shots/$1.png"; }
}
