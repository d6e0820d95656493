// One frame of play, and the back buffer every screen draws into.
#pragma once
#include <allegro.h>

extern BITMAP *buffer;
extern int fps_frames;
extern int fps;

void do_drawing();

// Copies the whole buffer to the screen, holding the screen only for the copy. Without a graphics
// mode (headless) there is no screen, and nothing is copied.
void show_buffer();
