// The five data files the editor draws from, addressed by fixed object numbers.
#pragma once
#include <allegro.h>
#include "datafile_table.h"

extern DATAFILE *d_tiles;
extern DATAFILE *d_build_tiles;
extern DATAFILE *d_data;
extern DATAFILE *d_backgrounds;
extern DATAFILE *d_system;

// Highest background number the panel offers: objects in the background file minus 2.
extern int bg_dat_end;

// Loads the five files in order; one that fails ends the editor with its message.
void load_datafiles();
void unload_datafiles();

// Sets bg_dat_end from the loaded background file.
void find_end_of_bg_dat();

// Object `index` of `file` when it exists and is a bitmap, otherwise null: map values come from
// files and are never trusted as indices.
BITMAP *datafile_bitmap(const DATAFILE *file, int index);
