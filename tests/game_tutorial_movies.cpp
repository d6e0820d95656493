// The lessons' demonstration movies: each shipped ".qmv" is its readable source compiled on its lesson map, and ends where its lesson goes on.
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <sstream>
#include <string>
#include "auto_script.h"
#include "game_player_fixture.h"
#include "headless.h"
#include "level_set_screen.h"
#include "map.h"
#include "player.h"
#include "tutorial.h"
#include "tutorial_screen.h"
#include "solutions/solution_compiler.h"

namespace {

// A movie, its source and its map; and where the lesson expects Pim when it is over.
struct movie_case {
    const char *movie;
    const char *source;
    int lesson;
    const char *map;
    int end_column, end_row, end_facing;
};

const movie_case movies[] = {
    {"lesson_1_1.qmv", "game_tutorial_lesson_1_1.sol", 1, "lesson1.map", 9, 5, 0},   // at the cliff's edge
    {"lesson_1_2.qmv", "game_tutorial_lesson_1_2.sol", 1, "lesson1.map", 10, 8, 0},  // at the foot of the cliff
    {"lesson_2_1.qmv", "game_tutorial_lesson_2_1.sol", 2, "lesson2.map", 9, 6, 0},   // facing the gap at (10, 7)
    {"lesson_3_1.qmv", "game_tutorial_lesson_3_1.sol", 3, "lesson3.map", 2, 4, 0},   // on the Up Restriction Block
};

void PrintTo(const movie_case &c, std::ostream *out)
{
    *out << c.movie;
}

class tutorial_movies : public player_test::player_test_base, public ::testing::WithParamInterface<movie_case> {
protected:
    void TearDown() override
    {
        player_test::player_test_base::TearDown();
        do_play_script = 0;
        tutorial_number = -1;
        player_test::use_level_directory(loader_directory_hardcopy);
    }
};

// The shipped movie is its compiled source; a changed source or lesson map needs it written again:
// run this test with SLUMBERIA_WRITE_TUTORIAL_MOVIES=1 to write it into the source tree.
TEST_P(tutorial_movies, the_shipped_movie_is_its_source_compiled_on_its_lesson_map)
{
    const movie_case c = GetParam();
    const std::string source = read_text_file(std::string(TEST_SOURCE_DIR) + "/" + c.source);
    ASSERT_FALSE(source.empty()) << c.source;
    const std::string compiled_path = make_temp_dir("tutorial_movie") + "/" + c.movie;
    solution_compiler compiler;
    tutorial_number = c.lesson;
    const solution_result result = compiler.compile(tutorial_location, c.map, source, compiled_path, demonstration);
    ASSERT_TRUE(result.ok) << result.error;
    const std::string compiled = read_text_file(compiled_path);
    const std::string shipped_path = std::string(TEST_SOURCE_DIR) + "/../" + tutorial_location + c.movie;
    const char *write = std::getenv("SLUMBERIA_WRITE_TUTORIAL_MOVIES");
    if (write && std::strcmp(write, "1") == 0)
        write_text_file(shipped_path, compiled);
    // Compared whole, but not printed whole: a movie is thousands of lines.
    EXPECT_TRUE(read_text_file(shipped_path) == compiled)
        << c.movie << " is out of date: run with SLUMBERIA_WRITE_TUTORIAL_MOVIES=1 (" << result.ticks << " ticks)";
    EXPECT_TRUE(read_text_file(std::string(tutorial_location) + c.movie) == compiled)
        << "the run tree holds the shipped " << c.movie;
}

// Played from the run tree as a lesson plays it, the movie leaves Pim where the lesson goes on, at rest,
// with the blocks of the map as its file has them and none of his keys left down.
TEST_P(tutorial_movies, the_movie_leaves_pim_where_the_lesson_goes_on)
{
    const movie_case c = GetParam();
    tutorial_number = c.lesson;
    player_test::use_level_directory(tutorial_location);
    char map_file[256];
    std::strcpy(map_file, c.map);
    the_map.load_map(map_file);
    int file_cells[20][15];
    std::memcpy(file_cells, the_map.block_layer, sizeof(file_cells));
    // Pim had been walking about and built a block before the movie starts.
    the_player.x += 32;
    the_map.block_layer[0][0] = build_still;

    char path[256];
    std::snprintf(path, sizeof(path), "%s%s", tutorial_location, c.movie);
    load_auto_script_no_dialog(path);
    EXPECT_STREQ(loader_directory, tutorial_location);
    EXPECT_STREQ(the_map.file_name, c.map);
    EXPECT_EQ(the_player.controls, 0);
    int ticks = 0;
    while (do_play_script && ticks < script_capacity + 10) {
        the_player.do_logic();
        play_script();
        the_map.animate();
        ticks++;
    }
    ASSERT_EQ(do_play_script, 0);
    EXPECT_EQ(ticks, play_script_time + 1);
    EXPECT_GT(play_script_time, 60) << "long enough to be watched";
    EXPECT_EQ(the_player.x, c.end_column * 32);
    EXPECT_EQ(the_player.y, c.end_row * 32);
    EXPECT_EQ(the_player.facing, c.end_facing);
    EXPECT_EQ(the_player.walking | the_player.falling | the_player.climbing | the_player.ducking | the_player.up, 0);
    EXPECT_EQ(the_player.controls, -1);
    EXPECT_EQ(the_player.win_pending, 0);
    for (int scancode : {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT, KEY_SPACE})
        EXPECT_EQ(key[scancode], 0) << "scancode " << scancode;
    for (int x = 0; x < 20; x++)
        for (int y = 0; y < 15; y++)
            ASSERT_EQ(the_map.block_layer[x][y], file_cells[x][y]) << "cell (" << x << ", " << y << ")";
}

// What a lesson goes on from once its movie is over.
struct movie_end {
    int x, y, facing, walking, falling, climbing, ducking, up, step;
    int controls;
    int cells[20][15];
    std::size_t block_animations;
    int keys[5];
};

movie_end end_of_movie()
{
    movie_end e;
    const player &p = the_player;
    e = {p.x, p.y, p.facing, p.walking, p.falling, p.climbing, p.ducking, p.up, p.step, p.controls, {}, 0, {}};
    std::memcpy(e.cells, the_map.block_layer, sizeof(e.cells));
    e.block_animations = the_build_block_anim.size();
    const int bound[5] = {p.key_up, p.key_down, p.key_left, p.key_right, p.key_action};
    for (int i = 0; i < 5; i++)
        e.keys[i] = key[bound[i]];
    return e;
}

void expect_same_end(const movie_end &seen, const movie_end &watched)
{
    EXPECT_EQ(seen.x, watched.x);
    EXPECT_EQ(seen.y, watched.y);
    EXPECT_EQ(seen.facing, watched.facing);
    EXPECT_EQ(seen.walking | seen.falling | seen.climbing | seen.ducking | seen.up | seen.step, 0);
    EXPECT_EQ(seen.controls, -1);
    EXPECT_EQ(seen.block_animations, watched.block_animations);
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(seen.keys[i], 0) << "binding " << i;
    for (int x = 0; x < 20; x++)
        for (int y = 0; y < 15; y++)
            ASSERT_EQ(seen.cells[x][y], watched.cells[x][y]) << "cell (" << x << ", " << y << ")";
}

// Loads the movie as its lesson does and runs `ticks` logic steps of it (all of it for -1), as the game
// runs them: Pim's step, playback, the map's animations.
void play_lesson_movie(const movie_case &c, int ticks)
{
    tutorial_number = c.lesson;
    player_test::use_level_directory(tutorial_location);
    char map_file[256];
    std::strcpy(map_file, c.map);
    the_map.load_map(map_file);
    char path[256];
    std::snprintf(path, sizeof(path), "%s%s", tutorial_location, c.movie);
    load_auto_script_no_dialog(path);
    for (int t = 0; do_play_script && (ticks < 0 || t < ticks) && t < script_capacity + 10; t++) {
        the_player.do_logic();
        play_script();
        the_map.animate();
    }
}

// F3 in a lesson's demonstration ends it at once, but as if it had been watched to its end: the lesson
// goes on from the same place and the same map, whenever it was pressed (before the first stored tick,
// in the middle, on the last tick, on the tick that ends it).
TEST_P(tutorial_movies, f3_finishes_the_demonstration_at_once_where_the_whole_movie_ends)
{
    const movie_case c = GetParam();
    play_lesson_movie(c, -1);
    ASSERT_EQ(do_play_script, 0);
    player_test::release_all_keys();
    const movie_end watched = end_of_movie();
    const int length = play_script_time;
    for (int stop : {0, 1, length / 3, length / 2, length - 1, length}) {
        SCOPED_TRACE("F3 after " + std::to_string(stop) + " of " + std::to_string(length) + " ticks");
        player_test::reset_world();
        play_lesson_movie(c, stop);
        ASSERT_EQ(do_play_script, -1);
        key[KEY_F3] = -1;
        the_player.do_logic();
        play_script();
        the_map.animate();
        key[KEY_F3] = 0;
        EXPECT_EQ(do_play_script, 0);
        expect_same_end(end_of_movie(), watched);
        // The next step plays nothing more.
        const int x = the_player.x;
        play_script();
        EXPECT_EQ(the_player.x, x);
        key_F3_down = 0;
    }
}

INSTANTIATE_TEST_SUITE_P(lessons, tutorial_movies, ::testing::ValuesIn(movies),
                         [](const ::testing::TestParamInfo<movie_case> &info) {
                             std::string name = info.param.movie;
                             return name.substr(0, name.find('.'));
                         });

TEST(tutorial_demonstration_compiler, refuses_a_source_without_its_start_or_that_ends_the_lesson)
{
    tutorial_number = 1;
    const std::string out = make_temp_dir("tutorial_bad_movie") + "/bad.qmv";
    struct bad_case {
        const char *text;
        const char *error_part;
    };
    const bad_case cases[] = {
        {"wait 10\n", "the first action must be"},
        {"from 2 6 right\n", "not empty"},
        {"from 9 5 right\nright 1\nright 7\n", "exit"},
        {"from 2 5 right\nleft 3\n", "cannot walk left"},
        {"from 2 5 right\nstand-block\n", "refused"},
    };
    for (const bad_case &c : cases) {
        SCOPED_TRACE(c.text);
        player_test::reset_world();
        solution_compiler compiler;
        const solution_result result = compiler.compile(tutorial_location, "lesson1.map", c.text, out, demonstration);
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.find(c.error_part), std::string::npos) << result.error;
    }
    do_play_script = 0;
    tutorial_number = -1;
    player_test::release_all_keys();
    player_test::use_level_directory(loader_directory_hardcopy);
}

} // namespace
