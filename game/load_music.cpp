// Finding and loading the songs in data/music at start-up.
#include "load_music.h"
#include <allegro.h>
#include "game_quit.h"
#include "music.h"

void load_music()
{
    for_each_file_ex("data/music/*.mid", 0, 0, add_music, nullptr);
}

int add_music(const char *filename, int attrib, void *param)
{
    (void)attrib;
    (void)param;
    MIDI *song = load_midi(filename);
    if (!song) {
        set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
        allegro_message("Could not load midi file\n%s.", filename);
        game_quit();
    }
    music.push_back(song);
    return 0;
}
