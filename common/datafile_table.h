// Loading and freeing a program's data files from its table: the one load loop of both programs.
#pragma once
#include <allegro.h>
#include <cstddef>

// The packfile password every data file is written and read with.
inline constexpr char datafile_password[] = "Oct1709";

// What the entries `from` to `to` of a data file must be for the code that uses them: their kind
// (DAT_BITMAP, DAT_FONT, DAT_SAMPLE, DAT_MIDI) and, for images whose size the code counts on, that
// size: a 32x32 tile, a row of whole 32x32 frames, a 640x480 picture; for songs, that Allegro's
// player can play them safely (midi_check.h). `to` may be
// every_later_entry: all entries from `from` to the end, at least one.
const int every_later_entry = -1;
enum entry_shape { any_shape, tile_of_32, strip_of_frames, full_screen, playable_song };
struct entry_rule {
    int from, to;
    int type;
    entry_shape shape;
};
struct entry_rules {
    const entry_rule *first;
    std::size_t count;
};

// The entries of the files both programs load, as much as either program uses of them.
extern const entry_rules tile_entries, build_tile_entries, background_entries, system_entries;

// -1 when the loaded file has every entry the rules ask for, of its kind and shape.
int datafile_meets(const DATAFILE *file, const entry_rules &rules);

// One data file a program loads: the global it goes into, its path, the message shown when it
// cannot be loaded, and what its entries must be.
struct datafile_entry {
    DATAFILE **target;
    const char *path;
    const char *failure;
    entry_rules rules;
};

// Loads the files of the table in order under the password, each only once its record shows it
// intact and well formed (datafile_check.h), and keeps it only when its entries meet its rules.
// The first that cannot be loaded is reported after switching to text mode, and `quit` (the
// program's shutdown, which does not return) ends the program.
void load_datafile_table(const datafile_entry *table, std::size_t count, void (*quit)());

// Unloads each loaded file of the list in its order and empties its global.
void unload_datafile_list(DATAFILE **const *files, std::size_t count);

// The number of objects before a loaded data file's end marker (0 for none).
int datafile_count(const DATAFILE *file);
