// The block wipe: rows of built-block images cover the screen, one row a tick, before a map is reloaded.
#pragma once
#include <allegro.h>

// Runs the whole wipe into the back buffer and onto the screen, then returns. The argument is unused.
// Call it from inside a logic step, so that at least one tick is owed; the ticks it uses are dropped.
void screen_blocks(BITMAP *bmp);
