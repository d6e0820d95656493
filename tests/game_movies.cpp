// Movies: the ".qmv" reader and writer, playback through Pim's key handling, F3, pauses during fades, the recorder.
#include <gtest/gtest.h>
#include <allegro.h>
#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include "auto_script.h"
#include "case_names.h"
#include "do_logic.h"
#include "game_player_fixture.h"
#include "headless.h"
#include "level_set_screen.h"
#include "map.h"
#include "player.h"

namespace {

using namespace player_test;

// A flat floor in row 12 with Pim's start at (3, 11); a teleport from (6, 11) to (12, 11).
const std::vector<std::string> floor_rows = {
    "....................", "....................", "....................", "....................",
    "....................", "....................", "....................", "....................",
    "....................", "....................", "....................", "....................",
    "####################", "####################", "####################",
};

struct tick_keys {
    int up, down, left, right, action;
};

// A movie file as text: start values, then the ticks, then a block layer that is the floor plus a
// Standing Block at (10, 11), so that a restored snapshot shows.
std::string movie_text(const std::string &dir, const std::vector<tick_keys> &ticks, int x = 3 * 32, int y = 11 * 32,
                       int facing = 0)
{
    std::string text = dir + "\nfloor.map\n" + std::to_string(ticks.size()) + "\n" + std::to_string(facing) + "\n" +
                       std::to_string(x) + "\n" + std::to_string(y) + "\n0\n0\n0\n";
    for (const tick_keys &k : ticks)
        for (int v : {k.up, k.down, k.left, k.right, k.action})
            text += std::to_string(v) + "\n";
    for (int cx = 0; cx < map_width; cx++)
        for (int cy = 0; cy < map_height; cy++) {
            int code = cy >= 12 ? 0 : empty_cell;
            if (cx == 10 && cy == 11)
                code = build_still;
            text += std::to_string(code) + "\n";
        }
    return text;
}

class movies : public player_test_base {
protected:
    std::string dir;

    void SetUp() override
    {
        player_test_base::SetUp();
        dir = make_temp_dir("movies") + "/";
        write_text_file(dir + "floor.map",
                        map_file_text("Floor", "floor.map", "end", 3, 11, 19, 0, floor_rows, {{6, 11, 12, 11}}));
        use_level_directory(dir);
        key_F3_down = 0;
        script_time = 0;
        script_time_max = script_capacity;
    }

    void TearDown() override
    {
        do_play_script = 0;
        do_record_script = 0;
        player_test_base::TearDown();
    }

    void load(const std::string &text)
    {
        write_text_file(dir + "movie.qmv", text);
        char path[256];
        std::snprintf(path, sizeof(path), "%s", (dir + "movie.qmv").c_str());
        load_auto_script_no_dialog(path);
    }

    // One logic step of play as the game orders it: Pim's own step, the recorder, then playback.
    void step()
    {
        the_player.do_logic();
        record_script();
        play_script();
    }

    int block_actions() const { return the_player.blocks_created + the_player.blocks_destroyed; }
};

// Alternating action presses facing an empty cell: every run of the key handling that sees a fresh
// press builds or destroys the Standing Block in front, so the count of actions counts the runs.
TEST_F(movies, a_movie_of_n_ticks_drives_exactly_n_runs_of_the_key_handling)
{
    std::vector<tick_keys> ticks;
    for (int t = 0; t < 7; t++)
        ticks.push_back({0, 0, 0, 0, t % 2 == 0 ? -1 : 0});
    load(movie_text(dir, ticks, 5 * 32, 11 * 32));
    ASSERT_EQ(do_play_script, -1);
    EXPECT_EQ(play_script_time, 7);

    step();
    // The first tick restores the start state and the snapshot, and already acts on its keys.
    EXPECT_EQ(the_player.x, 5 * 32);
    EXPECT_EQ(the_player.y, 11 * 32);
    EXPECT_EQ(the_map.block_layer[6][11], build_still) << "the first tick's press built in front";
    EXPECT_EQ(the_map.block_layer[10][11], build_still) << "snapshot restored";
    EXPECT_EQ(block_actions(), 1);
    for (int t = 1; t < 7; t++)
        step();
    EXPECT_EQ(script_time, 7);
    EXPECT_EQ(block_actions(), 4) << "presses at ticks 0, 2, 4, 6";
    EXPECT_EQ(do_play_script, -1) << "the movie ends only at its (N+1)-th tick";
    step();
    EXPECT_EQ(do_play_script, 0);
    EXPECT_EQ(the_player.controls, -1);
    EXPECT_EQ(block_actions(), 4);
}

TEST_F(movies, an_empty_movie_restores_and_ends_in_one_tick)
{
    the_player.facing = 0;
    load(movie_text(dir, {}, 8 * 32, 11 * 32, 1));
    EXPECT_EQ(the_player.controls, 0) << "the map reload holds the controls";
    EXPECT_EQ(the_player.teleport_anim, 0) << "the arrival fade does not hold the movie back";
    step();
    EXPECT_EQ(the_player.x, 8 * 32);
    EXPECT_EQ(the_player.facing, 1);
    EXPECT_EQ(the_map.block_layer[10][11], build_still);
    EXPECT_EQ(do_play_script, 0);
    EXPECT_EQ(the_player.controls, -1);
}

TEST_F(movies, blocks_built_before_the_movie_vanish)
{
    load(movie_text(dir, {}));
    step();
    the_map.block_layer[4][11] = build_still; // built by the player before the next movie
    the_map.block_layer[10][11] = empty_cell;
    load(movie_text(dir, {{0, 0, 0, 0, 0}}));
    EXPECT_EQ(the_map.block_layer[4][11], empty_cell) << "the reload from the map file removed it";
    step();
    EXPECT_EQ(the_map.block_layer[4][11], empty_cell);
    EXPECT_EQ(the_map.block_layer[10][11], build_still) << "and the snapshot came back over the map";
}

TEST_F(movies, walking_keys_move_pim_as_recorded)
{
    std::vector<tick_keys> ticks(40, {0, 0, 0, -1, 0}); // right held: two and a half steps
    load(movie_text(dir, ticks, 0, 11 * 32));
    for (int t = 0; t < 40; t++)
        step();
    EXPECT_EQ(the_player.x, 2 * 32 + 2 * 7) << "a step starts every 16 ticks while the key is held";
    EXPECT_EQ(key[the_player.key_right], static_cast<char>(-1));
}

TEST_F(movies, f3_stops_playback_at_once_and_gives_control_back)
{
    std::vector<tick_keys> ticks(30, {-1, 0, 0, 0, 0});
    load(movie_text(dir, ticks, 0, 11 * 32));
    step();
    step();
    EXPECT_EQ(script_time, 2);
    EXPECT_EQ(key[the_player.key_up], static_cast<char>(-1));
    key[KEY_F3] = -1;
    step();
    EXPECT_EQ(do_play_script, 0);
    EXPECT_EQ(script_time, 0);
    EXPECT_EQ(the_player.controls, -1);
    for (int scancode : {the_player.key_up, the_player.key_down, the_player.key_left, the_player.key_right,
                         the_player.key_action})
        EXPECT_EQ(key[scancode], 0) << scancode;

    // Still held as the next movie starts: it plays on.
    load(movie_text(dir, ticks, 0, 11 * 32));
    step();
    step();
    EXPECT_EQ(do_play_script, -1);
    EXPECT_EQ(script_time, 2);
    // Released and pressed again: it stops.
    key[KEY_F3] = 0;
    step();
    EXPECT_EQ(script_time, 3);
    key[KEY_F3] = -1;
    step();
    EXPECT_EQ(do_play_script, 0);
    key[KEY_F3] = 0;
}

TEST_F(movies, f3_with_no_movie_does_nothing)
{
    key[KEY_F3] = -1;
    script_time = 0;
    the_player.controls = 0;
    play_script();
    EXPECT_EQ(the_player.controls, 0);
    EXPECT_EQ(key_F3_down, 0);
    key[KEY_F3] = 0;
}

// Walking right from (3, 11) onto the teleport entrance at (6, 11): during the fades no stored tick is used.
TEST_F(movies, playback_pauses_while_a_teleport_fade_runs)
{
    std::vector<tick_keys> ticks;
    for (int t = 0; t < 3; t++)
        ticks.push_back({0, 0, 0, -1, 0});
    for (int t = 0; t < 200; t++)
        ticks.push_back({0, 0, 0, 0, 0});
    ticks.push_back({-1, 0, 0, 0, 0}); // the last tick: the up pose, after the teleport
    load(movie_text(dir, ticks, 5 * 32, 11 * 32));
    int paused_ticks = 0;
    int last_time = 0;
    bool arrived = false;
    for (int t = 0; t < 400 && do_play_script; t++) {
        step();
        if (the_player.teleport_anim) {
            EXPECT_EQ(script_time, last_time) << "no stored tick is played during a fade";
            paused_ticks++;
        }
        last_time = script_time;
        arrived = arrived || the_player.x == 12 * 32;
    }
    EXPECT_TRUE(arrived);
    EXPECT_GE(paused_ticks, 80) << "a whole fade-out and a whole fade-in";
    EXPECT_EQ(do_play_script, 0);
    EXPECT_EQ(the_player.x, 12 * 32);
    EXPECT_EQ(the_player.up, -1) << "the stored ticks after the pause were all played";
}

// Walking right from (5, 11) onto an exit at (7, 11): while Pim fades out there, no stored tick is used.
TEST_F(movies, playback_pauses_while_the_exit_fade_runs)
{
    write_text_file(dir + "floor.map", map_file_text("Floor", "floor.map", "end", 3, 11, 7, 11, floor_rows));
    std::vector<tick_keys> ticks;
    for (int t = 0; t < 20; t++)
        ticks.push_back({0, 0, 0, -1, 0});
    for (int t = 0; t < 200; t++)
        ticks.push_back({0, 0, 0, 0, 0});
    load(movie_text(dir, ticks, 5 * 32, 11 * 32));
    int t = 0;
    while (!the_player.win_pending && t < 100) {
        step();
        t++;
    }
    ASSERT_EQ(the_player.win_pending, -1) << "Pim at (" << the_player.x << ", " << the_player.y << ")";
    EXPECT_EQ(the_player.x, 7 * 32);
    // The fade ends in the intermission, a screen of its own: stop a few ticks before that.
    const int paused_at = script_time;
    for (int i = 0; i < 30; i++) {
        step();
        ASSERT_EQ(the_player.win_pending, -1);
        EXPECT_EQ(script_time, paused_at) << "no stored tick is played during the exit fade";
    }
    EXPECT_EQ(do_play_script, -1);
}

TEST_F(movies, the_recorder_stores_every_tick_and_the_writer_and_reader_round_trip)
{
    the_map.load_map(const_cast<char *>("floor.map"));
    the_player.teleport_anim = 0;
    the_player.controls = -1;
    the_player.facing = 1;
    the_map.block_layer[7][11] = build_crouch;
    do_record_script = -1;
    script_time = 0;
    const tick_keys pattern[] = {{-1, 0, 0, 0, 0}, {0, -1, 0, 0, -1}, {0, 0, -1, 0, 0}, {0, 0, 0, -1, 0}, {0, 0, 0, 0, 0}};
    for (const tick_keys &k : pattern) {
        key[the_player.key_up] = static_cast<char>(k.up);
        key[the_player.key_down] = static_cast<char>(k.down);
        key[the_player.key_left] = static_cast<char>(k.left);
        key[the_player.key_right] = static_cast<char>(k.right);
        key[the_player.key_action] = static_cast<char>(k.action);
        record_script();
    }
    do_record_script = 0;
    ASSERT_EQ(script_time, 5);
    EXPECT_EQ(script_player_facing, 1);
    EXPECT_EQ(script_player_x, 3 * 32);
    EXPECT_EQ(script_tiles[7][11], build_crouch);
    EXPECT_EQ(script_storage[1][1], -1);
    EXPECT_EQ(script_storage[4][1], -1);
    EXPECT_EQ(script_storage[3][2], 0);

    const std::string path = dir + "round.qmv";
    FILE *out = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(out);
    ASSERT_EQ(write_auto_script(out, 5), 0);
    std::fclose(out);
    const std::string text = read_text_file(path);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 9 + 5 * 5 + 300);
    EXPECT_EQ(text.substr(0, dir.size() + 13), dir + "\nfloor.map\n5\n");
    EXPECT_EQ(text.back(), '\n');

    // Wipe the globals, read the file back: the same movie.
    std::vector<int> keys_before;
    for (int row = 0; row < 5; row++)
        for (int t = 0; t < 5; t++)
            keys_before.push_back(script_storage[row][t]);
    std::memset(script_storage, 0, sizeof(script_storage));
    std::memset(script_tiles, 0, sizeof(script_tiles));
    script_player_facing = script_player_x = script_player_y = 0;
    std::strcpy(loader_directory, "elsewhere/");
    std::strcpy(the_map.file_name, "other.map");
    FILE *in = std::fopen(path.c_str(), "rb");
    ASSERT_TRUE(in);
    read_auto_script(in);
    std::fclose(in);
    EXPECT_EQ(std::string(loader_directory), dir);
    EXPECT_EQ(std::string(the_map.file_name), "floor.map");
    EXPECT_EQ(play_script_time, 5);
    EXPECT_EQ(script_player_facing, 1);
    EXPECT_EQ(script_player_x, 3 * 32);
    EXPECT_EQ(script_player_y, 11 * 32);
    EXPECT_EQ(script_tiles[7][11], build_crouch);
    EXPECT_EQ(script_tiles[0][12], 0);
    std::vector<int> keys_after;
    for (int row = 0; row < 5; row++)
        for (int t = 0; t < 5; t++)
            keys_after.push_back(script_storage[row][t]);
    EXPECT_EQ(keys_after, keys_before);
}

TEST_F(movies, the_recorder_stops_silently_at_its_capacity_and_does_nothing_when_off)
{
    do_record_script = 0;
    script_time = 0;
    record_script();
    EXPECT_EQ(script_time, 0);
    do_record_script = -1;
    script_time = script_capacity - 1;
    record_script();
    record_script();
    EXPECT_EQ(script_time, script_capacity);
}

struct reader_case {
    const char *name;
    const char *label;
    const char *text;
    int ticks;          // play_script_time after reading
    int x;              // script_player_x after reading
    int y;              // script_player_y after reading
    int first_cell;     // script_tiles[0][0] after reading
};

void PrintTo(const reader_case &c, std::ostream *os) { *os << c.name; }

// Before each read the globals hold 77 (x), 66 (y), 5000 (ticks) and 55 (cells); what the file lacks keeps them.
const reader_case reader_cases[] = {
    {"spaces", "values separated by spaces", "d/\nm.map\n1 0 64 32 0 0 0  -1 0 0 0 -1  3", 1, 64, 32, 3},
    {"short", "file ends after the start values", "d/\nm.map\n2\n1\n96\n", 2, 96, 66, 55},
    {"word_count", "a word where the count should be", "d/\nm.map\nmany\n1\n96\n", 5000, 77, 66, 55},
    {"over_capacity", "a count beyond the store is cut, the cells still found", nullptr, 5000, 32, 0, 9},
    {"negative_count", "a negative count plays nothing", "d/\nm.map\n-4\n0\n32\n0\n0\n0\n0\n7", 0, 32, 0, 7},
    {"off_the_grid", "a start off the grid by a teleport is kept", "d/\nm.map\n0\n0\n800\n-200\n", 0, 800, -200, 55},
    {"far_out", "a start far off the screen is kept within a screen of it",
     "d/\nm.map\n0\n0\n-2147483648\n2147483647\n", 0, -640, 960, 55},
    {"far_out_other_way", "the same on the other sides", "d/\nm.map\n0\n0\n1281\n-481\n", 0, 1280, -480, 55},
};

class movie_reader : public testing::TestWithParam<reader_case> {};

TEST_P(movie_reader, keeps_what_the_file_does_not_supply)
{
    const reader_case &c = GetParam();
    std::string text;
    if (c.text) {
        text = c.text;
    } else {
        text = "d/\nm.map\n5002\n0\n32\n0\n0\n0\n0\n";
        for (int i = 0; i < 5002 * 5; i++)
            text += "0\n";
        text += "9\n";
    }
    const std::string path = make_temp_dir("reader") + "/m.qmv";
    write_text_file(path, text);
    play_script_time = 5000;
    script_player_x = 77;
    script_player_y = 66;
    script_tiles[0][0] = 55;
    FILE *in = std::fopen(path.c_str(), "rb");
    ASSERT_TRUE(in);
    read_auto_script(in);
    std::fclose(in);
    EXPECT_EQ(play_script_time, c.ticks) << c.label;
    EXPECT_EQ(script_player_x, c.x) << c.label;
    EXPECT_EQ(script_player_y, c.y) << c.label;
    EXPECT_EQ(script_tiles[0][0], c.first_cell) << c.label;
}

INSTANTIATE_TEST_SUITE_P(cases, movie_reader, testing::ValuesIn(reader_cases), label_name());

TEST(movie_reader_lines, an_over_long_directory_line_is_cut_and_the_next_line_still_read)
{
    const std::string path = make_temp_dir("reader") + "/m.qmv";
    write_text_file(path, std::string(400, 'a') + "\nnext.map\n0\n");
    FILE *in = std::fopen(path.c_str(), "rb");
    ASSERT_TRUE(in);
    read_auto_script(in);
    std::fclose(in);
    EXPECT_EQ(std::strlen(loader_directory), 254u);
    EXPECT_EQ(std::string(the_map.file_name), "next.map");
    EXPECT_EQ(play_script_time, 0);
}

TEST_F(movies, the_logic_step_plays_the_movie_after_the_players_step)
{
    std::vector<tick_keys> ticks(5, {0, 0, 0, 0, 0});
    load(movie_text(dir, ticks));
    do_logic();
    do_logic();
    EXPECT_EQ(script_time, 2);
}

TEST(movie_loading, a_missing_file_ends_the_game_naming_the_path)
{
    char path[] = "data/no such dir/lesson_1_1.qmv";
    // Headless, Allegro's message box prints to standard output: send it where the death test reads.
    EXPECT_EXIT(
        {
            dup2(2, 1);
            load_auto_script_no_dialog(path);
        },
        testing::ExitedWithCode(1), "Could not load\ndata/no such dir/lesson_1_1.qmv\nautoscript!");
}

} // namespace
