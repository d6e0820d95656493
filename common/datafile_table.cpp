// Loading and freeing a program's data files from its table: the one load loop of both programs.
#include "datafile_table.h"
#include "datafile_check.h"

void load_datafile_table(const datafile_entry *table, std::size_t count, void (*quit)())
{
    packfile_password(datafile_password);
    for (std::size_t i = 0; i < count; i++) {
        *table[i].target = load_intact_datafile(table[i].path);
        if (!*table[i].target) {
            packfile_password(nullptr);
            set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
            allegro_message("%s", table[i].failure);
            quit();
            return;
        }
    }
    packfile_password(nullptr);
}

void unload_datafile_list(DATAFILE **const *files, std::size_t count)
{
    for (std::size_t i = 0; i < count; i++) {
        if (*files[i]) {
            unload_datafile(*files[i]);
            *files[i] = nullptr;
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
