// Shutdown: buffers, data files, the map's teleports, the settings file, then exit(1).
#include "game_quit.h"
#include <allegro.h>
#include <cstdio>
#include <cstdlib>
#include "datafiles.h"
#include "do_drawing.h"
#include "initialization.h"
#include "map.h"

void write_editor_settings()
{
    FILE *file = std::fopen(editor_settings_location, "w");
    if (!file)
        return;
    std::fprintf(file, "%d", GAME_SCREEN_MODE);
    std::fclose(file);
}

void game_quit()
{
    if (buffer) {
        destroy_bitmap(buffer);
        buffer = nullptr;
    }
    if (field_buffer) {
        destroy_bitmap(field_buffer);
        field_buffer = nullptr;
    }
    unload_datafiles();
    the_map.teleports.clear();
    write_editor_settings();
    std::exit(1);
}
