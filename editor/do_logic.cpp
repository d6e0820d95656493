// The editor's logic step: keyboard commands, the quit confirmation box, then buttons and mouse.
#include "do_logic.h"
#include <allegro.h>
#include <chrono>
#include <thread>
#include "buttons.h"
#include "check_mouse.h"
#include "game_quit.h"
#include "graphics_mode.h"
#include "initialization.h"
#include "key_latch.h"
#include "map.h"
#include "save_load_map.h"
#include "text_mode_message.h"

int trans_layer_active = 0;
int draw_block_layer = -1;
int draw_trans_layer = -1;
int draw_grid = 0;
int draw_blocked_indicator = 0;

int confirm = 0;
int confirm_selection = 0;

int key_esc_down = 0, key_r_down = 0, key_l_down = 0, key_g_down = 0, key_b_down = 0, key_f_down = 0;
int up_key_down = 0, down_key_down = 0, key_enter_down = 0;

namespace {

void toggle(int &flag)
{
    flag = flag ? 0 : -1;
}

// F: the other of full screen and window. A mode the desktop refuses (many have no 800x600 full
// screen) brings back the one that ran, with the map as it was, and says so on the screen.
void switch_screen_mode()
{
    const int running = GAME_SCREEN_MODE;
    const int wanted = running == GFX_AUTODETECT_WINDOWED ? GFX_AUTODETECT_FULLSCREEN : GFX_AUTODETECT_WINDOWED;
    const int depth = get_color_depth();
    if (set_mode_at_depths(wanted, 800, 600, {depth, 16}) == 0) {
        GAME_SCREEN_MODE = wanted;
        return;
    }
    if (set_mode_at_depths(running, 800, 600, {depth, 16}) != 0)
        quit_with_message("Sorry. You need at least a \n15bit or 16bit grahpics card");
    report_failure("Sorry. You need at least a ", "15bit or 16bit grahpics card",
                   "The screen mode was not changed, and the map is as it was.");
}

bool pointer_in(int left, int right, int top, int bottom)
{
    return mouse_x >= left && mouse_x <= right && mouse_y >= top && mouse_y <= bottom;
}

} // namespace

void process_editing_keys()
{
    if (fresh_key_press(KEY_ESC, key_esc_down))
        confirm = -1;
    if (fresh_key_press(KEY_R, key_r_down)) {
        the_map.flush();
        // What is painted now is a new map: the file of the old one no longer holds it.
        the_edited_map_path[0] = '\0';
    }
    draw_block_layer = key[KEY_Z] ? 0 : -1;
    draw_trans_layer = key[KEY_X] ? 0 : -1;
    if (fresh_key_press(KEY_L, key_l_down))
        toggle(trans_layer_active);
    if (fresh_key_press(KEY_G, key_g_down))
        toggle(draw_grid);
    if (fresh_key_press(KEY_B, key_b_down))
        toggle(draw_blocked_indicator);
    if (fresh_key_press(KEY_F, key_f_down))
        switch_screen_mode();
}

void process_confirm_box()
{
    if (fresh_key_press(KEY_RIGHT, down_key_down))
        confirm_selection = confirm_selection ? 0 : 1;
    if (fresh_key_press(KEY_LEFT, up_key_down))
        confirm_selection = confirm_selection ? 0 : 1;
    if (fresh_key_press(KEY_ENTER, key_enter_down)) {
        if (confirm_selection == 1)
            game_quit();
        confirm = 0;
    }
    if (mouse_b & 1) {
        if (pointer_in(yes_area_left, yes_area_right, box_area_top, box_area_bottom)) {
            game_quit();
        } else if (pointer_in(no_area_left, no_area_right, box_area_top, box_area_bottom)) {
            confirm = 0;
            // Hold everything until the button is up, so that this click never reaches the map.
            while (mouse_b & 1)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
}

void do_logic()
{
    if (!confirm) {
        process_editing_keys();
        poll_buttons();
        check_mouse();
    } else {
        process_confirm_box();
    }
}
