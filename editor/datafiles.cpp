// Loading and freeing the editor's data files.
#include "datafiles.h"
#include "datafile_check.h"
#include "game_quit.h"

DATAFILE *d_tiles = nullptr;
DATAFILE *d_build_tiles = nullptr;
DATAFILE *d_data = nullptr;
DATAFILE *d_backgrounds = nullptr;
DATAFILE *d_system = nullptr;

int bg_dat_end = 0;

const char datafile_password[] = "Oct1709";

namespace {

struct datafile_entry {
    DATAFILE **target;
    const char *path;
    const char *failure;
};

const datafile_entry datafile_table[] = {
    {&d_tiles, "data/d_tiles.dat", "Failed to load tile data."},
    {&d_build_tiles, "data/d_build_tiles.dat", "Failed to load build tile data."},
    {&d_data, "data/d_data.dat", "Failed to load data data."},
    {&d_backgrounds, "data/d_backgrounds.dat", "Failed to load background data."},
    {&d_system, "data/d_system.dat", "Failed to load system data."},
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
    for (const datafile_entry &entry : datafile_table) {
        if (*entry.target) {
            unload_datafile(*entry.target);
            *entry.target = nullptr;
        }
    }
}

void find_end_of_bg_dat()
{
    bg_dat_end = datafile_count(d_backgrounds) - 2;
}

int datafile_count(const DATAFILE *file)
{
    if (!file)
        return 0;
    int count = 0;
    while (file[count].type != DAT_END)
        count++;
    return count;
}

BITMAP *datafile_bitmap(const DATAFILE *file, int index)
{
    if (!file || index < 0 || index >= datafile_count(file))
        return nullptr;
    if (file[index].type != DAT_BITMAP)
        return nullptr;
    return static_cast<BITMAP *>(file[index].dat);
}
