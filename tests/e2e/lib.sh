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
  # No key repeat: a key held down stays down, as a player's finger on it. No reset: an X server
  # resets when its last client leaves, and a program that connects meanwhile is turned away, as the
  # one started just after the check below would sometimes be.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -r -noreset 3>"$E2E_TMP/display" >"$E2E_TMP/xvfb.log" 2>&1 &
  E2E_PIDS+=($!)
  e2e_wait_until 20 e2e_xvfb_listens || e2e_fail "Xvfb did not start: $(cat "$E2E_TMP/xvfb.log")"
  export DISPLAY=":$(head -n 1 "$E2E_TMP/display")"
}

# Whether the Xvfb of e2e_begin has written its display number and answers there.
e2e_xvfb_listens() {
  [[ -s "$E2E_TMP/display" ]] && DISPLAY=":$(head -n 1 "$E2E_TMP/display")" xdpyinfo >/dev/null 2>&1
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

# Where this script keeps its screenshots: a folder of its own, named for the script, in
# E2E_SHOT_DIR or else beside the run tree, so that scripts running side by side never write the
# same picture.
e2e_shot_dir() {
  echo "${E2E_SHOT_DIR:-$E2E_RUN_DIR/../e2e_shots}/$(basename "$0" .sh)"
}

# A copy of the run tree that a test may change freely.
e2e_copy_run_tree() {
  cp -a "$E2E_RUN_DIR" "$E2E_TMP/run"
  echo "$E2E_TMP/run"
}

# A copy of the run tree, as tree, with an empty folder for a level set of its own, named $1, among
# its sets, as set_dir (an author makes the set's folder beside the game's own sets).
e2e_copy_with_set_dir() {
  tree=$(e2e_copy_run_tree)
  set_dir="$tree/data/levels/$1"
  mkdir -p "$set_dir"
}

# The id of a window titled $1, if there is one.
e2e_window_id() { xdotool search --name "^${1}\$" 2>/dev/null | head -n 1; }
e2e_has_window() { [[ -n $(e2e_window_id "$1") ]]; }

# Waits up to $2 seconds (default 20) for a window titled $1; prints its id.
e2e_wait_window() {
  e2e_wait_until "${2:-20}" e2e_has_window "$1" && e2e_window_id "$1"
}

# CPU time, in hundredths of a second, that the watched program runs with a key down and again
# with it up: at the game's rate several logic steps, so that each is seen, and a release is seen
# before the next press.
E2E_PRESS_CPU=4

# Presses one key the way Allegro's key[] sees it: down, a hold of at least $3 seconds (default
# 0.12) and until the watched program has run a few steps, up, and a few steps more.
e2e_key() {
  local window=$1 keyname=$2 hold=${3:-0.12}
  e2e_key_down "$window" "$keyname"
  e2e_read_cpu
  sleep "$hold"
  e2e_wait_progress "$E2E_PRESS_CPU"
  xdotool keyup "$keyname"
  e2e_read_cpu
  e2e_wait_progress "$E2E_PRESS_CPU"
}

# Puts the key $2 down in window $1 and leaves it there, until xdotool keyup $2.
e2e_key_down() {
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  xdotool keydown "$2"
}

# Saves the whole X screen as a PNG.
e2e_screenshot() {
  import -window root "$1" 2>/dev/null || { xwd -root -silent | convert xwd:- "$1"; }
}

# Saves the picture of window $1 as the PNG $2: straight from the window, or else cut from the
# whole screen.
e2e_window_shot() {
  local window=$1 file=$2 geometry
  E2E_READ_FILE=
  import -window "$window" "$file" 2>/dev/null && return 0
  geometry=$(xwininfo -id "$window" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {printf "%dx%d+%d+%d", w, h, x, y}')
  e2e_screenshot "$E2E_TMP/root.png"
  convert "$E2E_TMP/root.png" -crop "$geometry" +repage "$file" || e2e_fail "screenshot $file"
}

# The pixels of the box x0 y0 x1 y1 ($2 .. $5) of the PNG $1, one "r g b" line each (0 .. 255), row
# by row.
e2e_pixels() {
  convert "$1" -crop "$(($4 - $2))x$(($5 - $3))+$2+$3" +repage -depth 8 rgb:- | od -An -tu1 -v -w3
}

# How many pixels of the PNG $1 within the box x0 y0 x1 y1 ($2 .. $5) meet the awk condition $6 on
# their r, g and b (0 .. 255).
e2e_count_where() {
  e2e_pixels "$1" "$2" "$3" "$4" "$5" |
    awk "{ r = \$1; g = \$2; b = \$3; if ($6) n++ } END { print n + 0 }"
}

# How many pixels of the PNG $1 lie near the colour r g b ($2 $3 $4) within the box x0 y0 x1 y1.
e2e_count_colour() {
  local file=$1 r=$2 g=$3 b=$4
  e2e_count_where "$file" "$5" "$6" "$7" "$8" \
    "(r - $r) ^ 2 < 100 && (g - $g) ^ 2 < 100 && (b - $b) ^ 2 < 100"
}

# Waits up to $2 seconds (default 10) for the process $1, started by this shell, to end; fails with
# $3 if it does not, and checks that it ended with status 1, as both programs always do.
e2e_expect_exit_1() {
  local pid=$1 limit=${2:-10} what=${3:-"the program did not end"} status
  e2e_wait_until "$limit" e2e_ended "$pid" || e2e_fail "$what"
  wait "$pid"; status=$?
  [[ $status -eq 1 ]] || e2e_fail "exit status $status, not 1"
}

# Starts the real game from a private copy of the run tree, set to play in a window, and waits for
# its window. A command given ($@) runs first, with tree set, to add files the game finds at
# start-up. Sets what e2e_start_game_in sets.
e2e_start_windowed_game() {
  tree=$(e2e_copy_run_tree)
  (($# == 0)) || "$@"
  e2e_start_game_in "$tree"
}

# Starts the real game in the run tree $1, set to play in a window, and waits for its window. Sets
# tree, game_pid, window and shots (where shot NAME saves the window's picture); alive WHAT fails
# the test if the game has ended.
e2e_start_game_in() {
  tree=$1
  shots=$(e2e_shot_dir)
  mkdir -p "$shots"
  printf '255\n255\n1' > "$tree/data/settings.txt"
  "$tree/game" >"$E2E_TMP/game.out" 2>&1 &
  game_pid=$!
  E2E_PIDS+=($game_pid)
  E2E_WATCH=$game_pid
  window=$(e2e_wait_window "Pim's Slumberia" 30) ||
    e2e_fail "no window titled \"Pim's Slumberia\" (the game $(e2e_ended "$game_pid" && echo "has ended" || echo "runs"): $(cat "$E2E_TMP/game.out"))"
  alive() {
    kill -0 "$game_pid" 2>/dev/null || e2e_fail "the game ended during: $1 ($(cat "$E2E_TMP/game.out"))"
  }
  shot() { e2e_window_shot "$window" "$shots/$1.png"; }
}

# Checks that window $1 shows the logo before the title menu: the logo passes by itself in about
# six seconds, so the window is grabbed again and again from its first pictures on, in the
# background (a grab is all it does, so that no picture of the logo is missed however busy the
# machine), while the grabs are read in turn. The first that shows the logo is kept as $2; one that
# shows a menu first fails the test, as does a window that shows neither within 60 seconds of its
# first grab.
e2e_expect_logo() {
  local window=$1 keep=$2 dir="$E2E_TMP/logo_grabs" i=0 grabber
  mkdir -p "$dir"
  (
    n=0
    while [[ ! -e "$dir/stop" ]] && ((n < 600)); do
      import -window "$window" "$dir/next.png" 2>/dev/null && mv "$dir/next.png" "$dir/$n.png" && n=$((n + 1))
    done
  ) &
  grabber=$!
  E2E_PIDS+=($grabber)
  e2e_logo_grab() {
    while [[ -e "$dir/$i.png" ]]; do
      if e2e_looks_like logo "$dir/$i.png"; then cp "$dir/$i.png" "$keep"; return 0; fi
      if e2e_looks_like menu "$dir/$i.png"; then
        cp "$dir/$i.png" "$keep"
        e2e_fail "the title menu came without the logo before it (first menu: $keep)"
      fi
      i=$((i + 1))
    done
    return 1
  }
  e2e_wait_until 60 e2e_logo_grab || e2e_fail "no logo within 60 s of the window's first picture"
  : > "$dir/stop"
  wait "$grabber" 2>/dev/null
}

# Starts the real editor in the run tree $1 and waits for its window and its first frame. Sets
# editor_pid and window, and the readings and actions of e2e_editor_journey.
e2e_start_editor() {
  "$1/editor" >"$E2E_TMP/editor.out" 2>&1 &
  editor_pid=$!
  E2E_PIDS+=($editor_pid)
  E2E_WATCH=$editor_pid
  window=$(e2e_wait_window "Pim's Slumberia Editor" 30) || e2e_fail "no window titled \"Pim's Slumberia Editor\""
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  e2e_editor_journey
}

# What an author's journey through the editor reads on its screen and does with the mouse and keys:
# defines them (grab and count read the picture $now of the window; editing compares it with the
# editor's first frame, kept as $E2E_TMP/editor_start.png), then waits for that first frame.
e2e_editor_journey() {
  now="$E2E_TMP/now.png"
  grab() { e2e_grab "$window" "$now"; }
  alive() { kill -0 "$editor_pid" 2>/dev/null || e2e_fail "the editor ended during: $1 ($(cat "$E2E_TMP/editor.out"))"; }
  count() { e2e_count_colour "$now" "$@"; }

  # ---- The editor's screen, as the journeys read it (window coordinates).
  pink=(255 98 99)                               # the field where nothing is drawn
  cell_x() { echo $((160 + 32 * $1)); }
  cell_y() { echo $((32 * $1)); }
  # Something is drawn in cell (cx, cy): most of its top-left 30 x 30 is no longer the field's pink.
  # (The pointer, whose tip is held on the cell's last pixels, covers only the cell's corner there.)
  cell_painted() {
    grab
    (($(count "${pink[@]}" "$(cell_x "$1")" "$(cell_y "$2")" $(($(cell_x "$1") + 30)) $(($(cell_y "$2") + 30))) < 700))
  }
  tile_framed_in_shot() {                        # n: palette tile n carries the red selection frame
    local x=$((32 * ($1 % 4))) y=$((32 * ($1 / 4)))
    (($(count 255 0 0 "$x" "$y" $((x + 32)) $((y + 32))) > 60))
  }
  tile_framed() { grab; tile_framed_in_shot "$1"; }
  tool_on() {                                    # x of the tool's button: its label reads "On", not "--"
    grab
    (($(count 0 0 0 $(($1 + 32)) 520 $(($1 + 48)) 523) > 2))
  }
  selector_open() { grab; (($(count 255 255 255 250 206 550 390) > 30000)); }
  # The overwrite question: a white box in the middle (about 250 x 100), the selector gone above it.
  question_open() { grab; (($(count 255 255 255 250 206 550 245) < 500 && $(count 255 255 255 280 256 520 344) > 15000)); }
  name_field_open() { grab; (($(count 255 255 255 160 470 420 478) > 1000)); }
  teleport_prompt() { grab; (($(count 255 255 255 160 470 600 478) > 300)); }
  # Palette rows 2 and 3 show only while the editor's own screen does; no tile there is ever chosen.
  editing() { grab; e2e_same_picture "$now" 0 64 "$E2E_TMP/editor_start.png" 0 64 128 64; }
  map_emptied() { grab; e2e_same_picture "$now" 160 0 "$E2E_TMP/editor_start.png" 160 0 640 480; }
  # The frame is up: the palette's first tile, at the start framed in red, shows.
  editor_drawn() { grab; tile_framed_in_shot 0; }
  set_name_open() { grab; (($(count 255 255 255 0 32 260 40) > 800)); }
  # A file command's report on the black screen: white lines at the top, and "Press Any Key" awaited
  # (no selector, no editor).
  report_shown() {
    grab
    (($(count 255 255 255 0 18 800 60) > 300 && $(count 0 0 0 0 200 800 600) > 300000))
  }
  # The "Are You Sure?" box, its lavender plate in the middle; and the same with "Yes" lit (orange).
  box_open() { grab; (($(count 141 147 197 250 250 549 349) > 10000)); }
  box_yes() { box_open && (($(e2e_count_where "$now" 270 300 380 345 'r > 200 && g < 150 && b < 120') > 500)); }
  text_changed() { grab; ! e2e_same_picture "$now" "$1" "$2" "$E2E_TMP/before_text.png" "$1" "$2" "$3" 10; }
  remember_text() { grab; cp "$now" "$E2E_TMP/before_text.png"; }
  destination_placed() { ! teleport_prompt && cell_painted "$1" "$2"; }
  file_saved() { [[ -s "$1" ]]; }
  # The editor draws its pointer into its picture: out of the way, beside the palette, for pictures
  # that are compared whole; waits until a frame shows it there (Allegro's arrow, white in black).
  pointer_drawn_aside() { grab; (($(count 255 255 255 140 470 152 488) > 30)); }
  pointer_aside() {
    local try
    # A move that the editor did not follow (just after it starts, its pointer can stay elsewhere)
    # is made again, from nearby.
    for try in 1 2 3; do
      xdotool mousemove --window "$window" 150 480
      xdotool mousemove --window "$window" 140 470
      e2e_wait_until 3 pointer_drawn_aside && return 0
    done
    e2e_fail "the pointer was not drawn beside the palette"
  }

  # ---- What a person does with the mouse and keys.
  pick_tile() {                                  # n
    e2e_hold_mouse "$window" 1 $((32 * ($1 % 4) + 16)) $((32 * ($1 / 4) + 16)) 10 tile_framed "$1" ||
      e2e_fail "palette tile $1 was not selected"
  }
  pick_tool() {                                  # x of the tool's button
    e2e_click "$window" $(($1 + 16)) 536 3 tool_on "$1" || e2e_fail "the tool at x $1 was not switched on"
  }
  paint() {                                      # cx cy...: the left button held on each cell until it shows
    while (($# > 1)); do
      e2e_hold_mouse "$window" 1 $(($(cell_x "$1") + 30)) $(($(cell_y "$2") + 30)) 10 cell_painted "$1" "$2" ||
        e2e_fail "cell ($1,$2) was not painted"
      shift 2
    done
  }
  toggle_layer() {
    remember_text
    e2e_click "$window" 192 500 3 text_changed 225 485 32 || e2e_fail "the layer did not change"
  }
  name_map() {                                   # the name, over the field's "Enter Map Name"
    remember_text
    e2e_click "$window" 160 584 5 name_field_open || e2e_fail "the map-name field did not open"
    e2e_backspaces "$window" 14
    e2e_type "$window" "$1"
    e2e_key "$window" Return
    e2e_wait_until 10 text_changed 0 558 200 || e2e_fail "the map name did not change"
    e2e_wait_until 10 editing || e2e_fail "the editor did not come back from the name field"
  }
  open_selector() {                              # x of the panel button
    e2e_click "$window" "$1" 584 5 selector_open || e2e_fail "no file selector from the button at x $1"
  }
  map_line() { sed -n "${2}p" "$1"; }
  # Block value of cell (x, y) is on line 11 + 2 * (15x + y) of a map file; its trans value on the next.
  block_of() { map_line "$1" $((11 + 2 * (15 * $2 + $3))); }
  trans_of() { map_line "$1" $((12 + 2 * (15 * $2 + $3))); }
  expect_line() { [[ "$(map_line "$1" "$2")" == "$3" ]] || e2e_fail "$(basename "$1") line $2 is '$(map_line "$1" "$2")', not '$3'"; }

  pointer_aside
  e2e_wait_until 10 editor_drawn || e2e_fail "the editor's screen did not show"
  cp "$now" "$E2E_TMP/editor_start.png"
}

# The program whose progress bounds the waits and presses (set when a program is started).
E2E_WATCH=
E2E_READ_FILE=
E2E_SCREEN_BEFORE=
E2E_BEFORE=0
# Sets E2E_CPU to the CPU time, in hundredths of a second, that the watched program has had so
# far; empty when no program is watched or it has ended. Read from /proc: no process is started.
e2e_read_cpu() {
  local stat
  E2E_CPU=
  [[ -n $E2E_WATCH ]] && { read -r stat < "/proc/$E2E_WATCH/stat"; } 2>/dev/null || return 0
  stat=${stat##*) }
  # shellcheck disable=SC2086
  set -- $stat
  E2E_CPU=$((${12} + ${13}))
}

# Polls the command given after $1 every 0.1 s until it succeeds, for a bound of $1 seconds that
# counts the watched program's progress: it ends once $1 seconds have passed and the program has
# had a quarter of a core for that long (a starved program gets more time), or, for a program that
# gets no CPU at all, after six times as long. With no program watched the bound is $1 seconds.
e2e_wait_until() {
  local _e2e_limit=$1 _e2e_start _e2e_cpu_start _e2e_now
  shift
  _e2e_start=${EPOCHREALTIME/[.,]/}
  e2e_read_cpu
  _e2e_cpu_start=$E2E_CPU
  while :; do
    "$@" && return 0
    _e2e_now=${EPOCHREALTIME/[.,]/}
    if ((_e2e_now - _e2e_start > _e2e_limit * 1000000)); then
      e2e_read_cpu
      [[ -z $_e2e_cpu_start || -z $E2E_CPU ]] && return 1
      ((E2E_CPU - _e2e_cpu_start >= _e2e_limit * 25 || _e2e_now - _e2e_start > 6 * _e2e_limit * 1000000)) && return 1
    fi
    sleep 0.1
  done
}

# Waits until the watched program has had $1 hundredths of a second of CPU more than it had at
# E2E_CPU (which the caller read), or for $2 seconds at most (default 5): long enough for it to
# have run several logic steps, however busy the machine.
e2e_wait_progress() {
  local _e2e_need=$1 _e2e_limit=${2:-5} _e2e_from=$E2E_CPU _e2e_start=${EPOCHREALTIME/[.,]/}
  [[ -n $_e2e_from ]] || return 0
  while e2e_read_cpu; [[ -n $E2E_CPU ]] && ((E2E_CPU - _e2e_from < _e2e_need)); do
    ((${EPOCHREALTIME/[.,]/} - _e2e_start > _e2e_limit * 1000000)) && return 1
    sleep 0.02
  done
}

# Saves the picture of window $1 as the PNG $2 (quicker than e2e_window_shot, for polling).
e2e_grab() {
  E2E_READ_FILE=
  import -window "$1" "$2" 2>/dev/null || e2e_window_shot "$1" "$2"
}

# Holds key $2 down in window $1 until the command after $3 succeeds (within a bound of $3
# seconds, as e2e_wait_until counts them), then lets it go: a key is down exactly as long as the
# program needs to see it, and a key that acts once per press acts once however long it is held.
e2e_hold_key() {
  local window=$1 keyname=$2 limit=$3 status
  shift 3
  e2e_key_down "$window" "$keyname"
  e2e_wait_until "$limit" "$@"
  status=$?
  xdotool keyup "$keyname"
  e2e_read_cpu
  e2e_wait_progress "$E2E_PRESS_CPU"
  return $status
}

# Presses key $2 in window $1 until the command after $3 succeeds: one press, held until it does
# (for keys that act once per press, such as menu moves). Never pressed again: a press held down
# is seen as soon as the program runs.
e2e_press_key_until() { e2e_hold_key "$@"; }

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
  e2e_read_cpu
  e2e_wait_progress "$E2E_PRESS_CPU"
  return $status
}

# CPU time, in hundredths of a second, after which a program that saw a press or a click has
# acted on it and drawn what it did: at the game's rate some thirty logic steps and frames.
E2E_ACTED_CPU=50

# The pixels of the PNG $1, as a checksum: two pictures are the same when their sums are.
e2e_picture_sum() { convert "$1" -depth 8 rgb:- | cksum; }

# Clicks the left button at ($2, $3) of window $1, then waits for the command after $4 to succeed
# (within a bound of $4 seconds, as e2e_wait_until counts them). Button down and up are each held
# while the program runs a few steps. The click is made again only when, the program having had
# time to act on it, its window still shows exactly what it showed before: a click it never saw.
e2e_click() {
  local window=$1 x=$2 y=$3 limit=$4 try before released
  shift 4
  for try in 1 2 3; do
    xdotool mousemove --window "$window" "$x" "$y"
    e2e_read_cpu
    e2e_wait_progress "$E2E_PRESS_CPU"
    e2e_grab "$window" "$E2E_TMP/before_click.png"
    before=$(e2e_picture_sum "$E2E_TMP/before_click.png")
    xdotool mousedown 1
    e2e_read_cpu
    sleep 0.15
    e2e_wait_progress "$E2E_PRESS_CPU"
    xdotool mouseup 1
    e2e_read_cpu
    released=$E2E_CPU
    e2e_wait_until "$limit" e2e_click_done "$window" "$before" "$released" "$@" || return 1
    ((E2E_CLICK_UNSEEN)) || return 0
  done
  return 1
}

# For e2e_click: succeeds when the command ${@:4} does, or, with E2E_CLICK_UNSEEN set, when window
# $1 still shows the picture of checksum $2 after the program has run E2E_ACTED_CPU since the
# release (E2E_CPU $3).
e2e_click_done() {
  local _e2e_window=$1 _e2e_before=$2 _e2e_released=$3
  shift 3
  E2E_CLICK_UNSEEN=0
  e2e_read_cpu
  local _e2e_cpu=$E2E_CPU
  "$@" && return 0
  [[ -n $_e2e_released && -n $_e2e_cpu ]] && ((_e2e_cpu - _e2e_released >= E2E_ACTED_CPU)) || return 1
  e2e_grab "$_e2e_window" "$E2E_TMP/after_click.png"
  [[ $(e2e_picture_sum "$E2E_TMP/after_click.png") == "$_e2e_before" ]] || return 1
  E2E_CLICK_UNSEEN=1
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

# Shoots the window into shots/$1.png and runs the command "${@:2}" on it (it may read the picture
# as $shots/$1.png); fails the test if the game has ended.
e2e_shot_check() {
  alive "waiting for $1"
  shot "$1"
  "${@:2}"
}

# Looks, as e2e_shot_check does, until the command "${@:3}" succeeds; fails after $2 seconds, naming what
# was awaited.
e2e_wait_for() {
  e2e_wait_until "$2" e2e_shot_check "$1" "${@:3}" ||
    e2e_fail "timed out after ${2}s waiting for $1 (last picture: $shots/$1.png)"
}

# Presses the key $1 and looks, as e2e_shot_check does with the picture shots/$2.png, until the
# command "${@:3}" succeeds. The press is made again only while the screen it was meant for still
# shows as it did (e2e_screen_state: the same menu with its cursor on the same row, the same list,
# the introduction) although the game has run long enough to act on it: a press it never saw. A
# press on a screen that the readings cannot tell (a map in play) is made once.
e2e_press_until() {
  e2e_press_until_still e2e_same_screen "$@"
}

# The same with the command $1 telling whether the screen the press was meant for still shows: it
# is called with the picture's name after each reading, once before the press (so that it can
# remember that screen) with E2E_BEFORE=1.
e2e_press_until_still() {
  local still=$1 keyname=$2 name=$3 attempt released outcome
  shift 3
  alive "waiting for $name"
  shot "$name"
  E2E_BEFORE=1 "$still" "$name"
  E2E_BEFORE=0
  for attempt in 1 2 3 4; do
    e2e_key "$window" "$keyname" 0.15
    e2e_read_cpu
    released=$E2E_CPU
    e2e_wait_until 30 e2e_press_outcome "$still" "$released" "$name" "$@" ||
      e2e_fail "$keyname did not lead to $name (last picture: $shots/$name.png)"
    ((E2E_PRESS_UNSEEN)) || return 0
  done
  e2e_fail "$keyname did not lead to $name, pressed $attempt times (last picture: $shots/$name.png)"
}

# For e2e_press_until_still: succeeds when the command ${@:3} does on a new picture shots/$3.png;
# or, with E2E_PRESS_UNSEEN set, when the screen still shows after the game has run E2E_ACTED_CPU
# since the press's release (E2E_CPU $2) without a sign of it.
e2e_press_outcome() {
  local _e2e_still=$1 _e2e_released=$2 _e2e_name=$3 _e2e_cpu
  shift 2
  E2E_PRESS_UNSEEN=0
  e2e_read_cpu
  _e2e_cpu=$E2E_CPU
  e2e_shot_check "$@" && return 0
  [[ -n $_e2e_released && -n $_e2e_cpu ]] && ((_e2e_cpu - _e2e_released >= E2E_ACTED_CPU)) || return 1
  "$_e2e_still" "$_e2e_name" || return 1
  E2E_PRESS_UNSEEN=1
}

# For e2e_press_until: the picture shots/$1.png shows the screen it showed before the press, and one
# that the readings recognise.
e2e_same_screen() {
  local state
  state=$(e2e_screen_state "$shots/$1.png")
  if ((E2E_BEFORE)); then
    E2E_SCREEN_BEFORE=$state
    return 0
  fi
  [[ -n $E2E_SCREEN_BEFORE && $state == "$E2E_SCREEN_BEFORE" ]]
}

# Holds the key $1 down while looking, as e2e_shot_check does with the picture shots/$2.png, until
# the command "${@:3}" succeeds (within a bound of 30 seconds, as e2e_wait_until counts them). For
# keys that act once per press where the game takes a press only from a certain moment on (Escape
# in play, once Pim has faded in): held, it acts on the first step on which it may.
e2e_hold_until() {
  local keyname=$1 name=$2
  shift 2
  e2e_hold_key "$window" "$keyname" 30 e2e_shot_check "$name" "$@" ||
    e2e_fail "$keyname held did not lead to $name (last picture: $shots/$name.png)"
}

# Writes a map file $1 named $2 whose next map is $3 ("end" for the last): Pim starts on cell ($4, $5)
# and the exit is cell ($6, $7), both on a floor that spans the screen one row lower; background $8
# (0 the star field, else a picture), still.
e2e_write_map() {
  local file=$1 name=$2 next=$3 sx=$4 sy=$5 ex=$6 ey=$7 background=$8 x y
  {
    printf '%s\n%s\n%s\n' "$name" "$(basename "$file")" "$next"
    printf '%d\n' "$sx" "$sy" "$ex" "$ey" "$background" 0 0
    for x in $(seq 0 19); do
      for y in $(seq 0 14); do
        if ((y == sy + 1)); then echo 33; elif ((y > sy + 1)); then echo 41; else echo -1; fi
        echo -1
      done
    done
    echo 0
  } > "$file"
}

# Writes a level set in the directory $1: its loader file $2 naming the set $3 and its first map $4.
e2e_write_loader() {
  mkdir -p "$1"
  printf '%s\n%s\n' "$4" "$3" > "$1/$2"
}

# A short level set of two maps in "data/levels/e2e dreams/" of the tree $1: "Starfall" on the star
# field, then "Cloudfall" on a picture, the last. On both Pim starts at (4, 10), a step left of the exit.
e2e_write_test_set() {
  local dir="$1/data/levels/e2e dreams"
  e2e_write_loader "$dir" dreams.qlx "Test Dreams" m1.map
  e2e_write_map "$dir/m1.map" "Starfall" m2.map 4 10 5 10 0
  e2e_write_map "$dir/m2.map" "Cloudfall" end 4 10 5 10 2
}

# From the options menu with its cursor on Level Set: the test set, listed first and the built-in
# one after it, chosen; Back to the title; New Game, its introduction's first message skipped with
# Escape; the set's first map in play.
e2e_play_test_set() {
  e2e_press_until Return level_sets e2e_list_shows level_sets LN..
  e2e_press_until Return options_after_set e2e_options_at options_after_set 4
  e2e_walk_cursor 200 Down 5 6
  e2e_press_until Return title_after_options e2e_title_at title_after_options 4
  e2e_walk_cursor 168 Down 5 1
  # New Game leaves the menu at once; the introduction's stars stand alone for a few seconds before
  # its first message.
  e2e_press_until Return new_game e2e_off_menu new_game
  e2e_wait_for introduction 20 e2e_looks_like story "$shots/introduction.png"
  e2e_press_until Escape first_map e2e_star_map "$shots/first_map.png"
}

# The test set's maps in the PNG $1: black sky (star field) or the picture's dark blue sky over the
# floor, and Pim's orange face on his start cell.
e2e_star_map() {
  (($(e2e_count_where "$1" 0 0 640 300 'r + g + b < 40') > 180000)) && e2e_floor_and_pim "$1"
}
e2e_cloud_map() {
  (($(e2e_count_where "$1" 0 0 640 100 'r < 30 && b > 30 && b < 75') > 30000)) && e2e_floor_and_pim "$1"
}
e2e_floor_and_pim() {
  (($(e2e_count_where "$1" 0 384 640 480 'b > 150 && r < 130') > 30000)) &&
    (($(e2e_count_where "$1" 128 320 160 352 'r > 200 && r - b > 80') > 100))
}

# What the game's screens look like, as regions that must hold enough pixels of a kind: each check
# is "x0 y0 x1 y1 | awk condition on r g b | least count", and a screen's checks are joined by ';'.
declare -A E2E_LOOKS=(
  # The logo: the yellow moon over a black sky.
  [logo]='220 60 420 200 | r > 90 && r - b > 20 | 1500; 0 0 100 100 | r < 30 && g < 30 && b < 60 | 9000'
  # The menu screens' lavender backdrop (title, options, key configuration, tutorial menu).
  [menu]='0 300 640 460 | b > 200 && r > 150 && g > 140 | 60000; 0 100 50 460 | b > 200 && r > 150 && g > 140 | 15000'
  # The list screens' navy heading plate at the top (save, load, erase, level set, level selection).
  # and their violet frame down the left edge.
  [list]='200 0 440 45 | r < 40 && g < 45 && b > 70 && b < 110 | 3000; 0 100 6 400 | r > 60 && r < 130 && g > 40 && g < 100 && b > 150 | 1500'
  # The intermission: the navy statistics panel, Pim's portrait at its bottom left.
  [intermission]='250 350 390 430 | r < 45 && g > 15 && g < 45 && b > 60 && b < 110 && b > r + 40 | 6000; 0 380 110 470 | r > 200 && r - b > 80 | 300'
  # A story screen (introduction, ending): the message box under a black sky.
  [story]='0 0 640 250 | r + g + b < 40 | 140000; 60 330 580 440 | r > 200 && r < 232 && g > 188 && g < 216 && b > 210 && b < 236 | 30000'
  # The credits: the text's black right half beside the credits map.
  [credits]='330 0 640 480 | r + g + b < 30 | 135000; 0 0 320 300 | r + g + b > 60 | 60000'
  # The "Are You Sure?" box over a list screen, its lavender plate in the middle; with "Yes" chosen,
  # the lit (orange) button is the left one.
  [list_box]='260 200 380 230 | (r - 141) ^ 2 < 150 && (g - 147) ^ 2 < 150 && (b - 197) ^ 2 < 150 | 1500'
  [list_box_yes]='260 200 380 230 | (r - 141) ^ 2 < 150 && (g - 147) ^ 2 < 150 && (b - 197) ^ 2 < 150 | 1500; 120 200 320 300 | r > 200 && g < 150 && b < 120 | 200'
  # A message box (over a map it is translucent), and the same with its arrow: the text is all
  # typed and waits for a key.
  [message]='60 330 580 440 | r > 200 && r < 232 && g > 188 && g < 216 && b > 210 && b < 236 | 10000'
  [message_waiting]='60 330 580 440 | r > 200 && r < 232 && g > 188 && g < 216 && b > 210 && b < 236 | 10000; 540 445 565 470 | r > 200 && r - b > 60 | 10'
)

# The first rows (y) of the menus whose cursor a reading finds: title, key configuration, options.
E2E_MENU_TOPS=(168 180 200)

# The awk program that reads a whole picture, given as rows of "r g b r g b ..." (0 .. 255), in one
# pass: the counts of every check of E2E_LOOKS, the menu cursor's row for each of E2E_MENU_TOPS
# (Pim's orange face at x 68, rows of 32 pixels; -1 when no row holds it), the orange lettering of a
# menu heading above the items, and for the list screens' four window places (80 pixels apart from
# y 130) their lit, other-row and white text pixels. It prints "name value" lines.
e2e_reading_program() {
  local screen check box condition least i x0 y0 x1 y1 top
  local -a checks
  printf '%s\n' '{ y = NR - 1'
  for screen in "${!E2E_LOOKS[@]}"; do
    IFS=';' read -ra checks <<< "${E2E_LOOKS[$screen]}"
    i=0
    for check in "${checks[@]}"; do
      IFS='|' read -r box condition least <<< "$check"
      read -r x0 y0 x1 y1 <<< "$box"
      printf '  if (y >= %d && y < %d) for (x = %d; x < %d; x++) { r = $(3 * x + 1); g = $(3 * x + 2); b = $(3 * x + 3); if (%s) n["%s:%d"]++ }\n' \
        "$y0" "$y1" "$x0" "$x1" "$condition" "$screen" "$i"
      i=$((i + 1))
    done
  done
  for top in "${E2E_MENU_TOPS[@]}"; do
    printf '  if (y >= %d && y < %d) for (x = 68; x < 100; x++) if ($(3 * x + 1) > 200 && $(3 * x + 1) - $(3 * x + 3) > 80) c[%d, int((y - %d) / 32)]++\n' \
      "$top" $((top + 9 * 32)) "$top" "$top"
  done
  cat <<'AWK'
  if (y >= 90 && y < 160) for (x = 0; x < 420; x++) if ($(3 * x + 1) > 200 && $(3 * x + 1) - $(3 * x + 3) > 80) heading++
  if (y >= 130 && y < 450 && (y - 130) % 80 >= 5 && (y - 130) % 80 < 60) {
    p = int((y - 130) / 80)
    for (x = 40; x < 600; x++) {
      r = $(3 * x + 1); g = $(3 * x + 2); b = $(3 * x + 3)
      if (r > 80 && r < 120 && g < 70 && b > 120 && b < 160) lit[p]++
      else if (r >= 60 && r <= 80 && g >= 60 && g <= 80 && b >= 130 && b <= 155) other[p]++
      if (r > 240 && g > 240 && b > 240) ink[p]++
    }
  }
}
END {
  for (k in n) print k, n[k]
AWK
  for top in "${E2E_MENU_TOPS[@]}"; do
    printf '  best = -1; most = 40; for (row = 0; row < 9; row++) if (c[%d, row] > most) { most = c[%d, row]; best = row }; print "cursor:%d", best\n' \
      "$top" "$top" "$top"
  done
  cat <<'AWK'
  print "heading", heading + 0
  rows = ""; for (p = 0; p < 4; p++) rows = rows (lit[p] > 5000 ? "L" : (other[p] > 3000 ? "N" : "."))
  print "rows", rows
  for (p = 0; p < 4; p++) print "ink:" p, ink[p] + 0
}
AWK
}
E2E_READING_PROGRAM=$(e2e_reading_program)

# Reads the PNG $1 once (one decoding, one pass over its pixels) into E2E_READ, name -> value as
# e2e_reading_program prints them; a second call for the same picture reads nothing again (every
# grab of a picture forgets the reading).
e2e_read() {
  local name value
  [[ $E2E_READ_FILE == "$1" ]] && return 0
  declare -gA E2E_READ=()
  while read -r name value; do
    E2E_READ[$name]=$value
  done < <(convert "$1" -depth 8 rgb:- | od -An -tu1 -v -w1920 | awk "$E2E_READING_PROGRAM")
  E2E_READ_FILE=$1
}

# Whether the PNG $2 looks like the screen $1 of E2E_LOOKS.
e2e_looks_like() {
  local file=$2 check least i=0
  local -a checks
  e2e_read "$file"
  IFS=';' read -ra checks <<< "${E2E_LOOKS[$1]}"
  for check in "${checks[@]}"; do
    least=${check##*|}
    ((${E2E_READ[$1:$i]:-0} >= least)) || return 1
    i=$((i + 1))
  done
}

# The row of the menu cursor in the PNG $1, for a menu whose rows start at y $2 (one of
# E2E_MENU_TOPS); -1 when no row holds it.
e2e_menu_cursor_row() {
  e2e_read "$1"
  echo "${E2E_READ[cursor:$2]}"
}

# The heading of a menu screen, by the amount of its orange lettering above the items: none on the
# title menu, a short word on the options and tutorial menus, two on the key configuration.
e2e_menu_heading() {
  local n
  e2e_read "$1"
  n=${E2E_READ[heading]}
  if ((n < 200)); then echo none; elif ((n < 3000)); then echo word; else echo words; fi
}

# The four window places of a list screen in the PNG $1, top to bottom: L the lit row under the
# cursor, N another row, . empty; e.g. "LN.." for two rows with the cursor on the first.
e2e_list_rows() {
  e2e_read "$1"
  echo "${E2E_READ[rows]}"
}

# White text pixels in window place $2 of a list screen in the PNG $1: longer texts, more pixels.
e2e_list_row_ink() {
  e2e_read "$1"
  echo "${E2E_READ[ink:$2]}"
}

# What the PNG $1 shows, as far as the readings tell one screen from another: the screens of
# E2E_LOOKS it looks like (but for the message box, which comes and goes within a screen), and on a
# menu its heading and cursor, on a list its rows. Empty when it looks like none of them.
e2e_screen_state() {
  local screen state=''
  for screen in $(printf '%s\n' "${!E2E_LOOKS[@]}" | sort); do
    [[ $screen == message* ]] && continue
    e2e_looks_like "$screen" "$1" && state+="$screen "
  done
  [[ $state == *'menu '* ]] && state+="heading $(e2e_menu_heading "$1") cursor ${E2E_READ[cursor:168]} ${E2E_READ[cursor:180]} ${E2E_READ[cursor:200]} "
  [[ $state == *'list '* ]] && state+="rows ${E2E_READ[rows]}"
  echo "$state"
}

# Readings of the game's pictures shots/NAME.png, for e2e_wait_for and e2e_press_until.
# The picture shots/$2.png looks like the screen $1 (E2E_LOOKS).
e2e_looks() { e2e_looks_like "$1" "$shots/$2.png"; }
# The menu cursor on row $3 of a menu whose rows start at y $2.
e2e_cursor_on() { [[ $(e2e_menu_cursor_row "$shots/$1.png" "$2") == "$3" ]]; }
# A menu screen with the heading $2 (e2e_menu_heading).
e2e_on_menu() { e2e_looks_like menu "$shots/$1.png" && [[ $(e2e_menu_heading "$shots/$1.png") == "$2" ]]; }
# The title menu, the options, the key configuration and the tutorial menu with the cursor on row $2.
e2e_title_at() { e2e_on_menu "$1" none && e2e_cursor_on "$1" 168 "$2"; }
e2e_options_at() { e2e_on_menu "$1" word && e2e_cursor_on "$1" 200 "$2"; }
e2e_keys_at() { e2e_on_menu "$1" words && e2e_cursor_on "$1" 180 "$2"; }
e2e_tutorial_at() { e2e_on_menu "$1" word && e2e_cursor_on "$1" 200 "$2"; }
# Any screen but the menu screens: a menu item acted on, and the menu left.
e2e_off_menu() { ! e2e_looks_like menu "$shots/$1.png"; }
# A list screen whose rows read $2 (e2e_list_rows).
e2e_list_shows() { e2e_looks_like list "$shots/$1.png" && [[ $(e2e_list_rows "$shots/$1.png") == "$2" ]]; }

# Whether the process $1 has ended.
e2e_ended() { ! kill -0 "$1" 2>/dev/null; }

# Presses Enter on the title menu's Quit until the game has ended, and checks its status.
e2e_quit_game() {
  e2e_press_key_until "$window" Return 20 e2e_ended "$game_pid" || e2e_fail "Quit did not end the game"
  e2e_expect_exit_1 "$game_pid" 10 "Quit did not end the game"
}

# Moves a menu's cursor (rows from y $1) with the key $2, a press a row, through the rows ${@:3}.
e2e_walk_cursor() {
  local first_y=$1 keyname=$2 row
  for row in "${@:3}"; do
    e2e_press_until "$keyname" "cursor_$row" e2e_cursor_on "cursor_$row" "$first_y" "$row"
  done
}

# Fails the test if the game reported anything with allegro_message, except that it has no sound
# card (reported and passed over on such a machine).
e2e_expect_no_messages() {
  local others
  others=$(awk '/Error initialising sound system/ {skip = 2; next} skip > 0 {skip--; next} NF' \
    "$E2E_TMP/xmessage.log")
  [[ -z "$others" ]] || e2e_fail "the game reported an error: $others"
}
