// The current level set, the built-in set it falls back to, the loader files found at start-up, and the screen that picks a set.
#pragma once
#include <vector>
#include "slot_list.h"

// One level set found by the scan: what its loader file says and where it lies.
struct level_set_locs {
    char name[256];        // display name: line 2 of the loader file
    char directory[256];   // the loader file's directory, ending in '/'
    char first_level[256]; // first map's file name: line 1 of the loader file
    char loader_file[256]; // the loader file's own name, without directory

    level_set_locs();
};

// The set being played. Map files are opened as loader_directory + file name.
extern char loader_directory[255];
extern char first_level[255];
extern char level_set_loader_file[256];
extern char level_set_name[256];

// The built-in set, copied back into the globals above when the game returns to it.
extern const char loader_directory_hardcopy[255];
extern const char first_level_hardcopy[255];
extern const char level_set_loader_file_hardcopy[256];
extern const char level_set_name_hardcopy[256];

// Every set whose loader file lies below the working directory, in scan order.
extern std::vector<level_set_locs> level_sets;

// Finds every "*.qlx" loader file in the subdirectories of the working directory.
void load_level_sets();

// Directory-walk callback: searches one directory entry and everything below it. Returns 0.
int check_directories_recursive(const char *path, int attrib, void *param);

// Loader-file callback: reads one loader file and appends its set. Returns 0.
int add_level_set(const char *path, int attrib, void *param);

// Cuts path just after its last '/' and returns it.
char *truncate_level_set_directory(char *path);

// ---- The level-set screen: the found sets and, last, the built-in set; choosing one makes it current.

// A fresh visit: both arrows hidden, one list row per found set and the built-in row after them.
slot_list start_level_set_screen();
// One logic tick. Gives slot_return_now when the screen ends in this tick (list.result is then
// its result, 0), else slot_go_on.
int level_set_screen_tick(slot_list &list);
// One frame: the screen into buffer, then the arrows and the copy to the screen (none headless).
void draw_level_set_screen(const slot_list &list);
// The modal screen, opened from the options menu. Returns 0.
int level_set_screen();
