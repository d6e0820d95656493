// Shutdown: frees whatever exists, in a fixed order, and ends the process with status 1.
#include "game_quit.h"
#include <allegro.h>
#include <cstdlib>
#include "building_block.h"
#include "datafiles.h"
#include "do_drawing.h"
#include "map.h"
#include "player.h"

void game_quit()
{
    if (buffer) {
        destroy_bitmap(buffer);
        buffer = nullptr;
    }
    unload_datafiles();
    the_build_block_anim.clear();
    the_map.teleports.clear();
    if (the_player.temp_bitmap) {
        destroy_bitmap(the_player.temp_bitmap);
        the_player.temp_bitmap = nullptr;
    }
    std::exit(1);
}
