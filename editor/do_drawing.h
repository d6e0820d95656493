// One frame of the editor screen: panel, field, palette, texts and the quit box.
#pragma once
#include <allegro.h>

extern BITMAP *buffer;       // the whole 800x600 frame
extern BITMAP *field_buffer; // the 640x480 field, copied to x 160 of buffer

// Draws the frame into buffer; `prompt` 1 adds the teleport destination prompt.
void draw_frame(int prompt);

// draw_frame, then buffer with the mouse pointer onto the screen.
void do_drawing(int prompt);
