// Makes a level set with the editor's own commands (save, next-map link, the chain walk and the
// loader file) below a scratch game working directory, for the game-side program to scan and load.
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include "headless.h"
#include "interop_editor_made_set.h"
#include "map.h"
#include "save_load_map.h"

namespace fs = std::filesystem;

namespace {

// Fills the editor's emptied map from a recipe, as an author paints it.
void paint(const editor_made_set::map_recipe &r)
{
    the_map.flush();
    std::snprintf(the_map.name, sizeof(the_map.name), "%s", r.name);
    the_map.start_x = r.start_x;
    the_map.start_y = r.start_y;
    the_map.exit_x = r.exit_x;
    the_map.exit_y = r.exit_y;
    the_map.background = r.background;
    the_map.x_velocity = r.x_velocity;
    the_map.y_velocity = r.y_velocity;
    for (int x = 0; x < map_width; x++)
        the_map.block_layer[x][r.floor_row] = r.floor_tile;
    the_map.block_layer[r.special_x][r.floor_row - 1] = r.special_code;
    the_map.trans_layer[r.special_x + 1][r.floor_row - 1] = r.trans_tile;
    the_map.teleports = r.teleports;
    the_map.teleport_count = static_cast<int>(r.teleports.size());
}

TEST(editor_made_set, is_saved_linked_and_compiled_by_the_editor)
{
    using namespace editor_made_set;
    fs::remove_all(root);
    const std::string set_dir = std::string(root) + "/" + folder;
    fs::create_directories(set_dir);

    // Saved last map first, so that each earlier map can be linked by choosing the saved next one.
    const auto &recipes = maps();
    for (int i = static_cast<int>(recipes.size()) - 1; i >= 0; i--) {
        paint(recipes[i]);
        if (i + 1 == static_cast<int>(recipes.size()))
            std::strcpy(the_map.next_map, "end");
        else
            next_map_from((set_dir + "/" + recipes[i + 1].file).c_str());
        std::string where = set_dir + "/" + recipes[i].file;
        ASSERT_EQ(save_map_as(&where[0]), -1) << where;
        EXPECT_STREQ(the_map.file_name, recipes[i].file);
    }

    BITMAP *progress = create_bitmap(800, 600);
    ASSERT_NE(progress, nullptr);
    char first_name[256];
    const chain_result walked = walk_level_chain((set_dir + "/" + recipes[0].file).c_str(), progress, first_name);
    destroy_bitmap(progress);
    ASSERT_EQ(walked, chain_complete);
    EXPECT_STREQ(first_name, recipes[0].file);

    std::snprintf(level_set_name, sizeof(level_set_name), "%s", set_name);
    ASSERT_EQ(save_loader_as((set_dir + "/" + loader_file).c_str(), first_name), -1);
    EXPECT_EQ(read_text_file(set_dir + "/" + loader_file), std::string(recipes[0].file) + "\n" + set_name + "\n");
}

} // namespace
