// Loading a save file: the level set, the map and the key bindings it holds.
#pragma once

// Everything a save file holds, each field read within the size of the global it goes to, and
// the first line of the map it names.
struct save_contents {
    char loader_directory[255] = "";
    char file_name[256] = "";
    char level_set_name[256] = "";
    char first_level[255] = "";
    char level_set_loader_file[256] = "";
    int bindings[8] = {};  // up, down, left, right, action, restart, music, save
    int bindings_read = 0; // how many of them, from the first, could be read
    char map_name[256] = "";
};

// What read_save_file found.
enum save_state { save_whole, save_unopened, save_damaged };

// Reads the save at path into into. save_whole when its five lines are there and the map they
// name opens; save_damaged when the file is short or its map cannot be opened (an empty file, a
// damaged one, one whose level set is gone, or whose map is no plain file or larger than a map can
// be); save_unopened when the file cannot be opened, is no plain file (a pipe, a device, a
// directory) or is larger than a save can be (plain_file.h).
save_state read_save_file(const char *path, save_contents &into);

// Reads the save at path into the level-set globals, the map's file name and the player's key
// bindings, zeroes the level statistics and loads the saved map from its start cell. A binding
// outside Allegro's key array becomes that key's default; one that cannot be read keeps its value.
// Returns -1 when the save was loaded; 0 when it cannot be opened or is damaged (reported; nothing
// changed).
int load_game(char *path);

// The current level set and the key bindings, taken before a load so that backing out of it can
// put them back.
struct game_before_load {
    char loader_directory[255];
    char first_level[255];
    char level_set_loader_file[256];
    char level_set_name[256];
    int bindings[8];
};
game_before_load remember_before_load();
void restore_before_load(const game_before_load &before);
