// Save files: the list of saves found in the saves directory, and writing the current game into a save file.
#pragma once
#include <cstdio>
#include <vector>

// Directory of the save files, with its trailing '/'.
extern char saves_directory[256];

// One listed save.
struct save_game_locs {
    char file[256];           // the save file's path as the listing gave it
    char map_name[256];       // first line of the map file the save names
    char level_set_name[256]; // line 3 of the save
    int damaged;              // -1: the save cannot be loaded (short, damaged, or its map is gone)

    save_game_locs();
};

// The listed saves, in the order the directory listing returned them.
extern std::vector<save_game_locs> game_saves;

// Writes the current game to saves_directory + "Save_%03d.qsv" of slot n, replacing a file of
// that name. A file that cannot be written is reported and play goes on. Sets speed_counter to 0.
void save_game(int n);
// The same writing into the save file at path (a listed save being overwritten).
void save_game_file(const char *path);
// Writes the current game as a new save, numbered n or the next number from n on that no file
// holds, and never over an existing file, also when another game saves at the same moment.
// Returns the number written, or -1 when the save could not be written (reported).
int save_new_game(int n);
// Empties game_saves and lists every "*.qsv" file of saves_directory again.
void load_saves();
// Listing callback: appends the save at path to game_saves. Always 0, so the listing goes on.
// A save that cannot be read, or whose map cannot be opened, is listed marked as damaged.
int add_save(const char *path, int attrib, void *param);

// The first slot number from n on whose save file does not exist yet, so that a new save
// never replaces another.
int free_save_slot(int n);
// The path of slot n's save file, into a buffer of size bytes.
void save_slot_path(int n, char *into, int size);

// Lines are read with a limit of 255 characters, whatever the field could hold.
const int save_line_limit = 255;

// Reads one line of in (up to its "\n", which is dropped) into into, keeping at most size - 1
// characters, and at most 255, and skipping the rest of the line. Returns 0 at the end of the
// file with nothing read (into is then ""), else -1.
int read_save_line(std::FILE *in, char *into, int size);

// Closes the graphics mode, shows text in a message box and, when there was a screen, sets the
// game's graphics mode again so that play can go on.
void show_save_message(const char *text);
