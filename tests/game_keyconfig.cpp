// Key configuration driven tick by tick: the wait for a key, refused keys, the binding order, key labels and their drawing.
#include <gtest/gtest.h>
#include <allegro.h>
#include <string>
#include <vector>
#include "datafiles.h"
#include "do_drawing.h"
#include "game_player_fixture.h"
#include "keyconfig_screen.h"
#include "menu_frame.h"
#include "player.h"
#include "timer.h"
#include "title_screen.h"
#include "drawn_at.h"

namespace {

using player_test::clear_sounds;
using player_test::install_sound_recorder;
using player_test::release_all_keys;
using player_test::sounds_played;

// The eight bindings in the order the screen lists them.
std::vector<int> bindings()
{
    return {the_player.key_up,     the_player.key_down,    the_player.key_left,  the_player.key_right,
            the_player.key_action, the_player.key_restart, the_player.key_music, the_player.key_save};
}

const std::vector<int> default_bindings = {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT,
                                           KEY_SPACE, KEY_R, KEY_M, KEY_S};

class keyconfig_test : public ::testing::Test {
protected:
    void SetUp() override
    {
        install_sound_recorder();
        release_all_keys();
        clear_sounds();
        key_enter_pressed = 0;
        the_player = player();
    }
    void TearDown() override { release_all_keys(); }

    // One press of a key: a tick with it down, then a tick with it up.
    void press(keyconfig_menu &menu, int scancode)
    {
        key[scancode] = 1;
        keyconfig_menu_tick(menu);
        key[scancode] = 0;
        keyconfig_menu_tick(menu);
    }

    // Enter on the item, released: the screen now waits for a key.
    void start_wait(keyconfig_menu &menu, int item)
    {
        menu.item = item;
        press(menu, KEY_ENTER);
        ASSERT_EQ(menu.waiting, -1);
    }
};

TEST_F(keyconfig_test, the_items_bind_up_down_left_right_action_restart_music_save_in_order)
{
    keyconfig_menu menu = start_keyconfig_menu();
    const std::vector<int> fresh = {KEY_1, KEY_2, KEY_3, KEY_4, KEY_5, KEY_6, KEY_7, KEY_8};
    for (int item = 0; item < 8; item++) {
        start_wait(menu, item);
        press(menu, fresh[item]);
        EXPECT_EQ(menu.waiting, 0);
    }
    EXPECT_EQ(bindings(), fresh);
    EXPECT_EQ(sounds_played(), std::vector<int>(8, menu_select_sound));
}

TEST_F(keyconfig_test, up_and_down_wrap_over_the_nine_items_and_back_leaves)
{
    keyconfig_menu menu = start_keyconfig_menu();
    EXPECT_EQ(menu.item, 0);
    press(menu, KEY_UP);
    EXPECT_EQ(menu.item, 8);
    press(menu, KEY_DOWN);
    EXPECT_EQ(menu.item, 0);
    press(menu, KEY_UP);
    EXPECT_EQ(menu.leave, 0);
    press(menu, KEY_ENTER);
    EXPECT_EQ(menu.leave, -1);
    EXPECT_EQ(menu.waiting, 0);
    EXPECT_EQ(sounds_played(), (std::vector<int>{menu_move_sound, menu_move_sound, menu_move_sound,
                                                 menu_select_sound}));
    EXPECT_EQ(bindings(), default_bindings);
}

TEST_F(keyconfig_test, the_modal_screen_returns_when_back_is_chosen)
{
    // In one tick Up wraps to Back and Enter chooses it.
    key[KEY_UP] = 1;
    key[KEY_ENTER] = 1;
    speed_counter = 4;
    keyconfig_screen();
    EXPECT_EQ(speed_counter, 0);
    EXPECT_EQ(key_enter_pressed, -1);
}

TEST_F(keyconfig_test, the_action_key_does_not_select_here)
{
    keyconfig_menu menu = start_keyconfig_menu();
    press(menu, the_player.key_action);
    EXPECT_EQ(menu.waiting, 0);
    EXPECT_TRUE(sounds_played().empty());
}

TEST_F(keyconfig_test, enter_held_from_the_start_of_the_wait_binds_nothing_until_pressed_again)
{
    keyconfig_menu menu = start_keyconfig_menu();
    menu.item = 5;
    key[KEY_ENTER] = 1;
    keyconfig_menu_tick(menu);
    ASSERT_EQ(menu.waiting, -1);
    // While Enter is held no key at all is taken.
    key[KEY_X] = 1;
    for (int i = 0; i < 10; i++)
        keyconfig_menu_tick(menu);
    EXPECT_EQ(menu.waiting, -1);
    EXPECT_EQ(the_player.key_restart, KEY_R);
    key[KEY_X] = 0;
    key[KEY_ENTER] = 0;
    keyconfig_menu_tick(menu);
    EXPECT_EQ(menu.waiting, -1);
    press(menu, KEY_ENTER);
    EXPECT_EQ(menu.waiting, 0);
    EXPECT_EQ(the_player.key_restart, KEY_ENTER);
}

TEST_F(keyconfig_test, function_keys_and_escape_bind_nothing_and_escape_ends_the_wait)
{
    keyconfig_menu menu = start_keyconfig_menu();
    start_wait(menu, 6);
    for (int s = KEY_F1; s <= KEY_F12; s++) {
        press(menu, s);
        EXPECT_EQ(menu.waiting, -1) << s;
    }
    press(menu, KEY_ESC);
    EXPECT_EQ(menu.waiting, 0);
    EXPECT_EQ(bindings(), default_bindings);
    // In menu mode escape does nothing either.
    press(menu, KEY_ESC);
    EXPECT_EQ(menu.leave, 0);
    EXPECT_EQ(menu.item, 6);
}

TEST_F(keyconfig_test, escape_with_an_eligible_key_in_the_same_tick_still_binds_it)
{
    keyconfig_menu menu = start_keyconfig_menu();
    start_wait(menu, 7);
    key[KEY_ESC] = 1;
    key[KEY_Q] = 1;
    keyconfig_menu_tick(menu);
    EXPECT_EQ(menu.waiting, 0);
    EXPECT_EQ(the_player.key_save, KEY_Q);
    EXPECT_EQ(key[KEY_ESC], 0);
}

TEST_F(keyconfig_test, a_key_another_action_has_is_refused_with_its_sound)
{
    keyconfig_menu menu = start_keyconfig_menu();
    start_wait(menu, 0);
    clear_sounds();
    key[KEY_SPACE] = 1; // the action key
    keyconfig_menu_tick(menu);
    EXPECT_EQ(menu.waiting, 0);
    EXPECT_EQ(bindings(), default_bindings);
    EXPECT_EQ(sounds_played(), std::vector<int>{menu_refused_sound});

    // The key an action already has is taken again without complaint.
    start_wait(menu, 4);
    clear_sounds();
    press(menu, KEY_SPACE);
    EXPECT_EQ(menu.waiting, 0);
    EXPECT_EQ(bindings(), default_bindings);
    EXPECT_TRUE(sounds_played().empty());
}

TEST_F(keyconfig_test, every_key_reads_up_after_a_key_is_taken_or_refused)
{
    for (int chosen : {KEY_Z, KEY_M}) { // taken, then refused (the music key)
        keyconfig_menu menu = start_keyconfig_menu();
        start_wait(menu, 1);
        for (int s = 1; s <= 126; s++)
            key[s] = 1;
        key[KEY_ENTER] = 0;
        // Only the chosen key and keys the wait never takes stay down before this tick.
        for (int s = 1; s < KEY_F1; s++)
            if (s != chosen)
                key[s] = 0;
        keyconfig_menu_tick(menu);
        EXPECT_EQ(menu.waiting, 0);
        for (int s = 1; s <= 126; s++)
            ASSERT_EQ(key[s], 0) << s;
    }
    EXPECT_EQ(the_player.key_down, KEY_Z);
}

TEST_F(keyconfig_test, the_lowest_numbered_eligible_key_wins)
{
    keyconfig_menu menu = start_keyconfig_menu();
    start_wait(menu, 3);
    key[KEY_F5] = 1;
    key[KEY_T] = 1;
    key[KEY_SPACE] = 1; // bound elsewhere, but scanned after T
    key[KEY_C] = 1;
    keyconfig_menu_tick(menu);
    EXPECT_EQ(the_player.key_right, KEY_C);
    EXPECT_EQ(sounds_played(), std::vector<int>{menu_select_sound}); // only the one that began the wait
}

TEST_F(keyconfig_test, keys_above_the_keypad_delete_are_never_taken)
{
    keyconfig_menu menu = start_keyconfig_menu();
    start_wait(menu, 2);
    for (int s : {KEY_ENTER_PAD, KEY_LSHIFT, KEY_LCONTROL, KEY_ALT, KEY_PAUSE}) {
        press(menu, s);
        EXPECT_EQ(menu.waiting, -1) << s;
    }
    press(menu, KEY_DEL_PAD);
    EXPECT_EQ(menu.waiting, 0);
    EXPECT_EQ(the_player.key_left, KEY_DEL_PAD);
}

struct label_case {
    int scancode;
    int upper;
    const char *label;
};

TEST_F(keyconfig_test, key_labels_follow_the_table)
{
    const label_case cases[] = {
        {KEY_A, -1, "A"},         {KEY_A, 0, "a"},          {KEY_Z, 1, "Z"},
        {KEY_Z, 0, "z"},          {KEY_M, -1, "M"},         {KEY_0, -1, "0"},
        {KEY_9, 0, "9"},          {KEY_0_PAD, -1, "KEY PAD 0"}, {KEY_9_PAD, 0, "KEY PAD 9"},
        {0, -1, "ERROR"},         {KEY_F1, -1, "ERROR"},    {KEY_F12, -1, "ERROR"},
        {KEY_ESC, -1, "ERROR"},   {92, -1, "ERROR"},        {KEY_PAUSE, -1, "ERROR"},
        {KEY_MAX, -1, "ERROR"},   {-1, -1, "ERROR"},        {-100000, 0, "ERROR"},
        {1000000, -1, "ERROR"},
        {60, -1, "~"},            {61, -1, "-"},            {62, -1, "="},
        {63, -1, "BACKSPACE"},    {64, -1, "TAB"},          {65, -1, "["},
        {66, -1, "]"},            {67, -1, "ENTER"},        {68, -1, ";"},
        {69, -1, "'"},            {70, -1, "\\"},           {71, -1, "\\"},
        {72, -1, ","},            {73, -1, "."},            {74, -1, "/"},
        {75, -1, "SPACE"},        {76, -1, "INSERT"},       {77, -1, "DELETE"},
        {78, -1, "HOME"},         {79, -1, "END"},          {80, -1, "PAGE UP"},
        {81, -1, "PAGE DOWN"},    {82, -1, "LEFT"},         {83, -1, "RIGHT"},
        {84, -1, "UP"},           {85, -1, "DOWN"},         {86, -1, "KEY PAD /"},
        {87, -1, "*"},            {88, 0, "KEY PAD -"},     {89, -1, "KEY PAD +"},
        {90, -1, "KEY PAD DEL"},  {91, -1, "KEY PAD ENTER"},
    };
    for (const label_case &c : cases) {
        const char *label = get_char(c.scancode, c.upper);
        ASSERT_NE(label, nullptr) << c.scancode;
        EXPECT_STREQ(label, c.label) << c.scancode;
    }
    // Every code up to keypad Enter has a label; only the letters depend on the case.
    for (int s = 0; s <= KEY_ENTER_PAD; s++) {
        ASSERT_NE(get_char(s, 0), nullptr) << s;
        if (s < KEY_A || s > KEY_Z) {
            EXPECT_STREQ(get_char(s, 0), get_char(s, -1)) << s;
        }
    }
}

TEST_F(keyconfig_test, the_screen_shows_each_binding_by_name_beside_its_label)
{
    the_player.key_save = 200; // from a damaged save file
    the_player.key_music = KEY_ENTER_PAD;
    the_player.key_action = KEY_Q;
    keyconfig_menu menu = start_keyconfig_menu();
    // Item 7: on Back the version line, drawn last, covers the cursor's foot.
    menu.item = 7;
    draw_keyconfig_menu(menu);
    FONT *names = static_cast<FONT *>(d_system[12].dat);
    const int black = makecol(0, 0, 0);
    const char *expected[] = {"UP", "DOWN", "LEFT", "RIGHT", "Q", "R", "KEY PAD ENTER", "ERROR"};
    for (int i = 0; i < 8; i++)
        EXPECT_TRUE(text_drawn_at(names, expected[i], 200, 180 + 32 * i, black)) << expected[i];
    EXPECT_TRUE(image_drawn_at(system_bitmap(14), 0, 100));
    EXPECT_TRUE(image_drawn_at(system_bitmap(13), 100, 180));
    EXPECT_TRUE(image_drawn_at(system_bitmap(4), 68, 404));
    // The names fit between the labels and the right edge.
    for (int i = 0; i < 8; i++)
        EXPECT_LE(200 + text_length(names, expected[i]), 640);
    EXPECT_LE(100 + system_bitmap(13)->w, 200);
}

TEST_F(keyconfig_test, the_cursor_on_back_leaves_the_version_text_clear)
{
    // The cursor stands on Back (y 436); the version text at (0, 460) shows nothing of it.
    keyconfig_menu menu = start_keyconfig_menu();
    menu.item = keyconfig_back;
    draw_keyconfig_menu(menu);
    EXPECT_TRUE(image_drawn_at(system_bitmap(4), menu_cursor_x, 436));
    EXPECT_EQ(pixels_showing_entry(4, [&] { draw_keyconfig_menu(menu); }, 0, 460,
                                   text_length(font, "Version 1.02"), 460 + text_height(font)),
              0);
}

TEST_F(keyconfig_test, the_screen_looks_the_same_while_a_key_is_awaited)
{
    keyconfig_menu menu = start_keyconfig_menu();
    menu.item = 2;
    draw_keyconfig_menu(menu);
    BITMAP *before = create_bitmap(640, 480);
    blit(buffer, before, 0, 0, 0, 0, 640, 480);
    menu.waiting = -1;
    draw_keyconfig_menu(menu);
    int differing = 0;
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++)
            differing += getpixel(before, x, y) != getpixel(buffer, x, y);
    destroy_bitmap(before);
    EXPECT_EQ(differing, 0);
}

} // namespace
