// Finding and loading the songs in data/music at start-up.
#pragma once

// Loads every data/music/*.mid into the song list; a file that will not load ends the game.
void load_music();

// Directory-listing callback: loads one song and appends it. Returns 0 (go on listing).
int add_music(const char *filename, int attrib, void *param);
