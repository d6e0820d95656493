// Loading and freeing a program's data files from its table: the one load loop of both programs.
#pragma once
#include <allegro.h>
#include <cstddef>

// The packfile password every data file is written and read with.
inline constexpr char datafile_password[] = "Oct1709";

// One data file a program loads: the global it goes into, its path and the message shown when it
// cannot be loaded.
struct datafile_entry {
    DATAFILE **target;
    const char *path;
    const char *failure;
};

// Loads the files of the table in order under the password, each only once its record shows it
// intact (datafile_check.h). The first that cannot be loaded is reported after switching to text
// mode, and `quit` (the program's shutdown, which does not return) ends the program.
void load_datafile_table(const datafile_entry *table, std::size_t count, void (*quit)());

// Unloads each loaded file of the list in its order and empties its global.
void unload_datafile_list(DATAFILE **const *files, std::size_t count);

// The number of objects before a loaded data file's end marker (0 for none).
int datafile_count(const DATAFILE *file);
