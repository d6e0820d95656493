// Start-level selection: the chain walk over the shipped campaign and small scratch sets, and the screen driven tick by tick.
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstring>
#include <string>
#include <vector>
#include "do_logic.h"
#include "drawn_at.h"
#include "game_level_set_screen_fixture.h"
#include "level_selection_screen.h"
#include "map_file.h"
#include "menu_frame.h"

using namespace list_screen_test;

namespace {

const char campaign_dir[] = "data/levels/original levels/";

// Walks with std::strings standing in for the game's fixed buffers.
void walk(const std::string &target, const std::string &dir, const std::string &first)
{
    char t[256], d[256], f[256];
    std::snprintf(t, sizeof(t), "%s", target.c_str());
    std::snprintf(d, sizeof(d), "%s", dir.c_str());
    std::snprintf(f, sizeof(f), "%s", first.c_str());
    get_levels_for_selection(t, d, f);
}

std::vector<std::string> listed_files()
{
    std::vector<std::string> files;
    for (const level_selection_locs &row : level_selections)
        files.push_back(row.file);
    return files;
}

// The campaign's chain as its files tell it, from level1.map on: file name, name, next.
struct campaign_map {
    std::string file, name, next;
};

std::vector<campaign_map> campaign_chain()
{
    std::vector<campaign_map> chain;
    std::string current = "level1.map";
    while (current != "end" && chain.size() < 100) {
        map_file contents;
        EXPECT_EQ(read_map_file((std::string(campaign_dir) + current).c_str(), contents), -1) << current;
        chain.push_back({contents.file_name, contents.name, contents.next_map});
        current = contents.next_map;
    }
    return chain;
}

class level_selection_test : public ::testing::Test {
protected:
    void SetUp() override { reset_screens(); }
    void TearDown() override { release_all_keys_and_set(); }
    void release_all_keys_and_set()
    {
        player_test::release_all_keys();
        std::strcpy(loader_directory, loader_directory_hardcopy);
    }
};

// ---- The chain walk

TEST_F(level_selection_test, campaign_walk_lists_every_map_up_to_the_saved_one_latest_first)
{
    const std::vector<campaign_map> chain = campaign_chain();
    ASSERT_EQ(chain.size(), 22u);
    // Saved on map k (1-based): the target is that map's next-map name.
    for (int saved : {1, 4, 13, 22}) {
        SCOPED_TRACE(saved);
        walk(chain[saved - 1].next, campaign_dir, "level1.map");
        EXPECT_EQ(level_set_exists, -1);
        ASSERT_EQ(level_selections.size(), static_cast<size_t>(saved));
        for (int row = 0; row < saved; row++) {
            const campaign_map &expected = chain[saved - 1 - row];
            EXPECT_EQ(level_selections[row].file, expected.file);
            EXPECT_EQ(level_selections[row].name, expected.name);
        }
    }
}

struct broken_case {
    const char *what;
    std::vector<std::string> files; // "file|name|stored|next"
    std::string target;
};

TEST_F(level_selection_test, broken_chains_leave_no_rows_and_end)
{
    const std::string long_name(300, 'n');
    const broken_case cases[] = {
        {"a map missing before the saved one", {"a.map|A|a.map|b.map", "c.map|C|c.map|d.map"}, "d.map"},
        {"the target never named: the walk runs on to end", {"a.map|A|a.map|b.map", "b.map|B|b.map|end"}, "x.map"},
        {"a loop that never meets the target", {"a.map|A|a.map|b.map", "b.map|B|b.map|a.map"}, "x.map"},
        {"a map that names itself", {"a.map|A|a.map|a.map"}, "x.map"},
        {"a map whose third line is empty", {"a.map|A|a.map|"}, "x.map"},
        {"a next-map name too long for a name", {"a.map|A|a.map|" + long_name}, "x.map"},
    };
    for (const broken_case &c : cases) {
        SCOPED_TRACE(c.what);
        scratch_set set("lsel_broken");
        for (const std::string &spec : c.files) {
            std::vector<std::string> part;
            size_t start = 0, bar;
            while ((bar = spec.find('|', start)) != std::string::npos) {
                part.push_back(spec.substr(start, bar - start));
                start = bar + 1;
            }
            part.push_back(spec.substr(start));
            set.map(part[0], part[1], part[2], part[3]);
        }
        // One intact walk first, so that a broken one must empty the list it finds.
        walk("level2.map", campaign_dir, "level1.map");
        ASSERT_EQ(level_selections.size(), 1u);
        walk(c.target, set.dir, "a.map");
        EXPECT_EQ(level_set_exists, 0);
        EXPECT_TRUE(level_selections.empty());
    }
}

TEST_F(level_selection_test, a_path_longer_than_the_game_holds_is_a_missing_map)
{
    scratch_set set("lsel_long");
    // The directory plus this name passes 255 characters; a file of the cut name exists, so
    // cutting the path instead of refusing it would wrongly find it.
    const std::string name(255 - set.dir.size() + 5, 'q');
    const std::string cut = name.substr(0, 255 - set.dir.size());
    set.map("a.map", "A", "a.map", name);
    set.map(cut, "Cut", cut, "end");
    walk("end", set.dir, "a.map");
    EXPECT_EQ(level_set_exists, 0);
    EXPECT_TRUE(level_selections.empty());
}

TEST_F(level_selection_test, after_a_broken_set_an_intact_one_is_offered_again)
{
    walk("no such map", campaign_dir, "level1.map");
    ASSERT_EQ(level_set_exists, 0);
    walk("level3.map", campaign_dir, "level1.map");
    EXPECT_EQ(level_set_exists, -1);
    EXPECT_EQ(listed_files(), (std::vector<std::string>{"level2.map", "level1.map"}));
}

TEST_F(level_selection_test, walk_keeps_lines_whole_and_cuts_an_over_long_name)
{
    scratch_set set("lsel_lines");
    const std::string long_title(400, 't');
    // A carriage return stays part of the value; a name longer than 255 characters keeps 255.
    write_text_file(set.dir + "a.map", "Dusk\r\nstored.map\nb.map\n7\n");
    write_text_file(set.dir + "b.map", long_title + "\nb.map\nend\n");
    walk("end", set.dir, "a.map");
    ASSERT_EQ(level_set_exists, -1);
    ASSERT_EQ(level_selections.size(), 2u);
    EXPECT_EQ(std::string(level_selections[0].name), long_title.substr(0, 255));
    EXPECT_STREQ(level_selections[0].file, "b.map");
    EXPECT_STREQ(level_selections[1].name, "Dusk\r");
    EXPECT_STREQ(level_selections[1].file, "stored.map");
}

TEST_F(level_selection_test, target_equal_to_the_first_map_opens_nothing)
{
    walk("level1.map", campaign_dir, "level1.map");
    EXPECT_EQ(level_set_exists, -1);
    EXPECT_TRUE(level_selections.empty());
}

// ---- The screen

class selection_screen_test : public level_selection_test {
protected:
    void open_campaign_saved_on(const std::string &saved_file)
    {
        std::strcpy(loader_directory, campaign_dir);
        char file[256];
        std::snprintf(file, sizeof(file), "%s", saved_file.c_str());
        the_map.load_map(file);
        get_levels_for_selection(the_map.next_map, loader_directory, first_level);
        list = start_level_selection();
    }
    int press(int scancode) { return press_key(level_selection_tick, list, scancode); }

    slot_list list;
};

TEST_F(selection_screen_test, cursor_starts_on_the_saved_map_and_enter_loads_the_row_under_it)
{
    open_campaign_saved_on("level4.map");
    ASSERT_EQ(list.list_rows, 4);
    EXPECT_EQ(press(KEY_DOWN), slot_go_on);
    EXPECT_EQ(press(KEY_DOWN), slot_go_on);
    player_test::clear_sounds();
    key[KEY_ENTER] = 1;
    EXPECT_EQ(level_selection_tick(list), slot_return_now);
    EXPECT_EQ(list.result, level_selection_loaded);
    EXPECT_EQ(key_enter_pressed, -1);
    EXPECT_STREQ(the_map.file_name, "level2.map");
    EXPECT_STREQ(the_map.next_map, "level3.map");
    ASSERT_FALSE(player_test::sounds_played().empty());
    EXPECT_EQ(player_test::sounds_played().front(), slot_select_sound);
}

TEST_F(selection_screen_test, down_stops_at_the_set_s_first_map)
{
    open_campaign_saved_on("level3.map");
    for (int i = 0; i < 5; i++)
        press(KEY_DOWN);
    EXPECT_EQ(slot_selected(list), 2);
    key[KEY_ENTER] = 1;
    ASSERT_EQ(level_selection_tick(list), slot_return_now);
    EXPECT_STREQ(the_map.file_name, "level1.map");
}

TEST_F(selection_screen_test, scrolled_list_selects_the_row_the_slide_brings_under_the_cursor)
{
    open_campaign_saved_on("level22.map");
    ASSERT_EQ(list.list_rows, 22);
    for (int i = 0; i < 4; i++)
        press(KEY_DOWN);
    ASSERT_EQ(slot_slide_running(), -1);
    // Enter is ignored while the rows slide.
    key[KEY_ENTER] = 1;
    EXPECT_EQ(level_selection_tick(list), slot_go_on);
    key[KEY_ENTER] = 0;
    finish_slide(level_selection_tick, list);
    EXPECT_EQ(list.first_row, 1);
    key[KEY_ENTER] = 1;
    ASSERT_EQ(level_selection_tick(list), slot_return_now);
    EXPECT_STREQ(the_map.file_name, "level18.map");
}

TEST_F(selection_screen_test, enter_that_opened_the_screen_does_not_select)
{
    open_campaign_saved_on("level2.map");
    key_enter_pressed = -1;
    key[KEY_ENTER] = 1;
    EXPECT_EQ(level_selection_tick(list), slot_go_on);
    key[KEY_ENTER] = 0;
    EXPECT_EQ(level_selection_tick(list), slot_go_on);
    EXPECT_EQ(key_enter_pressed, 0);
    key[KEY_ENTER] = 1;
    EXPECT_EQ(level_selection_tick(list), slot_return_now);
    EXPECT_EQ(list.result, level_selection_loaded);
}

TEST_F(selection_screen_test, the_action_key_does_not_select)
{
    open_campaign_saved_on("level2.map");
    key[the_player.key_action] = 1;
    EXPECT_EQ(level_selection_tick(list), slot_go_on);
}

TEST_F(selection_screen_test, escape_leaves_on_a_fresh_press_even_during_a_slide)
{
    open_campaign_saved_on("level9.map");
    for (int i = 0; i < 4; i++)
        press(KEY_DOWN);
    ASSERT_EQ(slot_slide_running(), -1);
    const std::string before = the_map.file_name;
    key[KEY_ESC] = 1;
    EXPECT_EQ(level_selection_tick(list), slot_return_now);
    EXPECT_EQ(list.result, level_selection_escaped);
    EXPECT_EQ(key_esc_down, -1);
    EXPECT_EQ(the_map.file_name, before);

    // The press that left is not taken again by the next visit, until escape is released.
    list = start_level_selection();
    EXPECT_EQ(level_selection_tick(list), slot_go_on);
    key[KEY_ESC] = 0;
    EXPECT_EQ(level_selection_tick(list), slot_go_on);
    EXPECT_EQ(key_esc_down, 0);
    key[KEY_ESC] = 1;
    EXPECT_EQ(level_selection_tick(list), slot_return_now);
}

TEST_F(selection_screen_test, broken_set_enter_reports_it_and_uses_up_the_press)
{
    scratch_set set("lsel_screen_broken");
    set.map("a.map", "A", "a.map", "gone.map");
    walk("zzz", set.dir, "a.map");
    list = start_level_selection();
    press(KEY_DOWN);
    press(KEY_UP);
    player_test::clear_sounds();
    const std::string before = the_map.file_name;
    key[KEY_ENTER] = 1;
    EXPECT_EQ(level_selection_tick(list), slot_return_now);
    EXPECT_EQ(list.result, level_selection_broken);
    EXPECT_EQ(key_enter_pressed, -1); // the load screen it returns to does not take it again
    EXPECT_EQ(the_map.file_name, before);
    EXPECT_EQ(player_test::sounds_played(), std::vector<int>{slot_select_sound});
}

TEST_F(selection_screen_test, broken_set_escape_returns_to_the_saves)
{
    walk("zzz", campaign_dir, "level21.map");
    list = start_level_selection();
    key[KEY_ESC] = 1;
    EXPECT_EQ(level_selection_tick(list), slot_return_now);
    EXPECT_EQ(list.result, level_selection_escaped);
}

TEST_F(selection_screen_test, chain_back_to_the_first_map_starts_on_the_saved_map)
{
    scratch_set set("lsel_loop_back");
    set.map("a.map", "Dawn", "a.map", "b.map");
    set.map("b.map", "Dusk", "b.map", "a.map");
    std::strcpy(loader_directory, set.dir.c_str());
    char saved[] = "b.map";
    the_map.load_map(saved);
    char first[] = "a.map";
    get_levels_for_selection(the_map.next_map, loader_directory, first);
    ASSERT_EQ(level_set_exists, -1);
    ASSERT_TRUE(level_selections.empty());
    list = start_level_selection();
    draw_level_selection(list);
    EXPECT_TRUE(row_text_is(0, "Dusk"));
    key[KEY_ENTER] = 1;
    EXPECT_EQ(level_selection_tick(list), slot_return_now);
    EXPECT_EQ(list.result, level_selection_loaded);
    EXPECT_STREQ(the_map.file_name, "b.map");
}

TEST_F(selection_screen_test, chosen_row_loads_the_file_its_map_names_itself)
{
    scratch_set set("lsel_stored");
    // Reached as a.map, but the file calls itself start.map: that is what a start from it loads.
    set.map("a.map", "Reached", "start.map", "b.map");
    set.map("start.map", "Stored", "start.map", "b.map");
    set.map("b.map", "Saved", "b.map", "end");
    std::strcpy(loader_directory, set.dir.c_str());
    char saved[] = "b.map";
    the_map.load_map(saved);
    char first[] = "a.map";
    get_levels_for_selection(the_map.next_map, loader_directory, first);
    list = start_level_selection();
    press(KEY_DOWN);
    key[KEY_ENTER] = 1;
    ASSERT_EQ(level_selection_tick(list), slot_return_now);
    EXPECT_STREQ(the_map.name, "Stored");
}

// ---- Drawing

TEST_F(selection_screen_test, rows_show_map_names_alone_with_the_cursor_on_the_saved_map)
{
    open_campaign_saved_on("level6.map");
    slot_update_arrows(list);
    draw_level_selection(list);
    keep_picture("level_selection_campaign");
    for (int p = 0; p < 4; p++) {
        SCOPED_TRACE(p);
        EXPECT_TRUE(row_text_is(p, level_selections[p].name));
        EXPECT_EQ(row_image_at(p), p == 0 ? slot_row_lit_image : slot_row_image);
    }
    EXPECT_EQ(slot_arrows.down_active_state(), -1);
    EXPECT_EQ(slot_arrows.up_active_state(), 0);
}

TEST_F(selection_screen_test, broken_set_shows_its_box_only_while_broken)
{
    const int box_colour = makecol(141, 147, 197);
    // A point inside the box, clear of its text and its button.
    const int inside_x = 640 / 2 - 160, inside_y = 480 / 2 - 20;

    walk("level3.map", campaign_dir, "level1.map");
    list = start_level_selection();
    draw_level_selection(list);
    EXPECT_NE(getpixel(buffer, inside_x, inside_y), box_colour);

    walk("zzz", campaign_dir, "level21.map");
    list = start_level_selection();
    draw_level_selection(list);
    keep_picture("level_selection_broken");
    EXPECT_EQ(getpixel(buffer, inside_x, inside_y), box_colour);
    FONT *f = row_font();
    EXPECT_TRUE(text_drawn_at(buffer, "Set Does Not Exist", 640 / 2 - text_length(f, "Set Does Not Exist") / 2,
                              480 / 2 - 50 + 5));
    BITMAP *button = system_bitmap(slot_button_lit_image);
    EXPECT_TRUE(text_drawn_at(buffer, "Ok", 640 / 2 - text_length(f, "Ok") / 2,
                              480 / 2 + button->h / 2 - text_height(f) / 2));
}

TEST_F(selection_screen_test, no_row_stands_behind_the_broken_set_box)
{
    walk("zzz", campaign_dir, "level21.map");
    list = start_level_selection();
    auto draw = [&] { draw_level_selection(list); };
    // The whole screen: no row image, lit or not, shows anywhere, round the box or through it.
    EXPECT_EQ(pixels_showing_entry(slot_row_lit_image, draw, 0, 0, 640, 480), 0);
    EXPECT_EQ(pixels_showing_entry(slot_row_image, draw, 0, 0, 640, 480), 0);
}

} // namespace
