// The level-set screen driven tick by tick: its rows, the built-in row, choosing a set, escape, scrolling and drawing.
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstring>
#include <memory>
#include <string>
#include <vector>
#include "do_logic.h"
#include "game_level_set_screen_fixture.h"
#include "level_set_screen.h"
#include "menu_frame.h"
#include "show_map_name.h"

using namespace list_screen_test;

namespace {

class level_set_screen_test : public ::testing::Test {
protected:
    void SetUp() override { reset_screens(); }
    void TearDown() override
    {
        player_test::release_all_keys();
        level_sets.clear();
        std::strcpy(loader_directory, loader_directory_hardcopy);
        std::strcpy(first_level, first_level_hardcopy);
        std::strcpy(level_set_loader_file, level_set_loader_file_hardcopy);
        std::strcpy(level_set_name, level_set_name_hardcopy);
    }

    // n scratch sets of two maps each, listed as the scan would list them; set i is "Set <i+1>".
    void make_sets(int n)
    {
        for (int i = 0; i < n; i++) {
            sets.push_back(std::make_unique<scratch_set>("lset_screen"));
            scratch_set &set = *sets.back();
            const std::string name = "Set " + std::to_string(i + 1);
            set.chain(name, 2);
            set.loader("set.qlx", scratch_set::file_of(0), name);
            level_set_locs record;
            std::snprintf(record.name, sizeof(record.name), "%s", name.c_str());
            std::snprintf(record.directory, sizeof(record.directory), "%s", set.dir.c_str());
            std::snprintf(record.first_level, sizeof(record.first_level), "%s", scratch_set::file_of(0).c_str());
            std::snprintf(record.loader_file, sizeof(record.loader_file), "set.qlx");
            level_sets.push_back(record);
        }
        list = start_level_set_screen();
    }
    int press(int scancode) { return press_key(level_set_screen_tick, list, scancode); }
    int enter()
    {
        key[KEY_ENTER] = 1;
        const int outcome = level_set_screen_tick(list);
        key[KEY_ENTER] = 0;
        return outcome;
    }

    std::vector<std::unique_ptr<scratch_set>> sets;
    slot_list list;
};

TEST_F(level_set_screen_test, with_no_set_found_the_built_in_row_alone_changes_nothing)
{
    std::strcpy(level_set_name, "A Saved Set");
    game_in_progress = -1;
    list = start_level_set_screen();
    press(KEY_DOWN);
    press(KEY_UP);
    EXPECT_EQ(slot_selected(list), 0);
    draw_level_set_screen(list);
    keep_picture("level_set_empty");
    EXPECT_TRUE(row_text_is(0, level_set_name_hardcopy));
    EXPECT_EQ(row_image_at(0), slot_row_lit_image);
    EXPECT_EQ(row_image_at(1), -1);

    player_test::clear_sounds();
    EXPECT_EQ(enter(), slot_return_now);
    EXPECT_EQ(list.result, 0);
    EXPECT_STREQ(level_set_name, "A Saved Set");
    EXPECT_EQ(game_in_progress, -1);
    EXPECT_EQ(key_enter_pressed, -1);
    EXPECT_EQ(player_test::sounds_played(), std::vector<int>{slot_select_sound});
}

TEST_F(level_set_screen_test, choosing_a_found_set_makes_it_current_and_loads_its_first_map)
{
    make_sets(2);
    game_in_progress = -1;
    press(KEY_DOWN);
    ASSERT_EQ(enter(), slot_return_now);
    EXPECT_EQ(list.result, 0);
    EXPECT_EQ(std::string(loader_directory), sets[1]->dir);
    EXPECT_STREQ(first_level, "m1.map");
    EXPECT_STREQ(level_set_loader_file, "set.qlx");
    EXPECT_STREQ(level_set_name, "Set 2");
    EXPECT_STREQ(the_map.name, "Set 2 1");
    EXPECT_STREQ(the_map.next_map, "m2.map");
    EXPECT_EQ(the_player.teleport_in, -1);
    EXPECT_EQ(map_name_in_progress, -1);
    EXPECT_EQ(game_in_progress, 0);
}

TEST_F(level_set_screen_test, built_in_row_after_a_found_set_restores_the_built_in_set_without_a_map)
{
    make_sets(1);
    ASSERT_EQ(enter(), slot_return_now);
    ASSERT_STREQ(level_set_name, "Set 1");
    const std::string loaded = the_map.name;

    list = start_level_set_screen();
    key_enter_pressed = 0;
    game_in_progress = -1;
    press(KEY_DOWN);
    press(KEY_DOWN); // the built-in row is the last: this one does nothing
    EXPECT_EQ(slot_selected(list), 1);
    ASSERT_EQ(enter(), slot_return_now);
    EXPECT_STREQ(loader_directory, loader_directory_hardcopy);
    EXPECT_STREQ(level_set_loader_file, level_set_loader_file_hardcopy);
    EXPECT_STREQ(level_set_name, level_set_name_hardcopy);
    // The first map's name stays; a new game puts it back because the directory is the built-in one.
    EXPECT_STREQ(first_level, "m1.map");
    EXPECT_EQ(the_map.name, loaded);
    EXPECT_EQ(game_in_progress, 0);
}

TEST_F(level_set_screen_test, escape_leaves_at_once_without_a_latch_and_changes_nothing)
{
    make_sets(6);
    game_in_progress = -1;
    for (int i = 0; i < 4; i++)
        press(KEY_DOWN);
    ASSERT_EQ(slot_slide_running(), -1);
    // Escape already held by another screen still acts here.
    key_esc_down = -1;
    key[KEY_ESC] = 1;
    EXPECT_EQ(level_set_screen_tick(list), slot_return_now);
    EXPECT_EQ(list.result, 0);
    EXPECT_STREQ(loader_directory, loader_directory_hardcopy);
    EXPECT_STREQ(level_set_name, level_set_name_hardcopy);
    EXPECT_EQ(game_in_progress, -1);
}

TEST_F(level_set_screen_test, enter_that_opened_the_screen_and_the_action_key_do_not_choose)
{
    make_sets(1);
    key_enter_pressed = -1;
    key[KEY_ENTER] = 1;
    EXPECT_EQ(level_set_screen_tick(list), slot_go_on);
    key[KEY_ENTER] = 0;
    key[the_player.key_action] = 1;
    EXPECT_EQ(level_set_screen_tick(list), slot_go_on);
    EXPECT_EQ(key_enter_pressed, 0);
    EXPECT_STREQ(level_set_name, level_set_name_hardcopy);
}

TEST_F(level_set_screen_test, long_list_slides_and_shows_the_built_in_row_only_at_its_end)
{
    make_sets(5); // six rows
    slot_update_arrows(list);
    draw_level_set_screen(list);
    for (int p = 0; p < 4; p++)
        EXPECT_TRUE(row_text_is(p, (std::to_string(p + 1) + ": Set " + std::to_string(p + 1)).c_str())) << p;
    EXPECT_EQ(slot_arrows.down_active_state(), -1);

    for (int i = 0; i < 5; i++) {
        press(KEY_DOWN);
        finish_slide(level_set_screen_tick, list);
    }
    EXPECT_EQ(list.first_row, 2);
    EXPECT_EQ(slot_selected(list), 5);
    EXPECT_EQ(slot_arrows.down_active_state(), 0);
    EXPECT_EQ(slot_arrows.up_active_state(), -1);
    draw_level_set_screen(list);
    keep_picture("level_set_scrolled");
    EXPECT_TRUE(row_text_is(2, "5: Set 5"));
    EXPECT_TRUE(row_text_is(3, level_set_name_hardcopy));
    EXPECT_EQ(row_image_at(3), slot_row_lit_image);
    EXPECT_EQ(row_image_at(2), slot_row_image);

    press(KEY_UP);
    ASSERT_EQ(enter(), slot_return_now);
    EXPECT_STREQ(level_set_name, "Set 5");
}

TEST_F(level_set_screen_test, one_set_listed_twice_shows_twice_with_its_numbers)
{
    make_sets(1);
    level_sets.push_back(level_sets[0]);
    std::snprintf(level_sets[1].loader_file, sizeof(level_sets[1].loader_file), "again.qlx");
    list = start_level_set_screen();
    draw_level_set_screen(list);
    keep_picture("level_set_twice");
    EXPECT_TRUE(row_text_is(0, "1: Set 1"));
    EXPECT_TRUE(row_text_is(1, "2: Set 1"));
    EXPECT_TRUE(row_text_is(2, level_set_name_hardcopy));
    EXPECT_EQ(row_image_at(3), -1);
    press(KEY_DOWN);
    ASSERT_EQ(enter(), slot_return_now);
    EXPECT_STREQ(level_set_loader_file, "again.qlx");
}

} // namespace
