// Setting a graphics mode: the calls both programs make it through, and its colour-depth fallback.
#include "graphics_mode.h"
#include <allegro.h>

void report_in_message_box(const char *text)
{
    allegro_message("%s", text);
}

screen_mode_calls the_screen_mode_calls = {set_color_depth, set_gfx_mode, report_in_message_box};

int set_mode_at_depths(int card, int w, int h, std::initializer_list<int> depths)
{
    for (int depth : depths) {
        the_screen_mode_calls.set_depth(depth);
        if (the_screen_mode_calls.set_mode(card, w, h, 0, 0) == 0)
            return 0;
    }
    return -1;
}
