// The save, load and erase screens: the list of saves as a slot list, and what choosing a row does on each.
#pragma once
#include "slot_list.h"

// Opened from play by the save key: writes the game into a new save or over a listed one.
void save_game_screen();
// Opened from the title menu: loads a save and lets the player pick the start level.
// Returns -1 when a game was loaded and a start level chosen, 0 otherwise.
int load_game_screen();
// Opened from the options menu: deletes a save after "Are You Sure?".
void erase_save_screen();

// The start-level screen the load screen opens after reading a save; a stand-in can take its place.
extern int (*load_screen_level_selection)();

// ---- The parts of the three screens, for the loops above and for tests.

// Hides both arrows, lists the saves anew and gives a fresh visit of that screen.
slot_list start_save_screen();
slot_list start_load_screen();
slot_list start_erase_screen();
// One logic tick each (the loop takes the step from speed_counter). slot_return_now when the
// screen returns from within this tick (list.result then holds the result).
int save_screen_tick(slot_list &list);
int load_screen_tick(slot_list &list);
int erase_screen_tick(slot_list &list);
// One frame each: drawn into buffer, then copied to the screen when there is one.
void draw_save_screen(const slot_list &list);
void draw_load_screen(const slot_list &list);
void draw_erase_screen(const slot_list &list);
