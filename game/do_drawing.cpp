// One frame of play: everything is drawn into the back buffer, then copied to the screen in one blit.
#include "do_drawing.h"
#include "credits_screen.h"
#include "map.h"
#include "message.h"
#include "player.h"
#include "show_map_name.h"
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
    clear_to_color(buffer, 0);
    the_map.draw(buffer);
    the_player.draw(buffer);
    the_message.draw();
    draw_credits(buffer);
    if (map_name_showing())
        draw_map_name(buffer);

    // The screen is held only for the copy: held for the whole frame, it keeps the window's
    // event thread from seeing short key presses.
    acquire_screen();
    blit(buffer, screen, 0, 0, 0, 0, SCREEN_W, SCREEN_H);
    release_screen();
    fps_frames++;
}
