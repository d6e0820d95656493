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

FONT *system_font(int entry)
{
    return static_cast<FONT *>(d_system[entry].dat);
}

namespace {

const entry_rule player_rules[] = {{0, 21, DAT_BITMAP, any_shape}};
const entry_rule sound_rules[] = {{0, 6, DAT_SAMPLE, any_shape}};
const entry_rule portrait_rules[] = {{0, every_later_entry, DAT_BITMAP, any_shape}};

// Load order, the message each file gives when it cannot be read, and what its entries must be.
const datafile_entry datafile_table[] = {
    {&d_player, "data/d_player.dat", "Failed to load player data.", {player_rules, 1}},
    {&d_tiles, "data/d_tiles.dat", "Failed to load tile data.", tile_entries},
    {&d_build_tiles, "data/d_build_tiles.dat", "Failed to load build tile data.", build_tile_entries},
    {&d_sounds, "data/d_sounds.dat", "Failed to load sound data.", {sound_rules, 1}},
    {&d_backgrounds, "data/d_backgrounds.dat", "Failed to load background data.", background_entries},
    {&d_system, "data/d_system.dat", "Failed to load system data.", system_entries},
    {&d_portraits, "data/d_portraits.dat", "Failed to load portrait data.", {portrait_rules, 1}},
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
