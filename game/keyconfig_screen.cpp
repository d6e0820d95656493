// The key configuration screen and the key-label table.
#include "keyconfig_screen.h"
#include <allegro.h>
#include "datafiles.h"
#include "do_drawing.h"
#include "key_latch.h"
#include "menu_frame.h"
#include "modal_screen.h"
#include "music.h"
#include "timer.h"

int player::*const keyconfig_bindings[keyconfig_binding_count] = {
    &player::key_up,     &player::key_down,    &player::key_left,  &player::key_right,
    &player::key_action, &player::key_restart, &player::key_music, &player::key_save,
};

namespace {

// Images of the screen in d_system.
const int heading_image = 14;
const int labels_image = 13;
const int key_font = 12;

const int heading_x = 0;
const int heading_y = 100;
const int labels_x = 100;
const int key_name_x = 200;

// Scancodes that the wait looks at; above them lie keypad Enter, the modifiers and the rest.
const int last_scanned_key = 90;
// The function keys and escape are never bound.
const int first_unbindable = KEY_F1;
const int last_unbindable = KEY_ESC;

const char error_label[] = "ERROR";

// Labels by scancode, 0..91; the letters are looked up in the two cases below.
const char *const key_labels[KEY_ENTER_PAD + 1] = {
    error_label,
    "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
    "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z",
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9",
    "KEY PAD 0", "KEY PAD 1", "KEY PAD 2", "KEY PAD 3", "KEY PAD 4",
    "KEY PAD 5", "KEY PAD 6", "KEY PAD 7", "KEY PAD 8", "KEY PAD 9",
    error_label, error_label, error_label, error_label, error_label, error_label, // F1..F6
    error_label, error_label, error_label, error_label, error_label, error_label, // F7..F12
    error_label,                                                                  // escape
    "~", "-", "=", "BACKSPACE", "TAB", "[", "]", "ENTER", ";", "'", "\\", "\\", ",", ".", "/",
    "SPACE", "INSERT", "DELETE", "HOME", "END", "PAGE UP", "PAGE DOWN",
    "LEFT", "RIGHT", "UP", "DOWN",
    "KEY PAD /", "*", "KEY PAD -", "KEY PAD +", "KEY PAD DEL", "KEY PAD ENTER",
};

const char *const lower_case_letters[26] = {
    "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m",
    "n", "o", "p", "q", "r", "s", "t", "u", "v", "w", "x", "y", "z",
};

int item_y(int item)
{
    return keyconfig_item_first_y + 32 * item;
}

// Whether scancode is the binding of an action other than the one at item.
int bound_elsewhere(int scancode, int item)
{
    for (int i = 0; i < keyconfig_binding_count; i++)
        if (i != item && the_player.*keyconfig_bindings[i] == scancode)
            return -1;
    return 0;
}

// Every key reads as up until the keyboard reports it again, so that the key just taken does
// not act at once in the menu.
void release_scanned_keys()
{
    for (int i = 1; i <= 126; i++)
        key[i] = 0;
}

void process_menu_keys(keyconfig_menu &menu)
{
    if (fresh_key_press(KEY_UP, menu.up_latch)) {
        play_game_sound(menu_move_sound);
        menu.item = menu.item == 0 ? keyconfig_item_count - 1 : menu.item - 1;
    }
    if (fresh_key_press(KEY_DOWN, menu.down_latch)) {
        play_game_sound(menu_move_sound);
        menu.item = menu.item == keyconfig_item_count - 1 ? 0 : menu.item + 1;
    }
    // Only Enter selects here: the action key may be the very key being rebound.
    if (!fresh_press(key[KEY_ENTER], key_enter_pressed))
        return;
    play_game_sound(menu_select_sound);
    if (menu.item == keyconfig_back)
        menu.leave = -1;
    else
        menu.waiting = -1;
}

// The lowest eligible key down takes the binding, once the Enter press that began the wait has
// been released; a key another action has is refused.
void scan_for_key(keyconfig_menu &menu)
{
    for (int s = 1; s <= last_scanned_key; s++) {
        if (!key[KEY_ENTER])
            key_enter_pressed = 0;
        if (key[KEY_ESC])
            menu.waiting = 0;
        if (!key[s] || (s >= first_unbindable && s <= last_unbindable) || key_enter_pressed)
            continue;
        if (bound_elsewhere(s, menu.item))
            play_game_sound(menu_refused_sound);
        else
            the_player.*keyconfig_bindings[menu.item] = s;
        menu.waiting = 0;
        release_scanned_keys();
        return;
    }
}

} // namespace

const char *get_char(int scancode, int upper)
{
    if (scancode < 0 || scancode > KEY_ENTER_PAD)
        return error_label;
    if (!upper && scancode >= KEY_A && scancode <= KEY_Z)
        return lower_case_letters[scancode - KEY_A];
    return key_labels[scancode];
}

keyconfig_menu start_keyconfig_menu()
{
    return keyconfig_menu();
}

void keyconfig_menu_tick(keyconfig_menu &menu)
{
    if (menu.waiting)
        scan_for_key(menu);
    else
        process_menu_keys(menu);
    menu_frame_tick();
}

void draw_keyconfig_menu(const keyconfig_menu &menu)
{
    draw_menu_frame_back(system_bitmap(heading_image), heading_x, heading_y);
    draw_sprite(buffer, system_bitmap(labels_image), labels_x, keyconfig_item_first_y);
    draw_menu_cursor(item_y(menu.item));
    FONT *names = system_font(key_font);
    const int black = makecol(0, 0, 0);
    for (int i = 0; i < keyconfig_binding_count; i++)
        textprintf_ex(buffer, names, key_name_x, item_y(i), black, -1, "%s",
                      get_char(the_player.*keyconfig_bindings[i], -1));
    draw_menu_frame_front();
}

void keyconfig_screen()
{
    keyconfig_menu menu = start_keyconfig_menu();
    run_modal_screen(menu, menu.leave, keyconfig_menu_tick, draw_keyconfig_menu);
}
