// Loading and freeing the game's data files.
#include "datafiles.h"
#include "datafile_check.h"
#include "game_quit.h"

DATAFILE *d_player = nullptr;
DATAFILE *d_tiles = nullptr;
DATAFILE *d_build_tiles = nullptr;
DATAFILE *d_sounds = nullptr;
DATAFILE *d_backgrounds = nullptr;
DATAFILE *d_system = nullptr;
DATAFILE *d_portraits = nullptr;

const char datafile_password[] = "Oct1709";

namespace {

struct datafile_entry {
    DATAFILE **target;
    const char *path;
    const char *failure;
};

// Load order and the message each file gives when it cannot be read.
const datafile_entry datafile_table[] = {
    {&d_player, "data/d_player.dat", "Failed to load player data."},
    {&d_tiles, "data/d_tiles.dat", "Failed to load tile data."},
    {&d_build_tiles, "data/d_build_tiles.dat", "Failed to load build tile data."},
    {&d_sounds, "data/d_sounds.dat", "Failed to load sound data."},
    {&d_backgrounds, "data/d_backgrounds.dat", "Failed to load background data."},
    {&d_system, "data/d_system.dat", "Failed to load system data."},
    {&d_portraits, "data/d_portraits.dat", "Failed to load portrait data."},
};

// Unload order differs from load order: tiles go first.
DATAFILE **const unload_table[] = {
    &d_tiles, &d_player, &d_build_tiles, &d_sounds, &d_backgrounds, &d_system, &d_portraits,
};

} // namespace

void load_datafiles()
{
    packfile_password(datafile_password);
    for (const datafile_entry &entry : datafile_table) {
        *entry.target = load_intact_datafile(entry.path);
        if (!*entry.target) {
            packfile_password(nullptr);
            set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
            allegro_message("%s", entry.failure);
            game_quit();
        }
    }
    packfile_password(nullptr);
}

void unload_datafiles()
{
    for (DATAFILE **file : unload_table) {
        if (*file) {
            unload_datafile(*file);
            *file = nullptr;
        }
    }
}

int datafile_count(const DATAFILE *file)
{
    int count = 0;
    if (file)
        while (file[count].type != DAT_END)
            count++;
    return count;
}
