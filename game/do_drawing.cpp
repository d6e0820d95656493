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
    show_buffer();
    fps_frames++;
}

void show_buffer()
{
    if (!screen)
        return;
    // Held for the whole frame, the screen would keep the window's event thread from seeing
    // short key presses.
    acquire_screen();
    // buffer was made at the screen's size.
    blit(buffer, screen, 0, 0, 0, 0, buffer->w, buffer->h);
    release_screen();
}
