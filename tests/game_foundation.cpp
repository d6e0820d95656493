// Start-up pieces that need no display: the settings read, randomize, the timer counters.
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstring>
#include <string>
#include <atomic>
#include <thread>
#include <vector>
#include "case_names.h"
#include "headless.h"
#include "graphics_mode.h"
#include "initialization.h"
#include "options_screen.h"
#include "randomize.h"
#include "seams.h"
#include "timer.h"

namespace {

struct settings_case {
    const char *label;
    const char *contents; // nullptr: no file at all
    int sound, music, mode;
};

class settings_read : public testing::TestWithParam<settings_case> {};

TEST_P(settings_read, gives_the_values_read_or_the_defaults)
{
    const settings_case &c = GetParam();
    std::string dir = make_temp_dir("settings");
    std::string path = dir + "/settings.txt";
    if (c.contents)
        write_text_file(path, c.contents);
    char saved[256];
    std::strcpy(saved, settings_location);
    std::snprintf(settings_location, sizeof(settings_location), "%s", path.c_str());
    sound_vol = midi_vol = current_screen_mode = 77; // stale values must not survive
    read_settings();
    std::strcpy(settings_location, saved);
    EXPECT_EQ(sound_vol, c.sound) << c.label;
    EXPECT_EQ(midi_vol, c.music) << c.label;
    EXPECT_EQ(current_screen_mode, c.mode) << c.label;
}

// The mode stands at bytes 257 and 258, past what is read.
const std::string far_settings = std::string(250, ' ') + "51 102 1";

const settings_case settings_cases[] = {
    {"missing file", nullptr, 255, 255, 0},
    {"as the options screen writes it", "102\n51\n1", 102, 51, 1},
    {"any non-zero mode is windowed", "0 0 2", 0, 0, 1},
    {"a negative mode is windowed", "51 51 -3", 51, 51, 1},
    {"volumes cut to 0 to 255", "-5 999 0", 0, 255, 0},
    {"volumes just inside", "0 255 0", 0, 255, 0},
    {"volumes just outside", "-1 256 1", 0, 255, 1},
    {"numbers past any int", "99999999999999999999 -99999999999999999999 99999999999999999999", 255, 0, 1},
    {"a plus sign", "+51 +102 +0", 51, 102, 0},
    {"only the first 256 bytes are read", far_settings.c_str(), 51, 102, 0},
    {"garbage after the first value", "153\nloud\n1", 153, 255, 0},
    {"all garbage", "xyz", 255, 255, 0},
    {"empty file", "", 255, 255, 0},
    {"only two values", "10 20", 10, 20, 0},
};

INSTANTIATE_TEST_SUITE_P(cases, settings_read, testing::ValuesIn(settings_cases), label_name());

TEST(screen_mode, zero_is_full_screen_and_anything_else_a_window)
{
    EXPECT_EQ(gfx_driver_for_screen_mode(0), GFX_AUTODETECT_FULLSCREEN);
    EXPECT_EQ(gfx_driver_for_screen_mode(1), GFX_AUTODETECT_WINDOWED);
    EXPECT_EQ(gfx_driver_for_screen_mode(2), GFX_AUTODETECT_WINDOWED);
    EXPECT_EQ(gfx_driver_for_screen_mode(-1), GFX_AUTODETECT_WINDOWED);
}

// The modes tried, as (driver, colour depth), by a stand-in that grants only the ones listed.
struct mode_try {
    int driver, depth;
    bool operator==(const mode_try &o) const { return driver == o.driver && depth == o.depth; }
};
std::vector<mode_try> modes_tried;
std::vector<mode_try> modes_granted;

int fake_gfx_mode_setter(int card, int, int, int, int)
{
    const mode_try t{card, get_color_depth()};
    modes_tried.push_back(t);
    for (const mode_try &g : modes_granted)
        if (g == t)
            return 0;
    return -1;
}

struct gfx_case {
    const char *label;
    int screen_mode;
    std::vector<mode_try> granted;
    std::vector<mode_try> tried;
    int result;
    int mode_after; // what the options then show and the settings file keeps
};

class gfx_fallback : public testing::TestWithParam<gfx_case> {};

TEST_P(gfx_fallback, tries_the_wanted_driver_then_a_window_at_16_then_15_bits)
{
    const gfx_case &c = GetParam();
    modes_tried.clear();
    modes_granted = c.granted;
    int (*saved)(int, int, int, int, int) = the_screen_mode_calls.set_mode;
    the_screen_mode_calls.set_mode = fake_gfx_mode_setter;
    set_color_depth(16);
    current_screen_mode = c.screen_mode;
    const int result = set_game_gfx_mode();
    the_screen_mode_calls.set_mode = saved;
    set_color_depth(16);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(current_screen_mode, c.mode_after);
    current_screen_mode = 0;
    ASSERT_EQ(modes_tried.size(), c.tried.size());
    for (size_t i = 0; i < c.tried.size(); i++) {
        EXPECT_EQ(modes_tried[i].driver, c.tried[i].driver) << i;
        EXPECT_EQ(modes_tried[i].depth, c.tried[i].depth) << i;
    }
}

const int full = GFX_AUTODETECT_FULLSCREEN, window = GFX_AUTODETECT_WINDOWED;
const gfx_case gfx_cases[] = {
    {"full_screen_at_16", 0, {{full, 16}}, {{full, 16}}, 0, 0},
    {"full_screen_at_15", 0, {{full, 15}}, {{full, 16}, {full, 15}}, 0, 0},
    {"full_screen_refused_a_window_at_16", 0, {{window, 16}}, {{full, 16}, {full, 15}, {window, 16}}, 0, 1},
    {"full_screen_refused_a_window_at_15", 0, {{window, 15}},
     {{full, 16}, {full, 15}, {window, 16}, {window, 15}}, 0, 1},
    {"nothing_granted", 0, {}, {{full, 16}, {full, 15}, {window, 16}, {window, 15}}, -1, 0},
    {"a_window_asked_for_is_not_tried_twice", 1, {}, {{window, 16}, {window, 15}}, -1, 1},
};

INSTANTIATE_TEST_SUITE_P(cases, gfx_fallback, testing::ValuesIn(gfx_cases), label_name());

TEST(randomize_range, stays_within_a_counted_range)
{
    std::srand(1234);
    for (int i = 0; i < 2000; i++)
        EXPECT_EQ(randomize(0, 1), 0);
    bool seen[3] = {false, false, false};
    for (int i = 0; i < 2000; i++) {
        int r = randomize(1, 3);
        ASSERT_GE(r, 1);
        ASSERT_LE(r, 3);
        seen[r - 1] = true;
    }
    EXPECT_TRUE(seen[0] && seen[1] && seen[2]);
    for (int i = 0; i < 2000; i++) {
        int r = randomize(-5, 11);
        ASSERT_GE(r, -5);
        ASSERT_LE(r, 5);
    }
}

// The timer thread adds while the main loop takes away: no tick may be lost in between.
TEST(timer_counters, no_tick_is_lost_between_threads)
{
    speed_counter = 0;
    fps_timer = 0;
    const int ticks = 200000;
    std::atomic<bool> finished{false};
    std::thread timer_thread([&finished] {
        for (int i = 0; i < ticks; i++) {
            increment_speed_counter();
            increment_fps_timer();
        }
        finished = true;
    });
    // Take steps as the main loop does while the timer runs, then what is left once it has stopped.
    int steps_run = 0;
    while (!finished) {
        if (speed_counter > 0) {
            speed_counter--;
            steps_run++;
        }
    }
    timer_thread.join();
    while (speed_counter > 0) {
        speed_counter--;
        steps_run++;
    }
    EXPECT_EQ(steps_run, ticks);
    EXPECT_EQ(speed_counter, 0);
    EXPECT_EQ(fps_timer, ticks);
    fps_timer = 0;
}

// A test swaps a seam for a stand-in; the program itself must run its own functions.
TEST(seams, each_starts_as_the_programs_own_function)
{
    const std::vector<seam> seams = program_seams();
    ASSERT_FALSE(seams.empty());
    for (const seam &s : seams)
        EXPECT_TRUE(s.real) << s.name;
}

} // namespace
