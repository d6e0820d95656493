// The map-name banner: start, motion per tick and drawing of the framed name plate.
#include "show_map_name.h"
#include <cstring>
#include "box_frame.h"
#include "datafiles.h"
#include "fit_text.h"
#include "game_quit.h"
#include "map.h"
#include "text_mode_message.h"

FONT *map_name_font = nullptr;
FONT *map_name_small_font = nullptr;
BITMAP *map_name_buffer = nullptr;
int map_name_width = 0;
int map_name_height = 0;
int map_name_x_pos = 0;
int map_name_y_pos = 0;
int map_name_stopping_point = 0;
int map_name_timer = 0;
int map_name_switch = 0;
int map_name_in_progress = 0;

namespace {

const int font_entry = 15;
// The font of a name too wide for the first one: 29 of its widest glyphs, as many as the editor
// lets an author type, fit the room.
const int small_font_entry = 43;

// Room between the name and the frame's inner edge.
const int margin_x = 10;
const int margin_y = 4;

// The game's screen is always 640 x 480 (the mode is set at that size or the game stops), and
// the banner does its sums in those terms even where no screen exists.
const int screen_width = 640;
const int screen_height = 480;

const int slide_speed = 22;
// Ticks the banner rests in the middle of the screen before it slides on.
const int rest_ticks = 119;

} // namespace

void map_name_pre_init()
{
    map_name_font = system_font(font_entry);
    map_name_small_font = system_font(small_font_entry);
}

int map_name_text_room()
{
    return screen_width - box_frame_side_widths() - 2 * margin_x;
}

void map_name_init()
{
    if (the_map.name[0] == '\0') {
        map_name_in_progress = 0;
        return;
    }
    if (map_name_buffer) {
        destroy_bitmap(map_name_buffer);
        map_name_buffer = nullptr;
    }
    // The name in the title font where it fits the screen, else in the small font, cut to fit
    // if even that is too wide (a name the editor cannot make).
    const int room = map_name_text_room();
    FONT *font = map_name_font;
    char shown[sizeof(the_map.name)];
    fit_text(font, the_map.name, room, shown, sizeof(shown));
    if (std::strcmp(shown, the_map.name) != 0) {
        font = map_name_small_font;
        fit_text(font, the_map.name, room, shown, sizeof(shown));
    }
    map_name_height = text_height(font) + 2 * margin_y;
    map_name_width = text_length(font, shown) + 2 * margin_x;
    map_name_buffer = create_bitmap(map_name_width, map_name_height);
    if (!map_name_buffer) {
        quit_with_message("Could not create map name bitmap!");
    }
    map_name_stopping_point = screen_width / 2 - map_name_buffer->w / 2;
    map_name_x_pos = -map_name_width;
    map_name_y_pos = screen_height / 2 - map_name_buffer->h / 2;
    map_name_timer = 0;
    clear_to_color(map_name_buffer, makecol(141, 147, 197));
    map_name_in_progress = -1;
    map_name_switch = 0;
    textprintf_ex(map_name_buffer, font, margin_x, margin_y, makecol(0, 0, 0), -1, "%s", shown);
}

void process_map_name()
{
    if (map_name_switch == 0)
        map_name_x_pos += slide_speed;
    // Pulled back onto the resting point in the tick that reaches or passes it.
    if (map_name_x_pos >= map_name_stopping_point && map_name_timer <= rest_ticks) {
        map_name_timer++;
        map_name_x_pos = map_name_stopping_point;
        map_name_switch = -1;
    }
    if (map_name_timer > rest_ticks) {
        map_name_x_pos += slide_speed;
        if (map_name_x_pos >= screen_width)
            map_name_in_progress = 0;
    }
}

void draw_map_name(BITMAP *target)
{
    const int x = map_name_x_pos;
    const int y = map_name_y_pos;
    const int w = map_name_buffer->w;
    const int h = map_name_buffer->h;

    draw_box_frame(target, x, y, w, h);
    blit(map_name_buffer, target, 0, 0, x, y, w, h);
}

int map_name_showing()
{
    return map_name_in_progress;
}
