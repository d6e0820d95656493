// Tutorial menu and its wiring: the title's Tutorial item, starting a lesson, the lesson check in the logic step, save and restart held off, New Game and Load after a lesson, and Pim's lesson rules.
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <allegro.h>
#include <algorithm>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>
#include "auto_script.h"
#include "case_names.h"
#include "do_logic.h"
#include "headless.h"
#include "game_player_fixture.h"
#include "game_story_timer.h"
#include "level_set_screen.h"
#include "map.h"
#include "menu_frame.h"
#include "message.h"
#include "player.h"
#include "show_map_name.h"
#include "timer.h"
#include "title_screen.h"
#include "tutorial.h"
#include "tutorial_screen.h"
#include "ticking.h"

namespace {

const int sound_teleport_in = 3;
const char *const lesson_maps[4] = {"lesson1.map", "lesson2.map", "lesson3.map", "lesson4.map"};

int load_screen_calls = 0;
int load_screen_result = 0;

int fake_load_screen()
{
    load_screen_calls++;
    return load_screen_result;
}

class tutorial_test : public player_test::player_test_base {
protected:
    void SetUp() override
    {
        story_test_timer::install_silent_timer();
        player_test::player_test_base::SetUp();
        static bool prepared = false;
        if (!prepared) {
            prepared = true;
            the_message.initialize();
        }
        the_message.deactivate();
        game_in_progress = 0;
        key_enter_pressed = 0;
        key_esc_down = 0;
        tutorial_number = -1;
        tutorial_switch = 0;
        std::strcpy(loader_directory, loader_directory_hardcopy);
        std::strcpy(first_level, first_level_hardcopy);
        load_screen_calls = 0;
        load_screen_result = 0;
        saved_load_screen = title_load_game_screen;
        title_load_game_screen = fake_load_screen;
    }
    void TearDown() override
    {
        title_load_game_screen = saved_load_screen;
        player_test::release_all_keys();
        tutorial_number = -1;
        tutorial_switch = 0;
        do_play_script = 0;
        std::strcpy(loader_directory, loader_directory_hardcopy);
        std::strcpy(first_level, first_level_hardcopy);
        speed_counter = 0;
    }

    // One press of a key in the tutorial menu: a tick with it down, then a tick with it up.
    void press(tutorial_menu &menu, int scancode)
    {
        key[scancode] = -1;
        tutorial_menu_tick(menu);
        key[scancode] = 0;
        if (!menu.leave)
            tutorial_menu_tick(menu);
    }

    int (*saved_load_screen)() = nullptr;
};

// The user's Enter key while the tutorial menu waits for ticks: once the title has taken the press
// that chose Tutorial, Enter is let go, and once the menu has seen it up, Enter is pressed again.
std::function<void()> enter_again()
{
    auto phase = std::make_shared<int>(0);
    return [phase] {
        if (*phase == 0 && key_enter_pressed) {
            key[KEY_ENTER] = 0;
            *phase = 1;
        } else if (*phase == 1 && !key_enter_pressed) {
            key[KEY_ENTER] = -1;
            *phase = 2;
        }
    };
}

// ---- The menu

struct cursor_case {
    int key_code;
    std::vector<int> visited; // the item after each press, from lesson 1
};

TEST_F(tutorial_test, the_cursor_wraps_between_lesson_1_and_back_with_the_move_sound)
{
    const cursor_case cases[] = {
        {KEY_UP, {tutorial_back, tutorial_lesson_4, tutorial_lesson_3, tutorial_lesson_2, tutorial_lesson_1,
                  tutorial_back}},
        {KEY_DOWN, {tutorial_lesson_2, tutorial_lesson_3, tutorial_lesson_4, tutorial_back, tutorial_lesson_1}},
    };
    for (const cursor_case &c : cases) {
        tutorial_menu menu = start_tutorial_menu();
        ASSERT_EQ(menu.item, tutorial_lesson_1);
        player_test::clear_sounds();
        std::vector<int> visited;
        for (size_t i = 0; i < c.visited.size(); i++) {
            press(menu, c.key_code);
            visited.push_back(menu.item);
        }
        EXPECT_EQ(visited, c.visited);
        EXPECT_EQ(player_test::sounds_played(), std::vector<int>(c.visited.size(), menu_move_sound));
        EXPECT_EQ(menu.leave, 0);
    }
}

TEST_F(tutorial_test, back_returns_0_with_the_select_sound_and_changes_nothing)
{
    tutorial_menu menu = start_tutorial_menu();
    press(menu, KEY_UP);
    ASSERT_EQ(menu.item, tutorial_back);
    player_test::clear_sounds();
    map_name_in_progress = -1;
    const int x = the_player.x;
    press(menu, KEY_ENTER);
    EXPECT_EQ(menu.leave, -1);
    EXPECT_EQ(menu.result, 0);
    EXPECT_EQ(player_test::sounds_played(), std::vector<int>{menu_select_sound});
    EXPECT_EQ(tutorial_number, -1);
    EXPECT_EQ(tutorial_switch, 0);
    EXPECT_STREQ(loader_directory, loader_directory_hardcopy);
    EXPECT_STREQ(first_level, first_level_hardcopy);
    EXPECT_EQ(map_name_in_progress, -1);
    EXPECT_EQ(the_player.x, x);

    // The modal screen returns the same at once: in its first tick Up moves to back and Enter,
    // read after the cursor keys, selects it.
    key[KEY_UP] = -1;
    key[KEY_ENTER] = -1;
    key_enter_pressed = 0;
    speed_counter = 2;
    EXPECT_EQ(tutorial_screen(), 0);
}

TEST_F(tutorial_test, a_lesson_loads_its_map_from_the_tutorial_directory_and_starts_its_script)
{
    for (int lesson = 1; lesson <= 4; lesson++) {
        SCOPED_TRACE(lesson);
        player_test::reset_world();
        tutorial_number = -1;
        tutorial_switch = 0;
        std::strcpy(loader_directory, loader_directory_hardcopy);
        std::strcpy(the_map.name, "The Game Before");
        map_name_init();
        ASSERT_EQ(map_name_showing(), -1) << "a banner from the game before is still running";
        the_message.set("left over", 0, 0, 0, -1);
        // Pim faced left in the game before.
        the_player.facing = 1;

        tutorial_menu menu = start_tutorial_menu();
        for (int i = 1; i < lesson; i++)
            press(menu, KEY_DOWN);
        key_enter_pressed = 0;
        player_test::clear_sounds();
        press(menu, KEY_SPACE); // the action key selects as Enter does
        EXPECT_EQ(menu.leave, -1);
        EXPECT_EQ(menu.result, -1);
        EXPECT_EQ(player_test::sounds_played(), std::vector<int>{menu_select_sound})
            << "the select sound, and no arrival sound";

        EXPECT_STREQ(loader_directory, "data/levels/tutorial/");
        EXPECT_STREQ(first_level, lesson_maps[lesson - 1]);
        EXPECT_STREQ(the_map.file_name, lesson_maps[lesson - 1]);
        EXPECT_EQ(tutorial_number, lesson);
        EXPECT_EQ(tutorial_switch, 1);
        EXPECT_EQ(map_name_in_progress, 0);
        EXPECT_EQ(map_name_showing(), 0);
        EXPECT_EQ(the_message.active_state(), 0);
        EXPECT_EQ(the_player.x, the_map.start_x * 32);
        EXPECT_EQ(the_player.y, the_map.start_y * 32);
        EXPECT_EQ(the_player.facing, 0);
        EXPECT_EQ(the_player.teleport_in, -1) << "Pim arrives";
    }
}

// The lesson maps are editor files: the editor's line count, their own name on line 2 (a fall
// reloads the map by it), tiles the editor offers, Pim's start and the exit in open cells.
TEST_F(tutorial_test, the_lesson_maps_are_well_formed_editor_files)
{
    for (int lesson = 1; lesson <= 4; lesson++) {
        SCOPED_TRACE(lesson);
        const std::string text = read_text_file(std::string(tutorial_location) + lesson_maps[lesson - 1]);
        ASSERT_FALSE(text.empty());
        player_test::use_level_directory(tutorial_location);
        char file[256];
        std::strcpy(file, lesson_maps[lesson - 1]);
        the_map.load_map(file);
        const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
        EXPECT_EQ(lines, 611 + 4 * static_cast<int>(the_map.teleports.size()));
        EXPECT_STREQ(the_map.file_name, lesson_maps[lesson - 1]);
        EXPECT_GT(std::strlen(the_map.name), 0u);
        EXPECT_GE(the_map.background, 0);
        EXPECT_LE(the_map.background, 6);
        for (int x = 0; x < map_width; x++)
            for (int y = 0; y < map_height; y++) {
                EXPECT_LT(the_map.block_layer[x][y], 59) << "cell (" << x << ", " << y << ")";
                EXPECT_GE(the_map.block_layer[x][y], tunnel_v) << "cell (" << x << ", " << y << ")";
                EXPECT_LT(the_map.trans_layer[x][y], 59) << "cell (" << x << ", " << y << ")";
                EXPECT_GE(the_map.trans_layer[x][y], -1) << "cell (" << x << ", " << y << ")";
            }
        EXPECT_EQ(the_map.block_layer[the_map.start_x][the_map.start_y], empty_cell);
        EXPECT_EQ(the_map.block_layer[the_map.exit_x / 32][the_map.exit_y / 32], empty_cell);
    }
}

TEST_F(tutorial_test, the_title_tutorial_item_opens_the_menu_and_a_chosen_lesson_resumes_play)
{
    ASSERT_EQ(title_tutorial_screen, tutorial_screen);
    title_menu menu = start_title_menu();
    key[KEY_DOWN] = -1;
    title_menu_tick(menu);
    key[KEY_DOWN] = 0;
    title_menu_tick(menu);
    key[KEY_DOWN] = -1;
    title_menu_tick(menu);
    key[KEY_DOWN] = 0;
    title_menu_tick(menu);
    ASSERT_EQ(menu.item, title_tutorial);

    // The press that chose Tutorial is still held as the menu opens: it must be let go and pressed
    // again before the menu's first item, lesson 1, is taken.
    key[KEY_ENTER] = -1;
    {
        ticking timer(enter_again());
        title_menu_tick(menu);
    }
    EXPECT_EQ(menu.leave, -1) << "play resumes in the lesson";
    EXPECT_EQ(tutorial_number, 1);
    EXPECT_EQ(tutorial_switch, 1);
    EXPECT_STREQ(the_map.file_name, "lesson1.map");
    EXPECT_EQ(game_in_progress, 0);
}

// ---- The lesson check in the logic step

TEST_F(tutorial_test, the_logic_step_runs_the_running_lessons_check_first)
{
    const char *const first_texts[4] = {
        "Welcome to the Pim's Slumberia|Tutorial!|Hit space (default)|or enter to continue.",
        "In this tutorial we are going|to learn how to build blocks.|Building blocks is usually neccessary|in order to get me",
        "I bet you've been thinking you'll|always be able to build blocks|almost anywhere, right?",
        "In this tutorial we are going to|learn about special objects in|my slumberia which you will come|in contact with!",
    };
    for (int lesson = 1; lesson <= 4; lesson++) {
        SCOPED_TRACE(lesson);
        start_tutorial_lesson(lesson);
        do_logic();
        ASSERT_EQ(the_message.active_state(), -1);
        EXPECT_STREQ(the_message.text, first_texts[lesson - 1]);
        EXPECT_EQ(tutorial_switch, 2);
        the_message.deactivate();
    }

    // No lesson: no script runs, whatever the state says.
    for (int number : {-1, 0, 5}) {
        SCOPED_TRACE(number);
        tutorial_number = number;
        tutorial_switch = 1;
        do_logic();
        EXPECT_EQ(the_message.active_state(), 0);
        EXPECT_EQ(tutorial_switch, 1);
    }
}

TEST_F(tutorial_test, a_movie_that_a_lesson_loads_plays_its_first_tick_in_the_same_step)
{
    start_tutorial_lesson(3);
    tutorial_switch = 16;
    do_logic();
    EXPECT_EQ(tutorial_switch, 17);
    EXPECT_EQ(do_play_script, -1);
    EXPECT_EQ(script_time, 1) << "the check runs before playback";
    EXPECT_EQ(the_player.x, script_player_x);
    EXPECT_EQ(the_player.y, script_player_y);
}

// ---- Save and restart held off in a lesson

struct held_key_case {
    const char *label;
    int tutorial_number;
    bool acts;
};

void PrintTo(const held_key_case &c, std::ostream *out)
{
    *out << c.label;
}

class tutorial_global_keys : public tutorial_test, public ::testing::WithParamInterface<held_key_case> {};

TEST_P(tutorial_global_keys, the_restart_key_acts_only_outside_a_lesson)
{
    const held_key_case c = GetParam();
    tutorial_number = c.tutorial_number;
    the_player.controls = -1;
    player_test::clear_sounds();
    key[the_player.key_restart] = -1;
    process_keys();
    EXPECT_EQ(the_map.restart_pending, c.acts ? -1 : 0);
    EXPECT_EQ(the_map.restart_key_down, c.acts ? -1 : 0);
    EXPECT_EQ(the_player.teleport_out, c.acts ? -1 : 0);
    EXPECT_EQ(player_test::sounds_played().empty(), !c.acts);

    // Let go, the latch is free again in both cases.
    key[the_player.key_restart] = 0;
    process_keys();
    EXPECT_EQ(the_map.restart_key_down, 0);
}

TEST_P(tutorial_global_keys, the_save_key_opens_the_save_screen_only_outside_a_lesson)
{
    const held_key_case c = GetParam();
    tutorial_number = c.tutorial_number;
    // Escape is held but cannot open the title (no controls); the save screen, if it opens, takes
    // that press to close at once and so leaves its mark on the escape latch.
    the_player.controls = 0;
    key[KEY_ESC] = -1;
    key[the_player.key_save] = -1;
    speed_counter = 1;
    process_keys();
    EXPECT_EQ(key_esc_down, c.acts ? -1 : 0);
}

const held_key_case held_key_cases[] = {
    {"no_lesson", -1, true},
    {"number_0", 0, true},
    {"lesson_1", 1, false},
    {"lesson_2", 2, false},
    {"lesson_3", 3, false},
    {"lesson_4", 4, false},
};

INSTANTIATE_TEST_SUITE_P(cases, tutorial_global_keys, ::testing::ValuesIn(held_key_cases), label_name());

// ---- The title after a lesson

// Runs the New Game action with Escape held, so that the introduction ends in its first tick.
void start_new_game(title_menu &menu)
{
    key[KEY_ESC] = -1;
    speed_counter = 1;
    title_start_new_game(menu);
    key[KEY_ESC] = 0;
}

TEST_F(tutorial_test, new_game_after_a_lesson_starts_the_built_in_set_and_ends_the_lesson)
{
    for (int lesson = 1; lesson <= 4; lesson++) {
        SCOPED_TRACE(lesson);
        start_tutorial_lesson(lesson);
        tutorial_switch = 7;
        title_menu menu = start_title_menu();
        start_new_game(menu);
        EXPECT_EQ(tutorial_number, -1);
        EXPECT_EQ(tutorial_switch, 0);
        EXPECT_STREQ(loader_directory, loader_directory_hardcopy);
        EXPECT_STREQ(first_level, first_level_hardcopy);
        EXPECT_STREQ(the_map.file_name, first_level_hardcopy);
        EXPECT_EQ(game_in_progress, -1);
        EXPECT_EQ(menu.leave, -1);
        game_in_progress = 0;
    }
}

TEST_F(tutorial_test, new_game_in_the_built_in_set_also_clears_a_lesson_state_left_over)
{
    tutorial_number = -1;
    tutorial_switch = 12;
    title_menu menu = start_title_menu();
    start_new_game(menu);
    EXPECT_EQ(tutorial_number, -1);
    EXPECT_EQ(tutorial_switch, 0);
    EXPECT_STREQ(the_map.file_name, first_level_hardcopy);
}

TEST_F(tutorial_test, the_load_step_ends_a_lesson_whether_a_game_is_loaded_or_not)
{
    for (int loaded : {0, -1}) {
        SCOPED_TRACE(loaded);
        load_screen_calls = 0;
        start_tutorial_lesson(2);
        tutorial_switch = 9;
        load_screen_result = loaded;
        title_menu menu = start_title_menu();
        menu.item = title_load_game;
        key_enter_pressed = 0;
        key[KEY_ENTER] = -1;
        title_menu_tick(menu);
        key[KEY_ENTER] = 0;
        EXPECT_EQ(load_screen_calls, 1);
        EXPECT_EQ(tutorial_number, -1);
        EXPECT_EQ(menu.leave, loaded);
        EXPECT_EQ(game_in_progress, loaded);
        if (!loaded) {
            EXPECT_STREQ(loader_directory, loader_directory_hardcopy);
            EXPECT_STREQ(first_level, first_level_hardcopy);
        }
    }
}

// ---- Pim's lesson rules

// What one press of the action key does on a floor of plain tiles, Pim at (5, 12) facing right.
struct action_case {
    const char *label;
    int modifier;      // the key held with the action key, or 0
    int column, row;   // the cell the press acts on
    int before, after; // its code before, and after when building is allowed
};

TEST_F(tutorial_test, in_lesson_1_the_action_key_builds_and_destroys_nothing)
{
    const action_case actions[] = {
        {"standing block built", 0, 6, 12, empty_cell, build_still},
        {"standing block destroyed", 0, 6, 12, build_still, empty_cell},
        {"down block built", KEY_DOWN, 6, 13, empty_cell, build_crouch},
        {"down block destroyed", KEY_DOWN, 6, 13, build_crouch, empty_cell},
        {"up block built", KEY_UP, 5, 12, empty_cell, build_up},
    };
    for (int lesson : {1, 2, 3, 4, -1}) {
        for (const action_case &a : actions) {
            SCOPED_TRACE(std::string(a.label) + " in lesson " + std::to_string(lesson));
            player_test::reset_world();
            tutorial_number = lesson;
            player_test::set_cells({"", "", "", "", "", "", "", "", "", "", "", "", "", "####################"});
            the_map.block_layer[a.column][a.row] = a.before;
            player_test::place(5, 12);
            if (a.modifier)
                player_test::press(a.modifier);
            player_test::press(KEY_SPACE);
            player_test::tick();
            player_test::release_all_keys();
            const bool acts = lesson != 1;
            EXPECT_EQ(the_map.block_layer[a.column][a.row], acts ? a.after : a.before);
            EXPECT_EQ(the_player.blocks_created + the_player.blocks_destroyed, acts ? 1 : 0);
            EXPECT_EQ(the_player.climbing, acts && a.after == build_up ? -1 : 0);
            // Not even the refusal sound: in lesson 1 the key does nothing at all.
            EXPECT_EQ(player_test::sounds_played().size(), acts ? 1u : 0u);
        }
    }
}

struct arrival_case {
    int tutorial_number;
    const char *directory;
    const char *map;
    std::vector<int> sounds;
};

TEST_F(tutorial_test, pim_arrives_in_a_lesson_without_the_teleport_sound)
{
    const arrival_case cases[] = {
        {-1, "data/levels/original levels/", "level1.map", {sound_teleport_in}},
        {0, "data/levels/original levels/", "level2.map", {sound_teleport_in}},
        {1, "data/levels/tutorial/", "lesson1.map", {}},
        {2, "data/levels/tutorial/", "lesson2.map", {}},
        {3, "data/levels/tutorial/", "lesson3.map", {}},
        {4, "data/levels/tutorial/", "lesson4.map", {}},
    };
    for (const arrival_case &c : cases) {
        SCOPED_TRACE(c.map);
        player_test::reset_world();
        tutorial_number = c.tutorial_number;
        player_test::use_level_directory(c.directory);
        char file[256];
        std::strcpy(file, c.map);
        the_map.load_map(file);
        EXPECT_EQ(the_player.teleport_in, -1) << "the arrival runs all the same";
        EXPECT_EQ(player_test::sounds_played(), c.sounds);

        // A teleport inside a lesson arrives silently too; the fade-out keeps its sound.
        player_test::clear_sounds();
        the_player.init_out_teleport_anim();
        the_player.init_in_teleport_anim();
        std::vector<int> teleport_sounds{4};
        teleport_sounds.insert(teleport_sounds.end(), c.sounds.begin(), c.sounds.end());
        EXPECT_EQ(player_test::sounds_played(), teleport_sounds);
    }
}

} // namespace
