// Shared by the benchmarks: headless Allegro with the game's data files, and a map as busy as a map gets.
#pragma once
#include <allegro.h>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include "building_block.h"
#include "datafiles.h"
#include "do_drawing.h"
#include "map.h"
#include "player.h"
#include "stars.h"

// Starts Allegro without a display, enters the run tree and loads what the game loads at start-up.
inline void start_bench()
{
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "install_allegro failed\n");
        std::exit(2);
    }
    set_color_depth(16);
    const char *run_dir = std::getenv("SLUMBERIA_RUN_DIR");
    if (chdir(run_dir ? run_dir : RUN_DIR) != 0) {
        std::fprintf(stderr, "cannot enter the run tree\n");
        std::exit(2);
    }
    load_datafiles();
    buffer = create_bitmap(640, 480);
    the_player.init_sprites();
    the_player.temp_bitmap = create_bitmap(32, 32);
    for (int i = 0; i < 1000; i++) {
        the_bg_stars.push_back(bg_stars());
        bg_stars_do_logic();
    }
    initialize_building_blocks();
    the_map.initialize();
    the_map.flush();
}

// Every cell holds a trans tile and a block (plain tiles and every special code), with a floor row
// for Pim to stand on, 150 teleports and an exit.
inline void build_busy_map(int background, int x_velocity)
{
    the_map.flush();
    const int tiles = datafile_count(d_tiles) - 1; // the spare last tile is never placed
    for (int x = 0; x < map_width; x++)
        for (int y = 0; y < map_height; y++) {
            the_map.trans_layer[x][y] = (x * 7 + y * 3) % tiles;
            the_map.block_layer[x][y] = (x + y) % 3 == 0 ? -2 - (x + y) % 10 : (x * 5 + y) % tiles;
        }
    // Pim's column stays free so that he stands still on the floor below it.
    for (int y = 0; y < 13; y++)
        the_map.block_layer[1][y] = -1;
    the_map.block_layer[1][13] = 0;
    the_map.background = background;
    the_map.x_velocity = x_velocity;
    the_map.y_velocity = 0;
    for (int i = 0; i < 150; i++)
        the_map.teleports.push_back({2 + i % 18, i % 15, 19 - i % 18, 14 - i % 15});
    the_map.teleport_count = 150;
    the_map.exit_x = 18 * 32;
    the_map.exit_y = 2 * 32;
    the_player.x = 32;
    the_player.y = 12 * 32;
    the_player.controls = -1;
}

// Keeps eight block animations running, as when Pim builds and blocks crumble in quick succession.
inline void keep_block_anims_running()
{
    static const int strips[] = {10, 11, 7, 8, 3, 4, 1};
    static const int *const frames[] = {&up_create_frames, &up_destroy_frames, &still_create_frames,
                                        &still_destroy_frames, &crouch_create_frames, &crouch_destroy_frames,
                                        &break_frames};
    static int next = 0;
    while (the_build_block_anim.size() < 8) {
        const int kind = next % 7;
        the_build_block_anim.push_back(build_block_anim());
        the_build_block_anim.back().initialize(static_cast<BITMAP *>(d_build_tiles[strips[kind]].dat), 2,
                                               *frames[kind], 3 + next % 15, 1 + next % 12);
        next++;
    }
}

inline double seconds_since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
