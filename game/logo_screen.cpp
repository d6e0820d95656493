// The start-up logo screen: 128 ticks of fade-in, a hold of 120, 128 ticks of fade-out.
#include "logo_screen.h"
#include <allegro.h>
#include "datafiles.h"
#include "do_drawing.h"
#include "modal_screen.h"
#include "timer.h"

namespace {
const int logo_image = 17;
const int fade_speed = 2;
const int hold_ticks = 120;
}

void logo_tick(logo_state &logo)
{
    if (!logo.fading_out && logo.hold <= 0)
        logo.level -= fade_speed;
    else if (logo.fading_out)
        logo.level += fade_speed;

    if (logo.level <= 0)
        logo.hold++;
    else if (logo.level > 254 && logo.fading_out)
        logo.done = -1;

    if (logo.hold >= hold_ticks)
        logo.fading_out = -1;
}

void draw_logo(const logo_state &logo)
{
    set_trans_blender(0, 0, 0, 0);
    draw_lit_sprite(buffer, system_bitmap(logo_image), 0, 0, logo.level);
}

void logo_screen()
{
    speed_counter = 0;
    logo_state logo;
    // Each frame starts from a clear buffer, and the buffer is left clear.
    run_modal_screen(logo, logo.done, logo_tick, [](const logo_state &l) {
        clear_bitmap(buffer);
        draw_logo(l);
    });
    clear_bitmap(buffer);
}
