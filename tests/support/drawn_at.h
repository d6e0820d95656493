// Pixel checks on the game's back buffer: whether an image or a text stands at a place.
#pragma once
#include <allegro.h>
#include "datafiles.h"
#include "do_drawing.h"

// Whether every visible pixel of image stands at (x, y) in buffer.
inline bool image_drawn_at(BITMAP *image, int x, int y)
{
    int seen = 0;
    for (int iy = 0; iy < image->h; iy++)
        for (int ix = 0; ix < image->w; ix++) {
            const int c = getpixel(image, ix, iy);
            if (c == bitmap_mask_color(image))
                continue;
            seen++;
            if (getpixel(buffer, x + ix, y + iy) != c)
                return false;
        }
    return seen > 0;
}

// Whether text in font f would put colour only on pixels of buffer that have that colour.
inline bool text_drawn_at(FONT *f, const char *text, int x, int y, int colour)
{
    BITMAP *probe = create_bitmap(text_length(f, text), text_height(f));
    clear_to_color(probe, bitmap_mask_color(probe));
    textprintf_ex(probe, f, 0, 0, colour, -1, "%s", text);
    bool all = true;
    int seen = 0;
    for (int py = 0; py < probe->h; py++)
        for (int px = 0; px < probe->w; px++)
            if (getpixel(probe, px, py) == colour) {
                seen++;
                all = all && getpixel(buffer, x + px, y + py) == colour;
            }
    destroy_bitmap(probe);
    return all && seen > 0;
}

// How many pixels of buffer within x0 <= x < x1, y0 <= y < y1 differ between a frame that draw()
// makes as it is and one it makes with d_system entry `entry` showing nothing: how much of that
// image can be seen there.
template <typename draw_fn>
int pixels_showing_entry(int entry, draw_fn draw, int x0, int y0, int x1, int y1)
{
    draw();
    BITMAP *as_drawn = create_bitmap(buffer->w, buffer->h);
    blit(buffer, as_drawn, 0, 0, 0, 0, buffer->w, buffer->h);
    BITMAP *image = system_bitmap(entry);
    BITMAP *blank = create_bitmap(image->w, image->h);
    clear_to_color(blank, bitmap_mask_color(blank));
    d_system[entry].dat = blank;
    draw();
    d_system[entry].dat = image;
    int differing = 0;
    for (int y = y0; y < y1; y++)
        for (int x = x0; x < x1; x++)
            differing += getpixel(as_drawn, x, y) != getpixel(buffer, x, y);
    destroy_bitmap(blank);
    destroy_bitmap(as_drawn);
    return differing;
}
