// The editor's data files: which it loads, in which order, and the message each gives when it cannot be read.
#include "datafiles.h"
#include "game_quit.h"

DATAFILE *d_tiles = nullptr;
DATAFILE *d_build_tiles = nullptr;
DATAFILE *d_data = nullptr;
DATAFILE *d_backgrounds = nullptr;
DATAFILE *d_system = nullptr;

int bg_dat_end = 0;

namespace {

// The backdrop, the buttons' images and the markers.
const entry_rule editor_data_rules[] = {{0, 27, DAT_BITMAP, any_shape}};

const datafile_entry datafile_table[] = {
    {&d_tiles, "data/d_tiles.dat", "Failed to load tile data.", tile_entries},
    {&d_build_tiles, "data/d_build_tiles.dat", "Failed to load build tile data.", build_tile_entries},
    {&d_data, "data/d_data.dat", "Failed to load data data.", {editor_data_rules, 1}},
    {&d_backgrounds, "data/d_backgrounds.dat", "Failed to load background data.", background_entries},
    {&d_system, "data/d_system.dat", "Failed to load system data.", system_entries},
};

// Freed in the order they were loaded.
DATAFILE **const unload_table[] = {&d_tiles, &d_build_tiles, &d_data, &d_backgrounds, &d_system};

} // namespace

void load_datafiles()
{
    load_datafile_table(datafile_table, sizeof(datafile_table) / sizeof(datafile_table[0]), game_quit);
}

void unload_datafiles()
{
    unload_datafile_list(unload_table, sizeof(unload_table) / sizeof(unload_table[0]));
}

void find_end_of_bg_dat()
{
    bg_dat_end = datafile_count(d_backgrounds) - 2;
}

BITMAP *datafile_bitmap(const DATAFILE *file, int index)
{
    if (!file || index < 0 || index >= datafile_count(file))
        return nullptr;
    if (file[index].type != DAT_BITMAP)
        return nullptr;
    return static_cast<BITMAP *>(file[index].dat);
}
