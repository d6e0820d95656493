// The game's data files: which it loads, in which order, and the message each gives when it cannot be read.
#include "datafiles.h"
#include "game_quit.h"

DATAFILE *d_player = nullptr;
DATAFILE *d_tiles = nullptr;
DATAFILE *d_build_tiles = nullptr;
DATAFILE *d_sounds = nullptr;
DATAFILE *d_backgrounds = nullptr;
DATAFILE *d_system = nullptr;
DATAFILE *d_portraits = nullptr;

BITMAP *system_bitmap(int entry)
{
    return static_cast<BITMAP *>(d_system[entry].dat);
}

namespace {

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
    load_datafile_table(datafile_table, sizeof(datafile_table) / sizeof(datafile_table[0]), game_quit);
}

void unload_datafiles()
{
    unload_datafile_list(unload_table, sizeof(unload_table) / sizeof(unload_table[0]));
}
