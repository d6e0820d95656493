// The start-up logo: it fades in from black, stays, and fades back out.
#pragma once

struct logo_state {
    int level = 255;     // lighting towards black: 255 black .. 0 (or below) the full image
    int hold = 0;        // ticks spent fully visible
    int fading_out = 0;  // -1 once the hold is over
    int done = 0;
};

// One logic tick of the fade.
void logo_tick(logo_state &logo);
// The logo lit at its level, into buffer.
void draw_logo(const logo_state &logo);
// The modal logo screen, about 6 s; no key is read.
void logo_screen();
