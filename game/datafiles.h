// The seven data files of the game, addressed by fixed entry numbers.
#pragma once
#include <allegro.h>
#include "datafile_table.h"

extern DATAFILE *d_player;
extern DATAFILE *d_tiles;
extern DATAFILE *d_build_tiles;
extern DATAFILE *d_sounds;
extern DATAFILE *d_backgrounds;
extern DATAFILE *d_system;
extern DATAFILE *d_portraits;

// The image at `entry` of d_system.
BITMAP *system_bitmap(int entry);

// The font at `entry` of d_system.
FONT *system_font(int entry);

// Loads all seven files in order; a file that fails ends the game with its message.
void load_datafiles();
void unload_datafiles();
