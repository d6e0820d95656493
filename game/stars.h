// The star field behind maps with background 0: stars drifting left to right.
#pragma once
#include <allegro.h>
#include <vector>

// One star: a small square moving right at its own speed.
struct bg_stars {
    int x;
    int y;
    int speed;
    int size;
    int r, g, b;

    // A new star at the left edge with random row, speed, size and colour.
    bg_stars();
};

extern std::vector<bg_stars> the_bg_stars;

// One tick: every star moves; one that has left the right edge is replaced by a new one at the end.
void bg_stars_do_logic();
// Draws every star into bmp, later stars over earlier ones.
void bg_stars_do_drawing(BITMAP *bmp);
