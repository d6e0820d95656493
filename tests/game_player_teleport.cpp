// Teleports and their fades, the restart key, and teleport destinations that lie outside the grid.
#include <climits>
#include "do_logic.h"
#include "game_player_fixture.h"

using namespace player_test;

namespace {

std::vector<std::string> floors()
{
    std::vector<std::string> rows(15, "");
    rows[5] = "####################";
    rows[10] = "####################";
    return rows;
}

void add_teleport(int src_x, int src_y, int dst_x, int dst_y)
{
    teleport t;
    t.src_x = src_x;
    t.src_y = src_y;
    t.dst_x = dst_x;
    t.dst_y = dst_y;
    the_map.teleports.push_back(t);
}

class player_teleports : public player_test_base {
protected:
    void SetUp() override
    {
        player_test_base::SetUp();
        set_cells(floors());
        place(5, 9);
    }
    // Taps right: one step onto the next cell, which ends 17 ticks later.
    void step_right()
    {
        press(KEY_RIGHT);
        tick();
        release(KEY_RIGHT);
        tick(16);
    }
};

} // namespace

TEST_F(player_teleports, a_step_onto_an_entrance_fades_out_moves_and_fades_in)
{
    add_teleport(6, 9, 12, 4);
    step_right();
    EXPECT_EQ(the_player.x, 6 * 32);
    EXPECT_EQ(the_player.on_teleport(), -1);
    EXPECT_EQ(the_player.teleporting, 0);
    EXPECT_TRUE(sounds_played().empty());

    tick(); // the teleport starts in the next tick
    EXPECT_EQ(the_player.teleporting, -1);
    EXPECT_EQ(the_player.teleport_out, -1);
    EXPECT_EQ(the_player.controls, 0);
    EXPECT_EQ(sounds_played(), std::vector<int>{4});

    tick(41);
    EXPECT_EQ(the_player.x, 6 * 32);
    tick(); // 42 ticks of fading out
    EXPECT_EQ(the_player.x, 12 * 32);
    EXPECT_EQ(the_player.y, 4 * 32);
    EXPECT_EQ(the_player.teleporting, 0);
    EXPECT_EQ(the_player.teleport_in, -1);
    EXPECT_EQ(sounds_played(), (std::vector<int>{4, 3}));

    tick(41);
    EXPECT_EQ(the_player.controls, 0);
    tick();
    EXPECT_EQ(the_player.controls, -1);
    EXPECT_EQ(the_player.teleport_anim_in_progress(), 0);
    // Standing on the exit cell does nothing: teleports are one-way.
    tick(100);
    EXPECT_EQ(the_player.x, 12 * 32);
    EXPECT_EQ(the_player.y, 4 * 32);
    EXPECT_EQ(sounds_played().size(), 2u);
}

TEST_F(player_teleports, keys_are_not_read_on_the_entrance_or_during_the_fades)
{
    add_teleport(6, 9, 12, 4);
    press(KEY_RIGHT);
    press(KEY_SPACE);
    tick(17);
    EXPECT_EQ(the_player.x, 6 * 32);
    tick(84);
    EXPECT_EQ(the_player.x, 12 * 32);
    EXPECT_EQ(the_player.blocks_created, 0);
    // Control is back: the held keys act in this tick.
    tick();
    EXPECT_EQ(the_player.walking, -1);
}

TEST_F(player_teleports, a_fall_through_an_entrance_is_caught_and_resumes_at_the_exit)
{
    set_cells({"", "", "", "", "", "", "", "", "", "", "", "", "", "", "####################"});
    add_teleport(5, 7, 12, 2);
    place(5, 3);
    int ticks = 0;
    while (!the_player.teleporting && ticks < 100) {
        tick();
        ticks++;
    }
    EXPECT_EQ(the_player.y, 7 * 32);
    tick(41);
    EXPECT_EQ(the_player.y, 7 * 32); // held at the entrance while fading out
    tick();
    EXPECT_EQ(the_player.x, 12 * 32);
    EXPECT_EQ(the_player.y, 2 * 32);
    tick(41);
    EXPECT_EQ(the_player.y, 2 * 32);
    tick(); // the fade-in ends and the fall goes on in the same tick
    EXPECT_EQ(the_player.teleport_anim_in_progress(), 0);
    EXPECT_EQ(the_player.y, 2 * 32 + 2);
    tick(300);
    EXPECT_EQ(the_player.y, 13 * 32);
}

TEST_F(player_teleports, the_first_of_two_teleports_with_one_entrance_is_taken)
{
    add_teleport(6, 9, 12, 4);
    add_teleport(6, 9, 2, 4);
    step_right();
    tick(43);
    EXPECT_EQ(the_player.x, 12 * 32);
    EXPECT_EQ(the_player.y, 4 * 32);
}

TEST_F(player_teleports, an_exit_on_another_entrance_chains_after_the_fade_in)
{
    add_teleport(6, 9, 12, 9);
    add_teleport(12, 9, 15, 4);
    step_right();
    tick(43);
    EXPECT_EQ(the_player.x, 12 * 32);
    tick();
    EXPECT_EQ(the_player.teleporting, -1); // waiting for its fade-in to end
    tick(40);
    EXPECT_EQ(sounds_played(), (std::vector<int>{4, 3}));
    tick();
    EXPECT_EQ(sounds_played(), (std::vector<int>{4, 3, 4}));
    tick(42);
    EXPECT_EQ(the_player.x, 15 * 32);
    EXPECT_EQ(the_player.y, 4 * 32);
    tick(42);
    EXPECT_EQ(the_player.controls, -1);
    EXPECT_EQ(sounds_played(), (std::vector<int>{4, 3, 4, 3}));
}

TEST_F(player_teleports, fades_move_alpha_and_never_reset_it)
{
    // A fade-in from full opacity stays opaque.
    the_player.init_in_teleport_anim();
    for (int i = 0; i < 42; i++) {
        tick();
        EXPECT_EQ(the_player.alpha, 255);
    }
    EXPECT_EQ(the_player.teleport_anim_in_progress(), 0);

    the_player.init_out_teleport_anim();
    tick(42);
    EXPECT_EQ(the_player.teleport_anim_in_progress(), 0);
    EXPECT_EQ(the_player.alpha, 3);
    EXPECT_EQ(the_player.teleport_frame, 6);

    // A fade-in after a fade-out rises from nearly transparent.
    the_player.init_in_teleport_anim();
    tick();
    EXPECT_EQ(the_player.alpha, 9);
    tick(40);
    EXPECT_EQ(the_player.alpha, 249);
    EXPECT_EQ(the_player.teleport_frame, 1);
    tick();
    EXPECT_EQ(the_player.alpha, 255);
    EXPECT_EQ(the_player.teleport_frame, 0);
    EXPECT_EQ(the_player.teleport_anim_in_progress(), 0);
}

TEST_F(player_teleports, a_fade_out_shows_frames_zero_to_five_seven_ticks_each)
{
    the_player.init_out_teleport_anim();
    for (int frame = 0; frame < 6; frame++) {
        for (int t = 0; t < 7; t++) {
            EXPECT_EQ(the_player.teleport_frame, frame);
            tick();
        }
    }
    EXPECT_EQ(the_player.teleport_out, 0);
}

TEST_F(player_teleports, a_level_starting_on_an_entrance_waits_for_its_fade_in)
{
    add_teleport(5, 9, 12, 4);
    the_player.init_in_teleport_anim();
    tick();
    EXPECT_EQ(the_player.teleporting, -1);
    EXPECT_EQ(the_player.teleport_out, 0);
    tick(41);
    EXPECT_EQ(the_player.teleport_out, -1);
    tick(42);
    EXPECT_EQ(the_player.x, 12 * 32);
}

// A destination beside or below the grid puts Pim just off the screen, one cell beyond the edge (two on
// the left, where one cell out would still stand on column 0), where nothing holds him: he falls out of the screen and the map is reloaded. Above the grid he
// arrives in the top row, where he is seen, and drops into the map or stands on what is under him.
class player_far_destinations : public player_test_base {
protected:
    std::string dir;
    void SetUp() override
    {
        player_test_base::SetUp();
        dir = make_temp_dir("player_teleport") + "/";
        use_level_directory(dir);
        write_text_file(dir + "far.map", map_file_text("Far", "far.map", "end", 2, 9, 19, 0, floors()));
        char file[] = "far.map";
        the_map.load_map(file);
        for (int i = 0; i < 100 && the_player.teleport_anim_in_progress(); i++)
            tick();
        speed_counter = 0;
    }
    void TearDown() override
    {
        leave_level_directory(dir);
        player_test_base::TearDown();
    }
};

TEST_F(player_far_destinations, pim_lands_beyond_the_edge_and_falls_or_drops_in)
{
    struct far_case {
        int dst_x, dst_y;
        int arrive_x, arrive_y;
        bool reloads; // false: lands on the floor of row 5 in his column
    };
    const far_case cases[] = {
        {25, 7, 20 * 32, 7 * 32, true},
        {-3, 7, -64, 7 * 32, true},
        {-1, 7, -64, 7 * 32, true},
        {8, 40, 8 * 32, 15 * 32, true},
        {INT_MAX, INT_MIN, 20 * 32, 0, true},
        {INT_MIN, 3, -64, 3 * 32, true},
        {8, -9, 8 * 32, 0, false},
    };
    for (const far_case &c : cases) {
        SCOPED_TRACE(std::to_string(c.dst_x) + "," + std::to_string(c.dst_y));
        char file[] = "far.map";
        the_map.load_map(file);
        for (int i = 0; i < 100 && the_player.teleport_anim_in_progress(); i++)
            tick();
        add_teleport(3, 9, c.dst_x, c.dst_y);
        press(KEY_RIGHT);
        tick();
        release(KEY_RIGHT);
        tick(16 + 1 + 42);
        EXPECT_EQ(the_player.x, c.arrive_x);
        EXPECT_EQ(the_player.y, c.arrive_y);
        bool reloaded = false;
        for (int i = 0; i < 2000 && !reloaded; i++) {
            speed_counter = 100; // a fall out of the screen runs the wipe
            tick();
            reloaded = the_player.x == 2 * 32 && the_player.y == 9 * 32;
            if (!c.reloads && the_player.y == 4 * 32 && the_player.falling == 0)
                break;
        }
        EXPECT_EQ(reloaded, c.reloads);
        if (!c.reloads) {
            EXPECT_EQ(the_player.x, 8 * 32);
            EXPECT_EQ(the_player.y, 4 * 32);
        }
    }
}

class player_restart_key : public player_far_destinations {};

TEST_F(player_restart_key, fades_out_then_wipes_and_reloads_once_per_press)
{
    the_map.block_layer[7][4] = build_still;
    const int restarts = the_player.restarts;
    press(KEY_R);
    do_logic();
    EXPECT_EQ(the_map.restart_pending, -1);
    EXPECT_EQ(the_player.teleport_out, -1);
    for (int i = 0; i < 41; i++)
        do_logic();
    EXPECT_EQ(the_map.restart_pending, -1);
    speed_counter = 100;
    do_logic(); // the fade has ended: wipe and reload
    EXPECT_EQ(the_map.restart_pending, 0);
    EXPECT_EQ(the_player.restarts, restarts + 1);
    EXPECT_EQ(the_map.block_layer[7][4], empty_cell);
    // Held through the arrival and beyond: no second restart.
    for (int i = 0; i < 200; i++)
        do_logic();
    EXPECT_EQ(the_player.restarts, restarts + 1);
    EXPECT_EQ(the_map.restart_pending, 0);
    release(KEY_R);
    do_logic();
    press(KEY_R);
    do_logic();
    EXPECT_EQ(the_map.restart_pending, -1);
}

TEST_F(player_restart_key, does_nothing_while_a_fade_runs)
{
    the_player.init_in_teleport_anim();
    press(KEY_R);
    for (int i = 0; i < 20; i++)
        do_logic();
    EXPECT_EQ(the_map.restart_pending, 0);
    EXPECT_EQ(the_player.teleport_out, 0);
}
