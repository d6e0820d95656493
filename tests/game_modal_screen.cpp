// The modal loop every screen runs: the steps owed, each taken after it has run, then a frame copied to the screen, and the three ways a screen ends.
#include <gtest/gtest.h>
#include <allegro.h>
#include <string>
#include "do_drawing.h"
#include "modal_screen.h"
#include "timer.h"

namespace {

struct screen_state {
    int done = 0;
    int ticks = 0;
    int frames = 0;
};

struct loop_case {
    const char *label;
    int owed_at_start;
    int owed_per_frame;  // steps that come due while each frame is drawn
    int done_at_tick;    // the tick that sets done (0: none)
    int return_at_tick;  // the tick that returns modal_return_now (0: none)
    int last_frame;
    const char *trace;   // per tick the counter it saw, F per frame
    int owed_after;
};

TEST(modal_loop, runs_the_steps_owed_then_a_frame_until_the_screen_ends)
{
    const loop_case cases[] = {
        {"done: the steps still owed and one more frame run", 3, 0, 1, 0, -1, "321F", 0},
        {"done without a last frame", 3, 1, 2, 0, 0, "321", 0},
        {"a frame between the passes", 1, 1, 3, 0, -1, "1F1F1F", 1},
        {"several steps come due during a frame", 1, 2, 3, 0, -1, "1F21F", 2},
        {"return at once: the step is taken, the rest stay owed", 3, 1, 0, 2, -1, "32", 1},
        {"return at once on a later pass", 1, 1, 0, 2, -1, "1F1", 0},
    };
    for (const loop_case &c : cases) {
        screen_state state;
        std::string trace;
        speed_counter = c.owed_at_start;
        run_modal_screen(
            state, state.done,
            [&](screen_state &s) {
                trace += std::to_string(speed_counter.load());
                s.ticks++;
                if (s.ticks == c.done_at_tick)
                    s.done = -1;
                return s.ticks == c.return_at_tick ? modal_return_now : modal_go_on;
            },
            [&](const screen_state &) {
                trace += "F";
                speed_counter += c.owed_per_frame;
            },
            c.last_frame);
        EXPECT_EQ(trace, c.trace) << c.label;
        EXPECT_EQ(speed_counter, c.owed_after) << c.label;
    }
    speed_counter = 0;
}

TEST(modal_loop, a_tick_that_returns_nothing_ends_the_screen_only_through_done)
{
    screen_state state;
    speed_counter = 2;
    run_modal_screen(
        state, state.done,
        [](screen_state &s) {
            if (++s.ticks == 3)
                s.done = -1;
        },
        [&](const screen_state &) {
            state.frames++;
            speed_counter += 1;
        });
    EXPECT_EQ(state.ticks, 3);
    EXPECT_EQ(state.frames, 2);
    speed_counter = 0;
}

// Headless there is no screen; a memory bitmap stands in so that the copy can be seen.
TEST(modal_loop, every_frame_drawn_reaches_the_screen_whole)
{
    BITMAP *const saved_screen = screen;
    screen = create_bitmap(640, 480);
    clear_to_color(screen, makecol(0, 0, 0));
    const int colours[] = {makecol(255, 0, 0), makecol(0, 255, 0), makecol(0, 0, 255)};
    screen_state state;
    int copies_seen = 0;
    speed_counter = 1;
    run_modal_screen(
        state, state.done,
        [&](screen_state &s) {
            // What the last frame drew is on the screen before the next step.
            if (s.frames > 0 && getpixel(screen, 0, 0) == colours[s.frames - 1] &&
                getpixel(screen, 639, 479) == colours[s.frames - 1])
                copies_seen++;
            if (s.frames == 2)
                s.done = -1;
        },
        [&](const screen_state &s) {
            clear_to_color(buffer, colours[s.frames]);
            state.frames++;
            speed_counter += 1;
        });
    EXPECT_EQ(copies_seen, 2);
    EXPECT_EQ(getpixel(screen, 0, 0), colours[2]);
    EXPECT_EQ(getpixel(screen, 639, 479), colours[2]);
    destroy_bitmap(screen);
    screen = saved_screen;
    speed_counter = 0;
}

} // namespace
