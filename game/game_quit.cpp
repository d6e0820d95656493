// Shutdown: frees whatever exists, in a fixed order, and ends the process with status 1.
#include "game_quit.h"
#include <allegro.h>
#include <cstdlib>
#include "datafiles.h"
#include "do_drawing.h"
#include "player.h"

void game_quit()
{
    if (buffer) {
        destroy_bitmap(buffer);
        buffer = nullptr;
    }
    unload_datafiles();
    if (the_player.temp_bitmap) {
        destroy_bitmap(the_player.temp_bitmap);
        the_player.temp_bitmap = nullptr;
    }
    std::exit(1);
}
