// The block wipe before a reload: 18 ticks, one row of blocks each, the last three holding the covered screen.
#include "screen_effect.h"
#include "datafiles.h"
#include "do_drawing.h"
#include "modal_screen.h"
#include "randomize.h"
#include "timer.h"

namespace {

struct block_wipe {
    int row = -1;            // the row of blocks reached, -1 before the first tick
    BITMAP *image = nullptr; // the image of that row
    int done = 0;
};

// The Standing, Up and Down Block images.
BITMAP *wipe_image(int which)
{
    static const int entries[3] = {6, 9, 2};
    return static_cast<BITMAP *>(d_build_tiles[entries[which]].dat);
}

void block_wipe_tick(block_wipe &wipe)
{
    if (wipe.row > 15)
        wipe.done = -1;
    wipe.row++;
    wipe.image = wipe_image(randomize(0, 3));
}

// Only the row reached last is drawn; rows passed over in one go keep what was there.
void draw_block_wipe(const block_wipe &wipe)
{
    for (int x = 0; x < 640; x += 32)
        draw_sprite(buffer, wipe.image, x, wipe.row * 32);
}

} // namespace

void screen_blocks(BITMAP *)
{
    block_wipe wipe;
    wipe.image = wipe_image(0);
    // No sleep: the current row is drawn again until the next tick arrives.
    run_modal_screen(wipe, wipe.done, block_wipe_tick, draw_block_wipe);
}
