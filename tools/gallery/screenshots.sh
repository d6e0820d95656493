#!/usr/bin/env bash
# Takes the README's screenshots from the real game and editor under a private Xvfb.
# Usage: tools/gallery/screenshots.sh BUILD_DIR OUT_DIR   (e.g. /work/build-art docs)
#        tools/gallery/screenshots.sh --maps DIR            (only write the showcase maps into DIR)
# Needs Xvfb, xdotool, xwininfo and ImageMagick. Each picture is a real frame of the running program;
# the showcase maps it plays are written into a scratch copy of the run tree, never into the sources.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
maps_only=""
if [[ "$1" == "--maps" ]]; then
  maps_only=yes
  set_dir=$2
  mkdir -p "$set_dir"
else
  source "$here/../../tests/e2e/lib.sh"
  build=$(cd "$1" && pwd)
  mkdir -p "$2"
  out=$(cd "$2" && pwd)
  e2e_begin "$build/run"
  tree=$(e2e_copy_run_tree)
  printf '0\n0\n1' > "$tree/data/settings.txt" # silent, in a window
  rm -f "$tree"/shots/*.bmp
  set_dir="$tree/data/levels/showcase"
  mkdir -p "$set_dir"
fi

# ---- Showcase maps ----
# Block layer: S stone, W dream-wood, C crystal (edge and corner pieces are picked from the
# neighbours), u s d the Up, Standing and Down Blocks, X k j i the All, Standing, Down and Up
# Restriction Blocks, c crumbling, = and | the tunnels, T a teleport entrance, E the exit.
blocks=(
  "...................."
  "...................."
  "...................."
  "...................."
  "........WWW|WW......"
  "...................."
  ".WWWW..........CC..."
  "...............CC..."
  "...............CC..."
  ".u.............==..."
  "SSSSSSSdXkjicc.CCCCC"
  "SSSSSSS.......CCCCCC"
  "SSSSSSS.......CCCCCC"
  "SSSSSSS.......CCCCCC"
  "SSSSSSS.......CCCCCC"
)
# Trans layer: * stars, + big star, m moon, ( ) a cloud, l lantern, r mushroom, g grass, v vine,
# z "z z z", # back wall.
decor=(
  "...................."
  "..*.......()....m..."
  "......+.........*..."
  "...................."
  "...................."
  ".r.......l.........."
  "...............##..."
  ".v..v..........##..."
  "...............##..."
  "g..g...........##g.."
  "...................."
  "...................."
  "...................."
  "...................."
  "...................."
)

# write_map FILE NAME NEXT BACKGROUND START_X START_Y EXIT_X EXIT_Y TELEPORT...(src_x src_y dst_x dst_y)
write_map() {
  local file=$1 name=$2 next=$3 bg=$4 sx=$5 sy=$6 ex=$7 ey=$8
  shift 8
  {
    printf '%s\n%s\n%s\n%s\n%s\n%s\n%s\n%s\n1\n0\n' "$name" "$file" "$next" "$sx" "$sy" "$ex" "$ey" "$bg"
    printf '%s\n' "${blocks[@]}" | awk -v decor="$(printf '%s\n' "${decor[@]}")" '
      { row[NR - 1] = $0 }
      END {
        split(decor, d, "\n")
        # Piece offset by open sides (top, bottom, left, right), as the tile table lays them out.
        split("5 6 4 13 9 10 8 14 1 2 0 12 11 15 7 3", piece, " ")
        base["S"] = 0; base["W"] = 16; base["C"] = 32
        code["u"] = -2; code["s"] = -3; code["d"] = -4; code["X"] = -5; code["k"] = -6; code["j"] = -7
        code["i"] = -8; code["c"] = -9; code["="] = -10; code["|"] = -11
        tr["*"] = 48; tr["+"] = 49; tr["m"] = 50; tr["("] = 51; tr[")"] = 52; tr["l"] = 53; tr["r"] = 54
        tr["g"] = 55; tr["v"] = 56; tr["z"] = 57; tr["#"] = 58
        for (x = 0; x < 20; x++)
          for (y = 0; y < 15; y++) {
            ch = substr(row[y], x + 1, 1)
            v = -1
            if (ch in base) {
              # Outside the screen counts as more of the same, except above the top row.
              t = (y == 0) ? 1 : (substr(row[y - 1], x + 1, 1) != ch)
              b = (y == 14) ? 0 : (substr(row[y + 1], x + 1, 1) != ch)
              l = (x == 0) ? 0 : (substr(row[y], x, 1) != ch)
              r = (x == 19) ? 0 : (substr(row[y], x + 2, 1) != ch)
              v = base[ch] + piece[t * 8 + b * 4 + l * 2 + r + 1]
            } else if (ch in code)
              v = code[ch]
            dc = substr(d[y + 1], x + 1, 1)
            print v
            print ((dc in tr) ? tr[dc] : -1)
          }
      }'
    printf '%d\n' $(($# / 4))
    for v in "$@"; do printf '%s\n' "$v"; done
  } > "$set_dir/$file"
}

write_map play.map "Every Block In The Dream" play.map 4 5 9 18 9 2 5 12 3
write_map teleport.map "A Door Of Sparks" teleport.map 4 1 5 18 9 2 5 12 3
# The last map of its set: its exit leads through the intermission to the ending.
write_map finish.map "Almost Awake" end 6 17 9 18 9 2 5 12 3
[[ -n "$maps_only" ]] && exit 0

# ---- Helpers ----
window=""
geometry() {
  xwininfo -id "$window" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {printf "%dx%d+%d+%d", w, h, x, y}'
}
# Saves the window's picture as $1 (a PNG in the scratch directory).
grab() {
  local g
  g=$(geometry)
  e2e_screenshot "$E2E_TMP/root.png"
  convert "$E2E_TMP/root.png" -crop "$g" +repage "$1"
}
press() { e2e_key "$window" "$1" "${2:-0.12}"; }
hold() { # hold KEY SECONDS
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool keydown "$1"
  sleep "$2"
  xdotool keyup "$1"
}
# Types the open message out at once (a held key types a letter a frame) and then closes it.
next_message() {
  hold Return 2.5
  sleep 0.3
  press Return
  sleep 0.4
}
start() { # start PROGRAM TITLE ARGS...
  local program=$1 title=$2
  shift 2
  (cd "$tree" && exec "./$program" "$@") >"$E2E_TMP/$program.out" 2>&1 &
  pid=$!
  E2E_PIDS+=($pid)
  window=$(e2e_wait_window "$title" 30) || e2e_fail "no window titled \"$title\""
}
stop() {
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}
# The newest F1 screenshot of the game, as PNG $1.
take_f1() {
  local before after
  before=$(ls "$tree"/shots/*.bmp 2>/dev/null | wc -l)
  press F1 0.15
  for i in $(seq 30); do
    after=$(ls "$tree"/shots/*.bmp 2>/dev/null | wc -l)
    [[ $after -gt $before ]] && break
    sleep 0.1
  done
  convert "$(ls -t "$tree"/shots/*.bmp | head -n 1)" "$1"
}
# Small PNGs: 8-bit palette where it looks the same.
keep() { # keep SCRATCH_PNG NAME
  convert "$1" -strip -dither None -colors 256 PNG8:"$out/$2.png"
  echo "$out/$2.png: $(stat -c %s "$out/$2.png") bytes"
}

# ---- The logo and the title menu ----
start game "Pim's Slumberia"
sleep 3.2
grab "$E2E_TMP/logo.png"
sleep 5.8
grab "$E2E_TMP/title.png"
keep "$E2E_TMP/logo.png" logo
keep "$E2E_TMP/title.png" title_menu
stop

# ---- The introduction: its first picture with a line of the story ----
start game "Pim's Slumberia"
sleep 9
press Return # New Game
sleep 5.5
for i in 1 2 3 4 5 6; do next_message; done
sleep 2.6 # the first picture fades in
hold Return 3
sleep 0.4
grab "$E2E_TMP/intro.png"
keep "$E2E_TMP/intro.png" introduction
stop

# ---- Play with every block kind: a Standing Block built, a Down Block destroyed ----
start show_map "Pim's Slumberia" "data/levels/showcase/" play.map
sleep 5
press space # a Standing Block in front of Pim
sleep 0.6
take_f1 "$E2E_TMP/play.png"
keep "$E2E_TMP/play.png" screenshot
stop

# ---- A teleport fade: Pim steps onto the entrance and dissolves into sparks ----
start show_map "Pim's Slumberia" "data/levels/showcase/" teleport.map
sleep 5
hold Right 0.45
best=""
for i in 1 2 3 4 5 6; do
  sleep 0.12
  press F1 0.05
done
sleep 0.5
ls -t "$tree"/shots/*.bmp | head -n 6 > "$E2E_TMP/fade_shots"
stop

# ---- The last exit: the intermission, then the ending's dialogue with its portraits ----
start show_map "Pim's Slumberia" "data/levels/showcase/" finish.map
sleep 5
hold Right 0.45
sleep 2.5
grab "$E2E_TMP/intermission.png"
keep "$E2E_TMP/intermission.png" intermission
press Return
sleep 0.5
for i in 1 2 3 4 5 6 7 8 9; do next_message; done
sleep 2.6 # the ending picture fades in
hold Return 2
sleep 0.4
grab "$E2E_TMP/ending.png"
keep "$E2E_TMP/ending.png" message_box
stop

# ---- The editor with a campaign map and its teleports loaded ----
cp "$tree/data/levels/original levels/level17.map" "$tree/show.map"
start editor "Pim's Slumberia Editor"
sleep 1.5
xdotool mousemove --window "$window" 96 584; sleep 0.3
xdotool mousedown 1; sleep 0.2; xdotool mouseup 1
sleep 1
for k in s h o w period m a p; do press "$k" 0.08; done
press Return
sleep 1.5
xdotool mousemove --window "$window" 600 200
sleep 0.5
grab "$E2E_TMP/editor.png"
keep "$E2E_TMP/editor.png" editor
stop

# The fade frames, for the caller to pick from.
n=0
while read -r f; do
  convert "$f" "$E2E_TMP/fade_$n.png"
  keep "$E2E_TMP/fade_$n.png" "fade_candidate_$n"
  n=$((n + 1))
done < "$E2E_TMP/fade_shots"
