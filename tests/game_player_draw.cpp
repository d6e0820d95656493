// Drawing Pim: the sprite for each state, mirroring, the translucent fade frames, blinking and the walk frames.
#include "game_player_fixture.h"

using namespace player_test;

namespace {

const int background = 0x1234; // a 16-bit colour no sprite of Pim uses as its mask

class player_drawing : public player_test_base {
protected:
    BITMAP *target = nullptr;
    void SetUp() override
    {
        player_test_base::SetUp();
        set_cells({"", "", "", "", "", "", "", "", "", "", "####################"});
        target = create_bitmap(96, 96);
        clear_to_color(target, background);
        the_player.x = 32;
        the_player.y = 32;
    }
    void TearDown() override
    {
        destroy_bitmap(target);
        player_test_base::TearDown();
    }

    // Pixels of the 32x32 square at (32, 32) that differ from d_player entry `entry` drawn masked,
    // mirrored if asked; pixels outside the square must keep the background.
    int mismatches(int entry, bool mirrored)
    {
        BITMAP *image = player_entry(entry);
        const int mask = bitmap_mask_color(image);
        int wrong = 0;
        for (int j = 0; j < 96; j++)
            for (int i = 0; i < 96; i++) {
                int expected = background;
                if (i >= 32 && i < 64 && j >= 32 && j < 64) {
                    const int sx = mirrored ? 31 - (i - 32) : i - 32;
                    const int pixel = getpixel(image, sx, j - 32);
                    if (pixel != mask)
                        expected = pixel;
                }
                wrong += getpixel(target, i, j) != expected;
            }
        return wrong;
    }

    void redraw()
    {
        clear_to_color(target, background);
        the_player.draw(target);
    }
};

bool images_differ(int a, int b)
{
    BITMAP *first = player_entry(a);
    BITMAP *second = player_entry(b);
    for (int j = 0; j < 32; j++)
        for (int i = 0; i < 32; i++)
            if (getpixel(first, i, j) != getpixel(second, i, j))
                return true;
    return false;
}

} // namespace

TEST_F(player_drawing, each_state_shows_its_sprite_facing_either_way)
{
    struct state_case {
        const char *name;
        int falling, walking, walk_frame, climbing, up, ducking;
        int entry;
    };
    const state_case cases[] = {
        {"standing", 0, 0, 0, 0, 0, 0, 5},
        {"ducking", 0, 0, 0, 0, 0, -1, 1},
        {"up", 0, 0, 0, 0, -1, 0, 13},
        {"climbing", 0, 0, 0, -1, -1, 0, 4},
        {"falling", -1, 0, 0, 0, 0, 0, 3},
        {"falling while walking", -1, -1, 3, 0, 0, 0, 3},
        {"walking 0", 0, -1, 0, 0, 0, 0, 15},
        {"walking 3", 0, -1, 3, 0, -1, 0, 18},
        {"walking 6", 0, -1, 6, 0, 0, -1, 21},
        {"up and ducking", 0, 0, 0, 0, -1, -1, 13},
    };
    for (const state_case &c : cases) {
        for (int facing = 0; facing < 2; facing++) {
            SCOPED_TRACE(std::string(c.name) + (facing ? " left" : " right"));
            the_player.falling = c.falling;
            the_player.walking = c.walking;
            the_player.walk_frame = c.walk_frame;
            the_player.climbing = c.climbing;
            the_player.up = c.up;
            the_player.ducking = c.ducking;
            the_player.facing = facing;
            redraw();
            EXPECT_EQ(mismatches(c.entry, facing == 1), 0);
            if (c.entry != 5) {
                EXPECT_TRUE(images_differ(c.entry, 5)); // else the check above could not tell
            }
        }
    }
}

TEST_F(player_drawing, facing_left_is_a_true_mirror_image)
{
    the_player.facing = 1;
    redraw();
    EXPECT_EQ(mismatches(5, true), 0);
    EXPECT_NE(mismatches(5, false), 0); // the standing sprite is not symmetric
}

TEST_F(player_drawing, fade_frames_are_drawn_translucent_and_mirrored)
{
    the_player.init_out_teleport_anim();
    the_player.teleport_frame = 3;
    for (int facing = 0; facing < 2; facing++) {
        SCOPED_TRACE(facing);
        the_player.facing = facing;
        the_player.alpha = 255;
        redraw();
        EXPECT_EQ(mismatches(6 + 3, facing == 1), 0);

        the_player.alpha = 0;
        redraw();
        int untouched = 0;
        for (int j = 0; j < 96; j++)
            for (int i = 0; i < 96; i++)
                untouched += getpixel(target, i, j) == background;
        EXPECT_EQ(untouched, 96 * 96);

        // Half way: every clearly coloured sprite pixel comes out as a blend, never the pure colour.
        clear_to_color(target, 0);
        the_player.alpha = 128;
        the_player.draw(target);
        BITMAP *image = player_entry(6 + 3);
        int blended = 0;
        int pure = 0;
        for (int j = 0; j < 32; j++)
            for (int i = 0; i < 32; i++) {
                const int pixel = getpixel(image, facing ? 31 - i : i, j);
                if (pixel == bitmap_mask_color(image) || getr16(pixel) + getg16(pixel) + getb16(pixel) < 48)
                    continue;
                const int drawn = getpixel(target, 32 + i, 32 + j);
                if (drawn == pixel)
                    pure++;
                else if (drawn != 0)
                    blended++;
            }
        EXPECT_EQ(pure, 0);
        EXPECT_GT(blended, 0);
    }
}

TEST_F(player_drawing, a_teleport_shows_its_fade_frame_whatever_the_pose)
{
    the_player.falling = -1;
    the_player.teleporting = -1;
    the_player.teleport_anim = -1;
    the_player.teleport_frame = 6;
    redraw();
    EXPECT_EQ(mismatches(12, false), 0);
}

TEST_F(player_drawing, pim_blinks_after_three_hundred_idle_ticks_for_five_ticks)
{
    place(1, 9);
    tick(300);
    EXPECT_EQ(the_player.blinking, 0);
    EXPECT_EQ(the_player.sprites[3], player_entry(5));
    tick();
    EXPECT_EQ(the_player.blinking, -1);
    EXPECT_EQ(the_player.sprites[3], player_entry(0));
    EXPECT_EQ(the_player.sprites[1], player_entry(14));
    EXPECT_EQ(the_player.sprites[0], player_entry(2));
    the_player.x = 32;
    the_player.y = 32;
    redraw();
    EXPECT_EQ(mismatches(0, false), 0);
    place(1, 9);
    tick(4);
    EXPECT_EQ(the_player.blinking, -1);
    tick();
    EXPECT_EQ(the_player.blinking, 0);
    EXPECT_EQ(the_player.sprites[3], player_entry(5));
    EXPECT_EQ(the_player.sprites[1], player_entry(13));
    EXPECT_EQ(the_player.sprites[0], player_entry(1));
    EXPECT_EQ(the_player.blink_tick, 0);
    EXPECT_GE(the_player.blink_interval, 120);
    EXPECT_LE(the_player.blink_interval, 619);

    // The next blink comes after blink_interval + 1 idle ticks.
    const int interval = the_player.blink_interval;
    tick(interval);
    EXPECT_EQ(the_player.blinking, 0);
    tick();
    EXPECT_EQ(the_player.blinking, -1);
}

TEST_F(player_drawing, the_blink_counter_rests_while_pim_walks)
{
    place(1, 9);
    tick(290);
    press(KEY_RIGHT);
    tick(80);
    release(KEY_RIGHT);
    while (the_player.walking)
        tick();
    // 291 idle ticks so far: the walk did not count.
    tick(9);
    EXPECT_EQ(the_player.blinking, 0);
    tick();
    EXPECT_EQ(the_player.blinking, -1);
}

TEST_F(player_drawing, walk_frames_change_every_seven_ticks_and_carry_over_between_steps)
{
    place(1, 9);
    press(KEY_RIGHT);
    tick();
    release(KEY_RIGHT);
    EXPECT_EQ(the_player.walk_frame, 0);
    tick(6);
    EXPECT_EQ(the_player.walk_frame, 1);
    tick(16);
    EXPECT_EQ(the_player.walk_frame, 2); // 16 ticks of walking: frames 0, 1, 2
    tick(30);
    EXPECT_EQ(the_player.walk_frame, 2);
}
