// The seven data files of the game, addressed by fixed entry numbers.
#pragma once
#include <allegro.h>

extern DATAFILE *d_player;
extern DATAFILE *d_tiles;
extern DATAFILE *d_build_tiles;
extern DATAFILE *d_sounds;
extern DATAFILE *d_backgrounds;
extern DATAFILE *d_system;
extern DATAFILE *d_portraits;

// The packfile password every data file is written and read with.
extern const char datafile_password[];

// Loads all seven files in order; a file that fails ends the game with its message.
void load_datafiles();
void unload_datafiles();

// The number of objects in a loaded data file (0 for none).
int datafile_count(const DATAFILE *file);
