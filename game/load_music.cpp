// Finding and loading the songs in data/music at start-up; a song that cannot be played is left out.
#include "load_music.h"
#include <allegro.h>
#include <cstring>
#include <string>
#include "music.h"
#include "plain_file.h"

namespace {

// A variable-length number of at most four bytes at data[*at]; -1 when it is cut off or longer.
long read_var_len(const unsigned char *data, long len, long *at)
{
    long value = 0;
    for (int i = 0; i < 4; i++) {
        if (*at >= len)
            return -1;
        const unsigned char byte = data[(*at)++];
        value = (value << 7) | (byte & 0x7f);
        if (!(byte & 0x80))
            return value;
    }
    return -1;
}

// Data bytes after a channel status, by its high nibble 0x8 .. 0xE.
const int channel_data_bytes[] = {2, 2, 2, 2, 1, 1, 2};

// Whether a track is a whole run of events that ends with its end-of-track event. Allegro's player
// walks a track until that event without looking at the track's length, and takes a data byte
// with no running status as a step back: such a track would be read past its ends.
int track_playable(const unsigned char *data, long len)
{
    long at = 0;
    int running_status = 0;
    while (at < len) {
        if (read_var_len(data, len, &at) < 0 || at >= len)
            return 0;
        int status = data[at];
        if (status & 0x80) {
            at++;
            if (status < 0xf0)
                running_status = status;
        } else {
            status = running_status;
        }
        long skip = 0;
        if (status >= 0x80 && status < 0xf0) {
            skip = channel_data_bytes[(status >> 4) - 8];
        } else if (status == 0xf0 || status == 0xf7) {
            skip = read_var_len(data, len, &at);
        } else if (status == 0xff) {
            if (at >= len)
                return 0;
            const int meta_type = data[at++];
            skip = read_var_len(data, len, &at);
            if (skip >= 0 && meta_type == 0x2f)
                return skip <= len - at ? -1 : 0;
        } else if (status == 0xf2) {
            skip = 2;
        } else if (status == 0xf3) {
            skip = 1;
        } else if (status < 0x80) {
            return 0; // a data byte before any status
        }
        if (skip < 0 || skip > len - at)
            return 0;
        at += skip;
    }
    return 0;
}

// A song file already read into memory, as a packfile for Allegro's MIDI loader: Allegro then
// opens nothing itself, and so never waits on a named pipe or reads a device without end.
struct song_in_memory {
    const std::string *bytes;
    long at;
};

int song_getc(void *userdata)
{
    song_in_memory *song = static_cast<song_in_memory *>(userdata);
    if (song->at >= static_cast<long>(song->bytes->size()))
        return EOF;
    return static_cast<unsigned char>((*song->bytes)[static_cast<std::size_t>(song->at++)]);
}

int song_ungetc(int c, void *userdata)
{
    song_in_memory *song = static_cast<song_in_memory *>(userdata);
    if (song->at <= 0)
        return EOF;
    song->at--;
    return c;
}

long song_fread(void *p, long n, void *userdata)
{
    song_in_memory *song = static_cast<song_in_memory *>(userdata);
    const long left = static_cast<long>(song->bytes->size()) - song->at;
    if (n > left)
        n = left;
    if (n <= 0)
        return 0;
    std::memcpy(p, song->bytes->data() + song->at, static_cast<std::size_t>(n));
    song->at += n;
    return n;
}

int song_putc(int, void *) { return EOF; }
long song_fwrite(const void *, long, void *) { return 0; }

// Allegro seeks forward only, from where the file stands.
int song_fseek(void *userdata, int offset)
{
    song_in_memory *song = static_cast<song_in_memory *>(userdata);
    const long size = static_cast<long>(song->bytes->size());
    if (offset < 0 || offset > size - song->at)
        return -1;
    song->at += offset;
    return 0;
}

int song_feof(void *userdata)
{
    song_in_memory *song = static_cast<song_in_memory *>(userdata);
    return song->at >= static_cast<long>(song->bytes->size());
}

int song_ferror(void *) { return 0; }
int song_fclose(void *) { return 0; }

const PACKFILE_VTABLE song_vtable = {song_fclose, song_getc, song_ungetc, song_fread, song_putc,
                                     song_fwrite, song_fseek, song_feof, song_ferror};

// The song at path when it is a plain file of a song's size that Allegro can read; else nullptr.
MIDI *load_song(const char *path)
{
    std::string bytes;
    if (!read_plain_file(path, song_file_bound, bytes))
        return nullptr;
    song_in_memory song = {&bytes, 0};
    PACKFILE *file = pack_fopen_vtable(&song_vtable, &song);
    if (!file)
        return nullptr;
    MIDI *loaded = load_midi_pf(file);
    pack_fclose(file);
    return loaded;
}

} // namespace

int song_playable(const MIDI *song)
{
    if (!song)
        return 0;
    int tracks = 0;
    for (const auto &track : song->track) {
        if (track.len <= 0 || !track.data)
            continue;
        if (!track_playable(track.data, track.len))
            return 0;
        tracks++;
    }
    return tracks > 0 ? -1 : 0;
}

void load_music()
{
    for_each_file_ex("data/music/*.mid", 0, 0, add_music, nullptr);
}

int add_music(const char *filename, int attrib, void *param)
{
    (void)attrib;
    (void)param;
    MIDI *song = load_song(filename);
    if (!song_playable(song)) {
        if (song)
            destroy_midi(song);
        return 0;
    }
    music.push_back(song);
    return 0;
}
