// Start-level selection after loading a save: the walk along a set's chain of maps, and the screen that picks a start map.
#pragma once
#include <vector>

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

// One visit of the screen: the list window and the press latches of the up and down keys.
struct level_selection_state {
    int first_row = 0;  // list row shown in the top window position
    int cursor_row = 0; // window position of the cursor, 0..3
    int up_latch = 0;
    int down_latch = 0;
};

// What level_selection_tick gives while the screen stays open; any other value is the result.
const int level_selection_open = 1;
// The screen's results.
const int level_selection_loaded = -1; // a start map was chosen and loaded into the_map
const int level_selection_broken = 0;  // the player acknowledged "Set Does Not Exist"
const int level_selection_escaped = 21;

// Hides both scroll arrows and gives the state of a fresh visit.
level_selection_state start_level_selection();
// One logic tick (it takes its step from speed_counter). Returns level_selection_open, or the
// screen's result when the screen ends in this tick.
int level_selection_tick(level_selection_state &state);
// One frame into buffer, without copying it to the screen.
void draw_level_selection(const level_selection_state &state);
// The modal screen, opened by the load screen right after get_levels_for_selection.
// Returns -1 (start map loaded), 0 (broken set acknowledged) or 21 (escape).
int level_selection_screen();
