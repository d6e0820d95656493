// One logic step of the editor's main loop: keyboard commands, the quit box, buttons and mouse.
#pragma once

// View and edit flags (-1 true, 0 false).
extern int trans_layer_active;     // clicks paint the trans layer
extern int draw_block_layer;       // block layer shown (0 while Z is held)
extern int draw_trans_layer;       // trans layer shown (0 while X is held)
extern int draw_grid;              // red grid over the field
extern int draw_blocked_indicator; // "BT"/"TT" labels on tiles

// The quit confirmation box: open flag, and 1 "Yes" / 0 "No" highlighted.
extern int confirm;
extern int confirm_selection;

// Press latches.
extern int key_esc_down, key_r_down, key_l_down, key_g_down, key_b_down, key_f_down;
extern int up_key_down, down_key_down, key_enter_down;

// The mouse areas of the box's two buttons, fixed at 800x600.
const int yes_area_left = 267, yes_area_right = 378;
const int no_area_left = 419, no_area_right = 535;
const int box_area_top = 305, box_area_bottom = 352;

// One step: the editing keys, buttons and mouse while the box is closed; the box's keys and
// clicks while it is open.
void do_logic();

// The step's parts.
void process_editing_keys();
void process_confirm_box();
