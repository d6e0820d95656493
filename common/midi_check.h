// Whether the bytes of a MIDI file are a song that Allegro's MIDI player can play safely.
#pragma once
#include <string>

struct MIDI;

// -1 when bytes hold a standard MIDI file that Allegro's player can play through to its end, and
// again from its start, without reading outside the song's data; 0 otherwise. Allegro's loader
// checks little and its player none of it: it divides by the header's beat divisions, walks each
// track until its end-of-track event without looking at the track's length, reads a fixed number
// of data bytes after each status, takes meta and system-exclusive lengths as given, and reads the
// three bytes of a tempo change whatever its length says. So this asks for: a 6-byte header of
// format 0 or 1 with 1 .. MIDI_TRACKS tracks and non-zero divisions, followed by that many whole
// track chunks; in each track, events whose delta times, data bytes (0 .. 127), meta and
// system-exclusive lengths all lie within it, no running status before a first channel status,
// no status that a file may not hold, tempo changes of three bytes and a non-zero tempo, a length
// in ticks that a track's counter can hold, and an end-of-track event as the last event.
int midi_playable(const std::string &bytes);

// The same for a song Allegro has already loaded (a data file's song): its beat divisions and
// tracks, in their order, with every track in use as a whole track of the checks above.
int midi_song_playable(const MIDI *song);
