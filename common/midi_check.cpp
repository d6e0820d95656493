// Checking a MIDI file's bytes against what Allegro's MIDI player takes for granted.
#include "midi_check.h"
#include <allegro.h>
#include <climits>
#include <cstddef>

namespace {

// The bytes of a file or of one track, and the place reached in them.
struct midi_reader {
    const unsigned char *data;
    long len;
    long at;

    bool has(long n) const { return n >= 0 && n <= len - at; }
    int byte() { return data[at++]; }
    // A big-endian number of n bytes; the caller has checked has(n).
    long number(int n)
    {
        long value = 0;
        for (int i = 0; i < n; i++)
            value = (value << 8) | byte();
        return value;
    }
};

// A variable-length number of at most four bytes; -1 when it is cut off or longer.
long read_var_len(midi_reader &r)
{
    long value = 0;
    for (int i = 0; i < 4; i++) {
        if (!r.has(1))
            return -1;
        const int b = r.byte();
        value = (value << 7) | (b & 0x7f);
        if (!(b & 0x80))
            return value;
    }
    return -1;
}

// Data bytes after a channel status, by its high nibble 0x8 .. 0xE.
const int channel_data_bytes[] = {2, 2, 2, 2, 1, 1, 2};

const int meta_end_of_track = 0x2f;
const int meta_tempo = 0x51;

// Whether one event (after its delta time) is whole and well formed; *ended is set by the
// end-of-track event. running_status is the last channel status, 0 before the first.
bool event_playable(midi_reader &r, int &running_status, bool *ended)
{
    if (!r.has(1))
        return false;
    int status = r.data[r.at];
    if (status & 0x80) {
        r.at++;
    } else {
        if (!running_status)
            return false; // a data byte before any status
        status = running_status;
    }
    if (status < 0xf0) {
        running_status = status;
        const int n = channel_data_bytes[(status >> 4) - 8];
        if (!r.has(n))
            return false;
        for (int i = 0; i < n; i++)
            if (r.byte() & 0x80)
                return false;
        return true;
    }
    if (status == 0xf0 || status == 0xf7) {
        const long n = read_var_len(r);
        if (!r.has(n))
            return false;
        r.at += n;
        return true;
    }
    if (status != 0xff || !r.has(1))
        return false; // system common and real-time messages have no place in a file
    const int type = r.byte();
    const long n = read_var_len(r);
    if (type & 0x80 || !r.has(n))
        return false;
    if (type == meta_tempo)
        return n == 3 && r.number(3) != 0;
    if (type == meta_end_of_track) {
        *ended = true;
        return n == 0;
    }
    r.at += n;
    return true;
}

// Whether a track is a run of whole events that ends with its end-of-track event, whose delta
// times add up to a length that fits the player's tick counter. Nothing may follow that event:
// before a song starts, Allegro looks through each track to its last byte for the instruments it
// will need, reading whatever lies after the end-of-track event as events too.
bool track_playable(const unsigned char *data, long len)
{
    midi_reader r = {data, len, 0};
    int running_status = 0;
    long long ticks = 0;
    bool ended = false;
    while (!ended) {
        const long delta = read_var_len(r);
        if (delta < 0)
            return false;
        ticks += delta;
        if (ticks > INT_MAX || !event_playable(r, running_status, &ended))
            return false;
    }
    return r.at == len;
}

const long header_length = 6;

std::string big_endian(unsigned long value, int n)
{
    std::string out(static_cast<std::size_t>(n), '\0');
    for (int i = n - 1; i >= 0; i--, value >>= 8)
        out[static_cast<std::size_t>(i)] = static_cast<char>(value & 0xff);
    return out;
}

} // namespace

int midi_playable(const std::string &bytes)
{
    if (bytes.size() > static_cast<std::size_t>(LONG_MAX))
        return 0;
    midi_reader r = {reinterpret_cast<const unsigned char *>(bytes.data()), static_cast<long>(bytes.size()), 0};
    if (!r.has(8 + header_length) || bytes.compare(0, 4, "MThd") != 0)
        return 0;
    r.at = 4;
    if (r.number(4) != header_length)
        return 0;
    const long format = r.number(2);
    const long tracks = r.number(2);
    const long divisions = r.number(2);
    if (format > 1 || tracks < 1 || tracks > MIDI_TRACKS || divisions == 0)
        return 0;
    for (long t = 0; t < tracks; t++) {
        if (!r.has(8) || bytes.compare(static_cast<std::size_t>(r.at), 4, "MTrk") != 0)
            return 0;
        r.at += 4;
        const long len = r.number(4);
        if (len == 0 || !r.has(len) || !track_playable(r.data + r.at, len))
            return 0;
        r.at += len;
    }
    return -1;
}

int midi_song_playable(const MIDI *song)
{
    if (!song || song->divisions <= 0 || song->divisions > 0xffff)
        return 0;
    std::string used;
    int tracks = 0;
    for (const auto &track : song->track) {
        // The player passes over a track with no data; one with data it walks to its end event.
        if (!track.data) {
            if (track.len != 0)
                return 0;
            continue;
        }
        if (track.len <= 0)
            return 0;
        used += "MTrk" + big_endian(static_cast<unsigned long>(track.len), 4);
        used.append(reinterpret_cast<const char *>(track.data), static_cast<std::size_t>(track.len));
        tracks++;
    }
    // As a file of format 1 holding the tracks in use.
    const std::string header = "MThd" + big_endian(header_length, 4) + big_endian(1, 2) +
                               big_endian(static_cast<unsigned long>(tracks), 2) +
                               big_endian(static_cast<unsigned long>(song->divisions), 2);
    return midi_playable(header + used);
}
