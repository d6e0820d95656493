// A level set laid out as the editor writes it is found by the game's scan, and its maps load and chain.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include "headless.h"
#include "level_set_screen.h"
#include "map.h"
#include "map_file.h"
#include "player.h"

namespace fs = std::filesystem;

namespace {

// A map as the editor saves it: its own base name on line 2, the next map on line 3.
map_file editor_map(const char *name, const char *own, const char *next, int solid_row)
{
    map_file m;
    for (auto &column : m.block_layer)
        for (int &cell : column)
            cell = -1;
    for (auto &column : m.trans_layer)
        for (int &cell : column)
            cell = -1;
    std::snprintf(m.name, sizeof(m.name), "%s", name);
    std::snprintf(m.file_name, sizeof(m.file_name), "%s", own);
    std::snprintf(m.next_map, sizeof(m.next_map), "%s", next);
    m.start_x = 1;
    m.start_y = solid_row - 1;
    m.exit_x = 18;
    m.exit_y = solid_row - 1;
    m.background = 2;
    m.x_velocity = 1;
    for (int x = 0; x < map_width; x++)
        m.block_layer[x][solid_row] = 0;
    m.block_layer[5][solid_row - 1] = build_break;
    m.teleports.push_back({3, solid_row - 1, 7, 2});
    m.teleport_count = 1;
    return m;
}

TEST(level_set_interop, an_editor_made_set_is_listed_and_its_chain_loads)
{
    std::string root = make_temp_dir("interop");
    std::string set_dir = root + "/data/levels/night walk";
    fs::create_directories(set_dir);
    ASSERT_EQ(write_map_file((set_dir + "/first.map").c_str(), editor_map("Lantern Steps", "first.map", "second.map", 12)), -1);
    ASSERT_EQ(write_map_file((set_dir + "/second.map").c_str(), editor_map("Quiet Roofs", "second.map", "end", 9)), -1);
    // The loader file: the first map's name, then the set's name, each on its own line.
    write_text_file(set_dir + "/night walk.qlx", "first.map\nNight Walk\n");

    char saved_cwd[1024];
    ASSERT_NE(getcwd(saved_cwd, sizeof(saved_cwd)), nullptr);
    ASSERT_EQ(chdir(root.c_str()), 0);
    level_sets.clear();
    load_level_sets();
    ASSERT_EQ(level_sets.size(), 1u);
    const level_set_locs found = level_sets[0];
    EXPECT_STREQ(found.name, "Night Walk");
    EXPECT_STREQ(found.first_level, "first.map");
    EXPECT_STREQ(found.directory, "data/levels/night walk/");
    EXPECT_STREQ(found.loader_file, "night walk.qlx");

    char saved_dir[sizeof(loader_directory)];
    std::memcpy(saved_dir, loader_directory, sizeof(saved_dir));
    ASSERT_LT(std::strlen(found.directory), sizeof(loader_directory));
    std::memcpy(loader_directory, found.directory, std::strlen(found.directory) + 1);
    char first[256];
    std::snprintf(first, sizeof(first), "%s", found.first_level);
    the_map.load_map(first);
    EXPECT_STREQ(the_map.name, "Lantern Steps");
    EXPECT_STREQ(the_map.file_name, "first.map");
    EXPECT_EQ(the_map.block_layer[5][11], build_break);
    EXPECT_EQ(the_player.x, 32);
    EXPECT_EQ(the_player.y, 11 * 32);
    ASSERT_EQ(the_map.teleports.size(), 1u);
    EXPECT_EQ(the_map.teleports[0].dst_y, 2);

    // The next map is found through line 3 in the same directory.
    char next[256];
    std::snprintf(next, sizeof(next), "%s", the_map.next_map);
    the_map.load_map(next);
    EXPECT_STREQ(the_map.name, "Quiet Roofs");
    EXPECT_STREQ(the_map.next_map, "end");
    EXPECT_EQ(the_map.exit_x, 18 * 32);
    EXPECT_EQ(the_map.exit_y, 8 * 32);

    std::memcpy(loader_directory, saved_dir, sizeof(saved_dir));
    level_sets.clear();
    ASSERT_EQ(chdir(saved_cwd), 0);
    fs::remove_all(root);
}

} // namespace
