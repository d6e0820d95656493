// Finding and loading the songs in data/music at start-up.
#pragma once
#include <allegro.h>

// Loads every data/music/*.mid that can be played into the song list; the others are left out.
void load_music();

// Directory-listing callback: loads one song and appends it if it can be played. Returns 0 (go on listing).
int add_music(const char *filename, int attrib, void *param);

