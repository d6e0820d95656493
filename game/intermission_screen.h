// The intermission after a completed level: the level's statistics over the map's background.
#pragma once

struct intermission_state {
    int done = 0;
};

// One logic tick: Enter ends the screen; the background scrolls and the music carries on.
void intermission_tick(intermission_state &intermission);
// One frame into buffer: background, overlay and the nine lines of text.
void draw_intermission();
// The modal intermission; it returns after the frame that follows the tick that saw Enter.
void intermission_screen();
