// Screen effects: the star field, the screenshot file numbering and the block wipe.
#include <gtest/gtest.h>
#include <allegro.h>
#include <atomic>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>
#include "case_names.h"
#include "do_drawing.h"
#include "game_map_fakes.h"
#include "headless.h"
#include "randomize.h"
#include "screen_effect.h"
#include "screenshot.h"
#include "stars.h"
#include "timer.h"

namespace {

// Keeps the game's star field out of reach of the test and puts it back afterwards.
class star_field : public testing::Test {
protected:
    void SetUp() override { saved.swap(the_bg_stars); }
    void TearDown() override { saved.swap(the_bg_stars); }
    std::vector<bg_stars> saved;
};

bg_stars star_at(int x, int y, int speed, int size)
{
    bg_stars s;
    s.x = x;
    s.y = y;
    s.speed = speed;
    s.size = size;
    return s;
}

TEST_F(star_field, a_new_star_starts_left_of_the_screen_with_values_in_range)
{
    std::srand(99);
    std::set<int> speeds, sizes;
    int highest_colour = 0;
    for (int i = 0; i < 3000; i++) {
        bg_stars s;
        ASSERT_EQ(s.x, -5);
        ASSERT_GE(s.y, 0);
        ASSERT_LE(s.y, 479);
        speeds.insert(s.speed);
        sizes.insert(s.size);
        for (int c : {s.r, s.g, s.b}) {
            ASSERT_GE(c, 0);
            ASSERT_LE(c, 254);
            highest_colour = std::max(highest_colour, c);
        }
    }
    EXPECT_EQ(speeds, (std::set<int>{1, 2, 3}));
    EXPECT_EQ(sizes, (std::set<int>{1, 2}));
    EXPECT_EQ(highest_colour, 254);
}

TEST_F(star_field, the_spread_field_keeps_1000_stars_on_the_screen_band)
{
    std::srand(7);
    // As start-up builds it: append one, then one tick, a thousand times.
    for (int i = 0; i < 1000; i++) {
        the_bg_stars.push_back(bg_stars());
        bg_stars_do_logic();
    }
    int right_half = 0;
    for (const bg_stars &s : the_bg_stars)
        right_half += s.x >= 320;
    EXPECT_GT(right_half, 100); // spread out, not bunched at the left edge
    for (int tick = 0; tick < 1500; tick++) {
        bg_stars_do_logic();
        ASSERT_EQ(the_bg_stars.size(), 1000u);
        for (const bg_stars &s : the_bg_stars) {
            ASSERT_GE(s.x, -5);
            ASSERT_LE(s.x, 645);
            ASSERT_GE(s.y, 0);
            ASSERT_LE(s.y, 479);
        }
    }
}

TEST_F(star_field, a_star_past_645_is_replaced_and_the_next_one_still_moves)
{
    the_bg_stars = {star_at(643, 10, 3, 1), star_at(644, 20, 1, 1), star_at(0, 30, 2, 1)};
    bg_stars_do_logic();
    ASSERT_EQ(the_bg_stars.size(), 3u);
    EXPECT_EQ(the_bg_stars[0].y, 20);
    EXPECT_EQ(the_bg_stars[0].x, 645); // on 645 it stays another tick
    EXPECT_EQ(the_bg_stars[1].y, 30);
    EXPECT_EQ(the_bg_stars[1].x, 2);
    EXPECT_EQ(the_bg_stars[2].x, -5); // the replacement, appended at the end
    bg_stars_do_logic();
    ASSERT_EQ(the_bg_stars.size(), 3u);
    EXPECT_EQ(the_bg_stars[0].y, 30);
    EXPECT_EQ(the_bg_stars[0].x, 4);
    EXPECT_EQ(the_bg_stars[2].x, -5);
}

TEST_F(star_field, stars_are_squares_of_their_size_and_later_ones_cover_earlier)
{
    bg_stars a = star_at(10, 20, 1, 2), b = star_at(11, 21, 1, 1), edge = star_at(-5, 479, 1, 2);
    a.r = 248, a.g = 0, a.b = 0;
    b.r = 0, b.g = 252, b.b = 0;
    edge.r = edge.g = edge.b = 248;
    the_bg_stars = {a, b, edge};
    BITMAP *bmp = create_bitmap(640, 480);
    clear_to_color(bmp, 0);
    bg_stars_do_drawing(bmp);
    EXPECT_EQ(getpixel(bmp, 10, 20), rgb(248, 0, 0));
    EXPECT_EQ(getpixel(bmp, 11, 20), rgb(248, 0, 0));
    EXPECT_EQ(getpixel(bmp, 10, 21), rgb(248, 0, 0));
    EXPECT_EQ(getpixel(bmp, 11, 21), rgb(0, 252, 0));
    EXPECT_EQ(getpixel(bmp, 12, 21), 0);
    EXPECT_EQ(getpixel(bmp, 10, 22), 0);
    EXPECT_EQ(getpixel(bmp, 0, 479), 0); // the edge star lies wholly off the left
    destroy_bitmap(bmp);
}

// Runs the screenshot in a scratch working directory, restoring the old one afterwards.
class screenshots : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(getcwd(saved_dir, sizeof(saved_dir)), nullptr);
        dir = make_temp_dir("shots");
        ASSERT_EQ(chdir(dir.c_str()), 0);
        shot = create_bitmap(640, 480);
        clear_to_color(shot, rgb(8, 100, 200));
        putpixel(shot, 5, 7, rgb(248, 252, 0));
    }
    void TearDown() override
    {
        destroy_bitmap(shot);
        ASSERT_EQ(chdir(saved_dir), 0);
    }
    static std::string name(int n)
    {
        char text[64];
        std::snprintf(text, sizeof(text), "shots/screenshot%03d.bmp", n);
        return text;
    }
    char saved_dir[4096];
    std::string dir;
    BITMAP *shot = nullptr;
};

struct numbering_case {
    std::vector<int> present;
    int written;
};

class screenshot_numbering : public screenshots, public testing::WithParamInterface<numbering_case> {};

TEST_P(screenshot_numbering, takes_the_first_free_number_and_overwrites_nothing)
{
    const numbering_case &c = GetParam();
    ASSERT_EQ(mkdir("shots", 0755), 0);
    for (int n : c.present)
        write_text_file(name(n), "keep");
    screenshot(shot);
    for (int n : c.present)
        EXPECT_EQ(read_text_file(name(n)), "keep");
    BITMAP *saved = load_bmp(name(c.written).c_str(), nullptr);
    ASSERT_NE(saved, nullptr) << name(c.written);
    EXPECT_EQ(saved->w, 640);
    EXPECT_EQ(saved->h, 480);
    EXPECT_EQ(getpixel(saved, 5, 7), rgb(248, 252, 0));
    EXPECT_EQ(getpixel(saved, 6, 7), rgb(8, 100, 200));
    destroy_bitmap(saved);
}

const numbering_case numbering_cases[] = {
    {{}, 0},
    {{0, 1, 2, 3, 4}, 5},
    {{3}, 0},
    {{0, 1, 3}, 2},
};

// Names the case in test names: the numbers already taken and the one written.
std::string case_label(const numbering_case &c)
{
    std::string name = "with";
    for (int n : c.present)
        name += " " + std::to_string(n);
    if (c.present.empty())
        name += " none";
    return name + " writes " + std::to_string(c.written);
}

INSTANTIATE_TEST_SUITE_P(cases, screenshot_numbering, testing::ValuesIn(numbering_cases), label_name());

TEST_F(screenshots, the_thousandth_shot_gets_four_digits)
{
    ASSERT_EQ(mkdir("shots", 0755), 0);
    for (int n = 0; n < 1000; n++)
        write_text_file(name(n), "");
    screenshot(shot);
    EXPECT_TRUE(exists("shots/screenshot1000.bmp"));
}

TEST_F(screenshots, without_a_shots_directory_nothing_is_written)
{
    screenshot(shot);
    EXPECT_FALSE(exists("shots"));
    EXPECT_FALSE(exists(name(0).c_str()));
}

// The wipe draws into the back buffer and copies it to the screen, which here is a memory bitmap.
class block_wipe : public testing::Test {
protected:
    void SetUp() override
    {
        saved_screen = screen;
        screen = create_bitmap(640, 480);
        clear_to_color(buffer, background);
    }
    void TearDown() override
    {
        destroy_bitmap(screen);
        screen = saved_screen;
        speed_counter = 0;
    }
    fake_map_data data;
    BITMAP *saved_screen = nullptr;
    const int background = rgb(8, 8, 8);
};

TEST_F(block_wipe, with_ticks_arriving_one_by_one_it_covers_every_row_in_18_ticks)
{
    std::atomic<bool> finished{false};
    std::atomic<int> fed{0};
    speed_counter = 1;
    // A stand-in for the timer thread: the next tick arrives only once the last is used up.
    std::thread timer([&] {
        while (!finished) {
            if (speed_counter == 0 && fed < 100) {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
                fed++;
                speed_counter++;
            }
            std::this_thread::yield();
        }
    });
    screen_blocks(buffer);
    finished = true;
    timer.join();
    EXPECT_EQ(1 + fed - speed_counter, 18);

    const int images[3] = {still_colour(6), still_colour(9), still_colour(2)};
    for (int row = 0; row < 15; row++) {
        const int first = getpixel(buffer, 16, row * 32 + 16);
        EXPECT_TRUE(first == images[0] || first == images[1] || first == images[2]) << "row " << row;
        for (int x = 0; x < 20; x++)
            ASSERT_EQ(getpixel(buffer, x * 32 + 16, row * 32 + 16), first) << "row " << row << ", cell " << x;
    }
    EXPECT_EQ(0, std::memcmp(buffer->line[0], screen->line[0], 640 * 480 * 2));
}

TEST_F(block_wipe, ticks_owed_at_once_are_used_up_and_only_the_last_row_reached_is_drawn)
{
    speed_counter = 18;
    screen_blocks(buffer);
    EXPECT_EQ(speed_counter, 0);
    // Rows 0 .. 16 were passed over in one go: the screen keeps what was there.
    for (int row = 0; row < 15; row++)
        ASSERT_EQ(getpixel(buffer, 100, row * 32 + 5), background) << "row " << row;
}

} // namespace
