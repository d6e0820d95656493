// The two bobbing scroll arrows of the list screens: one image (d_system entry 27, the down arrow), the up arrow flipped.
#pragma once
#include <allegro.h>

const int slot_arrow_image = 27; // d_system

class slot_arrow {
public:
    int x = 0;           // left edge of both arrows
    int down_y = 0;      // top edge of the down arrow
    int up_y = 0;        // top edge of the up arrow
    int tick = 0;        // logic steps since the last movement
    int delay = 10;      // logic steps per movement
    int step = 0;        // movements made in the current direction
    int max_step = 5;    // movements before the direction turns
    int up_active = 0;   // -1: the up arrow is shown
    int down_active = 0; // -1: the down arrow is shown
    int direction = 0;   // 0: moving outward, -1: moving back

    slot_arrow();
    // 0: show the down arrow at its rest place; 1: the up arrow; any other value sets only x.
    void init(int which);
    int up_active_state();
    int down_active_state();
    // One logic step of the bobbing.
    void calculate();
    void draw(BITMAP *bmp);
    // 0 hides the down arrow, any other value the up arrow.
    void deactivate(int which);
};

extern slot_arrow slot_arrows;
