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

# Starts the real game from a private copy of the run tree (or from the tree $1, when given), set
# to play in a window, and waits for its window. Sets tree, game_pid, window and shots (where shot
# NAME saves the window's picture); alive WHAT fails the test if the game has ended.
e2e_start_windowed_game() {
  shots=${E2E_SHOT_DIR:-$E2E_RUN_DIR/../e2e_shots}
  mkdir -p "$shots"
  tree=${1:-$(e2e_copy_run_tree)}
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

# Starts the real editor in the run tree $1 and waits for its window. Sets editor_pid and window.
e2e_start_editor() {
  "$1/editor" >"$E2E_TMP/editor.out" 2>&1 &
  editor_pid=$!
  E2E_PIDS+=($editor_pid)
  window=$(e2e_wait_window "Pim's Slumberia Editor" 30) || e2e_fail "no window titled \"Pim's Slumberia Editor\""
  xdotool windowfocus --sync "$window" 2>/dev/null || true
}

# Polls the command given after $1 every 0.1 s for up to $1 seconds; succeeds as soon as it does.
e2e_wait_until() {
  local limit=$1 deadline
  shift
  deadline=$(($(date +%s%N) + limit * 1000000000))
  while :; do
    "$@" && return 0
    (($(date +%s%N) > deadline)) && return 1
    sleep 0.1
  done
}

# Saves the picture of window $1 as the PNG $2 (quicker than e2e_window_shot, for polling).
e2e_grab() {
  import -window "$1" "$2" 2>/dev/null || e2e_window_shot "$1" "$2"
}

# Holds key $2 down in window $1 until the command after $3 succeeds (at most $3 seconds), then
# lets it go: a key is down exactly as long as the program needs to see it.
e2e_hold_key() {
  local window=$1 keyname=$2 limit=$3 status
  shift 3
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool keydown "$keyname"
  e2e_wait_until "$limit" "$@"
  status=$?
  xdotool keyup "$keyname"
  return $status
}

# Presses key $2 in window $1 until the command after $3 succeeds (at most $3 seconds in all): the
# key is held until it does, or for two seconds; a press that brought nothing about (one the program
# never saw, or saw as the same press as the one before, its release unseen) is let go for a moment
# and made again. For keys that act once per press, such as menu moves.
e2e_press_key_until() {
  local window=$1 keyname=$2 limit=$3 deadline
  shift 3
  deadline=$(($(date +%s%N) + limit * 1000000000))
  while :; do
    e2e_hold_key "$window" "$keyname" 2 "$@" && return 0
    (($(date +%s%N) > deadline)) && return 1
    sleep 0.2
  done
}

# Holds mouse button $2 at ($3, $4) of window $1 until the command after $5 succeeds (at most $5
# seconds), then lets it go. The pointer is moved first, with the buttons up.
e2e_hold_mouse() {
  local window=$1 button=$2 x=$3 y=$4 limit=$5 status
  shift 5
  xdotool mousemove --window "$window" "$x" "$y"
  xdotool mousedown "$button"
  e2e_wait_until "$limit" "$@"
  status=$?
  xdotool mouseup "$button"
  return $status
}

# Clicks the left button at ($2, $3) of window $1 until the command after $4 succeeds, waiting up
# to $4 seconds after each click. A click whose press the program never saw changes nothing and is
# made again, at most three times.
e2e_click() {
  local window=$1 x=$2 y=$3 limit=$4 try
  shift 4
  for try in 1 2 3; do
    xdotool mousemove --window "$window" "$x" "$y"
    sleep 0.2
    xdotool mousedown 1
    sleep 0.15
    xdotool mouseup 1
    e2e_wait_until "$limit" "$@" && return 0
  done
  return 1
}

# Types text into window $1's text fields and file selectors. Allegro's dialogs read the keyboard
# buffer, which xdotool's typing fills as a person's keys do (key[] needs e2e_key instead).
e2e_type() {
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  xdotool type --delay 30 "$2"
}

# Presses BackSpace $2 times in window $1, the same way.
e2e_backspaces() {
  local keys=() i
  for ((i = 0; i < $2; i++)); do keys+=(BackSpace); done
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  xdotool key --delay 30 "${keys[@]}"
}

# Whether the w x h box at ($2, $3) of the PNG $1 looks like the one at ($5, $6) of the PNG $4:
# every pixel within 20 of its twin in each channel (the two programs draw at different colour
# depths), except where the first picture shows the colour r g b ($9 $10 $11, optional): parts
# that are see-through, drawn over different backgrounds. Fails when nothing is left to compare.
e2e_same_picture() {
  local r=${9:--100} g=${10:--100} b=${11:--100}
  # One picture of the two boxes side by side, as bytes: each row holds w pixels of each.
  convert \( "$1" -crop "${7}x${8}+$2+$3" +repage \) \( "$4" -crop "${7}x${8}+$5+$6" +repage \) +append \
    -depth 8 rgb:- | od -An -tu1 -v -w$((6 * $7)) |
    awk -v w="$7" -v r="$r" -v g="$g" -v b="$b" '
      function near(p, q) { return p - q <= 20 && q - p <= 20 }
      { for (i = 1; i <= 3 * w; i += 3) {
          j = i + 3 * w
          if (near($i, r) && near($(i + 1), g) && near($(i + 2), b)) continue
          seen++
          if (!near($i, $j) || !near($(i + 1), $(j + 1)) || !near($(i + 2), $(j + 2))) bad++
        } }
      END { exit !(seen > 0 && bad == 0) }'
}
