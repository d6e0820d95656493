// The introduction before a new game: the story typed in the message box over stars, the dream backdrop and three pictures.
#pragma once
#include <allegro.h>

struct introduction_state {
    int done = 0;
    int step = 0;
    int count = 0;              // ticks of stars alone in step 0
    int fade = 0;               // opacity of the picture fading in, 0..255
    BITMAP *second = nullptr;   // scratch for the cross-fade from the stars to the backdrop
    int saved_background = 0;   // the map's background number, given back at the end
};

// Opens the screen: clears buffer, switches the map to the star field, makes the scratch
// bitmap (fatal if it cannot) and starts the story song.
void start_introduction(introduction_state &intro);
// One logic tick: Escape, the current step, the message box and the background's motion.
void introduction_tick(introduction_state &intro);
// One frame into buffer: background, the pictures by step, the message box.
void draw_introduction(const introduction_state &intro);
// Closes the screen: message box, song, scratch bitmap, the map's own background number.
void finish_introduction(introduction_state &intro);
// The modal introduction; Escape skips it.
void introduction_screen();
