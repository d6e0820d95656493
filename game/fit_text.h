// Text cut to fit a room in pixels, ending in "..." where the whole text does not fit.
#pragma once
#include <allegro.h>

// Copies text into out (size bytes), cut so that it takes at most room pixels in font f: a text
// that does not fit ends in "..." within the room.
void fit_text(FONT *f, const char *text, int room, char *out, int size);
