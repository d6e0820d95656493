// The options screen: volumes, screen mode, the screens it leads to, and writing the settings file.
#include "music.h"
#include "options_screen.h"
#include <allegro.h>
#include <cstdio>
#include <string>
#include "datafiles.h"
#include "do_drawing.h"
#include "game_quit.h"
#include "graphics_mode.h"
#include "key_latch.h"
#include "keyconfig_screen.h"
#include "level_set_screen.h"
#include "menu_frame.h"
#include "modal_screen.h"
#include "safe_file.h"
#include "save_load_screen.h"
#include "text_mode_message.h"
#include "timer.h"

int sound_vol = 255;
int midi_vol = 255;
int current_screen_mode = 0;
char settings_location[256] = "data/settings.txt";

int sound_vol_incren = 51;
int midi_vol_incren = 51;

void (*options_keyconfig_screen)() = keyconfig_screen;
int (*options_level_set_screen)() = level_set_screen;
void (*options_erase_save_screen)() = erase_save_screen;

namespace {

// Images of the screen in d_system.
const int heading_image = 34;
const int labels_image = 32;
const int volume_icon = 6;
const int full_screen_icon = 31;
const int windowed_icon = 33;

const int heading_x = 0;
const int heading_y = 120;
const int labels_x = 100;

const char no_window_text[] = "Sorry. Windowed does \nnot work on your system!";
const char no_mode_text[] = "Sorry. You need at least a \n 15bit or 16bit grahpics card";

int item_y(int item)
{
    return options_item_first_y + 32 * item;
}

// The depths every mode of the game is asked for at, in turn.
const std::initializer_list<int> depths = {16, 15};

void select_nothing(options_menu &) {}

void select_screen_mode(options_menu &)
{
    toggle_screen_mode();
}

void select_keys(options_menu &)
{
    options_keyconfig_screen();
}

void select_level_set(options_menu &)
{
    options_level_set_screen();
    speed_counter = 0;
}

void select_erase_save(options_menu &)
{
    options_erase_save_screen();
    speed_counter = 0;
}

void select_back(options_menu &menu)
{
    menu.leave = -1;
}

// Each row: the volume its Left and Right change (none: null) with that volume's step, and what
// Enter (or the action key) does there. The volume rows take no selection and make no sound.
struct option_item {
    int *volume;
    int *step;
    int select_sound;
    void (*select)(options_menu &);
};

const option_item option_items[options_item_count] = {
    {&sound_vol, &sound_vol_incren, 0, select_nothing},
    {&midi_vol, &midi_vol_incren, 0, select_nothing},
    {nullptr, nullptr, -1, select_screen_mode},
    {nullptr, nullptr, -1, select_keys},
    {nullptr, nullptr, -1, select_level_set},
    {nullptr, nullptr, -1, select_erase_save},
    {nullptr, nullptr, -1, select_back},
};

// One icon per step of 51 below the volume, in a row right of the labels.
void draw_volume_icons(int volume, int y)
{
    BITMAP *icon = system_bitmap(volume_icon);
    const int first_x = labels_x + system_bitmap(labels_image)->w;
    for (int n = 1; 51 * (n - 1) < volume && first_x + 32 * n < buffer->w; n++)
        draw_sprite(buffer, icon, first_x + 32 * n, y);
}

} // namespace

void step_volume(int &volume, int step, int direction)
{
    if (direction < 0) {
        if (volume <= 0)
            return;
        play_game_sound(menu_move_sound);
        volume -= step;
        // A hand-edited value that is no multiple of the step stops at the ends of the range.
        if (volume < 0)
            volume = 0;
    } else {
        if (volume > 254)
            return;
        play_game_sound(menu_move_sound);
        volume += step;
        if (volume > 255)
            volume = 255;
    }
    set_volume(-1, midi_vol);
}

void toggle_screen_mode()
{
    if (current_screen_mode == 0) {
        if (set_mode_at_depths(GFX_AUTODETECT_WINDOWED, 640, 480, depths) == 0) {
            current_screen_mode = 1;
            return;
        }
        show_in_text_mode("%s", no_window_text);
        // The mode stays recorded as full screen, whatever the autodetection picks.
        if (set_mode_at_depths(GFX_AUTODETECT, 640, 480, depths) == 0)
            return;
        quit_with_message("%s", no_mode_text);
    }
    if (set_mode_at_depths(GFX_AUTODETECT_FULLSCREEN, 640, 480, depths) == 0) {
        current_screen_mode = 0;
        return;
    }
    // Many desktops refuse a 640x480 full screen: the game says so and plays on in its window,
    // which stays the mode recorded. The screen buffer and everything loaded outlive the mode.
    show_in_text_mode("%s", no_mode_text);
    if (set_mode_at_depths(GFX_AUTODETECT_WINDOWED, 640, 480, depths) == 0)
        return;
    // Not even the window comes back; the message has been shown.
    game_quit();
}

int write_settings()
{
    // Written whole or not at all: a full disk leaves the old file as it was. Nothing is reported.
    const std::string text = std::to_string(sound_vol) + "\n" + std::to_string(midi_vol) + "\n" +
                             std::to_string(current_screen_mode);
    return replace_file(settings_location, text);
}

options_menu start_options_menu()
{
    return options_menu();
}

void options_menu_tick(options_menu &menu)
{
    if (fresh_key_press(KEY_UP, menu.up_latch)) {
        play_game_sound(menu_move_sound);
        menu.item = menu.item == 0 ? options_item_count - 1 : menu.item - 1;
    }
    if (fresh_key_press(KEY_DOWN, menu.down_latch)) {
        play_game_sound(menu_move_sound);
        menu.item = menu.item == options_item_count - 1 ? 0 : menu.item + 1;
    }
    // The latches of Left and Right follow their keys on every row, so a press held while
    // moving onto a volume row does not step it.
    const int left = fresh_key_press(KEY_LEFT, menu.left_latch);
    const int right = fresh_key_press(KEY_RIGHT, menu.right_latch);
    const option_item &row = option_items[menu.item];
    if (row.volume && left)
        step_volume(*row.volume, *row.step, -1);
    if (row.volume && right)
        step_volume(*row.volume, *row.step, +1);
    if (menu_select_pressed()) {
        if (row.select_sound)
            play_game_sound(menu_select_sound);
        row.select(menu);
    }
    menu_frame_tick();
}

void draw_options_menu(const options_menu &menu)
{
    draw_menu_frame_back(system_bitmap(heading_image), heading_x, heading_y);
    BITMAP *labels = system_bitmap(labels_image);
    draw_sprite(buffer, labels, labels_x, options_item_first_y);
    draw_menu_cursor(item_y(menu.item));
    draw_volume_icons(sound_vol, item_y(options_sound_volume));
    draw_volume_icons(midi_vol, item_y(options_music_volume));
    draw_sprite(buffer, system_bitmap(current_screen_mode == 0 ? full_screen_icon : windowed_icon),
                labels_x + labels->w + 32, item_y(options_screen_mode));
    draw_menu_frame_front();
}

void options_screen()
{
    options_menu menu = start_options_menu();
    run_modal_screen(menu, menu.leave, options_menu_tick, draw_options_menu);
    write_settings();
}
