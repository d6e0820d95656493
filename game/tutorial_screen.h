// The tutorial menu: the four lessons and Back; choosing a lesson loads its map and starts its script.
#pragma once

// Where the lesson maps (and their movies) lie, and the lesson maps' file names.
extern char tutorial_location[255];
extern char tutorial_level_1[255];
extern char tutorial_level_2[255];
extern char tutorial_level_3[255];
extern char tutorial_level_4[255];

// Rows of the menu: item i has its cursor at y = first row + 32 * i.
const int tutorial_item_first_y = 200;
const int tutorial_item_count = 5;
enum { tutorial_lesson_1 = 0, tutorial_lesson_2 = 1, tutorial_lesson_3 = 2, tutorial_lesson_4 = 3,
       tutorial_back = 4 };

// The state of one call of the tutorial menu.
struct tutorial_menu {
    int item = 0;       // selected item, 0..4
    int leave = 0;      // -1: the screen returns at once
    int result = 0;     // what it returns: -1 a lesson was started, 0 back
    int up_latch = 0;
    int down_latch = 0;
};

// A fresh call: cursor on lesson 1.
tutorial_menu start_tutorial_menu();
// Starts lesson n (1..4): its map from the tutorial directory, its script at state 1, no banner, box closed.
void start_tutorial_lesson(int n);
// One logic tick: the menu keys and the chosen item's action, then (unless it leaves) the frame tick.
void tutorial_menu_tick(tutorial_menu &menu);
// One frame into buffer, without copying it to the screen.
void draw_tutorial_menu(const tutorial_menu &menu);
// The modal tutorial menu, opened from the title menu; -1 when a lesson was started, 0 for Back.
int tutorial_screen();
