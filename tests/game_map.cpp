// The map: loading and restarting from map files, its tick, and the pixels of its frame.
#include <gtest/gtest.h>
#include <allegro.h>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include "building_block.h"
#include "case_names.h"
#include "game_map_fakes.h"
#include "headless.h"
#include "level_set_screen.h"
#include "map.h"
#include "map_file.h"
#include "player.h"
#include "stars.h"
#include "timer.h"

namespace {

// A map file with a value of its own in every field.
map_file sample_map()
{
    map_file m;
    std::strcpy(m.name, "Snoring Stairs");
    std::strcpy(m.file_name, "stairs.map");
    std::strcpy(m.next_map, "end");
    m.start_x = 2;
    m.start_y = 11;
    m.exit_x = 19;
    m.exit_y = 14;
    m.background = 3;
    m.x_velocity = 0;
    m.y_velocity = -2;
    for (int x = 0; x < map_width; x++)
        for (int y = 0; y < map_height; y++) {
            m.block_layer[x][y] = y == 14 ? x % 3 : (x + y) % 11 == 0 ? build_break : -1;
            m.trans_layer[x][y] = (x * y) % 7 == 1 ? 48 : -1;
        }
    m.block_layer[5][5] = -12; // unknown code: kept as it is
    m.teleports = {{1, 2, 17, 3}, {4, 13, 9, 0}};
    m.teleport_count = 2;
    return m;
}

// Points loader_directory at a scratch directory for the test and puts it back afterwards.
class map_loading : public testing::Test {
protected:
    void SetUp() override
    {
        std::memcpy(saved_directory, loader_directory, sizeof(saved_directory));
        dir = make_temp_dir("map_load") + "/";
        ASSERT_LT(dir.size(), sizeof(loader_directory));
        std::snprintf(loader_directory, sizeof(loader_directory), "%s", dir.c_str());
        the_map.initialize();
        the_player = player();
    }
    void TearDown() override { std::memcpy(loader_directory, saved_directory, sizeof(saved_directory)); }

    void write_map(const char *file, const map_file &m) { ASSERT_EQ(write_map_file((dir + file).c_str(), m), -1); }
    void write_text(const char *file, const std::string &text) { write_text_file(dir + file, text); }
    void load(const char *file)
    {
        char name[256];
        std::snprintf(name, sizeof(name), "%s", file);
        the_map.load_map(name);
    }

    std::string dir;
    char saved_directory[sizeof(loader_directory)];
};

TEST_F(map_loading, takes_every_field_from_the_file_and_starts_the_map)
{
    write_map("stairs_copy.map", sample_map());
    the_build_block_anim.resize(2);
    the_map.restart_pending = -1;
    the_player.x = the_player.y = 999;
    the_player.falling = -1;
    speed_counter = 7;

    load("stairs_copy.map");

    const map_file m = sample_map();
    EXPECT_STREQ(the_map.name, "Snoring Stairs");
    EXPECT_STREQ(the_map.file_name, "stairs.map"); // line 2, not the name it is stored under
    EXPECT_STREQ(the_map.next_map, "end");
    EXPECT_EQ(the_map.start_x, 2);
    EXPECT_EQ(the_map.start_y, 11);
    EXPECT_EQ(the_map.exit_x, 608);
    EXPECT_EQ(the_map.exit_y, 448);
    EXPECT_EQ(the_map.background, 3);
    EXPECT_EQ(the_map.x_velocity, 0);
    EXPECT_EQ(the_map.y_velocity, -2);
    EXPECT_EQ(0, std::memcmp(the_map.block_layer, m.block_layer, sizeof(m.block_layer)));
    EXPECT_EQ(0, std::memcmp(the_map.trans_layer, m.trans_layer, sizeof(m.trans_layer)));
    EXPECT_EQ(the_map.block_layer[5][5], -12);
    EXPECT_EQ(the_map.teleport_count, 2);
    ASSERT_EQ(the_map.teleports.size(), 2u);
    EXPECT_EQ(the_map.teleports[1].src_x, 4);
    EXPECT_EQ(the_map.teleports[1].src_y, 13);
    EXPECT_EQ(the_map.teleports[1].dst_x, 9);
    EXPECT_EQ(the_map.teleports[1].dst_y, 0);

    EXPECT_EQ(the_map.restart_pending, 0);
    EXPECT_EQ(the_map.scroll_pos, 0);
    EXPECT_TRUE(the_build_block_anim.empty());
    EXPECT_EQ(the_player.x, 64);
    EXPECT_EQ(the_player.y, 352);
    EXPECT_EQ(the_player.falling, 0);
    EXPECT_NE(the_player.teleport_anim_in_progress(), 0);
    EXPECT_EQ(speed_counter, 0);
}

TEST_F(map_loading, a_file_that_stops_after_line_10_gives_an_empty_map_with_what_it_held)
{
    write_text("short.map", "Short\nshort.map\nnext.map\n4\n5\n6\n7\n2\n-3\n0\n");
    the_map.teleports.resize(3);
    the_map.block_layer[3][3] = 7;
    load("short.map");
    EXPECT_STREQ(the_map.next_map, "next.map");
    EXPECT_EQ(the_map.start_x, 4);
    EXPECT_EQ(the_map.start_y, 5);
    EXPECT_EQ(the_map.exit_x, 6 * 32);
    EXPECT_EQ(the_map.exit_y, 7 * 32);
    EXPECT_EQ(the_map.background, 2);
    EXPECT_EQ(the_map.x_velocity, -3);
    EXPECT_EQ(the_map.y_velocity, 0);
    for (int x = 0; x < map_width; x++)
        for (int y = 0; y < map_height; y++) {
            ASSERT_EQ(the_map.block_layer[x][y], -1);
            ASSERT_EQ(the_map.trans_layer[x][y], -1);
        }
    EXPECT_TRUE(the_map.teleports.empty());
    EXPECT_EQ(the_map.teleport_count, 0);
}

TEST_F(map_loading, an_early_stop_leaves_the_empty_map_defaults)
{
    // Stops at line 6: the exit, background and velocities are the empty map's.
    write_text("stop.map", "Stop\nstop.map\nend\n3\n4\nsoon\n9\n");
    load("stop.map");
    EXPECT_EQ(the_map.start_x, 3);
    EXPECT_EQ(the_map.start_y, 4);
    EXPECT_EQ(the_map.exit_x, 608);
    EXPECT_EQ(the_map.exit_y, 448);
    EXPECT_EQ(the_map.background, 1);
    EXPECT_EQ(the_map.x_velocity, 1);
    EXPECT_EQ(the_map.y_velocity, 0);
    EXPECT_EQ(the_player.x, 96);
    EXPECT_EQ(the_player.y, 128);
}

TEST_F(map_loading, a_negative_teleport_count_gives_no_teleports)
{
    std::string text = "Neg\nneg.map\nend\n0 0 19 14 1 1 0\n";
    for (int i = 0; i < 600; i++)
        text += "-1 ";
    text += "-3 1 2 3 4\n";
    write_text("neg.map", text);
    load("neg.map");
    EXPECT_EQ(the_map.teleport_count, -3);
    EXPECT_TRUE(the_map.teleports.empty());
}

TEST_F(map_loading, flush_keeps_the_names_and_the_teleport_phase)
{
    write_map("stairs.map", sample_map());
    load("stairs.map");
    the_map.teleport_tick = 5;
    the_map.teleport_frame = 1;
    the_map.win_frame = 2;
    the_map.win_tick = 3;
    the_map.flush();
    EXPECT_STREQ(the_map.name, "Snoring Stairs");
    EXPECT_STREQ(the_map.file_name, "stairs.map");
    EXPECT_STREQ(the_map.next_map, "end");
    EXPECT_EQ(the_map.teleport_tick, 5);
    EXPECT_EQ(the_map.teleport_frame, 1);
    EXPECT_EQ(the_map.win_frame, 0);
    EXPECT_EQ(the_map.win_tick, 0);
    EXPECT_EQ(the_map.win_delay, 5);
    EXPECT_EQ(the_map.teleport_delay, 8);
    EXPECT_EQ(the_map.exit_x, 19);
    EXPECT_EQ(the_map.exit_y, 14);
    EXPECT_EQ(the_map.background, 1);
    EXPECT_EQ(the_map.x_velocity, 1);
    EXPECT_TRUE(the_map.teleports.empty());
}

TEST_F(map_loading, restart_rebuilds_from_line_2_keeps_the_scroll_and_counts_a_restart)
{
    write_map("stairs.map", sample_map());
    load("stairs.map");
    the_map.block_layer[6][6] = build_still; // a block built in play
    the_map.block_layer[0][0] = -1;          // a crumbled block
    the_map.scroll_pos = 123;
    the_map.teleport_frame = 1;
    the_map.win_frame = 3;
    the_build_block_anim.resize(1);
    the_player.walking = -1;
    the_player.step = 9;
    the_player.break_pending = -1;
    the_player.teleporting = -1;
    the_player.restarts = 0;
    the_player.blocks_created = 4;

    the_map.restart();
    EXPECT_EQ(the_map.block_layer[6][6], -1);
    EXPECT_EQ(the_map.block_layer[0][0], build_break);
    EXPECT_EQ(the_map.scroll_pos, 123);
    EXPECT_EQ(the_map.teleport_frame, 1);
    EXPECT_EQ(the_map.win_frame, 0);
    EXPECT_TRUE(the_build_block_anim.empty());
    EXPECT_EQ(the_player.walking, 0);
    EXPECT_EQ(the_player.step, 0);
    EXPECT_EQ(the_player.break_pending, 0);
    EXPECT_EQ(the_player.teleporting, 0);
    EXPECT_EQ(the_player.restarts, 1);
    EXPECT_EQ(the_player.blocks_created, 4);
    EXPECT_EQ(speed_counter, 0);

    the_map.restart();
    EXPECT_EQ(the_player.restarts, 2);
    EXPECT_EQ(the_map.scroll_pos, 123);
}

TEST_F(map_loading, the_reload_after_a_fall_counts_nothing_and_resets_the_scroll)
{
    write_map("stairs.map", sample_map());
    load("stairs.map");
    the_map.scroll_pos = 40;
    the_player.restarts = 3;
    the_map.load_map(the_map.file_name);
    EXPECT_EQ(the_map.scroll_pos, 0);
    EXPECT_EQ(the_player.restarts, 3);
    EXPECT_STREQ(the_map.name, "Snoring Stairs");
}

TEST_F(map_loading, restart_uses_whatever_file_name_holds)
{
    map_file other = sample_map();
    std::strcpy(other.name, "Other");
    write_map("other.map", other);
    std::strcpy(the_map.file_name, "other.map");
    the_map.restart();
    EXPECT_STREQ(the_map.name, "Other");
    EXPECT_STREQ(the_map.file_name, "stairs.map");
}

using map_loading_death = map_loading;

TEST_F(map_loading_death, a_missing_file_ends_the_game)
{
    EXPECT_EXIT(load("absent.map"), testing::ExitedWithCode(1), "");
}

TEST_F(map_loading_death, a_path_too_long_is_refused_rather_than_cut_to_another_file)
{
    // The first 255 characters of the path name a real map; it must not be the one loaded.
    const std::string file(255 - dir.size() + 20, 'm');
    const std::string cut = file.substr(0, 255 - dir.size());
    write_map(cut.c_str(), sample_map());
    char name[256];
    std::snprintf(name, sizeof(name), "%s", file.c_str());
    EXPECT_EXIT(the_map.load_map(name), testing::ExitedWithCode(1), "");
}

// Logic and drawing run on stand-in data files with known pixels.
class map_frame : public testing::Test {
protected:
    void SetUp() override
    {
        saved_stars.swap(the_bg_stars);
        the_player = player();
        the_map.flush();
        the_map.initialize();
        the_map.background = 0; // an empty star field: plain black behind the cells
        the_map.x_velocity = the_map.y_velocity = 0;
        the_map.exit_x = 608;
        the_map.exit_y = 448;
        the_map.teleport_tick = 0; // flush leaves the teleport phase as the last test left it
        the_map.teleport_frame = 0;
        target = create_bitmap(640, 480);
        clear_to_color(target, 0);
    }
    void TearDown() override
    {
        destroy_bitmap(target);
        the_build_block_anim.clear();
        the_map.flush();
        saved_stars.swap(the_bg_stars);
    }
    // Pixel (px, py) inside cell (cx, cy).
    int cell_pixel(int cx, int cy, int px, int py) { return getpixel(target, cx * 32 + px, cy * 32 + py); }

    fake_map_data data;
    BITMAP *target = nullptr;
    std::vector<bg_stars> saved_stars;
};

TEST_F(map_frame, initialize_takes_the_last_frames_from_the_strips)
{
    EXPECT_EQ(the_map.win_last_frame, 3);
    EXPECT_EQ(the_map.teleport_last_frame, 1);
    initialize_building_blocks();
    EXPECT_EQ(up_create_frames, 4);
    EXPECT_EQ(break_frames, 4);
}

TEST_F(map_frame, the_exit_frame_moves_on_every_sixth_tick)
{
    for (int n = 1; n <= 60; n++) {
        the_map.animate();
        ASSERT_EQ(the_map.win_frame, (n / 6) % 4) << "after tick " << n;
    }
}

TEST_F(map_frame, the_teleport_frame_moves_on_every_eighth_tick_and_only_with_teleports)
{
    the_map.teleport_tick = 3;
    the_map.teleport_frame = 1;
    for (int n = 0; n < 20; n++)
        the_map.animate();
    EXPECT_EQ(the_map.teleport_tick, 3);
    EXPECT_EQ(the_map.teleport_frame, 1);

    the_map.teleport_tick = 0;
    the_map.teleport_frame = 0;
    the_map.teleports.push_back({1, 1, 2, 2});
    for (int n = 1; n <= 40; n++) {
        the_map.animate();
        ASSERT_EQ(the_map.teleport_frame, (n / 8) % 2) << "after tick " << n;
    }
}

struct scroll_case {
    int x_velocity, y_velocity, from, to;
};

class map_scroll : public map_frame, public testing::WithParamInterface<scroll_case> {};

TEST_P(map_scroll, one_tick_moves_and_wraps_the_offset)
{
    const scroll_case &c = GetParam();
    the_map.background = 1;
    the_map.x_velocity = c.x_velocity;
    the_map.y_velocity = c.y_velocity;
    the_map.scroll_pos = c.from;
    the_map.scroll_background();
    EXPECT_EQ(the_map.scroll_pos, c.to);
}

const scroll_case scroll_cases[] = {
    {3, 0, 639, 2},   {-3, 0, 1, 638}, {0, 8, 476, 4},  {0, -8, 3, 475}, {8, 0, 632, 640},
    {-1, 0, 0, 639},  {0, 0, 17, 17},  {3, 5, 10, 13}, // both set: horizontal only
    {1000, 0, 0, 360}, {0, -100000, 0, 320},             // faster than any editor writes: still wrapped
};

// Names the case in test names: the velocities and the starting offset.
std::string case_label(const scroll_case &c)
{
    return "velocity " + number_name(c.x_velocity) + " " + number_name(c.y_velocity) + " from " + std::to_string(c.from);
}

INSTANTIATE_TEST_SUITE_P(cases, map_scroll, testing::ValuesIn(scroll_cases), label_name());

TEST_F(map_frame, a_huge_scroll_speed_keeps_the_offset_on_the_image)
{
    the_map.background = 1;
    for (int v : {INT_MAX, INT_MIN}) {
        the_map.x_velocity = v;
        for (int n = 0; n < 100; n++) {
            the_map.scroll_background();
            ASSERT_GE(the_map.scroll_pos, 0);
            ASSERT_LE(the_map.scroll_pos, 640);
        }
    }
}

TEST_F(map_frame, background_0_moves_the_stars_not_the_offset)
{
    the_bg_stars.assign(3, bg_stars());
    const int x0 = the_bg_stars[0].x;
    the_map.x_velocity = 4;
    the_map.scroll_background();
    EXPECT_EQ(the_map.scroll_pos, 0);
    EXPECT_EQ(the_bg_stars[0].x, x0 + the_bg_stars[0].speed);
}

TEST_F(map_frame, a_block_animation_ends_on_its_frame_count_times_delay_th_step)
{
    struct { int delay, frames; } kinds[] = {{2, 4}, {5, 3}, {5, 1}};
    for (auto kind : kinds) {
        the_build_block_anim.clear();
        the_build_block_anim.push_back(build_block_anim());
        the_build_block_anim.back().initialize(data.build_tile(10), kind.delay, kind.frames, 3, 4);
        const int last_step = kind.delay * kind.frames;
        for (int step = 1; step < last_step; step++) {
            the_map.animate();
            ASSERT_EQ(the_build_block_anim.size(), 1u) << "step " << step;
            ASSERT_EQ(the_build_block_anim[0].frame, step / kind.delay);
        }
        the_map.animate();
        EXPECT_TRUE(the_build_block_anim.empty()) << "delay " << kind.delay;
    }
}

TEST_F(map_frame, a_strip_too_narrow_for_a_frame_ends_at_once)
{
    the_build_block_anim.push_back(build_block_anim());
    the_build_block_anim.back().initialize(data.build_tile(10), 2, 0, 3, 4);
    the_map.animate();
    EXPECT_TRUE(the_build_block_anim.empty());
}

TEST_F(map_frame, a_record_that_ends_does_not_keep_the_next_from_its_step)
{
    for (int i = 0; i < 4; i++) {
        the_build_block_anim.push_back(build_block_anim());
        // The first two end on this tick, the others do not.
        the_build_block_anim.back().initialize(data.build_tile(7), 2, i < 2 ? 1 : 3, i, 0);
        the_build_block_anim.back().tick = 1;
    }
    the_map.animate();
    ASSERT_EQ(the_build_block_anim.size(), 2u);
    for (const build_block_anim &anim : the_build_block_anim) {
        EXPECT_EQ(anim.frame, 1) << "record at column " << anim.x;
        EXPECT_EQ(anim.tick, 0);
    }
    EXPECT_EQ(the_build_block_anim[0].x, 2);
    EXPECT_EQ(the_build_block_anim[1].x, 3);
}

TEST_F(map_frame, the_exit_layers_the_five_frames_after_win_frame_ever_more_opaque)
{
    the_map.win_frame = 2; // shows frames 3, 0, 1, 2, 3 at alpha 51, 102, 153, 204, 255
    the_map.exit_x = 64;
    the_map.exit_y = 96;
    the_map.draw_win(target);
    // Band k of the exit is white only in frame k, so its brightness tells the alpha frame k was drawn with.
    const int expected_level[4] = {102, 153, 204, 255};
    for (int k = 0; k < 4; k++) {
        const int pixel = getpixel(target, 64 + 8 * k + 3, 96 + 5);
        EXPECT_NEAR(getr(pixel), expected_level[k], 20) << "band of frame " << k;
        EXPECT_NEAR(getg(pixel), expected_level[k], 20) << "band of frame " << k;
    }
    // Where every frame is opaque, the last layer (frame 3, fully opaque) is what remains.
    EXPECT_EQ(getpixel(target, 64 + 10, 96 + 20), exit_shared_colour(3));
    // Outside the exit cell nothing is drawn.
    EXPECT_EQ(getpixel(target, 63, 100), 0);
    EXPECT_EQ(getpixel(target, 96, 100), 0);
}

TEST_F(map_frame, a_teleport_shows_its_frame_at_the_source_and_upside_down_at_the_destination)
{
    the_map.teleports = {{2, 3, 5, 6}};
    the_map.teleport_frame = 1;
    the_map.draw(target);
    EXPECT_EQ(cell_pixel(2, 3, 10, 4), teleport_top(1));
    EXPECT_EQ(cell_pixel(2, 3, 10, 28), teleport_bottom(1));
    EXPECT_EQ(cell_pixel(2, 3, 0, 10), 0); // the strip's mask column stays see-through
    EXPECT_EQ(cell_pixel(5, 6, 10, 4), teleport_bottom(1));
    EXPECT_EQ(cell_pixel(5, 6, 10, 28), teleport_top(1));
    EXPECT_EQ(cell_pixel(5, 6, 0, 10), 0);
}

TEST_F(map_frame, teleports_far_outside_the_grid_draw_nothing_and_harm_nothing)
{
    the_map.teleports = {{INT_MAX, INT_MIN, INT_MIN, INT_MAX}, {-1, 0, 20, 14}, {3, 3, 3, 4}};
    the_map.draw(target);
    EXPECT_EQ(cell_pixel(3, 3, 10, 4), teleport_top(0));
    EXPECT_EQ(cell_pixel(3, 4, 10, 4), teleport_bottom(0));
}

TEST_F(map_frame, two_records_on_one_cell_lie_below_the_tiles_and_the_first_again_on_top)
{
    // A covers the cell's left half; B all of it; tile 1 all but its bottom-right quadrant.
    BITMAP *a = solid(32, 32, mask_colour());
    rectfill(a, 0, 0, 15, 31, rgb(8, 248, 248));
    BITMAP *b = solid(32, 32, rgb(248, 8, 128));
    the_build_block_anim.resize(2);
    the_build_block_anim[0].initialize(a, 2, 1, 4, 4);
    the_build_block_anim[1].initialize(b, 2, 1, 4, 4);
    the_map.block_layer[4][4] = 1;
    the_map.draw(target);
    EXPECT_EQ(cell_pixel(4, 4, 5, 5), rgb(8, 248, 248));   // A on top
    EXPECT_EQ(cell_pixel(4, 4, 5, 25), rgb(8, 248, 248));
    EXPECT_EQ(cell_pixel(4, 4, 25, 5), tile_colour(1));    // the tile over B
    EXPECT_EQ(cell_pixel(4, 4, 25, 25), rgb(248, 8, 128)); // B through the tile's hole
    destroy_bitmap(a);
    destroy_bitmap(b);
}

TEST_F(map_frame, the_trans_layer_lies_behind_the_block_layer)
{
    the_map.trans_layer[8][2] = 0;
    the_map.block_layer[8][2] = 1;
    the_map.trans_layer[9][2] = 2;
    the_map.draw(target);
    EXPECT_EQ(cell_pixel(8, 2, 4, 4), tile_colour(1));
    EXPECT_EQ(cell_pixel(8, 2, 28, 28), tile_colour(0));
    EXPECT_EQ(cell_pixel(9, 2, 28, 28), tile_colour(2));
}

struct still_case {
    int code;
    int image; // d_build_tiles entry, or -1 for nothing drawn
};

class map_cell_image : public map_frame, public testing::WithParamInterface<still_case> {};

TEST_P(map_cell_image, each_block_code_draws_its_own_image_or_nothing)
{
    const still_case &c = GetParam();
    the_map.block_layer[10][7] = c.code;
    the_map.trans_layer[11][7] = c.code >= 0 ? c.code : -1;
    the_map.draw(target);
    const int expected = c.image >= 0 ? still_colour(c.image) : 0;
    EXPECT_EQ(cell_pixel(10, 7, 16, 16), expected) << "code " << c.code;
    EXPECT_EQ(cell_pixel(11, 7, 16, 16), 0) << "trans " << c.code;
}

const still_case still_cases[] = {
    {build_up, 9},       {build_still, 6},     {build_crouch, 2}, {blocked_tile, 5},
    {blocked_still, 14}, {blocked_crouch, 13}, {blocked_up, 15},  {build_break, 0},
    {tunnel_h, 17},      {tunnel_v, 18},       {-12, -1},         {INT_MIN, -1},
    {3, -1}, // an object of the tile file that is no image
    {4, -1}, // one past the last object of the tile file
    {INT_MAX, -1},
};

std::string case_label(const still_case &c) { return "code " + number_name(c.code); }

INSTANTIATE_TEST_SUITE_P(cases, map_cell_image, testing::ValuesIn(still_cases), label_name());

TEST_F(map_frame, a_running_animation_takes_the_place_of_the_blocks_still_image)
{
    the_map.block_layer[7][7] = build_up;
    the_build_block_anim.push_back(build_block_anim());
    the_build_block_anim.back().initialize(data.build_tile(10), up_create_frame_delay, 4, 7, 7);
    the_map.animate(); // created in this tick's player logic: first step still on frame 0
    the_map.draw(target);
    EXPECT_EQ(cell_pixel(7, 7, 16, 16), strip_colour(10, 0));
    the_map.animate();
    the_map.draw(target);
    EXPECT_EQ(cell_pixel(7, 7, 16, 16), strip_colour(10, 1));
    for (int n = 0; n < 6; n++)
        the_map.animate();
    ASSERT_TRUE(the_build_block_anim.empty());
    the_map.draw(target);
    EXPECT_EQ(cell_pixel(7, 7, 16, 16), still_colour(9));
}

TEST_F(map_frame, a_record_outside_the_grid_is_stepped_but_never_drawn)
{
    the_build_block_anim.push_back(build_block_anim());
    the_build_block_anim.back().initialize(data.build_tile(10), 2, 4, 20, 3);
    the_map.exit_x = 9999; // the exit out of sight too, so the frame must stay black
    the_map.draw(target);
    BITMAP *black = create_bitmap(640, 480);
    clear_to_color(black, 0);
    EXPECT_EQ(0, std::memcmp(target->line[0], black->line[0], 640 * 480 * 2));
    destroy_bitmap(black);
    the_map.animate();
    ASSERT_EQ(the_build_block_anim.size(), 1u);
    EXPECT_EQ(the_build_block_anim[0].tick, 1);
}

struct background_case {
    const char *label;
    int x_velocity, y_velocity, scroll_pos;
};

class map_background : public map_frame, public testing::WithParamInterface<background_case> {};

TEST_P(map_background, screen_column_c_shows_image_column_c_minus_p)
{
    const background_case &c = GetParam();
    the_map.background = 1;
    the_map.x_velocity = c.x_velocity;
    the_map.y_velocity = c.y_velocity;
    the_map.scroll_pos = c.scroll_pos;
    the_map.draw_background(target);
    const int p = c.x_velocity != 0 ? c.scroll_pos : 0;
    for (int col = 0; col < 640; col++)
        ASSERT_EQ(getpixel(target, col, 200), column_colour(((col - p) % 640 + 640) % 640))
            << c.label << ", column " << col;
}

const background_case background_cases[] = {
    {"still", 0, 0, 0},          {"still ignores the offset", 0, 0, 77}, {"right", 2, 0, 5},
    {"left", -2, 0, 635},        {"offset 0", 1, 0, 0},                   {"offset 640 draws like 0", 1, 0, 640},
    {"both set: horizontal", 4, 4, 300},
};

INSTANTIATE_TEST_SUITE_P(cases, map_background, testing::ValuesIn(background_cases), label_name());

TEST_F(map_frame, vertical_scrolling_shows_image_row_r_minus_p)
{
    the_map.background = 2;
    the_map.y_velocity = -3;
    for (int p : {0, 7, 479, 480}) {
        the_map.scroll_pos = p;
        the_map.draw_background(target);
        for (int row = 0; row < 480; row++)
            ASSERT_EQ(getpixel(target, 300, row), column_colour(((row - p) % 480 + 480) % 480))
                << "offset " << p << ", row " << row;
    }
}

TEST_F(map_frame, a_background_that_names_no_image_shows_the_star_field)
{
    the_bg_stars.assign(50, bg_stars());
    BITMAP *stars = create_bitmap(640, 480);
    clear_to_color(stars, 0);
    bg_stars_do_drawing(stars);
    for (int background : {0, -1, 3, 4, INT_MAX, INT_MIN}) {
        the_map.background = background;
        the_map.x_velocity = 2;
        clear_to_color(target, 0);
        the_map.draw_background(target);
        EXPECT_EQ(0, std::memcmp(target->line[0], stars->line[0], 640 * 480 * 2)) << background;
    }
    destroy_bitmap(stars);
}

} // namespace
