// Building and destroying blocks with the action key, the rule table cell by cell, and Crumbling Blocks.
#include "game_player_fixture.h"

using namespace player_test;

namespace {

// Every code Pim can stand on, as set_cells characters: plain, -2 .. -11.
const std::string codes_under = "#USDXsduC=|";

struct anim_expect {
    int strip;
    int delay;
    const int *frames;
};

struct pose_setup {
    const char *name;
    int pose_key; // 0: no pose key
    int build_x, build_y;     // cell a build writes, Pim standing at (5, 9) facing right
    int destroy_x, destroy_y; // cell a destroy clears
    int block;
    anim_expect created, destroyed;
};

const pose_setup standing = {"standing", 0, 6, 9, 6, 9, build_still,
                             {7, 2, &still_create_frames}, {8, 5, &still_destroy_frames}};
const pose_setup down = {"down", KEY_DOWN, 6, 10, 6, 10, build_crouch,
                         {3, 2, &crouch_create_frames}, {4, 5, &crouch_destroy_frames}};
const pose_setup up = {"up", KEY_UP, 5, 9, 5, 10, build_up,
                       {10, 2, &up_create_frames}, {11, 5, &up_destroy_frames}};

// One row of the rule table: a pose, what stands in the target cell, and the outcome for each
// code under Pim in the order of codes_under: B build, D destroy, R refused, - nothing at all
// (over a vertical tunnel Pim is falling, and the key is not taken).
struct rule_row {
    const pose_setup *pose;
    char target;
    const char *outcomes;
};

const rule_row rule_table[] = {
    {&standing, '.', "BRRRRRBBRB-"},
    {&standing, 'S', "DDDDDDDDDD-"},
    {&standing, 'D', "RRRRRRRRRR-"},
    {&down, '.', "BRRRRBRBRB-"},
    {&down, 'D', "DDDDDDDDDD-"},
    {&down, 'S', "RRRRRRRRRR-"},
    {&up, '.', "BDRRRBBRRB-"},
};

std::vector<std::string> ground(char under)
{
    std::vector<std::string> rows(15, "");
    rows[10] = "#####..#############"; // (6, 10) stays open for the Down Block
    rows[10][5] = under;
    rows[14] = "####################";
    return rows;
}

void press_action_with_pose(const pose_setup &pose)
{
    if (pose.pose_key)
        press(pose.pose_key);
    press(KEY_SPACE);
    tick();
}

struct layer_copy {
    int cells[map_width][map_height];
    layer_copy() { std::memcpy(cells, the_map.block_layer, sizeof(cells)); }
};

bool layer_equals(const layer_copy &before)
{
    return std::memcmp(before.cells, the_map.block_layer, sizeof(before.cells)) == 0;
}

void expect_last_anim(const anim_expect &anim, int x, int y)
{
    ASSERT_FALSE(the_build_block_anim.empty());
    const build_block_anim &record = the_build_block_anim.back();
    EXPECT_EQ(record.strip, static_cast<BITMAP *>(d_build_tiles[anim.strip].dat)) << "strip " << anim.strip;
    EXPECT_EQ(record.x, x);
    EXPECT_EQ(record.y, y);
    EXPECT_EQ(record.delay, anim.delay);
    EXPECT_EQ(record.frame_count, *anim.frames);
}

class player_building : public player_test_base {};

} // namespace

TEST_F(player_building, the_rule_table)
{
    for (const rule_row &row : rule_table) {
        for (std::size_t i = 0; i < codes_under.size(); i++) {
            const char under = codes_under[i];
            const char outcome = row.outcomes[i];
            SCOPED_TRACE(std::string(row.pose->name) + " facing '" + row.target + "' on '" + under + "'");
            reset_world();
            set_cells(ground(under));
            const pose_setup &pose = *row.pose;
            if (row.target != '.')
                the_map.block_layer[pose.destroy_x][pose.destroy_y] = code_of(row.target);
            place(5, 9);
            const layer_copy before;

            press_action_with_pose(pose);

            switch (outcome) {
            case 'B':
                EXPECT_EQ(the_map.block_layer[pose.build_x][pose.build_y], pose.block);
                EXPECT_EQ(sounds_played(), std::vector<int>{0});
                EXPECT_EQ(the_player.blocks_created, 1);
                EXPECT_EQ(the_player.blocks_destroyed, 0);
                EXPECT_EQ(the_player.climbing, pose.block == build_up ? -1 : 0);
                expect_last_anim(pose.created, pose.build_x, pose.build_y);
                break;
            case 'D':
                EXPECT_EQ(the_map.block_layer[pose.destroy_x][pose.destroy_y], empty_cell);
                EXPECT_EQ(sounds_played(), std::vector<int>{1});
                EXPECT_EQ(the_player.blocks_created, 0);
                EXPECT_EQ(the_player.blocks_destroyed, 1);
                expect_last_anim(pose.destroyed, pose.destroy_x, pose.destroy_y);
                break;
            case 'R':
                EXPECT_TRUE(layer_equals(before));
                EXPECT_EQ(sounds_played(), std::vector<int>{2});
                EXPECT_EQ(the_player.blocks_created + the_player.blocks_destroyed, 0);
                EXPECT_TRUE(the_build_block_anim.empty());
                break;
            default:
                EXPECT_EQ(the_player.falling, -1);
                EXPECT_TRUE(sounds_played().empty());
                EXPECT_EQ(the_player.blocks_created + the_player.blocks_destroyed, 0);
                break;
            }
            // Only the one cell changes, whatever the outcome.
            int changed = 0;
            for (int x = 0; x < map_width; x++)
                for (int y = 0; y < map_height; y++)
                    changed += before.cells[x][y] != the_map.block_layer[x][y];
            EXPECT_EQ(changed, outcome == 'B' || outcome == 'D' ? 1 : 0);
        }
    }
}

TEST_F(player_building, the_grid_edges_refuse_standing_and_down_blocks)
{
    struct edge_case {
        int column;
        int facing;
        int pose_key;
    };
    const edge_case cases[] = {{0, 1, 0}, {0, 1, KEY_DOWN}, {19, 0, 0}, {19, 0, KEY_DOWN}};
    for (const edge_case &c : cases) {
        SCOPED_TRACE(c.column * 10 + c.pose_key);
        reset_world();
        set_cells({"", "", "", "", "", "", "", "", "", "", "####################"});
        place(c.column, 9, c.facing);
        const layer_copy before;
        if (c.pose_key)
            press(c.pose_key);
        press(KEY_SPACE);
        tick();
        EXPECT_EQ(sounds_played(), std::vector<int>{2});
        EXPECT_TRUE(layer_equals(before));
    }
}

TEST_F(player_building, an_up_block_lifts_pim_one_row_in_sixteen_ticks)
{
    set_cells(ground('#'));
    place(5, 9);
    press(KEY_UP);
    press(KEY_SPACE);
    tick();
    ASSERT_EQ(the_map.block_layer[5][9], build_up);
    EXPECT_EQ(the_player.y, 9 * 32);
    release(KEY_UP);
    release(KEY_SPACE);
    for (int i = 1; i <= 16; i++) {
        tick();
        EXPECT_EQ(the_player.y, 9 * 32 - 2 * i);
        EXPECT_EQ(the_player.climbing, i < 16 ? -1 : 0);
    }
    EXPECT_EQ(the_player.step, 0);
    tick(20);
    EXPECT_EQ(the_player.y, 8 * 32);
    EXPECT_EQ(the_player.falling, 0);
    EXPECT_EQ(the_player.blocks_created, 1);
}

TEST_F(player_building, standing_on_an_up_block_the_up_pose_destroys_it_and_pim_falls)
{
    std::vector<std::string> rows = ground('U');
    rows[8] = ".....#..............";  // solid above: destroying does not care
    set_cells(rows);
    place(5, 9);
    press(KEY_UP);
    press(KEY_SPACE);
    tick();
    EXPECT_EQ(the_map.block_layer[5][10], empty_cell);
    EXPECT_EQ(sounds_played(), std::vector<int>{1});
    tick();
    EXPECT_EQ(the_player.falling, -1);
}

TEST_F(player_building, the_up_block_is_refused_without_headroom)
{
    struct headroom_case {
        const char *name;
        int row;       // Pim's row
        char above;
        char own;
    };
    const headroom_case cases[] = {
        {"solid above", 9, '#', '.'},
        {"horizontal tunnel above", 9, '=', '.'},
        {"Standing Block above", 9, 'S', '.'},
        {"inside a horizontal tunnel", 9, '.', '='},
        {"inside a vertical tunnel", 9, '.', '|'},
        {"in row 0", 0, '.', '.'},
    };
    for (const headroom_case &c : cases) {
        SCOPED_TRACE(c.name);
        reset_world();
        std::vector<std::string> rows(15, "");
        rows[c.row + 1] = "####################";
        if (c.row > 0) {
            rows[c.row - 1] = "....................";
            rows[c.row - 1][5] = c.above;
        }
        rows[c.row] = "....................";
        rows[c.row][5] = c.own;
        set_cells(rows);
        place(5, c.row);
        const layer_copy before;
        press(KEY_UP);
        press(KEY_SPACE);
        tick();
        EXPECT_EQ(sounds_played(), std::vector<int>{2});
        EXPECT_TRUE(layer_equals(before));
        EXPECT_EQ(the_player.climbing, 0);
    }
}

TEST_F(player_building, an_up_block_under_a_vertical_tunnel_lifts_pim_into_it)
{
    std::vector<std::string> rows = ground('#');
    rows[8] = ".....|..............";
    set_cells(rows);
    place(5, 9);
    press(KEY_UP);
    press(KEY_SPACE);
    tick();
    EXPECT_EQ(the_map.block_layer[5][9], build_up);
    release(KEY_SPACE);
    tick(16);
    EXPECT_EQ(the_player.y, 8 * 32);
    EXPECT_EQ(the_map.block_layer[5][8], tunnel_v);
    release(KEY_UP);
    tick(10);
    EXPECT_EQ(the_player.y, 8 * 32); // standing on the Up Block inside the tunnel
}

TEST_F(player_building, the_action_key_waits_for_the_step_to_end)
{
    set_cells(ground('#'));
    the_map.block_layer[6][10] = 0;
    the_map.block_layer[7][10] = 0;
    place(5, 9);
    press(KEY_RIGHT);
    tick();
    release(KEY_RIGHT);
    tick(4);
    press(KEY_SPACE);
    tick(11);
    EXPECT_EQ(the_player.walking, -1);
    EXPECT_EQ(the_player.blocks_created, 0);
    EXPECT_TRUE(sounds_played().empty());
    tick(); // the step ends: the held key acts in this tick
    EXPECT_EQ(the_player.x, 6 * 32);
    EXPECT_EQ(the_map.block_layer[7][9], build_still);
    EXPECT_EQ(sounds_played(), std::vector<int>{0});
}

TEST_F(player_building, a_held_direction_key_starting_the_next_step_keeps_the_action_waiting)
{
    set_cells({"", "", "", "", "", "", "", "", "", "", "####################"});
    place(2, 9);
    press(KEY_RIGHT);
    press(KEY_SPACE);
    tick(40);
    EXPECT_EQ(the_player.blocks_created, 0);
    EXPECT_EQ(build_key_down, 0);
    release(KEY_RIGHT);
    // The step under way ends at x = 5 * 32, 49 ticks after the first.
    tick(8);
    EXPECT_EQ(the_player.blocks_created, 0);
    tick();
    EXPECT_EQ(the_player.x, 5 * 32);
    EXPECT_EQ(the_map.block_layer[6][9], build_still);
}

TEST_F(player_building, one_press_one_action_and_each_fresh_press_alternates)
{
    set_cells(ground('#'));
    place(5, 9);
    press(KEY_SPACE);
    tick(30);
    EXPECT_EQ(the_player.blocks_created, 1);
    EXPECT_EQ(the_map.block_layer[6][9], build_still);
    release(KEY_SPACE);
    tick();
    press(KEY_SPACE);
    tick(5);
    EXPECT_EQ(the_map.block_layer[6][9], empty_cell);
    release(KEY_SPACE);
    tick();
    press(KEY_SPACE);
    tick();
    EXPECT_EQ(the_map.block_layer[6][9], build_still);
    EXPECT_EQ(sounds_played(), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(the_player.blocks_created, 2);
    EXPECT_EQ(the_player.blocks_destroyed, 1);
}

TEST_F(player_building, a_new_animation_replaces_the_one_running_in_its_cell)
{
    set_cells(ground('#'));
    place(5, 9);
    press(KEY_SPACE);
    tick();
    release(KEY_SPACE);
    tick();
    ASSERT_EQ(the_build_block_anim.size(), 1u);
    ASSERT_EQ(the_build_block_anim[0].strip, static_cast<BITMAP *>(d_build_tiles[7].dat));
    press(KEY_SPACE);
    tick();
    ASSERT_EQ(the_build_block_anim.size(), 1u);
    EXPECT_EQ(the_build_block_anim[0].strip, static_cast<BITMAP *>(d_build_tiles[8].dat));
}

TEST_F(player_building, a_crumbling_block_vanishes_the_tick_after_pim_stands_wholly_beside_it)
{
    struct crumble_case {
        int facing;
        int key;
        int to_column;
    };
    const crumble_case cases[] = {{0, KEY_RIGHT, 6}, {1, KEY_LEFT, 4}};
    for (const crumble_case &c : cases) {
        SCOPED_TRACE(c.facing);
        reset_world();
        set_cells({"", "", "", "", "", "", "", "", "", "", "#####C##############"});
        place(5, 9, c.facing);
        press(c.key);
        tick();
        release(c.key);
        tick(16);
        EXPECT_EQ(the_player.x, c.to_column * 32);
        EXPECT_EQ(the_map.block_layer[5][10], build_break);
        EXPECT_TRUE(sounds_played().empty());
        tick();
        EXPECT_EQ(the_map.block_layer[5][10], empty_cell);
        EXPECT_EQ(sounds_played(), std::vector<int>{1});
        expect_last_anim({1, 5, &break_frames}, 5, 10);
        EXPECT_EQ(the_player.break_pending, 0);
        EXPECT_EQ(the_player.blocks_destroyed, 0);
        EXPECT_EQ(the_player.blocks_created, 0);
    }
}

TEST_F(player_building, standing_turning_posing_or_destroying_never_crumbles_the_block)
{
    std::vector<std::string> rows = ground('C');
    rows[9] = "......S.............";
    set_cells(rows);
    place(5, 9);
    tick(50);
    press(KEY_LEFT);
    tick(3); // a tap: turns only
    release(KEY_LEFT);
    tick(3);
    press(KEY_RIGHT);
    tick(3); // turns back
    release(KEY_RIGHT);
    press(KEY_UP);
    tick(5);
    release(KEY_UP);
    press(KEY_DOWN);
    tick(5);
    release(KEY_DOWN);
    tick();
    press(KEY_SPACE); // destroys the Standing Block in front
    tick();
    release(KEY_SPACE);
    tick(50);
    EXPECT_EQ(the_map.block_layer[6][9], empty_cell);
    EXPECT_EQ(the_map.block_layer[5][10], build_break);
    EXPECT_EQ(the_player.break_pending, -1);
    EXPECT_EQ(the_player.x, 5 * 32);
}
