// Pim's feel, collision, falling, death below the screen, the level statistics and the exit.
#include "game_player_fixture.h"

using namespace player_test;

namespace {

const std::string floor_row = "####################";
const std::string empty_row = "....................";

// Rows 0..9 empty, row 10 solid: Pim stands in row 9.
std::vector<std::string> flat_floor()
{
    std::vector<std::string> rows(10, empty_row);
    rows.push_back(floor_row);
    return rows;
}

class player_feel : public player_test_base {
protected:
    void SetUp() override
    {
        player_test_base::SetUp();
        set_cells(flat_floor());
        place(5, 9);
    }
};

} // namespace

TEST_F(player_feel, tap_the_other_way_only_turns)
{
    for (int held = 1; held <= 7; held++) {
        SCOPED_TRACE(held);
        reset_world();
        set_cells(flat_floor());
        place(5, 9, 0);
        press(KEY_LEFT);
        for (int i = 0; i < held; i++) {
            tick();
            EXPECT_EQ(the_player.walking, 0);
        }
        release(KEY_LEFT);
        tick(40);
        EXPECT_EQ(the_player.facing, 1);
        EXPECT_EQ(the_player.x, 5 * 32);
        EXPECT_EQ(the_player.steps_taken, 0);
    }
}

TEST_F(player_feel, holding_the_other_way_steps_on_the_eighth_tick)
{
    press(KEY_LEFT);
    tick(7);
    EXPECT_EQ(the_player.walking, 0);
    EXPECT_EQ(the_player.facing, 1);
    tick();
    EXPECT_EQ(the_player.walking, -1);
    EXPECT_EQ(the_player.x, 5 * 32);
    tick();
    EXPECT_EQ(the_player.x, 5 * 32 - 2);
}

TEST_F(player_feel, held_key_in_faced_direction_steps_at_once_and_every_sixteen_ticks)
{
    press(KEY_RIGHT);
    tick();
    EXPECT_EQ(the_player.walking, -1);
    EXPECT_EQ(the_player.x, 5 * 32);
    for (int stepped = 1; stepped <= 3; stepped++) {
        tick(15);
        EXPECT_EQ(the_player.x, (5 + stepped) * 32 - 2);
        tick();
        EXPECT_EQ(the_player.x, (5 + stepped) * 32);
        // The next step starts in the very tick the last one ended.
        EXPECT_EQ(the_player.walking, -1);
        EXPECT_EQ(the_player.step, 0);
    }
    EXPECT_EQ(the_player.steps_taken, 4);
}

TEST_F(player_feel, a_key_released_mid_step_still_finishes_the_step)
{
    press(KEY_RIGHT);
    tick(3);
    release(KEY_RIGHT);
    tick(30);
    EXPECT_EQ(the_player.x, 6 * 32);
    EXPECT_EQ(the_player.walking, 0);
}

TEST_F(player_feel, a_pose_held_with_a_direction_key_keeps_pim_from_walking)
{
    struct pose_case {
        int pose_key;
        int player::*flag;
    };
    const pose_case cases[] = {{KEY_UP, &player::up}, {KEY_DOWN, &player::ducking}};
    for (const pose_case &c : cases) {
        SCOPED_TRACE(c.pose_key);
        reset_world();
        set_cells(flat_floor());
        place(5, 9, 1);
        press(c.pose_key);
        tick();
        EXPECT_EQ(the_player.*c.flag, -1);
        press(KEY_RIGHT);
        tick(20);
        EXPECT_EQ(the_player.facing, 0);
        EXPECT_EQ(the_player.*c.flag, -1);
        EXPECT_EQ(the_player.x, 5 * 32);
        // Letting the pose key go is not enough: the direction key still holds the pose.
        release(c.pose_key);
        tick(20);
        EXPECT_EQ(the_player.*c.flag, -1);
        EXPECT_EQ(the_player.x, 5 * 32);
        release(KEY_RIGHT);
        tick();
        EXPECT_EQ(the_player.*c.flag, 0);
        press(KEY_RIGHT);
        tick();
        EXPECT_EQ(the_player.walking, -1);
    }
}

TEST_F(player_feel, the_grid_edges_stop_every_step)
{
    struct edge_case {
        int column;
        int facing;
        int key;
        int turned;
    };
    const edge_case cases[] = {
        {0, 1, KEY_LEFT, 1},
        {19, 0, KEY_RIGHT, 0},
        {0, 0, KEY_LEFT, 1},  // faced away: only turns
        {19, 1, KEY_RIGHT, 0},
    };
    for (const edge_case &c : cases) {
        SCOPED_TRACE(c.column);
        reset_world();
        set_cells(flat_floor());
        place(c.column, 9, c.facing);
        press(c.key);
        tick(40);
        EXPECT_EQ(the_player.x, c.column * 32);
        EXPECT_EQ(the_player.walking, 0);
        EXPECT_EQ(the_player.facing, c.turned);
    }
}

TEST_F(player_feel, right_wins_when_both_direction_keys_are_down)
{
    press(KEY_LEFT);
    press(KEY_RIGHT);
    tick(17);
    EXPECT_EQ(the_player.facing, 0);
    EXPECT_EQ(the_player.x, 6 * 32);
}

TEST_F(player_feel, switching_straight_from_right_to_left_steps_left_without_the_turning_delay)
{
    press(KEY_RIGHT);
    tick(10);
    press(KEY_LEFT); // down before right is released
    tick(6);
    release(KEY_RIGHT);
    tick(); // the step to column 6 ends here, and the left step starts in the same tick
    EXPECT_EQ(the_player.x, 6 * 32);
    EXPECT_EQ(the_player.facing, 1);
    EXPECT_EQ(the_player.walking, -1);
    tick();
    EXPECT_EQ(the_player.x, 6 * 32 - 2);
}

TEST_F(player_feel, after_a_straight_switch_a_blocked_left_cell_drops_the_step_without_moving)
{
    press(KEY_RIGHT);
    tick(10);
    press(KEY_LEFT);
    // The cell Pim came from is walled up behind him.
    the_map.block_layer[5][9] = 0;
    tick(6);
    release(KEY_RIGHT);
    tick();
    // The blocked test of this tick looked right, where the way is free.
    EXPECT_EQ(the_player.walking, -1);
    EXPECT_EQ(the_player.facing, 1);
    tick();
    EXPECT_EQ(the_player.walking, 0);
    EXPECT_EQ(the_player.x, 6 * 32);
}

TEST_F(player_feel, after_a_straight_switch_a_blocked_right_cell_costs_one_tick)
{
    the_map.block_layer[6][9] = 0;
    press(KEY_RIGHT);
    tick(3);
    press(KEY_LEFT);
    tick();
    release(KEY_RIGHT);
    tick();
    EXPECT_EQ(the_player.walking, 0); // looked right, into the wall
    EXPECT_EQ(the_player.facing, 1);
    tick();
    EXPECT_EQ(the_player.walking, -1);
}

// At the grid's edges the straight switch's blocked test looks out of the grid. At x 0, facing left,
// it reads pixel -1, which integer division puts in column 0, Pim's own free cell: the step right
// starts at once. At x 608, facing right, it reads pixel 641, column 20, outside: the step left
// costs one tick, as against a wall.
TEST_F(player_feel, a_straight_switch_at_the_grid_edges)
{
    struct switch_case {
        int column, held, pressed;
        int walks_at_once;
        int step; // x change per tick of the new step
    };
    const switch_case cases[] = {
        {0, KEY_LEFT, KEY_RIGHT, -1, 2},
        {19, KEY_RIGHT, KEY_LEFT, 0, -2},
    };
    for (const switch_case &c : cases) {
        SCOPED_TRACE(c.column);
        reset_world();
        set_cells(flat_floor());
        place(c.column, 9, c.held == KEY_LEFT ? 1 : 0);
        press(c.held);
        tick(10);
        ASSERT_EQ(the_player.x, c.column * 32) << "held against the edge";
        // Left to right: right wins while both are down. Right to left: right goes up as left goes down.
        press(c.pressed);
        if (c.held == KEY_RIGHT)
            release(KEY_RIGHT);
        tick();
        EXPECT_EQ(the_player.facing, c.pressed == KEY_LEFT ? 1 : 0);
        EXPECT_EQ(the_player.walking, c.walks_at_once);
        EXPECT_EQ(the_player.x, c.column * 32);
        tick();
        EXPECT_EQ(the_player.walking, -1);
        EXPECT_EQ(the_player.x, c.column * 32 + (c.walks_at_once ? c.step : 0));
        release_all_keys();
    }
}

TEST_F(player_feel, walking_into_each_cell_kind)
{
    struct cell_case {
        char cell;
        bool walks;
    };
    const cell_case cases[] = {
        {'.', true}, {'=', true}, {'|', false}, {'#', false}, {'U', false}, {'S', false}, {'D', false},
        {'X', false}, {'s', false}, {'d', false}, {'u', false}, {'C', false},
    };
    for (const cell_case &c : cases) {
        SCOPED_TRACE(c.cell);
        reset_world();
        set_cells(flat_floor());
        the_map.block_layer[6][9] = code_of(c.cell);
        place(5, 9);
        press(KEY_RIGHT);
        tick();
        release(KEY_RIGHT);
        tick(20);
        EXPECT_EQ(the_player.x, c.walks ? 6 * 32 : 5 * 32);
    }
}

TEST_F(player_feel, no_sideways_step_inside_a_vertical_tunnel)
{
    the_map.block_layer[5][9] = tunnel_v;
    press(KEY_RIGHT);
    tick(20);
    release(KEY_RIGHT);
    press(KEY_LEFT);
    tick(20);
    EXPECT_EQ(the_player.x, 5 * 32);
    EXPECT_EQ(the_player.y, 9 * 32);
}

TEST_F(player_feel, a_horizontal_tunnel_over_a_gap_holds_pim_until_he_walks_out)
{
    set_cells({"", "", "", "", "", "", "", "", "", "#####==.............", "#####...............",
               "", "", "", "####################"});
    place(5, 9);
    tick(10);
    EXPECT_EQ(the_player.y, 9 * 32);
    press(KEY_RIGHT);
    tick();
    release(KEY_RIGHT);
    tick(16);
    EXPECT_EQ(the_player.x, 6 * 32);
    EXPECT_EQ(the_player.y, 9 * 32);
    EXPECT_EQ(the_player.falling, 0);
    press(KEY_RIGHT);
    tick();
    release(KEY_RIGHT);
    tick(16);
    EXPECT_EQ(the_player.x, 7 * 32);
    tick();
    EXPECT_EQ(the_player.falling, -1);
    tick(200);
    EXPECT_EQ(the_player.y, 13 * 32);
}

TEST_F(player_feel, off_a_ledge_the_step_completes_then_the_fall_lands_aligned)
{
    set_cells({"", "", "", "", "", "", "", "", "", "", "######..............", "", "", "",
               "####################"});
    place(5, 9);
    press(KEY_RIGHT);
    tick();
    release(KEY_RIGHT);
    tick(16);
    EXPECT_EQ(the_player.x, 6 * 32);
    EXPECT_EQ(the_player.y, 9 * 32);
    int last_y = the_player.y;
    int fall_ticks = 0;
    while (fall_ticks < 100) {
        tick();
        if (the_player.y == last_y)
            break;
        EXPECT_EQ(the_player.y, last_y + 2);
        EXPECT_EQ(the_player.x, 6 * 32);
        last_y = the_player.y;
        fall_ticks++;
    }
    EXPECT_EQ(fall_ticks, 4 * 32 / 2);
    EXPECT_EQ(the_player.y, 13 * 32);
    EXPECT_EQ(the_player.falling, 0);
}

TEST_F(player_feel, falls_through_vertical_tunnels_and_stops_on_every_other_block)
{
    for (char below : std::string("#USDXsduC=")) {
        SCOPED_TRACE(below);
        reset_world();
        set_cells({"", "", "", "", "", "", "", "", "", "", "", "", "", "", "####################"});
        the_map.block_layer[5][8] = tunnel_v;
        the_map.block_layer[5][10] = code_of(below);
        place(5, 5);
        tick(200);
        EXPECT_EQ(the_player.y, 9 * 32);
        EXPECT_EQ(the_player.falling, 0);
    }
}

TEST_F(player_feel, no_key_acts_while_a_message_is_open_a_movie_plays_or_controls_are_off)
{
    struct gate_case {
        const char *name;
        int *flag;
    };
    const gate_case cases[] = {
        {"message box", &the_message.active},
        {"movie", &do_play_script},
    };
    for (const gate_case &c : cases) {
        SCOPED_TRACE(c.name);
        reset_world();
        set_cells(flat_floor());
        place(5, 9);
        *c.flag = -1;
        press(KEY_RIGHT);
        press(KEY_SPACE);
        tick(20);
        *c.flag = 0;
        EXPECT_EQ(the_player.x, 5 * 32);
        EXPECT_EQ(the_player.blocks_created, 0);
        tick();
        EXPECT_EQ(the_player.walking, -1);
    }
    reset_world();
    set_cells(flat_floor());
    place(5, 9);
    the_player.controls = 0;
    press(KEY_RIGHT);
    tick(20);
    EXPECT_EQ(the_player.x, 5 * 32);
}

class player_level_files : public player_test_base {
protected:
    std::string dir;
    void SetUp() override
    {
        player_test_base::SetUp();
        dir = make_temp_dir("player") + "/";
        use_level_directory(dir);
    }
    void TearDown() override
    {
        leave_level_directory(dir);
        player_test_base::TearDown();
    }
    void write_map(const char *file, const std::string &text) { write_text_file(dir + file, text); }
    void load(const char *file)
    {
        char name[256];
        std::strcpy(name, file);
        the_map.load_map(name);
    }
    // Runs until the arrival fade-in is over.
    void wait_for_fade()
    {
        for (int i = 0; i < 200 && the_player.teleport_anim_in_progress(); i++)
            tick();
    }
};

TEST_F(player_level_files, the_bottom_row_has_no_floor_and_death_reloads_without_counting_a_restart)
{
    write_map("pit.map", map_file_text("Pit", "pit.map", "end", 3, 2, 19, 0,
                                       {"", "", "", "####################"}));
    load("pit.map");
    wait_for_fade();
    ASSERT_EQ(the_player.y, 2 * 32);
    // Something was built before the fall; the reload takes it away.
    the_map.block_layer[10][5] = build_still;
    the_player.restarts = 3;
    place(8, 14);
    tick();
    EXPECT_EQ(the_player.falling, -1);
    EXPECT_EQ(the_player.y, 448 + 2);
    tick(15);
    EXPECT_EQ(the_player.y, 480);
    speed_counter = 100; // the wipe runs on owed ticks
    tick();
    EXPECT_EQ(the_player.x, 3 * 32);
    EXPECT_EQ(the_player.y, 2 * 32);
    EXPECT_EQ(the_map.block_layer[10][5], empty_cell);
    EXPECT_EQ(the_player.restarts, 3);
    EXPECT_EQ(the_player.teleport_anim_in_progress(), -1);
}

TEST_F(player_feel, the_clock_counts_sixty_ticks_a_second_and_unbounded_hours)
{
    tick(60);
    EXPECT_EQ(the_player.time_ticks, 0);
    EXPECT_EQ(the_player.time_seconds, 1);
    tick(59);
    EXPECT_EQ(the_player.time_ticks, 59);
    EXPECT_EQ(the_player.time_seconds, 1);

    the_player.time_hours = 1000;
    the_player.time_minutes = 59;
    the_player.time_seconds = 59;
    the_player.time_ticks = 59;
    tick();
    EXPECT_EQ(the_player.time_hours, 1001);
    EXPECT_EQ(the_player.time_minutes, 0);
    EXPECT_EQ(the_player.time_seconds, 0);
    EXPECT_EQ(the_player.time_ticks, 0);
}

TEST_F(player_feel, the_clock_runs_during_fades)
{
    the_player.init_out_teleport_anim();
    tick(30);
    EXPECT_EQ(the_player.time_ticks, 30);
}

TEST_F(player_feel, steps_count_only_from_ground_into_an_empty_cell)
{
    struct step_case {
        std::vector<std::string> rows;
        int counted;
    };
    const step_case cases[] = {
        {{"", "", "", "", "", "", "", "", "", "", "####################"}, 1},
        {{"", "", "", "", "", "", "", "", "", "......=.............", "####################"}, 0},
        {{"", "", "", "", "", "", "", "", "", ".....=..............", "####################"}, 1},
        {{"", "", "", "", "", "", "", "", "", ".....=..............", "#####.##############"}, 0},
    };
    for (const step_case &c : cases) {
        reset_world();
        set_cells(c.rows);
        place(5, 9);
        press(KEY_RIGHT);
        tick();
        release(KEY_RIGHT);
        tick(16);
        EXPECT_EQ(the_player.x, 6 * 32);
        EXPECT_EQ(the_player.steps_taken, c.counted) << c.rows[9];
    }
}

TEST_F(player_feel, the_exit_is_reached_only_when_pim_stands_exactly_on_it)
{
    the_map.exit_x = 7 * 32;
    the_map.exit_y = 9 * 32;
    press(KEY_RIGHT);
    tick(17);
    EXPECT_EQ(the_player.x, 6 * 32);
    EXPECT_EQ(the_player.win_pending, 0);
    clear_sounds();
    tick(15);
    EXPECT_EQ(the_player.win_pending, 0);
    tick(); // the step onto the exit ends
    EXPECT_EQ(the_player.x, 7 * 32);
    EXPECT_EQ(the_player.win_pending, -1);
    EXPECT_EQ(the_player.walking, 0);
    EXPECT_EQ(the_player.controls, 0);
    EXPECT_EQ(the_player.teleport_out, -1);
    EXPECT_EQ(sounds_played(), std::vector<int>{4});
    // Held key or not, Pim walks no further.
    tick(30);
    EXPECT_EQ(the_player.x, 7 * 32);
}

TEST_F(player_feel, falling_onto_the_exit_completes_the_level_there)
{
    set_cells({"", "", "", "", "", "", "", "", "", "", "", "", "", "", "####################"});
    the_map.exit_x = 5 * 32;
    the_map.exit_y = 10 * 32;
    place(5, 2);
    for (int i = 0; i < 200 && !the_player.win_pending; i++)
        tick();
    EXPECT_EQ(the_player.win_pending, -1);
    EXPECT_EQ(the_player.y, 10 * 32);
    EXPECT_EQ(the_player.falling, 0);
    tick(30);
    EXPECT_EQ(the_player.y, 10 * 32);
}

TEST_F(player_level_files, at_the_exit_the_next_map_of_the_chain_loads_with_fresh_statistics)
{
    write_map("one.map", map_file_text("First Dream", "one.map", "two.map", 5, 9, 6, 9, flat_floor()));
    write_map("two.map", map_file_text("Second Dream", "two.map", "end", 2, 3, 19, 14, flat_floor()));
    load("one.map");
    wait_for_fade();
    the_player.blocks_created = 4;
    the_player.blocks_destroyed = 2;
    the_player.steps_taken = 9;
    the_player.restarts = 1;
    the_player.time_minutes = 3;
    press(KEY_RIGHT);
    tick();
    release(KEY_RIGHT);
    tick(16);
    ASSERT_EQ(the_player.win_pending, -1);
    // The intermission that opens at the exit is closed with Enter in its first tick.
    key[KEY_ENTER] = 1;
    int ticks = 0;
    while (std::strcmp(the_map.file_name, "one.map") == 0 && ticks < 100) {
        speed_counter = 1;
        tick();
        ticks++;
    }
    key[KEY_ENTER] = 0;
    EXPECT_EQ(ticks, 42); // the whole fade-out
    EXPECT_STREQ(the_map.file_name, "two.map");
    EXPECT_STREQ(the_map.name, "Second Dream");
    EXPECT_EQ(the_player.x, 2 * 32);
    EXPECT_EQ(the_player.y, 3 * 32);
    EXPECT_EQ(the_player.blocks_created, 0);
    EXPECT_EQ(the_player.blocks_destroyed, 0);
    EXPECT_EQ(the_player.steps_taken, 0);
    EXPECT_EQ(the_player.restarts, 0);
    EXPECT_EQ(the_player.time_minutes, 0);
    EXPECT_EQ(the_player.level_complete, 0);
    EXPECT_EQ(the_player.win_pending, 0);
    EXPECT_EQ(the_player.teleport_in, -1);
    EXPECT_EQ(map_name_showing(), -1);
}
