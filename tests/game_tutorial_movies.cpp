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

namespace {

struct compiled_movie {
    bool ok = false;
    std::string error; // what went wrong, with the line it went wrong on
    int ticks = 0;
};

// Turns a demonstration ("from 2 5 right", "right 7", "duck 50", ...) into a movie of a lesson map by
// driving the real player logic, as the level solutions are compiled: each tick's keys go into the
// movie store just before playback consumes them. A demonstration starts wherever its "from" line
// puts Pim and ends wherever it leaves him, at rest with every key up.
//
// Actions, one a line ('#' starts a comment); every action is followed by ticks without keys until
// Pim has come to rest:
//   from column row right|left   first line: where Pim stands and which way he faces
//   right [n] / left [n]         walk n steps, turning first if he faces the other way
//   stand-block / down-block / up-block   the action key alone, with down, with up
//   duck n / look-up n           hold down or up for n ticks
//   wait n                       n ticks with no key down
class demonstration_compiler {
public:
    compiled_movie compile(const std::string &directory, const std::string &map_file, const std::string &text,
                           const std::string &movie_path)
    {
        compiled_movie result;
        std::istringstream lines(text);
        std::string line;
        int number = 0;
        bool started = false;
        while (std::getline(lines, line)) {
            number++;
            const std::string::size_type hash = line.find('#');
            if (hash != std::string::npos)
                line.erase(hash);
            std::istringstream words(line);
            std::string verb;
            if (!(words >> verb))
                continue;
            std::string error;
            if (!started) {
                int column = -1, row = -1;
                std::string facing;
                if (verb != "from" || !(words >> column >> row >> facing) || (facing != "right" && facing != "left"))
                    error = "the first action must be \"from column row right|left\"";
                else
                    error = start(directory, map_file, movie_path, column, row, facing == "left");
                started = true;
            } else {
                std::string arg;
                words >> arg;
                error = run_action(verb, arg);
                if (error.empty())
                    error = settle();
            }
            if (!error.empty()) {
                result.error = "line " + std::to_string(number) + " (" + line + "): " + error;
                return result;
            }
        }
        if (!started) {
            result.error = "no \"from\" line";
            return result;
        }
        result.ticks = script_time;
        FILE *file = std::fopen(movie_path.c_str(), "wb");
        if (!file || write_auto_script(file, script_time) != 0) {
            if (file)
                std::fclose(file);
            result.error = "cannot write " + movie_path;
            return result;
        }
        std::fclose(file);
        result.ok = true;
        return result;
    }

private:
    std::string start(const std::string &directory, const std::string &map_file, const std::string &movie_path,
                      int column, int row, int facing)
    {
        if (column < 0 || column >= map_width || row < 0 || row >= map_height)
            return "the start cell is off the map";
        std::snprintf(loader_directory, sizeof(loader_directory), "%s", directory.c_str());
        char file[256];
        std::snprintf(file, sizeof(file), "%s", map_file.c_str());
        the_map.load_map(file);
        if (the_map.block_layer[column][row] != empty_cell)
            return "the start cell is not empty";
        script_player_facing = facing;
        script_player_x = column * cell_size;
        script_player_y = row * cell_size;
        script_player_falling = script_player_ducking = script_player_up = 0;
        std::memcpy(script_tiles, the_map.block_layer, sizeof(script_tiles));
        FILE *head = std::fopen(movie_path.c_str(), "wb");
        if (!head)
            return "cannot write " + movie_path;
        write_auto_script(head, 0);
        std::fclose(head);
        char path[256];
        std::snprintf(path, sizeof(path), "%s", movie_path.c_str());
        load_auto_script_no_dialog(path);
        play_script_time = script_capacity;
        std::memset(script_storage, 0, sizeof(script_storage));
        return "";
    }

    // One logic tick with these keys down, run as the game runs it while a movie plays.
    std::string tick(int up, int down, int left, int right, int action)
    {
        if (script_time >= script_capacity)
            return "the movie is longer than the store";
        const int states[5] = {up, down, left, right, action};
        for (int row = 0; row < 5; row++)
            script_storage[row][script_time] = states[row] ? -1 : 0;
        the_player.do_logic();
        play_script();
        the_map.animate();
        if (the_player.win_pending)
            return "Pim walks into the exit, which would end the lesson";
        if (the_player.y > 448)
            return "Pim falls off the bottom of the screen";
        return "";
    }

    bool at_rest() const
    {
        const player &p = the_player;
        return !p.walking && !p.falling && !p.climbing && !p.teleporting && !p.teleport_anim && p.step == 0;
    }

    // No keys until Pim has been at rest for two ticks running.
    std::string settle()
    {
        int quiet = 0;
        for (int t = 0; t < 1200; t++) {
            const std::string error = tick(0, 0, 0, 0, 0);
            if (!error.empty())
                return error;
            quiet = at_rest() ? quiet + 1 : 0;
            if (quiet >= 2)
                return "";
        }
        return "Pim never comes to rest";
    }

    std::string where() const
    {
        return " at cell (" + std::to_string(the_player.x / 32) + ", " + std::to_string(the_player.y / 32) + ")";
    }

    std::string walk(int direction, int steps)
    {
        for (int i = 0; i < steps; i++) {
            if (i > 0) {
                const std::string error = settle();
                if (!error.empty())
                    return error;
            }
            bool moving = false;
            for (int t = 0; t < 12 && !moving; t++) {
                const std::string error = tick(0, 0, direction == 1, direction == 0, 0);
                if (!error.empty())
                    return error;
                moving = the_player.walking != 0;
            }
            if (!moving)
                return std::string("cannot walk ") + (direction ? "left" : "right") + where();
        }
        return "";
    }

    std::string block(int up, int down)
    {
        const int before = the_player.blocks_created + the_player.blocks_destroyed;
        const std::string error = tick(up, down, 0, 0, -1);
        if (error.empty() && the_player.blocks_created + the_player.blocks_destroyed == before)
            return "the block was refused" + where();
        return error;
    }

    std::string hold(int up, int down, int ticks)
    {
        for (int t = 0; t < ticks; t++) {
            const std::string error = tick(up, down, 0, 0, 0);
            if (!error.empty())
                return error;
        }
        return "";
    }

    std::string run_action(const std::string &verb, const std::string &arg)
    {
        int count = 1;
        if (!arg.empty()) {
            count = std::atoi(arg.c_str());
            if (count < 1)
                return "bad count";
        }
        if (verb == "right")
            return walk(0, count);
        if (verb == "left")
            return walk(1, count);
        if (verb == "stand-block")
            return block(0, 0);
        if (verb == "down-block")
            return block(0, -1);
        if (verb == "up-block")
            return block(-1, 0);
        if (verb == "duck")
            return hold(0, -1, count);
        if (verb == "look-up")
            return hold(-1, 0, count);
        if (verb == "wait")
            return hold(0, 0, count);
        return "unknown action";
    }
};

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
    demonstration_compiler compiler;
    tutorial_number = c.lesson;
    const compiled_movie result = compiler.compile(tutorial_location, c.map, source, compiled_path);
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
        demonstration_compiler compiler;
        const compiled_movie result = compiler.compile(tutorial_location, "lesson1.map", c.text, out);
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.find(c.error_part), std::string::npos) << result.error;
    }
    do_play_script = 0;
    tutorial_number = -1;
    player_test::release_all_keys();
    player_test::use_level_directory(loader_directory_hardcopy);
}

} // namespace
