// The "Original Levels" campaign: the chain of maps is whole and sound, and every level's solution replays to its exit.
#include <gtest/gtest.h>
#include <allegro.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>
#include "auto_script.h"
#include "datafiles.h"
#include "game_player_fixture.h"
#include "headless.h"
#include "level_set_screen.h"
#include "map.h"
#include "map_file.h"
#include "player.h"
#include "solutions/solution_compiler.h"

namespace {

const std::string campaign_dir = "data/levels/original levels/";

// The file names of the chain from level1.map, in play order, as far as it can be followed.
// Read from the source tree: the test list is made before the tests enter the run tree.
std::vector<std::string> chain_files()
{
    const std::string source_dir = std::string(TEST_SOURCE_DIR) + "/../" + campaign_dir;
    std::vector<std::string> files;
    std::string next = "level1.map";
    std::set<std::string> seen;
    while (next != "end" && !seen.count(next) && files.size() < 200) {
        seen.insert(next);
        map_file m;
        if (!read_map_file((source_dir + next).c_str(), m))
            break;
        files.push_back(next);
        next = m.next_map;
    }
    return files;
}

// Line 1 of a map file as it stands in the file. The map reader keeps at most 31 characters of it and
// skips the rest without a word, so the name's length can only be seen here.
std::string raw_first_line(const std::string &path)
{
    std::string line;
    FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return line;
    int c;
    while ((c = std::fgetc(file)) != EOF && c != '\n' && line.size() < 1024)
        line += static_cast<char>(c);
    std::fclose(file);
    return line;
}

TEST(campaign_chain, runs_from_level1_to_end_through_sound_maps)
{
    const int tile_count = datafile_count(d_tiles);
    ASSERT_GT(tile_count, 1);
    std::string next = "level1.map";
    std::set<std::string> seen, names;
    int maps = 0;
    while (next != "end") {
        SCOPED_TRACE(next);
        ASSERT_FALSE(seen.count(next)) << "the chain loops back";
        seen.insert(next);
        map_file m;
        ASSERT_TRUE(read_map_file((campaign_dir + next).c_str(), m)) << "missing map";
        maps++;
        EXPECT_EQ(std::string(m.file_name), next) << "line 2 must be the map's own file name";
        EXPECT_GT(std::strlen(m.name), 0u);
        const std::string name = raw_first_line(campaign_dir + next);
        EXPECT_LE(name.size(), 31u) << "the banner shows at most 31 characters: " << name;
        EXPECT_EQ(name, m.name);
        EXPECT_TRUE(names.insert(m.name).second) << "two levels share the name " << m.name;
        // The editor offers every tile but the spare last one.
        for (int x = 0; x < map_width; x++)
            for (int y = 0; y < map_height; y++) {
                const int b = m.block_layer[x][y], t = m.trans_layer[x][y];
                EXPECT_TRUE(b >= tunnel_v && b < tile_count - 1) << "block (" << x << ", " << y << ") = " << b;
                EXPECT_TRUE(t >= -1 && t < tile_count - 1) << "trans (" << x << ", " << y << ") = " << t;
            }
        EXPECT_EQ(m.block_layer[m.start_x][m.start_y], empty_cell) << "start cell";
        EXPECT_EQ(m.block_layer[m.exit_x][m.exit_y], empty_cell) << "exit cell";
        EXPECT_TRUE(m.background >= 0 && m.background < datafile_count(d_backgrounds) - 1);
        EXPECT_TRUE(m.x_velocity >= -8 && m.x_velocity <= 8);
        EXPECT_TRUE(m.y_velocity >= -8 && m.y_velocity <= 8);
        if (m.x_velocity != 0) {
            EXPECT_EQ(m.y_velocity, 0);
        }
        EXPECT_EQ(m.teleport_count, static_cast<int>(m.teleports.size()));
        std::set<std::pair<int, int>> sources;
        for (const teleport &t : m.teleports) {
            ASSERT_TRUE(t.src_x >= 0 && t.src_x < map_width && t.src_y >= 0 && t.src_y < map_height);
            ASSERT_TRUE(t.dst_x >= 0 && t.dst_x < map_width && t.dst_y >= 0 && t.dst_y < map_height);
            EXPECT_EQ(m.block_layer[t.src_x][t.src_y], empty_cell) << "teleport source";
            EXPECT_EQ(m.block_layer[t.dst_x][t.dst_y], empty_cell) << "teleport destination";
            EXPECT_TRUE(sources.insert({t.src_x, t.src_y}).second) << "two teleports on one cell";
        }
        // The game itself loads it too.
        player_test::use_level_directory(campaign_dir);
        char file[256];
        std::snprintf(file, sizeof(file), "%s", next.c_str());
        the_map.load_map(file);
        EXPECT_EQ(std::string(the_map.file_name), next);
        EXPECT_EQ(the_map.exit_x, m.exit_x * 32);
        next = m.next_map;
    }
    EXPECT_GE(maps, 20);
}

// A solution compiled to a movie file, ready to be loaded as the game loads one.
struct compiled_solution {
    solution_result result;
    std::string movie;
};

compiled_solution compile_solution(const std::string &map)
{
    compiled_solution out;
    const std::string base = map.substr(0, map.size() - 4);
    const std::string text = read_text_file(std::string(TEST_SOURCE_DIR) + "/solutions/" + base + ".sol");
    if (text.empty()) {
        out.result.error = "no solution for " + map;
        return out;
    }
    out.movie = make_temp_dir("campaign") + "/" + base + ".qmv";
    solution_compiler compiler;
    out.result = compiler.compile(campaign_dir, map, text, out.movie);
    return out;
}

void load_movie(const std::string &movie)
{
    player_test::reset_world();
    the_player.facing = 1; // the movie itself must set the start state
    char path[256];
    std::snprintf(path, sizeof(path), "%s", movie.c_str());
    load_auto_script_no_dialog(path);
}

// What the replay of a loaded movie came to. The replay stops in the tick the movie ends: once the movie
// is over the keys it left down must not carry Pim on, so only an exit reached while it plays counts.
struct replay_outcome {
    bool reached = false; // Pim stood on the exit while the movie was still playing
    int lowest_y = 0;     // the lowest point Pim came to
};

replay_outcome replay_loaded_movie()
{
    replay_outcome out;
    out.lowest_y = the_player.y;
    // Fades pause the movie, so the bound is well above its length; the movie's end stops the loop first.
    for (int t = 0; t < play_script_time + 5000 && do_play_script; t++) {
        the_player.do_logic();
        record_script();
        play_script();
        out.lowest_y = std::max(out.lowest_y, the_player.y);
        if (the_player.win_pending) {
            out.reached = true;
            break;
        }
    }
    return out;
}

class campaign_solution : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        player_test::reset_world();
        the_player.facing = 0;
    }
};

TEST_P(campaign_solution, replays_from_its_movie_to_the_exit)
{
    const std::string map = GetParam();
    const compiled_solution compiled = compile_solution(map);
    ASSERT_TRUE(compiled.result.ok) << compiled.result.error;

    // A fresh start, then the movie from its file through the game's own playback.
    load_movie(compiled.movie);
    ASSERT_EQ(play_script_time, compiled.result.ticks);
    ASSERT_EQ(std::string(the_map.file_name), map);
    const int exit_x = the_map.exit_x, exit_y = the_map.exit_y;
    const replay_outcome outcome = replay_loaded_movie();
    ASSERT_TRUE(outcome.reached) << "the movie ends with Pim at (" << the_player.x << ", " << the_player.y << ")";
    EXPECT_EQ(the_player.x, exit_x);
    EXPECT_EQ(the_player.y, exit_y);
    EXPECT_LE(outcome.lowest_y, 448) << "Pim falls off the screen";
    EXPECT_EQ(script_time, compiled.result.ticks) << "the exit is reached in the tick after the movie's last key";
    EXPECT_EQ(the_player.restarts, 1) << "only the movie's own start reloads the map";
}

// The replay check itself: a movie that stops short of the exit must not count, even when its last key
// has already started the step that would carry Pim onto it.
TEST(campaign_replay, only_a_movie_that_plays_to_the_exit_reaches_it)
{
    player_test::reset_world();
    const compiled_solution compiled = compile_solution("level1.map");
    ASSERT_TRUE(compiled.result.ok) << compiled.result.error;
    load_movie(compiled.movie);
    // The tick of the last walking key: the press that starts the final step onto the exit.
    int last_press = -1;
    for (int t = 0; t < play_script_time; t++)
        if (script_storage[2][t] || script_storage[3][t])
            last_press = t;
    ASSERT_GT(last_press, 0);

    struct cut_case {
        const char *what;
        int ticks; // the movie's length after the cut
        bool reached;
    };
    const cut_case cases[] = {
        {"the whole movie", compiled.result.ticks, true},
        {"cut just after the last step's key", last_press + 1, false},
        {"cut before the last step", last_press, false},
        {"cut to nothing", 0, false},
    };
    for (const cut_case &c : cases) {
        SCOPED_TRACE(c.what);
        load_movie(compiled.movie);
        play_script_time = c.ticks;
        EXPECT_EQ(replay_loaded_movie().reached, c.reached);
    }
}

// Each level as the player first sees it, kept in shots/ for looking at; a level must draw as a scene,
// not as a blank or single-coloured screen.
TEST(campaign_pictures, every_level_draws_as_a_scene)
{
    player_test::reset_world();
    BITMAP *picture = create_bitmap(640, 480);
    ASSERT_TRUE(picture);
    for (const std::string &map : chain_files()) {
        SCOPED_TRACE(map);
        player_test::use_level_directory(campaign_dir);
        char file[256];
        std::snprintf(file, sizeof(file), "%s", map.c_str());
        the_map.load_map(file);
        the_player.teleport_anim = 0;
        the_player.teleport_in = 0;
        for (int t = 0; t < 30; t++)
            the_map.animate();
        clear_bitmap(picture);
        the_map.draw(picture);
        the_player.draw(picture);
        std::set<int> colours;
        for (int y = 0; y < 480; y += 4)
            for (int x = 0; x < 640; x += 4)
                colours.insert(getpixel(picture, x, y));
        EXPECT_GT(colours.size(), 40u);
        const std::string shot = "shots/campaign_" + map.substr(0, map.size() - 4) + ".bmp";
        EXPECT_EQ(save_bmp(shot.c_str(), picture, nullptr), 0);
    }
    destroy_bitmap(picture);
}

std::string level_label(const testing::TestParamInfo<std::string> &info)
{
    return info.param.substr(0, info.param.size() - 4);
}

INSTANTIATE_TEST_SUITE_P(original_levels, campaign_solution, testing::ValuesIn(chain_files()), level_label);

} // namespace
