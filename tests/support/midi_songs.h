// Small MIDI files built byte by byte for the music tests: a header, whole track chunks, and events.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

inline std::string midi_bytes(const char *text, std::size_t n) { return std::string(text, n); }

// A big-endian number of `bytes` bytes.
inline std::string midi_number(unsigned long value, int bytes)
{
    std::string out;
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xff);
    return out;
}

// A track chunk around the given events; a length to claim other than theirs.
inline std::string midi_track(const std::string &events, long claimed = -1)
{
    return "MTrk" + midi_number(claimed < 0 ? events.size() : static_cast<unsigned long>(claimed), 4) + events;
}

// A whole file: the 6-byte header of the given format, track count and divisions, then the chunks.
inline std::string midi_file(int format, int tracks, int divisions, const std::string &chunks)
{
    return "MThd" + midi_number(6, 4) + midi_number(format, 2) + midi_number(tracks, 2) + midi_number(divisions, 2) +
           chunks;
}

const std::string midi_end_of_track = midi_bytes("\x00\xff\x2f\x00", 4);

// `notes` quarter notes, one after another, at 96 ticks a quarter; at the default 120 beats a
// minute each lasts half a second.
inline std::string midi_quarter_notes(int notes)
{
    std::string events;
    for (int i = 0; i < notes; i++) {
        const char note = static_cast<char>(60 + i % 12);
        events += midi_bytes("\x00\x90", 2) + note + '\x50';
        events += midi_bytes("\x60\x80", 2) + note + '\x00';
    }
    return events;
}

// A one-track song of quarter notes.
inline std::string midi_song_of_quarter_notes(int notes)
{
    return midi_file(0, 1, 96, midi_track(midi_quarter_notes(notes) + midi_end_of_track));
}
