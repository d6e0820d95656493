#!/usr/bin/env bash
# The real game with damaged songs among its own in data/music (no beat divisions, a track cut inside
# an event, a meta event running past its track, a data byte before any status, a data byte over
# 127, bytes after a track's end, an empty track, too many tracks, a short tempo change): it reaches
# play, its songs sound, and the music key changes songs again and again without the game ending.
set -uo pipefail
source "$(dirname "$0")/lib.sh"
e2e_begin "$1"

# The sound goes into a file, to hear that songs play; the output behind it is a null device.
cat > "$E2E_TMP/alsa_capture.conf" <<ALSA
pcm.!default {
  type file
  slave.pcm "null_device"
  file "$E2E_TMP/capture.raw"
  format "raw"
}
pcm.null_device {
  type null
}
ALSA
export ALSA_CONFIG_PATH="$E2E_TMP/alsa_capture.conf"

header() { printf '4d546864%08x%04x%04x%04x' 6 "$1" "$2" "$3"; }
track() { printf '4d54726b%08x%s' $((${#1} / 2)) "$1"; }
note=00903c5060803c00
end=00ff2f00
damaged_songs() {
  local music="$tree/data/music" i many=""
  song() { xxd -r -p > "$music/$1.mid"; }
  for ((i = 0; i < 33; i++)); do many+=$(track "$note$end"); done
  { header 0 1 0; track "$note$end"; } | song zero_divisions
  { header 0 1 96; track "${note}00903c"; } | song cut_inside_an_event
  { header 0 1 96; track "${note}00ff017f$end"; } | song meta_past_the_track
  { header 0 1 96; track "003c50$end"; } | song no_first_status
  { header 0 1 96; track "00903cff60803c00$end"; } | song data_byte_over_127
  { header 0 1 96; track "$note${end}00cf"; } | song bytes_after_the_end_of_track
  { header 1 2 96; track "$note$end"; track ""; } | song empty_track
  { header 1 33 96; printf '%s' "$many"; } | song thirty_three_tracks
  { header 0 1 96; track "00ff510107$note$end"; } | song short_tempo_change
  [[ $(ls "$music"/*.mid | wc -l) -ge 12 ]] || e2e_fail "the damaged songs were not written"
}

# Whether the sound captured from byte $1 on holds more than a hum: silence is one repeated value.
sounds_from() {
  (($(tail -c +"$(($1 + 1))" "$E2E_TMP/capture.raw" | head -c 400000 | od -An -v -tx2 | tr -s ' ' '\n' |
    sort -u | wc -l) > 16))
}
captured() { stat -c %s "$E2E_TMP/capture.raw" 2>/dev/null || echo 0; }
grown_past() { (($(captured) > $1 + 400000)); }

e2e_start_windowed_game damaged_songs
pim_in_cell() { (($(e2e_count_where "$1" $(($2 * 32)) 256 $(($2 * 32 + 32)) 288 'r > 200 && r - b > 80') > 150)); }
e2e_wait_for logo 20 e2e_looks_like logo "$shots/logo.png"
e2e_wait_for title 30 e2e_title_at title 1
alive "the title menu, where the first song starts"
e2e_press_until Return introduction e2e_looks_like story "$shots/introduction.png"
e2e_press_until Escape first_map pim_in_cell "$shots/first_map.png" 1
alive "play on the first map"

# In play, the music key a dozen times, each time until a stretch of new sound is heard.
for ((press = 1; press <= 12; press++)); do
  from=$(captured)
  e2e_key "$window" m
  e2e_wait_until 20 grown_past "$from" || e2e_fail "no sound after music key press $press"
  alive "music key press $press"
  sounds_from "$from" || e2e_fail "silence after music key press $press"
done
shot after_music_keys
pim_in_cell "$shots/after_music_keys.png" 1 || e2e_fail "play did not go on (see $shots/after_music_keys.png)"
e2e_expect_no_messages
echo "e2e damaged songs: ok (screenshots in $shots)"
