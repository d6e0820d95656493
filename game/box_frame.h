// The frame round the game's boxes and the map-name plate: eight pieces of the system data file.
#pragma once
#include <allegro.h>

// Draws the frame into target round the w x h box whose top-left corner is (x, y): each edge piece
// stretched along its side, just outside it, then the four corner pieces as sprites outside the
// corners. The box itself is left as it is, for its owner to fill.
void draw_box_frame(BITMAP *target, int x, int y, int w, int h);
// The pixels the frame adds to a box's width: its left and right pieces.
int box_frame_side_widths();
