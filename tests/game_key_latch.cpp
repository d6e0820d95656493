// The once-per-press key latch: sequences of key states and permissions, the range-checked key read, and the restart key held through Pim's arrival.
#include <gtest/gtest.h>
#include <allegro.h>
#include <vector>
#include "do_logic.h"
#include "game_player_fixture.h"
#include "key_latch.h"
#include "map.h"
#include "player.h"
#include "tutorial.h"

namespace {

struct latch_step {
    int down;        // the key's state in this step
    int may_act;     // whether a fresh press may act in this step
    int acts;        // what fresh_press gives
    int latch_after; // the latch after the step
};

struct latch_case {
    const char *label;
    int latch_before;
    std::vector<latch_step> steps;
};

TEST(key_latch, acts_once_per_press_and_only_when_it_may)
{
    const latch_case cases[] = {
        {"held, it acts on the first step only", 0,
         {{-1, -1, -1, -1}, {-1, -1, 0, -1}, {-1, -1, 0, -1}}},
        {"released and pressed again, it acts again", 0,
         {{-1, -1, -1, -1}, {0, -1, 0, 0}, {-1, -1, -1, -1}}},
        {"a press that acted elsewhere waits for the release", -1,
         {{-1, -1, 0, -1}, {-1, -1, 0, -1}, {0, -1, 0, 0}, {-1, -1, -1, -1}}},
        {"held while it may not act, it acts on the first step it may", 0,
         {{-1, 0, 0, 0}, {-1, 0, 0, 0}, {-1, -1, -1, -1}, {-1, -1, 0, -1}}},
        {"a release while it may not act still frees the latch", 0,
         {{-1, -1, -1, -1}, {-1, 0, 0, -1}, {0, 0, 0, 0}, {-1, -1, -1, -1}}},
        {"any key state but 0 is down", 0,
         {{1, -1, -1, -1}, {0, -1, 0, 0}, {0x80, -1, -1, -1}}},
    };
    for (const latch_case &c : cases) {
        int latch = c.latch_before;
        for (size_t i = 0; i < c.steps.size(); i++) {
            const latch_step &s = c.steps[i];
            EXPECT_EQ(fresh_press(s.down, latch, s.may_act), s.acts) << c.label << ", step " << i;
            EXPECT_EQ(latch, s.latch_after) << c.label << ", step " << i;
        }
    }
}

TEST(key_latch, a_scancode_outside_the_key_array_is_never_down)
{
    key[KEY_A] = -1;
    key[KEY_B] = 0;
    const struct {
        int scancode;
        int down;
    } cases[] = {{KEY_A, -1}, {KEY_B, 0}, {-1, 0}, {KEY_MAX, 0}, {1 << 20, 0}, {-(1 << 20), 0}};
    for (const auto &c : cases) {
        EXPECT_EQ(scancode_down(c.scancode), c.down) << c.scancode;
        int latch = -1;
        EXPECT_EQ(fresh_key_press(c.scancode, latch), 0) << c.scancode;
        EXPECT_EQ(latch, c.down) << "an up key frees the latch: " << c.scancode;
    }
    key[KEY_A] = 0;
}

TEST(key_latch, the_restart_key_held_through_pims_arrival_restarts_once_it_has_ended)
{
    player_test::reset_world();
    tutorial_number = 0;
    the_player.controls = -1;
    the_map.restart_pending = 0;
    the_map.restart_key_down = 0;
    the_player.init_in_teleport_anim();
    ASSERT_TRUE(the_player.teleport_anim_in_progress());

    key[the_player.key_restart] = -1;
    process_keys();
    EXPECT_EQ(the_map.restart_pending, 0) << "no restart while the arrival runs";
    EXPECT_EQ(the_map.restart_key_down, 0);

    the_player.teleport_anim = 0;
    process_keys();
    EXPECT_EQ(the_map.restart_pending, -1);
    EXPECT_EQ(the_map.restart_key_down, -1);
    EXPECT_EQ(the_player.teleport_out, -1);

    player_test::release_all_keys();
    the_map.restart_pending = 0;
    the_map.restart_key_down = 0;
}

} // namespace
