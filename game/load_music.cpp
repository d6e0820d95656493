// Finding and loading the songs in data/music at start-up; a song that cannot be played is left out.
#include "load_music.h"
#include <allegro.h>
#include <cstring>
#include <string>
#include "midi_check.h"
#include "music.h"
#include "plain_file.h"

namespace {

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

// The song at path when it is a plain file of a song's size that Allegro's player can play
// safely and its loader can read; else nullptr.
MIDI *load_song(const char *path)
{
    std::string bytes;
    if (!read_plain_file(path, song_file_bound, bytes) || !midi_playable(bytes))
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

void load_music()
{
    for_each_file_ex("data/music/*.mid", 0, 0, add_music, nullptr);
}

int add_music(const char *filename, int attrib, void *param)
{
    (void)attrib;
    (void)param;
    MIDI *song = load_song(filename);
    if (song)
        music.push_back(song);
    return 0;
}
