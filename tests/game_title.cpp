// Title menu and menu frame, driven tick by tick: cursor rules, the select latch, the confirmation box, scrolling, new game.
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>
#include "datafiles.h"
#include "game_story_timer.h"
#include "do_drawing.h"
#include "do_logic.h"
#include "headless.h"
#include "level_set_screen.h"
#include "map.h"
#include "map_file.h"
#include "menu_frame.h"
#include "message.h"
#include "player.h"
#include "show_map_name.h"
#include "timer.h"
#include "title_screen.h"
#include "drawn_at.h"

namespace {

int load_screen_calls = 0;
int load_screen_result = 0;
int tutorial_screen_calls = 0;
int tutorial_screen_result = 0;
int options_screen_calls = 0;

// Screens the title opens, standing in for the real ones so that their outcome can be chosen.
int fake_load_screen()
{
    load_screen_calls++;
    return load_screen_result;
}

int fake_tutorial_screen()
{
    tutorial_screen_calls++;
    return tutorial_screen_result;
}

void fake_options_screen()
{
    options_screen_calls++;
    speed_counter = 25; // ticks owed while the options were open
}

// What start-up prepares once the data files are loaded: the message box, the map's
// animation constants and the banner font.
void prepare_game_objects()
{
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    story_test_timer::install_silent_timer();
    the_message.initialize();
    the_map.initialize();
    map_name_pre_init();
}

void release_all_keys()
{
    for (int i = 0; i < KEY_MAX; i++)
        key[i] = 0;
}

class title_test : public ::testing::Test {
protected:
    void SetUp() override
    {
        prepare_game_objects();
        release_all_keys();
        game_in_progress = 0;
        key_enter_pressed = 0;
        background_scroll = 0;
        title_text_scroll = 640;
        the_player = player();
        the_player.init_sprites();
        the_message.deactivate();
        std::strcpy(loader_directory, loader_directory_hardcopy);
        std::strcpy(first_level, first_level_hardcopy);
        load_screen_calls = tutorial_screen_calls = options_screen_calls = 0;
        load_screen_result = tutorial_screen_result = 0;
        saved_load_screen = title_load_game_screen;
        saved_tutorial_screen = title_tutorial_screen;
        saved_options_screen = title_options_screen;
        title_load_game_screen = fake_load_screen;
        title_tutorial_screen = fake_tutorial_screen;
        title_options_screen = fake_options_screen;
    }
    void TearDown() override
    {
        release_all_keys();
        title_load_game_screen = saved_load_screen;
        title_tutorial_screen = saved_tutorial_screen;
        title_options_screen = saved_options_screen;
    }

    int (*saved_load_screen)() = nullptr;
    int (*saved_tutorial_screen)() = nullptr;
    void (*saved_options_screen)() = nullptr;

    // One press of a key: a tick with it down, then a tick with it up.
    void press(title_menu &menu, int scancode)
    {
        key[scancode] = 1;
        title_menu_tick(menu);
        key[scancode] = 0;
        title_menu_tick(menu);
    }
};

struct cursor_case {
    int in_progress;
    int start;
    int key_code;
    std::vector<int> visited; // the item after each press
};

TEST_F(title_test, cursor_moves_by_the_rules_of_each_menu)
{
    const cursor_case cases[] = {
        {0, 1, KEY_DOWN, {2, 3, 4, 5, 1, 2}},
        {0, 1, KEY_UP, {5, 4, 3, 2, 1, 5}},
        {-1, 0, KEY_DOWN, {1, 2, 3, 4, 5, 0, 1}},
        {-1, 0, KEY_UP, {5, 4, 3, 2, 1, 0, 5}},
    };
    for (const cursor_case &c : cases) {
        game_in_progress = c.in_progress;
        title_menu menu = start_title_menu();
        EXPECT_EQ(menu.item, c.start);
        for (int expected : c.visited) {
            press(menu, c.key_code);
            EXPECT_EQ(menu.item, expected) << "in progress " << c.in_progress << " key " << c.key_code;
        }
        EXPECT_EQ(menu.leave, 0);
    }
}

TEST_F(title_test, a_held_arrow_moves_the_cursor_once)
{
    title_menu menu = start_title_menu();
    key[KEY_DOWN] = 1;
    for (int i = 0; i < 30; i++)
        title_menu_tick(menu);
    EXPECT_EQ(menu.item, 2);
}

TEST_F(title_test, a_held_select_key_from_the_last_screen_selects_nothing_until_both_are_released)
{
    game_in_progress = -1;
    title_menu menu = start_title_menu();
    press(menu, KEY_DOWN);
    ASSERT_EQ(menu.item, title_continue);

    key_enter_pressed = -1;
    key[KEY_ENTER] = 1;
    key[the_player.key_action] = 1;
    for (int i = 0; i < 5; i++)
        title_menu_tick(menu);
    key[KEY_ENTER] = 0; // the action key alone still holds the latch
    for (int i = 0; i < 5; i++)
        title_menu_tick(menu);
    EXPECT_EQ(menu.leave, 0);
    EXPECT_EQ(key_enter_pressed, -1);

    key[the_player.key_action] = 0;
    title_menu_tick(menu);
    EXPECT_EQ(key_enter_pressed, 0);
    key[the_player.key_action] = 1;
    title_menu_tick(menu);
    EXPECT_EQ(menu.leave, -1);
    EXPECT_EQ(game_in_progress, -1);
    // Continue swallows the press so that Pim does not act on it in play.
    EXPECT_EQ(key[the_player.key_action], 0);
}

TEST_F(title_test, an_action_key_outside_the_key_array_is_never_down)
{
    // A binding read from a damaged save file.
    for (int binding : {-5, static_cast<int>(KEY_MAX), 1 << 20}) {
        game_in_progress = -1;
        the_player.key_action = binding;
        title_menu menu = start_title_menu();
        press(menu, KEY_DOWN);
        title_menu_tick(menu);
        EXPECT_EQ(menu.leave, 0);
        press(menu, KEY_ENTER);
        EXPECT_EQ(menu.leave, -1) << binding;
    }
}

TEST_F(title_test, the_action_key_opens_the_box_but_only_enter_confirms_it)
{
    game_in_progress = -1;
    title_menu menu = start_title_menu();
    menu.item = title_load_game;
    press(menu, KEY_SPACE);
    ASSERT_EQ(menu.confirm_open, -1);
    EXPECT_EQ(menu.answer, 0);

    press(menu, KEY_RIGHT);
    EXPECT_EQ(menu.answer, 1);
    // Up and Down are not read while the box is open.
    press(menu, KEY_DOWN);
    EXPECT_EQ(menu.item, title_load_game);

    press(menu, KEY_SPACE);
    press(menu, KEY_SPACE);
    EXPECT_EQ(menu.confirm_open, -1);
    EXPECT_EQ(load_screen_calls, 0);

    std::strcpy(loader_directory, "data/levels/elsewhere/");
    std::strcpy(first_level, "other.map");
    press(menu, KEY_ENTER);
    EXPECT_EQ(menu.confirm_open, 0);
    EXPECT_EQ(load_screen_calls, 1);
    // The load screen was left without a game: the game is lost, the built-in set is back.
    EXPECT_EQ(game_in_progress, 0);
    EXPECT_EQ(menu.leave, 0);
    EXPECT_STREQ(loader_directory, loader_directory_hardcopy);
    EXPECT_STREQ(first_level, first_level_hardcopy);
    EXPECT_EQ(the_map.background, 1);
    EXPECT_EQ(the_map.x_velocity, 1);
}

TEST_F(title_test, no_closes_the_box_and_keeps_the_game)
{
    game_in_progress = -1;
    title_menu menu = start_title_menu();
    menu.item = title_tutorial;
    press(menu, KEY_ENTER);
    ASSERT_EQ(menu.confirm_open, -1);
    press(menu, KEY_LEFT);
    press(menu, KEY_LEFT); // back to "No"
    press(menu, KEY_ENTER);
    EXPECT_EQ(menu.confirm_open, 0);
    EXPECT_EQ(tutorial_screen_calls, 0);
    EXPECT_EQ(game_in_progress, -1);
    EXPECT_EQ(menu.leave, 0);
}

TEST_F(title_test, the_box_keeps_its_last_answer_within_a_call)
{
    game_in_progress = -1;
    load_screen_result = -1;
    title_menu menu = start_title_menu();
    menu.item = title_load_game;
    press(menu, KEY_ENTER);
    press(menu, KEY_RIGHT);
    press(menu, KEY_ENTER);
    ASSERT_EQ(load_screen_calls, 1);
    EXPECT_EQ(menu.leave, -1);
    EXPECT_EQ(game_in_progress, -1);

    press(menu, KEY_ENTER);
    ASSERT_EQ(menu.confirm_open, -1);
    EXPECT_EQ(menu.answer, 1);
    EXPECT_EQ(start_title_menu().answer, 0);
}

TEST_F(title_test, a_tutorial_left_through_back_after_the_box_loses_the_game)
{
    game_in_progress = -1;
    tutorial_screen_result = 0;
    title_menu menu = start_title_menu();
    menu.item = title_tutorial;
    press(menu, KEY_ENTER);
    press(menu, KEY_LEFT);
    press(menu, KEY_ENTER);
    EXPECT_EQ(tutorial_screen_calls, 1);
    EXPECT_EQ(game_in_progress, 0);
    EXPECT_EQ(menu.leave, 0);
    EXPECT_EQ(menu.item, title_tutorial);
    // The menu now has no Continue: New Game is item 1 and item 0 cannot be reached.
    press(menu, KEY_UP);
    press(menu, KEY_UP);
    press(menu, KEY_UP);
    EXPECT_EQ(menu.item, 5);
}

TEST_F(title_test, a_tutorial_started_without_a_game_leaves_the_menu)
{
    tutorial_screen_result = -1;
    title_menu menu = start_title_menu();
    menu.item = title_tutorial;
    press(menu, KEY_ENTER);
    EXPECT_EQ(tutorial_screen_calls, 1);
    EXPECT_EQ(menu.confirm_open, 0);
    EXPECT_EQ(menu.leave, -1);
}

TEST_F(title_test, a_loaded_game_leaves_the_menu_in_progress)
{
    load_screen_result = -1;
    title_menu menu = start_title_menu();
    menu.item = title_load_game;
    press(menu, KEY_ENTER);
    EXPECT_EQ(load_screen_calls, 1);
    EXPECT_EQ(menu.leave, -1);
    EXPECT_EQ(game_in_progress, -1);
}

TEST_F(title_test, options_opens_its_screen_and_the_menu_drops_the_ticks_owed_meanwhile)
{
    title_menu menu = start_title_menu();
    menu.item = title_options;
    key[KEY_ENTER] = 1;
    title_menu_tick(menu);
    EXPECT_EQ(options_screen_calls, 1);
    EXPECT_EQ(speed_counter, 0);
    EXPECT_EQ(menu.leave, 0) << "back in the title menu";
    key[KEY_ENTER] = 0;
    title_menu_tick(menu);
    EXPECT_EQ(options_screen_calls, 1);
}

TEST_F(title_test, the_scroller_text_has_its_five_segments_and_blanks)
{
    const std::string text = title_scroller_text;
    ASSERT_EQ(text.size(), 270u);
    EXPECT_EQ(text_length(font, title_scroller_text), 2160);
    // Split into the non-blank segments and the runs of blanks after each.
    std::vector<std::string> segments;
    std::vector<int> blanks;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t gap = text.find("  ", i);
        segments.push_back(text.substr(i, gap - i));
        std::size_t next = text.find_first_not_of(' ', gap);
        if (next == std::string::npos)
            next = text.size();
        blanks.push_back(static_cast<int>(next - gap));
        i = next;
    }
    ASSERT_EQ(segments.size(), 5u);
    EXPECT_EQ(blanks, (std::vector<int>{21, 20, 20, 20, 40}));
    EXPECT_NE(segments[0].find("Pim's Slumberia"), std::string::npos);
    EXPECT_NE(segments[0].find("1.02"), std::string::npos);
    EXPECT_NE(segments[4].find('@'), std::string::npos);
}

TEST_F(title_test, the_scroller_restarts_on_the_tick_it_reaches_minus_its_width)
{
    title_text_scroll = -2158;
    menu_frame_tick();
    EXPECT_EQ(title_text_scroll, -2159);
    menu_frame_tick();
    EXPECT_EQ(title_text_scroll, 640);

    // One whole pass from the right edge takes 2800 ticks.
    int ticks = 0;
    do {
        menu_frame_tick();
        ticks++;
    } while (title_text_scroll != 640 && ticks < 5000);
    EXPECT_EQ(ticks, 2800);
}

TEST_F(title_test, the_backdrop_wraps_from_641_to_1_and_is_drawn_shifted)
{
    background_scroll = 639;
    menu_frame_tick();
    EXPECT_EQ(background_scroll, 640);
    menu_frame_tick();
    EXPECT_EQ(background_scroll, 1);

    BITMAP *backdrop = static_cast<BITMAP *>(d_backgrounds[1].dat);
    background_scroll = 100;
    draw_menu_frame_back(nullptr, 0, 0);
    for (int y : {200, 300, 400}) {
        EXPECT_EQ(getpixel(buffer, 0, y), getpixel(backdrop, 540, y));
        EXPECT_EQ(getpixel(buffer, 99, y), getpixel(backdrop, 639, y));
        EXPECT_EQ(getpixel(buffer, 100, y), getpixel(backdrop, 0, y));
        EXPECT_EQ(getpixel(buffer, 639, y), getpixel(backdrop, 539, y));
    }
}

TEST_F(title_test, the_menu_shows_the_labels_and_cursor_of_its_state)
{
    title_menu menu = start_title_menu();
    draw_title_menu(menu);
    EXPECT_TRUE(image_drawn_at(system_bitmap(37), 100, 200));
    EXPECT_TRUE(image_drawn_at(system_bitmap(4), 68, 200));
    EXPECT_TRUE(text_drawn_at(font, "Version 1.02", 0, 460, makecol(0, 0, 0)));

    game_in_progress = -1;
    menu = start_title_menu();
    menu.item = 3;
    draw_title_menu(menu);
    EXPECT_TRUE(image_drawn_at(system_bitmap(38), 100, 168));
    EXPECT_TRUE(image_drawn_at(system_bitmap(4), 68, 264));
}

TEST_F(title_test, nothing_of_the_labels_shows_beside_the_box)
{
    game_in_progress = -1;
    title_menu menu = start_title_menu();
    menu.item = title_load_game;
    menu.confirm_open = -1;
    EXPECT_EQ(pixels_showing_entry(38, [&] { draw_title_menu(menu); }, 0, 0, 640, 480), 0);
}

TEST_F(title_test, the_box_is_drawn_framed_with_the_highlighted_answer)
{
    game_in_progress = -1;
    title_menu menu = start_title_menu();
    menu.item = title_load_game;
    menu.confirm_open = -1;
    for (int answer : {0, 1}) {
        menu.answer = answer;
        draw_title_menu(menu);
        EXPECT_EQ(getpixel(buffer, 121, 338), makecol(141, 147, 197));
        EXPECT_EQ(getpixel(buffer, 518, 142), makecol(141, 147, 197));
        BITMAP *lit = system_bitmap(2);
        BITMAP *plain = system_bitmap(1);
        const int yes_x = 320 - 100 - lit->w / 2;
        const int no_x = 320 + 100 - lit->w / 2;
        // A pixel left of the label, where the two button images differ, shows which is lit.
        const int px = lit->w / 8;
        const int py = lit->h / 2;
        ASSERT_NE(getpixel(lit, px, py), getpixel(plain, px, py));
        EXPECT_EQ(getpixel(buffer, yes_x + px, 290 + py), getpixel(answer ? lit : plain, px, py));
        EXPECT_EQ(getpixel(buffer, no_x + px, 290 + py), getpixel(answer ? plain : lit, px, py));
        FONT *box_font = static_cast<FONT *>(d_system[8].dat);
        EXPECT_TRUE(text_drawn_at(box_font, "Are you sure?",
                                  320 - text_length(box_font, "Are you sure?") / 2,
                                  140 + 2 * text_height(box_font) + 10, makecol(255, 255, 255)));
        // The top-left corner piece sits just outside the box.
        BITMAP *corner = system_bitmap(24);
        EXPECT_TRUE(image_drawn_at(corner, 120 - corner->w, 140 - corner->h));
    }
}

// A one-map level set in dir, whose map is called name.
void write_test_map(const std::string &dir, const char *file, const char *name)
{
    map_file contents;
    std::strcpy(contents.name, name);
    std::strcpy(contents.file_name, file);
    std::strcpy(contents.next_map, "end");
    for (int x = 0; x < map_width; x++)
        for (int y = 0; y < map_height; y++) {
            contents.block_layer[x][y] = y == map_height - 1 ? 0 : -1;
            contents.trans_layer[x][y] = -1;
        }
    contents.start_x = 2;
    contents.start_y = 13;
    contents.exit_x = 17;
    contents.exit_y = 13;
    contents.background = 1;
    ASSERT_EQ(write_map_file((dir + "/" + file).c_str(), contents), -1);
}

// Runs the New Game action with Escape held, so that the introduction ends in its first tick.
void start_new_game(title_menu &menu)
{
    key[KEY_ESC] = 1;
    speed_counter = 1;
    title_start_new_game(menu);
    key[KEY_ESC] = 0;
}

TEST_F(title_test, new_game_with_another_set_starts_that_sets_first_map)
{
    const std::string dir = make_temp_dir("title_set");
    write_test_map(dir, "first.map", "Other Start");
    std::strcpy(loader_directory, (dir + "/").c_str());
    std::strcpy(first_level, "first.map");
    the_player.blocks_created = 4;
    the_player.blocks_destroyed = 3;
    the_player.time_ticks = 9;
    the_player.time_seconds = 8;
    the_player.time_minutes = 7;
    the_player.time_hours = 6;
    the_player.steps_taken = 5;
    the_player.restarts = 2;
    the_player.walking = -1;
    the_player.step = 12;
    the_message.set("left over", 0, 0, 0, -1);

    title_menu menu = start_title_menu();
    start_new_game(menu);

    EXPECT_EQ(menu.leave, -1);
    EXPECT_EQ(game_in_progress, -1);
    EXPECT_EQ(key_esc_down, -1);
    EXPECT_STREQ(loader_directory, (dir + "/").c_str());
    EXPECT_STREQ(the_map.name, "Other Start");
    EXPECT_EQ(map_name_showing(), -1);
    EXPECT_EQ(the_message.active_state(), 0);
    const int stats[] = {the_player.blocks_created, the_player.blocks_destroyed, the_player.time_ticks,
                         the_player.time_seconds,   the_player.time_minutes,     the_player.time_hours,
                         the_player.steps_taken,    the_player.restarts};
    for (int value : stats)
        EXPECT_EQ(value, 0);
    EXPECT_EQ(the_player.walking, 0);
    EXPECT_EQ(the_player.step, 0);
    EXPECT_EQ(the_player.x, 2 * 32);
    EXPECT_EQ(the_player.y, 13 * 32);
}

TEST_F(title_test, new_game_in_the_built_in_set_starts_from_its_first_map)
{
    // A private tree holding the built-in set's directory, so the shipped levels are not needed.
    const std::string root = make_temp_dir("title_builtin");
    const std::string set_dir = root + "/" + loader_directory_hardcopy;
    ASSERT_EQ(system(("mkdir -p '" + set_dir + "'").c_str()), 0);
    write_test_map(set_dir, first_level_hardcopy, "Built-in Start");
    char here[512];
    ASSERT_NE(getcwd(here, sizeof(here)), nullptr);
    ASSERT_EQ(chdir(root.c_str()), 0);

    // A map later in the set was the last one played: a new game starts again from the first.
    std::strcpy(first_level, "level7.map");
    title_menu menu = start_title_menu();
    start_new_game(menu);
    ASSERT_EQ(chdir(here), 0);

    EXPECT_STREQ(loader_directory, loader_directory_hardcopy);
    EXPECT_STREQ(first_level, first_level_hardcopy);
    EXPECT_STREQ(the_map.name, "Built-in Start");
    EXPECT_EQ(map_name_showing(), -1);
    EXPECT_EQ(game_in_progress, -1);
}

TEST_F(title_test, escape_in_play_opens_the_title_once_and_only_with_controls)
{
    // With controls off (a fade or the exit), escape does not open the menu.
    the_player.controls = 0;
    key_esc_down = 0;
    key[KEY_ESC] = 1;
    process_keys();
    EXPECT_EQ(key_esc_down, 0);
    key[KEY_ESC] = 0;
    process_keys();
    EXPECT_EQ(key_esc_down, 0);
    // A press already taken by another screen is not taken again.
    the_player.controls = -1;
    key_esc_down = -1;
    key[KEY_ESC] = 1;
    process_keys();
    EXPECT_EQ(key_esc_down, -1);
    key[KEY_ESC] = 0;
    process_keys();
    EXPECT_EQ(key_esc_down, 0);
}

} // namespace
