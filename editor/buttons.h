// The panel of 13 buttons below and beside the field: file commands, layer, background, scrolling.
#pragma once
#include "vek_button.h"

extern vek_button b_save, b_load, b_name_level, b_next, b_level_set, b_last_level, b_layer;
extern vek_button b_bg_l, b_bg_r, b_x_vel_l, b_x_vel_r, b_y_vel_l, b_y_vel_r;

// Scrolling speeds run from -8 to 8 pixels a tick.
const int max_velocity = 8;

void init_buttons();
// Polls the panel, the palette's page arrows and the tool buttons, once per logic step.
void poll_buttons();
// Acts on the panel buttons clicked in this step.
void check_buttons();
// The panel buttons and their texts, into buffer.
void draw_buttons();

// The panel's actions, each what one click does.
void background_down();
void background_up();
void x_velocity_down();
void x_velocity_up();
void y_velocity_down();
void y_velocity_up();
