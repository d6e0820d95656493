// A long run of random key input on a map with every block kind and teleports, some leading off the grid.
#include <random>
#include "do_logic.h"
#include "game_player_fixture.h"

using namespace player_test;

namespace {

// Every block kind, tunnels both ways, crumbling blocks, a pit to die in and an exit.
const std::vector<std::string> soak_rows = {
    "....................",
    "....................",
    "....................",
    "....................",
    "....................",
    "#####....|....######",
    "....................",
    "....................",
    "....U.......S.......",
    ".........==.........",
    "##sduXC##==#CC#|#D##",
    "....................",
    "....................",
    "....................",
    "#######...##########",
};

const std::vector<teleport> soak_teleports = {
    {8, 9, 3, 4},   // up to the top floor
    {18, 9, 25, 3}, // off the right edge
    {0, 13, 2, -6}, // above the grid: drops back in
    {12, 13, 6, 40}, // below the grid
    {1, 4, -4, 8},  // off the left edge
    {4, 13, 4, 13}, // onto itself
};

// The map holds plain tile 0 and the special codes only; building writes nothing else.
bool known_code(int code)
{
    return code == 0 || (code <= empty_cell && code >= tunnel_v);
}

} // namespace

TEST(player_soak, random_keys_never_leave_the_grid_or_break_the_map)
{
    reset_world();
    const std::string dir = make_temp_dir("player_soak") + "/";
    use_level_directory(dir);
    write_text_file(dir + "soak.map",
                    map_file_text("Soak", "soak.map", "soak.map", 1, 9, 16, 4, soak_rows, soak_teleports));
    char file[] = "soak.map";
    the_map.load_map(file);

    std::mt19937 random(20240611);
    const int keys[] = {KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN, KEY_SPACE, KEY_R};
    const int flip_per_mille[] = {60, 60, 40, 40, 80, 2};
    std::uniform_int_distribution<int> per_mille(0, 999);

    int sounds[5] = {};
    int off_grid_ticks = 0;
    for (int t = 0; t < 30000; t++) {
        for (int k = 0; k < 6; k++)
            if (per_mille(random) < flip_per_mille[k])
                key[keys[k]] = key[keys[k]] ? 0 : -1;
        speed_counter = 100; // a death or a restart runs the wipe on owed ticks
        clear_sounds();
        do_logic();
        the_map.animate();
        for (int entry : sounds_played())
            if (entry >= 0 && entry < 5)
                sounds[entry]++;
        if (the_player.x < 0 || the_player.x >= 640 || the_player.y < 0)
            off_grid_ticks++;
        if (t % 5 == 0) {
            the_map.draw(buffer);
            the_player.draw(buffer);
        }

        for (int x = 0; x < map_width; x++)
            for (int y = 0; y < map_height; y++)
                ASSERT_TRUE(known_code(the_map.block_layer[x][y])) << x << "," << y << " tick " << t;
        ASSERT_GE(the_player.x, -64); // a teleport left of the grid lands two cells out
        ASSERT_LE(the_player.x, 640);
        ASSERT_GE(the_player.y, -32);
        ASSERT_LE(the_player.y, 482);
        ASSERT_GE(the_player.walk_frame, 0);
        ASSERT_LE(the_player.walk_frame, 6);
        ASSERT_GE(the_player.step, 0);
        ASSERT_LE(the_player.step, 32);
        ASSERT_GE(the_player.alpha, 0);
        ASSERT_LE(the_player.alpha, 255);
        ASSERT_EQ(the_player.x % 2, 0);
        ASSERT_EQ(the_player.y % 2, 0);
    }
    release_all_keys();
    leave_level_directory(dir);

    // The run did reach what it is meant to shake: building, destroying, refusals, teleports.
    for (int entry = 0; entry < 5; entry++)
        EXPECT_GT(sounds[entry], 0) << "sound " << entry;
    EXPECT_GT(off_grid_ticks, 0);
}
