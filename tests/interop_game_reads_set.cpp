// The level set the editor-side program made is found by the game's scan of its working directory,
// and the game's map loading reads its first map and follows its chain to the end.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include "headless.h"
#include "interop_editor_made_set.h"
#include "level_set_screen.h"
#include "map.h"
#include "player.h"

namespace {

// What the game's map holds after loading a recipe's file: start and exit in pixels.
void expect_loaded(const editor_made_set::map_recipe &r, const char *next)
{
    SCOPED_TRACE(r.file);
    EXPECT_STREQ(the_map.name, r.name);
    EXPECT_STREQ(the_map.file_name, r.file);
    EXPECT_STREQ(the_map.next_map, next);
    EXPECT_EQ(the_player.x, r.start_x * 32);
    EXPECT_EQ(the_player.y, r.start_y * 32);
    EXPECT_EQ(the_map.exit_x, r.exit_x * 32);
    EXPECT_EQ(the_map.exit_y, r.exit_y * 32);
    EXPECT_EQ(the_map.background, r.background);
    EXPECT_EQ(the_map.x_velocity, r.x_velocity);
    EXPECT_EQ(the_map.y_velocity, r.y_velocity);
    for (int x = 0; x < map_width; x++)
        EXPECT_EQ(the_map.block_layer[x][r.floor_row], r.floor_tile) << "column " << x;
    EXPECT_EQ(the_map.block_layer[r.special_x][r.floor_row - 1], r.special_code);
    EXPECT_EQ(the_map.trans_layer[r.special_x + 1][r.floor_row - 1], r.trans_tile);
    EXPECT_EQ(the_map.block_layer[r.special_x + 1][r.floor_row - 1], empty_cell);
    EXPECT_EQ(the_map.trans_layer[0][0], empty_cell);
    ASSERT_EQ(the_map.teleports.size(), r.teleports.size());
    for (std::size_t i = 0; i < r.teleports.size(); i++) {
        EXPECT_EQ(the_map.teleports[i].src_x, r.teleports[i].src_x) << "teleport " << i;
        EXPECT_EQ(the_map.teleports[i].src_y, r.teleports[i].src_y) << "teleport " << i;
        EXPECT_EQ(the_map.teleports[i].dst_x, r.teleports[i].dst_x) << "teleport " << i;
        EXPECT_EQ(the_map.teleports[i].dst_y, r.teleports[i].dst_y) << "teleport " << i;
    }
}

TEST(editor_made_set, is_found_by_the_games_scan_and_its_maps_load_in_the_game)
{
    using namespace editor_made_set;
    char saved_cwd[1024];
    ASSERT_NE(getcwd(saved_cwd, sizeof(saved_cwd)), nullptr);
    ASSERT_EQ(chdir(root), 0) << "the editor-side program made no set at " << root;

    level_sets.clear();
    load_level_sets();
    ASSERT_EQ(level_sets.size(), 1u);
    const level_set_locs found = level_sets[0];
    const auto &recipes = maps();
    EXPECT_STREQ(found.name, set_name);
    EXPECT_STREQ(found.directory, (std::string(folder) + "/").c_str());
    EXPECT_STREQ(found.first_level, recipes[0].file);
    EXPECT_STREQ(found.loader_file, loader_file);

    // The game plays a set from its directory: map files are opened as directory + name.
    char saved_directory[sizeof(loader_directory)];
    std::memcpy(saved_directory, loader_directory, sizeof(saved_directory));
    ASSERT_LT(std::strlen(found.directory), sizeof(loader_directory));
    std::memcpy(loader_directory, found.directory, std::strlen(found.directory) + 1);

    char next[256];
    std::snprintf(next, sizeof(next), "%s", found.first_level);
    for (std::size_t i = 0; i < recipes.size(); i++) {
        ASSERT_STRNE(next, "end") << "the chain ended after " << i << " maps";
        the_map.load_map(next);
        expect_loaded(recipes[i], i + 1 < recipes.size() ? recipes[i + 1].file : "end");
        std::snprintf(next, sizeof(next), "%s", the_map.next_map);
    }
    EXPECT_STREQ(next, "end");

    std::memcpy(loader_directory, saved_directory, sizeof(saved_directory));
    level_sets.clear();
    ASSERT_EQ(chdir(saved_cwd), 0);
}

} // namespace
