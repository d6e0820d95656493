// The two one-line text dialogs: the map's name and the level set's name.
#pragma once
#include <allegro.h>

// At most this many characters are typed into either field.
const int typed_name_length = 29;

extern DIALOG input[2];             // the map name, at (160,470)
extern DIALOG input_loader_name[2]; // the level set's name, at (0,32) below its prompt

// Runs a dialog; Allegro's do_dialog by default.
extern int (*the_dialog_runner)(DIALOG *dialog, int focus);

// Runs the map-name dialog until ENTER or ESC; what was typed stays either way.
void edit_map_name();
// Runs the level-set name dialog on level_set_name, likewise.
void edit_level_set_name();
