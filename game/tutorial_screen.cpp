// The tutorial menu over the shared menu frame, and the start of a lesson.
#include "music.h"
#include "tutorial_screen.h"
#include <allegro.h>
#include <cstring>
#include "datafiles.h"
#include "do_drawing.h"
#include "key_latch.h"
#include "level_set_screen.h"
#include "map.h"
#include "menu_frame.h"
#include "message.h"
#include "modal_screen.h"
#include "player.h"
#include "show_map_name.h"
#include "timer.h"
#include "tutorial.h"

char tutorial_location[255] = "data/levels/tutorial/";
char tutorial_level_1[255] = "lesson1.map";
char tutorial_level_2[255] = "lesson2.map";
char tutorial_level_3[255] = "lesson3.map";
char tutorial_level_4[255] = "lesson4.map";

namespace {

// d_system images: the heading and the labels (one label per 32-pixel row, in item order).
const int heading_image = 42;
const int heading_x = 0, heading_y = 120;
const int labels_image = 41;
const int labels_x = 100;

char *const lesson_maps[4] = {tutorial_level_1, tutorial_level_2, tutorial_level_3, tutorial_level_4};

} // namespace

tutorial_menu start_tutorial_menu()
{
    return tutorial_menu();
}

void start_tutorial_lesson(int n)
{
    // A banner still running from the game before stops; a lesson has none of its own.
    map_name_in_progress = 0;
    std::strcpy(loader_directory, tutorial_location);
    std::strcpy(first_level, lesson_maps[n - 1]);
    tutorial_number = n;
    tutorial_switch = 1;
    the_map.load_map(first_level);
    // The lessons' first tasks expect Pim to face right, and they answer a turn with a corrective
    // message before he could turn: he must not start them facing left from the game before.
    the_player.facing = 0;
    the_message.deactivate();
}

void tutorial_menu_tick(tutorial_menu &menu)
{
    if (fresh_key_press(KEY_UP, menu.up_latch)) {
        play_game_sound(menu_move_sound);
        menu.item = menu.item == 0 ? tutorial_item_count - 1 : menu.item - 1;
    }
    if (fresh_key_press(KEY_DOWN, menu.down_latch)) {
        play_game_sound(menu_move_sound);
        menu.item = menu.item == tutorial_item_count - 1 ? 0 : menu.item + 1;
    }
    if (menu_select_pressed()) {
        play_game_sound(menu_select_sound);
        menu.leave = -1;
        if (menu.item == tutorial_back) {
            menu.result = 0;
            return;
        }
        start_tutorial_lesson(menu.item + 1);
        menu.result = -1;
        return;
    }
    menu_frame_tick();
}

void draw_tutorial_menu(const tutorial_menu &menu)
{
    draw_menu_frame_back(system_bitmap(heading_image), heading_x, heading_y);
    draw_sprite(buffer, system_bitmap(labels_image), labels_x, tutorial_item_first_y);
    draw_menu_cursor(tutorial_item_first_y + 32 * menu.item);
    draw_menu_frame_front();
}

int tutorial_screen()
{
    tutorial_menu menu = start_tutorial_menu();
    // A choice returns at once: no further tick and no further frame.
    run_modal_screen(menu, menu.leave,
                     [](tutorial_menu &m) {
                         tutorial_menu_tick(m);
                         return m.leave ? modal_return_now : modal_go_on;
                     },
                     draw_tutorial_menu);
    return menu.result;
}
