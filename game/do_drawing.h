// One frame of play, and the back buffer every screen draws into.
#pragma once
#include <allegro.h>

extern BITMAP *buffer;
extern int fps_frames;
extern int fps;

void do_drawing();
