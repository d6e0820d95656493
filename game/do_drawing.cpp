// One frame of play: everything is drawn into the back buffer, then copied to the screen in one blit.
#include "do_drawing.h"
#include "map.h"
#include "player.h"
#include "timer.h"

BITMAP *buffer = nullptr;
int fps_frames = 0;
int fps = 0;

void do_drawing()
{
    if (fps_timer > 0) {
        fps = fps_frames;
        fps_frames = 0;
        fps_timer = 0;
    }
    acquire_screen();
    clear_to_color(buffer, 0);
    the_map.draw(buffer);
    the_player.draw(buffer);

    blit(buffer, screen, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
    release_screen();
    fps_frames++;
}
