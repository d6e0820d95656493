#!/usr/bin/env bash
# Sets up, builds and starts the game; with no display it runs on a private Xvfb.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=Release -DSLUMBERIA_TESTS=OFF >/dev/null
cmake --build "$top/build" -j"$(nproc)"
if [[ -z "${DISPLAY:-}" ]]; then
  display=":$(( 100 + RANDOM % 100 ))"
  echo "No DISPLAY: starting a private Xvfb on $display (nothing will be visible)."
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null' EXIT
  sleep 1
  export DISPLAY=$display
  # Nobody could click away a sound-failure message there: give ALSA a silent output.
  alsa_conf=$(mktemp)
  printf 'pcm.!default {\n  type null\n}\n' > "$alsa_conf"
  export ALSA_CONFIG_PATH=$alsa_conf
fi
status=0
"$top/build/run/game" || status=$?
# The game always ends with status 1, also when the player quits.
[[ $status -eq 1 ]] && exit 0 || exit $status
