// The two bobbing scroll arrows of the list screens.
#include "slot_arrows.h"
#include "datafiles.h"
#include "slot_list.h"

slot_arrow slot_arrows;

slot_arrow::slot_arrow() = default;

void slot_arrow::init(int which)
{
    x = slot_screen_w / 2 - system_bitmap(slot_arrow_image)->w / 2;
    if (which == 0) {
        down_y = slot_screen_h - 25;
        down_active = -1;
    } else if (which == 1) {
        up_y = 100;
        up_active = -1;
    }
}

int slot_arrow::up_active_state()
{
    return up_active;
}

int slot_arrow::down_active_state()
{
    return down_active;
}

void slot_arrow::calculate()
{
    if (!up_active && !down_active)
        return;
    tick++;
    if (tick < delay)
        return;
    tick = 0;
    // Outward is down for the down arrow and up for the up arrow; they move as mirror images.
    const int outward = direction == 0 ? 1 : -1;
    if (down_active)
        down_y += outward;
    if (up_active)
        up_y -= outward;
    step++;
    if (step >= max_step) {
        step = 0;
        direction = direction == 0 ? -1 : 0;
    }
}

void slot_arrow::draw(BITMAP *bmp)
{
    BITMAP *image = system_bitmap(slot_arrow_image);
    if (down_active)
        draw_sprite(bmp, image, x, down_y);
    if (up_active)
        draw_sprite_v_flip(bmp, image, x, up_y);
}

void slot_arrow::deactivate(int which)
{
    if (which == 0)
        down_active = 0;
    else
        up_active = 0;
}
