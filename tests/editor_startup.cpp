// The editor's spine: settings file and "-f", the keyboard commands, the quit box and shutdown,
// and the real data files it loads.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <unistd.h>
#include <filesystem>
#include "damaged_data.h"
#include "editor_fixture.h"
#include "game_quit.h"
#include "headless.h"
#include "initialization.h"
#include "seams.h"

namespace editor_test {
namespace {

struct settings_case {
    const char *label;
    const char *contents; // nullptr: no file
    int mode;
};

class settings_file : public testing::TestWithParam<settings_case> {};

TEST_P(settings_file, first_four_bytes_give_a_known_driver_id_or_windowed)
{
    const settings_case &c = GetParam();
    const std::string path = make_temp_dir("ed_settings") + "/ed_settings.txt";
    if (c.contents)
        write_text_file(path, c.contents);
    char saved[256];
    std::strcpy(saved, editor_settings_location);
    std::snprintf(editor_settings_location, sizeof(editor_settings_location), "%s", path.c_str());
    GAME_SCREEN_MODE = 2;
    read_editor_settings();
    std::strcpy(editor_settings_location, saved);
    EXPECT_EQ(GAME_SCREEN_MODE, c.mode) << c.label;
}

const settings_case settings_cases[] = {
    {"no file keeps windowed", nullptr, 2},
    {"full screen", "1", 1},
    {"windowed", "2", 2},
    {"only four bytes are read", "12345", 2},
    {"only four bytes are read of a leading zero", "00012", 1},
    {"autodetect", "0", 0},
    {"empty file gives autodetect", "", 0},
    {"no digits", "full", 0},
    {"digits then text", "1x", 1},
    {"text mode would crash it", "-1", 2},
    {"an unknown driver would lock it out", "9999", 2},
    {"just above windowed", "3", 2},
    {"a negative number", "-3", 2},
};

INSTANTIATE_TEST_SUITE_P(cases, settings_file, testing::ValuesIn(settings_cases), label_name());

TEST(command_line, dash_f_as_first_argument_wins_over_the_settings)
{
    struct line {
        std::vector<const char *> args;
        int mode;
    };
    const line lines[] = {
        {{"editor"}, 2},
        {{"editor", "-f"}, 1},
        {{"editor", "-F"}, 2},
        {{"editor", "-fullscreen"}, 2},
        {{"editor", "x", "-f"}, 2},
    };
    for (const line &l : lines) {
        GAME_SCREEN_MODE = 2;
        std::vector<char *> argv;
        for (const char *a : l.args)
            argv.push_back(const_cast<char *>(a));
        read_command_line(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(GAME_SCREEN_MODE, l.mode) << l.args.size();
    }
}

class spine : public editor_screen {
protected:
    static void tap(int scancode)
    {
        key[scancode] = 1;
        step();
        key[scancode] = 0;
        step();
    }

    // Presses the left button on the box's "No" area; the author lets go a little later. Returns
    // whether the step was still holding everything up when the button came up.
    static bool choose_no_and_release_later()
    {
        std::atomic<bool> step_done{false}, held{false};
        pointer(450, 330, 1);
        std::thread author([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            held = !step_done;
            mouse_b = 0;
        });
        step();
        step_done = true;
        author.join();
        return held;
    }
};

TEST_F(spine, r_empties_the_map_at_once_keeping_its_file_names)
{
    the_map.block_layer[3][3] = 4;
    the_map.teleports = {{1, 1, 2, 2}};
    the_map.teleport_count = 1;
    the_map.background = 3;
    std::strcpy(the_map.name, "Busy");
    std::strcpy(the_map.next_map, "b.map");
    std::strcpy(the_map.file_name, "a.map");
    key[KEY_R] = 1;
    step();
    EXPECT_EQ(the_map.block_layer[3][3], -1);
    EXPECT_TRUE(the_map.teleports.empty());
    EXPECT_EQ(the_map.teleport_count, 0);
    EXPECT_EQ(the_map.background, 0);
    EXPECT_STREQ(the_map.name, "Enter Map Name");
    EXPECT_STREQ(the_map.next_map, "b.map");
    EXPECT_STREQ(the_map.file_name, "a.map");
    key[KEY_R] = 0;
}

TEST_F(spine, l_and_b_toggle_once_per_press)
{
    key[KEY_L] = 1;
    key[KEY_B] = 1;
    step();
    step();
    step();
    EXPECT_EQ(trans_layer_active, -1);
    EXPECT_EQ(draw_blocked_indicator, -1);
    key[KEY_L] = 0;
    key[KEY_B] = 0;
    step();
    tap(KEY_L);
    tap(KEY_B);
    EXPECT_EQ(trans_layer_active, 0);
    EXPECT_EQ(draw_blocked_indicator, 0);
}

TEST_F(spine, esc_opens_the_box_which_stops_editing_and_ignores_esc)
{
    key[KEY_ESC] = 1;
    step();
    EXPECT_EQ(confirm, -1);
    EXPECT_EQ(confirm_selection, 0);
    key[KEY_ESC] = 0;
    // With the box open the mouse edits nothing and ESC does nothing.
    pointer(cell_x(5), cell_y(5), 1);
    step();
    pointer(cell_x(5), cell_y(5), 0);
    EXPECT_EQ(the_map.block_layer[5][5], -1);
    tap(KEY_ESC);
    EXPECT_EQ(confirm, -1);
    // RIGHT and LEFT each switch the choice once per press; ENTER on "No" closes the box.
    tap(KEY_RIGHT);
    EXPECT_EQ(confirm_selection, 1);
    tap(KEY_LEFT);
    EXPECT_EQ(confirm_selection, 0);
    tap(KEY_ENTER);
    EXPECT_EQ(confirm, 0);
}

TEST_F(spine, esc_step_still_runs_the_mouse)
{
    pointer(cell_x(5), cell_y(5), 1);
    key[KEY_ESC] = 1;
    step();
    key[KEY_ESC] = 0;
    pointer(cell_x(5), cell_y(5), 0);
    EXPECT_EQ(confirm, -1);
    EXPECT_EQ(the_map.block_layer[5][5], 0);
}

TEST_F(spine, no_area_click_closes_the_box_and_waits_for_the_release)
{
    key[KEY_ESC] = 1;
    step();
    key[KEY_ESC] = 0;
    tap(KEY_RIGHT);
    EXPECT_TRUE(choose_no_and_release_later());
    EXPECT_EQ(confirm, 0);
    EXPECT_EQ(mouse_b, 0);
    // The click did not reach the map: nothing was painted under the pointer.
    step();
    for (int x = 0; x < map_width; x++)
        for (int y = 0; y < map_height; y++)
            ASSERT_EQ(the_map.block_layer[x][y], -1);
    // It reopens with the last choice, "Yes".
    tap(KEY_ESC);
    EXPECT_EQ(confirm, -1);
    EXPECT_EQ(confirm_selection, 1);
}

struct exit_fixture : spine {
    std::string settings_path;
    void SetUp() override
    {
        spine::SetUp();
        settings_path = make_temp_dir("ed_quit") + "/ed_settings.txt";
        std::snprintf(editor_settings_location, sizeof(editor_settings_location), "%s",
                      settings_path.c_str());
    }
    void TearDown() override { std::strcpy(editor_settings_location, "data/ed_settings.txt"); }
    // In the child of a death test: the stand-in files are not Allegro's to unload.
    static void forget_fake_datafiles() { d_tiles = d_build_tiles = d_data = d_backgrounds = d_system = nullptr; }
};

using quit_box = exit_fixture;

TEST_F(quit_box, yes_with_enter_ends_with_status_1_and_keeps_the_mode)
{
    GAME_SCREEN_MODE = 1;
    EXPECT_EXIT(
        {
            forget_fake_datafiles();
            key[KEY_ESC] = 1;
            step();
            key[KEY_ESC] = 0;
            tap(KEY_RIGHT);
            key[KEY_ENTER] = 1;
            step();
            std::_Exit(0); // not reached when the editor quits
        },
        testing::ExitedWithCode(1), "");
    EXPECT_EQ(read_text_file(settings_path), "1");
    GAME_SCREEN_MODE = 2;
}

TEST_F(quit_box, a_press_on_the_yes_area_quits_at_once)
{
    GAME_SCREEN_MODE = 2;
    EXPECT_EXIT(
        {
            forget_fake_datafiles();
            confirm = -1;
            pointer(267, 352, 1);
            step();
            std::_Exit(0);
        },
        testing::ExitedWithCode(1), "");
    EXPECT_EQ(read_text_file(settings_path), "2");
}

TEST_F(quit_box, outside_both_areas_a_click_does_nothing)
{
    confirm = -1;
    const int spots[][2] = {{266, 330}, {379, 330}, {300, 304}, {300, 353}, {418, 330}, {536, 330}};
    for (const auto &s : spots) {
        pointer(s[0], s[1], 1);
        step();
        pointer(s[0], s[1], 0);
        step();
        EXPECT_EQ(confirm, -1) << s[0] << "," << s[1];
    }
}

TEST_F(quit_box, unwritable_settings_file_still_ends_with_status_1)
{
    std::snprintf(editor_settings_location, sizeof(editor_settings_location), "%s",
                  "/nonexistent-dir/ed_settings.txt");
    EXPECT_EXIT(
        {
            forget_fake_datafiles();
            game_quit();
        },
        testing::ExitedWithCode(1), "");
}

// The real files the art generator makes.
const char *const editor_data_files[] = {"data/d_tiles.dat", "data/d_build_tiles.dat", "data/d_data.dat",
                                         "data/d_backgrounds.dat", "data/d_system.dat"};

TEST(real_data_files, load_with_the_password_and_hold_what_the_editor_addresses)
{
    // A missing file would end the test program: fail plainly first.
    for (const char *path : editor_data_files)
        ASSERT_TRUE(exists(path)) << path;
    load_datafiles();
    ASSERT_NE(d_data, nullptr);
    EXPECT_EQ(datafile_count(d_data), 28);
    for (int i = 0; i < 28; i++)
        EXPECT_NE(datafile_bitmap(d_data, i), nullptr) << i;
    EXPECT_EQ(datafile_bitmap(d_data, 0)->w, 800);
    EXPECT_EQ(datafile_bitmap(d_data, 0)->h, 600);
    for (int marker : {25, 26, 27}) {
        EXPECT_EQ(datafile_bitmap(d_data, marker)->w, 32) << marker;
        EXPECT_EQ(datafile_bitmap(d_data, marker)->h, 32) << marker;
    }
    for (int image : {0, 2, 5, 6, 9, 13, 14, 15, 17, 18})
        EXPECT_NE(datafile_bitmap(d_build_tiles, image), nullptr) << image;
    for (int piece = 18; piece <= 25; piece++)
        EXPECT_NE(datafile_bitmap(d_system, piece), nullptr) << piece;
    ASSERT_GT(datafile_count(d_system), 8);
    EXPECT_EQ(d_system[8].type, DAT_FONT);
    find_end_of_bg_dat();
    EXPECT_EQ(bg_dat_end, datafile_count(d_backgrounds) - 2);
    EXPECT_GE(bg_dat_end, 1);
    for (int bg = 1; bg <= bg_dat_end; bg++)
        EXPECT_NE(datafile_bitmap(d_backgrounds, bg), nullptr) << bg;
    unload_datafiles();
    EXPECT_EQ(d_data, nullptr);
}

class damaged_editor_datafile : public testing::TestWithParam<damage_case> {};

// A damaged file ends the editor with that file's message and status 1, never a crash.
TEST_P(damaged_editor_datafile, ends_the_editor_with_its_message)
{
    const damage_case &c = GetParam();
    const std::string tree = copy_data_files("ed_damaged");
    damage_data_file(tree + "/data/" + c.file, c.damage);
    expect_load_to_end_with(tree, load_datafiles, c.message);
    std::filesystem::remove_all(tree);
}

const damage_case editor_damage_cases[] = {
    {"system_missing", "d_system.dat", data_damage::removed, "^Failed to load system data\\.$"},
    {"tiles_bit_flipped", "d_tiles.dat", data_damage::bit_flipped_in_the_middle, "^Failed to load tile data\\.$"},
    {"build_tiles_last_byte_cut", "d_build_tiles.dat", data_damage::last_byte_cut, "^Failed to load build tile data\\.$"},
    {"data_cut_to_half", "d_data.dat", data_damage::cut_to_half, "^Failed to load data data\\.$"},
    {"data_bit_flipped", "d_data.dat", data_damage::bit_flipped_in_the_middle, "^Failed to load data data\\.$"},
    {"backgrounds_record_removed", "d_backgrounds.dat", data_damage::record_removed, "^Failed to load background data\\.$"},
    {"system_cut_to_half", "d_system.dat", data_damage::cut_to_half, "^Failed to load system data\\.$"},
};

INSTANTIATE_TEST_SUITE_P(cases, damaged_editor_datafile, testing::ValuesIn(editor_damage_cases),
                         label_name());

// A test swaps a seam for a stand-in; the program itself must run its own functions.
TEST(editor_seams, each_starts_as_the_programs_own_function)
{
    const std::vector<seam> seams = program_seams();
    ASSERT_FALSE(seams.empty());
    for (const seam &s : seams)
        EXPECT_TRUE(s.real) << s.name;
}

} // namespace
} // namespace editor_test
