// Shutdown: buffers, data files, the map's teleports, the settings file, then exit(1).
#include "game_quit.h"
#include <allegro.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include "datafiles.h"
#include "do_drawing.h"
#include "initialization.h"
#include "map.h"
#include "safe_file.h"

int write_editor_settings()
{
    // Whole or not at all: a failed write leaves the old file as it was, and passes silently.
    return replace_file(editor_settings_location, std::to_string(GAME_SCREEN_MODE));
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
