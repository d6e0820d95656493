// Setting a graphics mode: the calls both programs make it through, and its colour-depth fallback.
#pragma once
#include <initializer_list>

// set_color_depth, set_gfx_mode and report_in_message_box, gathered so that a test can have a mode
// refused on request and see what the program does then, without a display.
struct screen_mode_calls {
    void (*set_depth)(int depth);
    int (*set_mode)(int card, int w, int h, int v_w, int v_h);
    void (*report)(const char *text);
};
extern screen_mode_calls the_screen_mode_calls;

// Shows text in Allegro's message box.
void report_in_message_box(const char *text);

// Asks for the driver `card` at w x h (no virtual screen) at each colour depth of `depths` in turn,
// setting that depth first, until one is granted. 0 when one is, -1 when every one is refused (and
// Allegro then has no screen).
int set_mode_at_depths(int card, int w, int h, std::initializer_list<int> depths);
