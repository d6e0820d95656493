// The save, load and erase screens over saves that cannot be read, and backing out of a load.
#include "game_save_fixture.h"
#include "datafiles.h"
#include "drawn_at.h"
#include "failing_writes.h"
#include "game_story_timer.h"
#include "load_game.h"
#include "menu_frame.h"

using namespace save_test;

namespace {

namespace fs = std::filesystem;

FONT *row_font()
{
    return static_cast<FONT *>(d_system[8].dat);
}

class save_screens_test : public save_fixture {
protected:
    void SetUp() override
    {
        save_fixture::SetUp();
        // New Game starts the story song, which needs a timer driver.
        story_test_timer::install_silent_timer();
        write_save(0, "level_b.map");
        write_text_file(slot_file(saves, 1), "");
        write_text_file(slot_file(saves, 2), save_text("data/levels/gone set/", "level1.map", "Gone Set", "level1.map", "gone"));
    }
    void TearDown() override
    {
        load_screen_level_selection = level_selection_screen;
        save_fixture::TearDown();
    }

    // The list index of the save listed from slot n's file.
    int index_of(int n)
    {
        for (std::size_t i = 0; i < game_saves.size(); i++)
            if (std::string(game_saves[i].file) == slot_file(saves, n))
                return static_cast<int>(i);
        return -1;
    }

    // Moves the cursor of an unscrolled list (at most four rows) onto row index.
    static void point_at(slot_list &list, int index)
    {
        list.first_row = 0;
        list.cursor_row = index;
    }
};

TEST_F(save_screens_test, the_lists_show_every_save_and_mark_the_damaged_ones)
{
    void (*const draws[])(const slot_list &) = {draw_save_screen, draw_load_screen, draw_erase_screen};
    for (auto draw : draws) {
        slot_list list = start_load_screen();
        ASSERT_EQ(list.list_rows, 3);
        draw(list);
        for (int n = 0; n < 3; n++) {
            const int index = index_of(n);
            ASSERT_GE(index, 0);
            const std::string row = std::to_string(index + 1) + ": " + (n == 0 ? "Map Two" : "Damaged Save");
            EXPECT_TRUE(text_drawn_at(row_font(), row.c_str(), slot_text_x(), slot_first_line_y(slot_text_y(index)),
                                      makecol(255, 255, 255)))
                << row;
        }
        const std::string gone_set = "Level Set: Gone Set";
        EXPECT_TRUE(text_drawn_at(static_cast<FONT *>(d_system[slot_small_font].dat), gone_set.c_str(),
                                  slot_text_x() + 20, slot_second_line_y(slot_text_y(index_of(2))),
                                  makecol(255, 255, 255)));
    }
}

TEST_F(save_screens_test, loading_a_damaged_save_is_refused_and_the_list_stays)
{
    // Static, as the seam is a plain function pointer: the lambda cannot capture.
    static int selections;
    selections = 0;
    load_screen_level_selection = [] {
        selections++;
        return level_selection_loaded;
    };
    for (int n : {1, 2}) {
        slot_list list = start_load_screen();
        point_at(list, index_of(n));
        key_enter_pressed = 0;
        std::string said = printed_by([&] { press_key(list, load_screen_tick, KEY_ENTER); });
        EXPECT_NE(said.find("This save is damaged or its level set is gone:\n" + slot_file(saves, n)), std::string::npos)
            << said;
        EXPECT_EQ(selections, 0);
        EXPECT_EQ(list.result, 0);
        EXPECT_EQ(std::string(loader_directory), levels);
        EXPECT_STREQ(level_set_name, "Scratch Set");
    }
}

TEST_F(save_screens_test, the_erase_screen_deletes_a_damaged_save)
{
    slot_list list = start_erase_screen();
    point_at(list, index_of(1));
    key_enter_pressed = 0;
    press_key(list, erase_screen_tick, KEY_ENTER); // opens "Are You Sure?"
    ASSERT_EQ(list.box_open, -1);
    press_key(list, erase_screen_tick, KEY_LEFT);  // "Yes"
    press_key(list, erase_screen_tick, KEY_ENTER);
    EXPECT_FALSE(fs::exists(slot_file(saves, 1)));
    EXPECT_TRUE(fs::exists(slot_file(saves, 0)));
    EXPECT_TRUE(fs::exists(slot_file(saves, 2)));
    EXPECT_EQ(list.list_rows, 2);
}

TEST_F(save_screens_test, a_damaged_save_can_be_saved_over)
{
    slot_list list = start_save_screen();
    point_at(list, index_of(1));
    press_key(list, save_screen_tick, KEY_ENTER);
    press_key(list, save_screen_tick, KEY_LEFT);
    press_key(list, save_screen_tick, KEY_ENTER);
    EXPECT_EQ(read_text_file(slot_file(saves, 1)), save_text(levels, "level_c.map", "Scratch Set", "level_a.map", "scratch"));
    EXPECT_EQ(game_saves[index_of(1)].damaged, 0);
}

TEST_F(save_screens_test, new_save_on_the_save_screen_never_replaces_a_file)
{
    slot_list list = start_save_screen();
    ASSERT_EQ(list.list_rows, 3);
    // Another game saves into number 3 after this list was made.
    write_text_file(slot_file(saves, 3), "someone else's\n");
    point_at(list, 3); // the "New Save" row
    press_key(list, save_screen_tick, KEY_ENTER);
    EXPECT_EQ(read_text_file(slot_file(saves, 3)), "someone else's\n");
    EXPECT_EQ(read_text_file(slot_file(saves, 4)), save_text(levels, "level_c.map", "Scratch Set", "level_a.map", "scratch"));
}

// ---- Backing out of a load

// What the save had set when the level selection opened.
std::string set_while_selecting;
int up_key_while_selecting = 0;

// The level selection as the player leaves it: Escape in its first tick.
int escape_from_level_selection()
{
    set_while_selecting = level_set_name;
    up_key_while_selecting = the_player.key_up;
    slot_list list = start_level_selection();
    key[KEY_ESC] = -1;
    const int went = level_selection_tick(list);
    key[KEY_ESC] = 0;
    return went == slot_return_now ? list.result : -99;
}

// The load screen as the player uses it: Enter on the first save, Escape from the level
// selection, Escape from the list.
int load_then_back_out()
{
    slot_list list = start_load_screen();
    key_enter_pressed = 0;
    key_esc_down = 0;
    press_key(list, load_screen_tick, KEY_ENTER);
    key[KEY_ESC] = -1;
    const int went = load_screen_tick(list);
    key[KEY_ESC] = 0;
    return went == slot_return_now ? list.result : -99;
}

TEST_F(save_screens_test, backing_out_of_a_load_then_a_new_game_saves_the_built_in_set)
{
    // Only the scratch set's save is listed; its bindings differ from the player's.
    fs::remove(slot_file(saves, 1));
    fs::remove(slot_file(saves, 2));
    write_save(0, "level_b.map", {30, 31, 32, 33, 34, 35, 36, 37});
    std::memcpy(loader_directory, loader_directory_hardcopy, sizeof(loader_directory));
    std::memcpy(first_level, first_level_hardcopy, sizeof(first_level));
    std::memcpy(level_set_name, level_set_name_hardcopy, sizeof(level_set_name));
    std::memcpy(level_set_loader_file, level_set_loader_file_hardcopy, sizeof(level_set_loader_file));
    const game_before_load before = remember_before_load();

    load_screen_level_selection = escape_from_level_selection;
    int (*const saved_title_load)() = title_load_game_screen;
    title_load_game_screen = load_then_back_out;
    title_menu menu = start_title_menu();
    menu.item = title_load_game;
    key_enter_pressed = 0;
    key[KEY_ENTER] = 1;
    title_menu_tick(menu);
    key[KEY_ENTER] = 0;
    title_menu_tick(menu);
    title_load_game_screen = saved_title_load;

    // The save was loaded, then backed out of.
    EXPECT_EQ(set_while_selecting, "Scratch Set");
    EXPECT_EQ(up_key_while_selecting, 30);
    EXPECT_EQ(menu.leave, 0);
    EXPECT_EQ(game_in_progress, 0);
    const game_before_load after = remember_before_load();
    EXPECT_STREQ(after.loader_directory, before.loader_directory);
    EXPECT_STREQ(after.first_level, before.first_level);
    EXPECT_STREQ(after.level_set_name, before.level_set_name);
    EXPECT_STREQ(after.level_set_loader_file, before.level_set_loader_file);
    EXPECT_EQ(std::vector<int>(after.bindings, after.bindings + 8), std::vector<int>(before.bindings, before.bindings + 8));

    // New Game (Escape held ends the introduction at once), then a new save.
    key[KEY_ESC] = 1;
    speed_counter = 1;
    title_start_new_game(menu);
    key[KEY_ESC] = 0;
    ASSERT_EQ(save_new_game(0), 1);
    EXPECT_EQ(read_text_file(slot_file(saves, 1)),
              save_text(loader_directory_hardcopy, first_level_hardcopy, level_set_name_hardcopy, first_level_hardcopy,
                        level_set_loader_file_hardcopy));
}

} // namespace
