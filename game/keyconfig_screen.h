// The key configuration screen: binding the player's eight keys, and the label text of each key.
#pragma once
#include "player.h"

// Rows of the screen: item i has its label row and cursor at y = first row + 32 * i; the eight
// bindings come first, Back last.
const int keyconfig_item_first_y = 180;
const int keyconfig_binding_count = 8;
const int keyconfig_item_count = 9;
const int keyconfig_back = 8;

// The binding each of the first eight items sets, in the order the screen lists them.
extern int player::*const keyconfig_bindings[keyconfig_binding_count];

// The state of one call of the screen.
struct keyconfig_menu {
    int item = 0;     // selected item, 0..8
    int leave = 0;    // -1: the screen returns after this pass
    int waiting = 0;  // -1: the next eligible key pressed becomes the selected item's binding
    int up_latch = 0;
    int down_latch = 0;
};

// The label of an Allegro scancode; letters in upper case when upper is non-zero. "ERROR" for
// codes that have no label.
const char *get_char(int scancode, int upper);

// A fresh call: menu mode on the first item.
keyconfig_menu start_keyconfig_menu();
// One logic tick: the menu keys, or the scan for the awaited key; then the frame tick.
void keyconfig_menu_tick(keyconfig_menu &menu);
// One frame into buffer, without copying it to the screen.
void draw_keyconfig_menu(const keyconfig_menu &menu);
// The modal screen, opened from the options; returns when Back is chosen.
void keyconfig_screen();
