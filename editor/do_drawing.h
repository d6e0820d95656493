// One frame of the editor screen: panel, field, palette, texts and the quit box.
#pragma once
#include <allegro.h>

extern BITMAP *buffer;       // the whole 800x600 frame
extern BITMAP *field_buffer; // the 640x480 field, copied to x 160 of buffer

// Draws the frame into buffer; `prompt` 1 adds the teleport destination prompt.
void draw_frame(int prompt);

// draw_frame, then buffer with the mouse pointer onto the screen.
void do_drawing(int prompt);

// A millisecond's pause after a frame. Copying frames back to back holds Allegro's X11 lock almost
// all the time, so its input thread reads mouse events late and in bunches, and a short click's
// press and release arrive together and are lost; the pause lets the events through as they come.
void pause_after_frame();
