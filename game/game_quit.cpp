// Shutdown: frees whatever exists, in a fixed order, and ends the process with status 1.
#include "game_quit.h"
#include <allegro.h>
#include <cstdlib>
#include "building_block.h"
#include "datafiles.h"
#include "do_drawing.h"
#include "level_selection_screen.h"
#include "level_set_screen.h"
#include "map.h"
#include "message.h"
#include "music.h"
#include "player.h"
#include "save_game.h"
#include "show_map_name.h"

void game_quit()
{
    if (buffer) {
        destroy_bitmap(buffer);
        buffer = nullptr;
    }
    for (MIDI *song : music)
        if (song)
            destroy_midi(song);
    music.clear();
    unload_datafiles();
    the_build_block_anim.clear();
    the_map.teleports.clear();
    if (the_player.temp_bitmap) {
        destroy_bitmap(the_player.temp_bitmap);
        the_player.temp_bitmap = nullptr;
    }
    the_message.destroy();
    game_saves.clear();
    level_sets.clear();
    level_selections.clear();
    if (map_name_buffer) {
        destroy_bitmap(map_name_buffer);
        map_name_buffer = nullptr;
    }
    std::exit(1);
}
