// The block wipe before a reload: 18 ticks, one row of blocks each, the last three holding the covered screen.
#include "screen_effect.h"
#include "datafiles.h"
#include "do_drawing.h"
#include "randomize.h"
#include "timer.h"

void screen_blocks(BITMAP *)
{
    // The Standing, Up and Down Block images.
    BITMAP *const images[3] = {
        static_cast<BITMAP *>(d_build_tiles[6].dat),
        static_cast<BITMAP *>(d_build_tiles[9].dat),
        static_cast<BITMAP *>(d_build_tiles[2].dat),
    };
    int row = -1;
    BITMAP *image = images[0];
    bool done = false;
    while (!done) {
        while (speed_counter > 0) {
            if (row > 15)
                done = true;
            row++;
            image = images[randomize(0, 3)];
            speed_counter--;
        }
        // No sleep: the current row is drawn again until the next tick arrives.
        acquire_screen();
        for (int x = 0; x < 640; x += 32)
            draw_sprite(buffer, image, x, row * 32);
        blit(buffer, screen, 0, 0, 0, 0, 640, 480);
        release_screen();
    }
}
