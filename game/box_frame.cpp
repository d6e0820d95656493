// The frame round the game's boxes and the map-name plate, from the system data file's frame pieces.
#include "box_frame.h"
#include "datafiles.h"

namespace {

// d_system entries of the frame pieces.
const int bottom_left = 18;
const int bottom_edge = 19;
const int bottom_right = 20;
const int left_edge = 21;
const int right_edge = 22;
const int top_edge = 23;
const int top_left = 24;
const int top_right = 25;

void stretch_piece(BITMAP *target, int entry, int x, int y, int w, int h)
{
    BITMAP *piece = system_bitmap(entry);
    stretch_blit(piece, target, 0, 0, piece->w, piece->h, x, y, w, h);
}

} // namespace

void draw_box_frame(BITMAP *target, int x, int y, int w, int h)
{
    stretch_piece(target, left_edge, x - system_bitmap(left_edge)->w, y, system_bitmap(left_edge)->w, h);
    stretch_piece(target, right_edge, x + w, y, system_bitmap(right_edge)->w, h);
    stretch_piece(target, top_edge, x, y - system_bitmap(top_edge)->h, w, system_bitmap(top_edge)->h);
    stretch_piece(target, bottom_edge, x, y + h, w, system_bitmap(bottom_edge)->h);
    draw_sprite(target, system_bitmap(top_left), x - system_bitmap(top_left)->w, y - system_bitmap(top_left)->h);
    draw_sprite(target, system_bitmap(bottom_left), x - system_bitmap(bottom_left)->w, y + h);
    draw_sprite(target, system_bitmap(top_right), x + w, y - system_bitmap(top_right)->h);
    draw_sprite(target, system_bitmap(bottom_right), x + w, y + h);
}

int box_frame_side_widths()
{
    return system_bitmap(left_edge)->w + system_bitmap(right_edge)->w;
}
