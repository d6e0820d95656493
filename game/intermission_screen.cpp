// The intermission: the player's statistics for the level just completed, until Enter.
#include "intermission_screen.h"
#include <allegro.h>
#include <cstdio>
#include "datafiles.h"
#include "do_drawing.h"
#include "map.h"
#include "modal_screen.h"
#include "music.h"
#include "player.h"
#include "timer.h"

namespace {
const int overlay_image = 7;
const int text_font = 8;
}

void intermission_tick(intermission_state &intermission)
{
    // Enter alone, with no latch: the action key does not leave this screen.
    if (key[KEY_ENTER])
        intermission.done = -1;
    the_map.scroll_background();
    check_change_music();
}

void draw_intermission()
{
    clear_bitmap(buffer);
    the_map.draw_background(buffer);
    masked_blit(system_bitmap(overlay_image), buffer, 0, 0, 0, 0, 640, 480);

    char lines[9][64];
    std::snprintf(lines[0], sizeof(lines[0]), "Congratulations!");
    std::snprintf(lines[1], sizeof(lines[1]), "You Have Completed The Level!");
    std::snprintf(lines[2], sizeof(lines[2]), "Stats");
    std::snprintf(lines[3], sizeof(lines[3]), "Time Spent: %02d:%02d:%02d", the_player.time_hours,
                  the_player.time_minutes, the_player.time_seconds);
    std::snprintf(lines[4], sizeof(lines[4]), "Blocks Created: %d", the_player.blocks_created);
    std::snprintf(lines[5], sizeof(lines[5]), "Blocks Destroyed: %d", the_player.blocks_destroyed);
    std::snprintf(lines[6], sizeof(lines[6]), "Steps Taken: %d", the_player.steps_taken);
    std::snprintf(lines[7], sizeof(lines[7]), "Restarts: %d", the_player.restarts);
    std::snprintf(lines[8], sizeof(lines[8]), "Hit Enter To Proceed");

    const int mid = buffer->h / 2;
    const int line_y[9] = {0, 40, mid - 50, mid - 10, mid + 30, mid + 70, mid + 110, mid + 150, mid + 200};
    FONT *stats_font = system_font(text_font);
    const int white = makecol(255, 255, 255);
    for (int i = 0; i < 9; i++)
        textprintf_centre_ex(buffer, stats_font, buffer->w / 2, line_y[i], white, -1, "%s", lines[i]);
}

void intermission_screen()
{
    intermission_state intermission;
    run_modal_screen(intermission, intermission.done, intermission_tick,
                     [](const intermission_state &) { draw_intermission(); });
}
