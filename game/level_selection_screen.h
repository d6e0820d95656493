// Start-level selection after loading a save: the walk along a set's chain of maps, and the screen that picks a start map.
#pragma once
#include <vector>
#include "slot_list.h"

// One map offered as a start level.
struct level_selection_locs {
    char name[256]; // display name: line 1 of the map file
    char file[256]; // the map's own file name as its file stores it: line 2

    level_selection_locs();
};

// The maps offered by the latest walk, the latest map of the chain first.
extern std::vector<level_selection_locs> level_selections;
// -1 when the latest walk reached its target without meeting a map that could not be read, else 0.
extern int level_set_exists;

// Follows the chain from `first` in directory `dir` (ending in '/') and lists every map before
// the first place where the chain names `target`. Sets level_set_exists.
void get_levels_for_selection(char *target, char *dir, char *first);

// The screen's results.
const int level_selection_loaded = -1; // a start map was chosen and loaded into the_map
const int level_selection_broken = 0;  // the player acknowledged "Set Does Not Exist"
const int level_selection_escaped = 21;

// A fresh visit: both arrows hidden, one row per map of level_selections.
slot_list start_level_selection();
// One logic tick. Gives slot_return_now when the screen ends in this tick (list.result is then
// its result), else slot_go_on.
int level_selection_tick(slot_list &list);
// One frame: the screen into buffer, then the arrows and the copy to the screen (none headless).
void draw_level_selection(const slot_list &list);
// The modal screen, opened by the load screen right after get_levels_for_selection.
// Returns -1 (start map loaded), 0 (broken set acknowledged) or 21 (escape).
int level_selection_screen();
