// The editor's own dialogs: the map's name, the level set's name, and a yes/no question.
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

// Runs a popup dialog; Allegro's popup_dialog by default.
extern int (*the_dialog_popup)(DIALOG *dialog, int focus);

// Asks the three lines s1..s3 with the two answers `yes` and `no` (keys yes_key and no_key), as
// Allegro's alert does, but opening on `no`: ENTER at once keeps what is there. Returns 1 for
// `yes`, 2 for `no` or ESC.
int ask_yes_no(const char *s1, const char *s2, const char *s3, const char *yes, const char *no, int yes_key,
               int no_key);
