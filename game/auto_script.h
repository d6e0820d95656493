// Movies: recorded key input for Pim's five movement keys, played back tick by tick, and the ".qmv" file format.
#pragma once
#include <cstdio>

const int script_key_count = 5;
const int script_capacity = 5000;

// Key states per tick: row 0 up, 1 down, 2 left, 3 right, 4 action; -1 down, 0 up.
extern int script_storage[script_key_count][script_capacity];
// The block layer as it was when the movie started, [column][row].
extern int script_tiles[20][15];
extern int script_time;
extern int script_time_max;
extern int play_script_time;
extern int do_play_script;
extern int do_record_script;
extern int script_player_facing;
extern int script_player_x;
extern int script_player_y;
extern int script_player_falling;
extern int script_player_ducking;
extern int script_player_up;
extern int key_F3_down;

// Loads a movie and starts it on its map; a file that cannot be opened ends the game.
void load_auto_script_no_dialog(char *path);
// One logic tick of playback; F3 stops it.
void play_script();
// One logic tick of recording, only while do_record_script is set.
void record_script();
// The two file-selector commands.
void save_auto_script();
void load_auto_script();

// Reads a movie from an open file into the globals above (no map reload).
// Values the file does not supply keep what they held.
void read_auto_script(FILE *file);
// Writes the globals above as a movie of `ticks` ticks; returns 0, or -1 if a write failed.
int write_auto_script(FILE *file, int ticks);
