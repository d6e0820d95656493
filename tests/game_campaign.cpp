// The "Original Levels" campaign: the chain of maps is whole and sound, and every level's solution replays to its exit.
#include <gtest/gtest.h>
#include <allegro.h>
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
    const std::string base = map.substr(0, map.size() - 4);
    const std::string text = read_text_file(std::string(TEST_SOURCE_DIR) + "/solutions/" + base + ".sol");
    ASSERT_FALSE(text.empty()) << "no solution for " << map;
    const std::string movie = make_temp_dir("campaign") + "/" + base + ".qmv";

    solution_compiler compiler;
    solution_result compiled = compiler.compile(campaign_dir, map, text, movie);
    ASSERT_TRUE(compiled.ok) << compiled.error;

    // A fresh start, then the movie from its file through the game's own playback.
    player_test::reset_world();
    the_player.facing = 1; // the movie itself must set the start state
    char path[256];
    std::snprintf(path, sizeof(path), "%s", movie.c_str());
    load_auto_script_no_dialog(path);
    ASSERT_EQ(play_script_time, compiled.ticks);
    ASSERT_EQ(std::string(the_map.file_name), map);
    const int exit_x = the_map.exit_x, exit_y = the_map.exit_y;
    bool reached = false;
    for (int t = 0; t < compiled.ticks + 3000 && !reached; t++) {
        the_player.do_logic();
        record_script();
        play_script();
        ASSERT_LE(the_player.y, 448) << "Pim falls off the screen at movie tick " << script_time;
        reached = the_player.win_pending != 0;
    }
    ASSERT_TRUE(reached) << "the movie ends with Pim at (" << the_player.x << ", " << the_player.y << ")";
    EXPECT_EQ(the_player.x, exit_x);
    EXPECT_EQ(the_player.y, exit_y);
    EXPECT_LE(script_time, compiled.ticks) << "the exit must be reached within the movie";
    EXPECT_EQ(the_player.restarts, 1) << "only the movie's own start reloads the map";
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
