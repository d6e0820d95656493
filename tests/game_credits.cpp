// Credits: the scroller tick by tick, its column on screen, Escape held off, the road from the last map through the ending to the credits map and its movie, and back to the title.
#include <gtest/gtest.h>
#include <allegro.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include "auto_script.h"
#include "case_names.h"
#include "credits_screen.h"
#include "datafiles.h"
#include "do_drawing.h"
#include "do_logic.h"
#include "game_player_fixture.h"
#include "game_story_timer.h"
#include "headless.h"
#include "level_set_screen.h"
#include "map.h"
#include "menu_frame.h"
#include "message.h"
#include "player.h"
#include "show_map_name.h"
#include "solutions/solution_compiler.h"
#include "timer.h"
#include "title_screen.h"
#include "ticking.h"

namespace {

const std::string movie_source = std::string(TEST_SOURCE_DIR) + "/game_credits_movie.sol";
const std::string shipped_movie =
    std::string(TEST_SOURCE_DIR) + "/../" + credits_location + credits_auto_script_name;

FONT *credits_text_font() { return static_cast<FONT *>(d_system[credits_font].dat); }

// What the title menu looked like when it was opened: the Load Game item stands in for a screen
// that records the moment and reports a loaded game, so the menu returns at once.
struct title_visit {
    int calls = 0;
    int game_in_progress = 0;
    int credits_active = 0;
    int credits_done = 0;
};
title_visit visit;

int record_title_visit()
{
    visit.calls++;
    visit.game_in_progress = game_in_progress;
    visit.credits_active = credits_active;
    visit.credits_done = credits_done;
    return -1;
}

// Keys for a title menu that may open in this tick: Down then Enter picks Load Game. With a game in
// progress the same keys pick Continue instead, and the stand-in screen is never called.
void arm_title_menu()
{
    key[KEY_DOWN] = -1;
    key[KEY_ENTER] = -1;
    key_enter_pressed = 0;
    speed_counter = 5;
}

class credits_test : public ::testing::Test {
protected:
    void SetUp() override
    {
        story_test_timer::install_silent_timer();
        player_test::reset_world();
        static bool prepared = false;
        if (!prepared) {
            prepared = true;
            the_message.initialize();
        }
        the_message.deactivate();
        reset_credits();
        game_in_progress = -1;
        key_esc_down = 0;
        key_enter_pressed = 0;
        visit = title_visit();
        saved_load_screen = title_load_game_screen;
        title_load_game_screen = record_title_visit;
        player_test::use_level_directory(credits_location);
    }
    void TearDown() override
    {
        title_load_game_screen = saved_load_screen;
        player_test::release_all_keys();
        do_play_script = 0;
        reset_credits();
        player_test::use_level_directory(credits_location);
    }

    int (*saved_load_screen)() = nullptr;
};

// ---- The scroller

TEST_F(credits_test, the_text_rises_a_pixel_a_tick_and_waits_at_minus_2200_for_the_movie)
{
    credits_active = -1;
    do_play_script = -1;
    process_credits();
    EXPECT_EQ(credits_y_pos, 599);
    EXPECT_EQ(credits_x_pos, 325);
    for (int t = 1; t < 2800; t++)
        process_credits();
    EXPECT_EQ(credits_y_pos, -2200);
    // The movie still plays: the credits hold, however long it takes.
    for (int t = 0; t < 500; t++)
        process_credits();
    EXPECT_EQ(credits_y_pos, -2200);
    EXPECT_EQ(credits_done, 0);
    EXPECT_EQ(the_player.teleport_anim, 0);

    player_test::clear_sounds();
    do_play_script = 0;
    process_credits();
    EXPECT_EQ(credits_done, -1);
    EXPECT_EQ(the_player.teleport_out, -1) << "Pim fades out";
    EXPECT_EQ(the_player.controls, 0);
    EXPECT_EQ(player_test::sounds_played(), std::vector<int>{4});
    EXPECT_EQ(credits_active, -1) << "still drawn while he fades";
}

TEST_F(credits_test, a_movie_that_ended_early_ends_the_credits_with_the_text_at_tick_2800)
{
    credits_active = -1;
    do_play_script = 0;
    int ticks = 0;
    while (!credits_done && ticks < 5000) {
        process_credits();
        ticks++;
    }
    EXPECT_EQ(ticks, 2800);
    EXPECT_EQ(credits_y_pos, -2200);
    EXPECT_EQ(the_player.teleport_out, -1);
}

TEST_F(credits_test, a_fade_already_running_is_not_started_again)
{
    credits_active = -1;
    credits_y_pos = -2200;
    the_player.init_out_teleport_anim();
    the_player.teleport_tick = 5;
    the_player.teleport_frame = 3;
    player_test::clear_sounds();
    process_credits();
    EXPECT_EQ(credits_done, -1);
    EXPECT_EQ(the_player.teleport_frame, 3);
    EXPECT_EQ(the_player.teleport_tick, 5);
    EXPECT_TRUE(player_test::sounds_played().empty());
}

TEST_F(credits_test, nothing_moves_while_the_credits_are_off)
{
    do_play_script = 0;
    for (int t = 0; t < 3000; t++)
        process_credits();
    EXPECT_EQ(credits_y_pos, 600);
    EXPECT_EQ(credits_done, 0);
    EXPECT_EQ(the_player.teleport_anim, 0);
    EXPECT_EQ(visit.calls, 0);
}

TEST_F(credits_test, once_pim_has_faded_out_the_title_opens_with_no_game_and_the_credits_reset)
{
    credits_active = -1;
    credits_y_pos = -2200;
    do_play_script = 0;
    arm_title_menu();
    process_credits();
    ASSERT_EQ(credits_done, -1);
    int ticks = 0;
    while (visit.calls == 0 && ticks < 100) {
        the_player.do_logic();
        process_credits();
        ticks++;
    }
    ASSERT_EQ(visit.calls, 1) << "the title menu opened once";
    EXPECT_EQ(ticks, 42) << "when the fade-out has ended, not before";
    EXPECT_EQ(visit.game_in_progress, 0);
    EXPECT_EQ(visit.credits_active, 0);
    EXPECT_EQ(visit.credits_done, 0);
    EXPECT_EQ(credits_y_pos, 600);
    EXPECT_EQ(credits_x_pos, 325);

    // They can run again from the start.
    credits_active = -1;
    process_credits();
    EXPECT_EQ(credits_y_pos, 599);
}

// ---- Escape

struct escape_case {
    const char *label;
    int credits_active;
    int controls;
    bool opens_title;
};

class credits_escape : public credits_test, public ::testing::WithParamInterface<escape_case> {};

TEST_P(credits_escape, escape_opens_the_title_only_outside_the_credits_and_with_controls)
{
    const escape_case c = GetParam();
    credits_active = c.credits_active;
    the_player.controls = c.controls;
    // With a game in progress Down and Enter pick Continue: the menu runs its ticks and returns.
    arm_title_menu();
    const int scroll_before = background_scroll;
    key[KEY_ESC] = -1;
    process_keys();
    EXPECT_EQ(background_scroll != scroll_before, c.opens_title);
    EXPECT_EQ(key_esc_down, c.opens_title ? -1 : 0);
}

const escape_case escape_cases[] = {
    {"in_play", 0, -1, true},
    {"during_the_credits", -1, -1, false},
    {"during_the_credits_without_controls", -1, 0, false},
    {"without_controls", 0, 0, false},
};

INSTANTIATE_TEST_SUITE_P(cases, credits_escape, ::testing::ValuesIn(escape_cases), label_name());

// ---- The column on screen

TEST_F(credits_test, the_column_covers_the_right_half_and_shows_each_line_in_its_colour)
{
    FONT *f = credits_text_font();
    const int h = text_height(f);
    clear_to_color(buffer, makecol(40, 80, 120));
    draw_credits(buffer);
    EXPECT_EQ(getpixel(buffer, 400, 200), makecol(40, 80, 120)) << "nothing while the credits are off";

    credits_active = -1;
    credits_y_pos = 600;
    draw_credits(buffer);
    EXPECT_EQ(getpixel(buffer, 319, 200), makecol(40, 80, 120));
    for (int y = 0; y < 480; y += 7)
        for (int x = 320; x < 640; x += 5)
            ASSERT_EQ(getpixel(buffer, x, y), makecol(0, 0, 0)) << "the first line enters from below";

    // Lines 0 and 4 in view, each drawn where it belongs and in its own colour.
    credits_y_pos = 100;
    draw_credits(buffer);
    for (int line : {0, 4, 14}) {
        SCOPED_TRACE(line);
        const credits_line &l = credits_lines[line];
        const int colour = makecol(l.red, l.green, l.blue);
        const int top = credits_y_pos + line * h;
        int inside = 0, outside = 0;
        for (int y = top - h; y < top + h; y++)
            for (int x = 320; x < 640; x++)
                if (getpixel(buffer, x, y) == colour)
                    (y >= top && y < top + h && x >= credits_x_pos ? inside : outside)++;
        EXPECT_GT(inside, 20);
        EXPECT_EQ(outside, 0);
    }
}

TEST_F(credits_test, every_line_fits_the_column_and_the_text_is_gone_when_it_stops)
{
    FONT *f = credits_text_font();
    const int h = text_height(f);
    EXPECT_LE(h, 22);
    EXPECT_LE(credits_stop_y + (credits_line_count - 1) * h + h, 0) << "the last line has left the top";
    for (const credits_line &line : credits_lines) {
        SCOPED_TRACE(line.text);
        EXPECT_LE(credits_x_pos + text_length(f, line.text), 640 - 4);
        EXPECT_LT(std::strlen(line.text), sizeof(line.text));
    }
}

TEST_F(credits_test, the_text_keeps_the_layout_of_its_table)
{
    struct colour {
        int r, g, b;
    };
    const colour title{0, 100, 200}, studio{199, 150, 232}, heading{0, 255, 255}, white{255, 255, 255},
        last{100, 155, 215};
    const int headings[] = {14, 18, 22, 26, 30, 34};
    for (int i = 0; i < credits_line_count; i++) {
        SCOPED_TRACE(i);
        const credits_line &line = credits_lines[i];
        colour want = white;
        if (i <= 1)
            want = title;
        else if (i == 4)
            want = studio;
        else if (i == 96)
            want = last;
        for (int hd : headings)
            if (i == hd)
                want = heading;
        EXPECT_EQ(line.red, want.r);
        EXPECT_EQ(line.green, want.g);
        EXPECT_EQ(line.blue, want.b);
        // The fixed gaps are empty; the blocks between them keep one or two empty lines of their own.
        const bool blank = i == 2 || (i >= 5 && i <= 13) || (i >= 77 && i <= 92) || i >= 94;
        const bool worded = i <= 1 || i == 3 || i == 4 || i == 35 || i == 76 || i == 93 || want.r == heading.r;
        if (blank) {
            EXPECT_EQ(line.text[0], '\0');
        }
        if (worded) {
            EXPECT_NE(line.text[0], '\0');
        }
        if (want.r == heading.r && want.g == heading.g && want.b == heading.b) {
            EXPECT_EQ(line.text[std::strlen(line.text) - 1], ':');
        }
    }
    EXPECT_NE(std::strstr(credits_lines[1].text, "Pim's Slumberia"), nullptr);
}

// ---- The road into the credits and out of them

// A one-map set whose map is the last ("end"), with Pim one step left of its exit.
class credits_road : public credits_test {
protected:
    void SetUp() override
    {
        credits_test::SetUp();
        dir = make_temp_dir("credits_road") + "/";
        write_text_file(dir + "last.map",
                        player_test::map_file_text("Last Dream", "last.map", "end", 4, 12, 5, 12,
                                                   {"", "", "", "", "", "", "", "", "", "", "", "", "",
                                                    "####################"}));
        player_test::use_level_directory(dir);
        char file[256] = "last.map";
        the_map.load_map(file);
        game_in_progress = -1;
    }
    void TearDown() override
    {
        credits_test::TearDown();
        player_test::leave_level_directory(dir);
    }

    // Play ticks, as the main loop runs them, until the credits map is loaded.
    void walk_into_the_credits()
    {
        ticking timer;
        int ticks = 0;
        while (std::strcmp(the_map.file_name, "last.map") == 0 && ticks < 400) {
            // Enter closes the intermission; Escape, pressed once Pim's controls are off at the exit,
            // skips the ending's dialogue.
            key[KEY_ENTER] = -1;
            key[KEY_ESC] = the_player.win_pending ? -1 : 0;
            key[KEY_RIGHT] = the_player.x < 5 * 32 ? -1 : 0;
            speed_counter = 100;
            do_logic();
            ticks++;
        }
    }

    std::string dir;
};

TEST_F(credits_road, after_the_last_map_and_the_ending_the_credits_map_loads_with_its_movie)
{
    walk_into_the_credits();
    ASSERT_STREQ(the_map.file_name, credits_name);
    EXPECT_STREQ(loader_directory, credits_location);
    EXPECT_STREQ(the_map.name, "Sweet Dreams");
    EXPECT_EQ(credits_active, -1);
    EXPECT_EQ(credits_y_pos, 599) << "the first rise comes in the same tick";
    EXPECT_EQ(do_play_script, -1);
    EXPECT_EQ(script_time, 1) << "the movie's first tick is played at once";
    EXPECT_EQ(the_player.x, the_map.start_x * 32);
    EXPECT_EQ(the_player.controls, -1);
    EXPECT_EQ(map_name_showing(), -1);

    // Escape is still held from the ending: the credits keep it from opening the title.
    key[KEY_DOWN] = -1;
    speed_counter = 5;
    for (int t = 0; t < 30; t++)
        do_logic();
    EXPECT_EQ(visit.calls, 0);
    EXPECT_EQ(key_esc_down, 0);
    EXPECT_EQ(credits_y_pos, 569);
}

// The whole credits as the main loop plays them, with the player holding Right (and Enter, for any
// screen that might open) all along: the movie never takes Pim onto the exit, and no intermission
// of a level never played comes between the credits and the title.
TEST_F(credits_road, the_movie_stops_short_of_the_exit_and_the_credits_send_pim_home_to_the_title)
{
    walk_into_the_credits();
    ASSERT_STREQ(the_map.file_name, credits_name);
    player_test::release_all_keys();
    const int created_before = the_player.blocks_created;
    ticking timer;
    int ticks = 0, max_x = 0, done_at = -1, movie_end = -1, on_exit = 0, left_unattended = 0;
    int x_when_done = -1, y_when_done = -1, fading_when_done = 0;
    while (visit.calls == 0 && ticks < 6000) {
        arm_title_menu();
        key[KEY_RIGHT] = -1;
        do_logic();
        ticks++;
        max_x = std::max(max_x, the_player.x);
        on_exit |= the_player.win_pending | the_player.level_complete;
        if (movie_end < 0 && !do_play_script)
            movie_end = ticks;
        // Once the movie has let go, the player must never have Pim to himself.
        if (!do_play_script && the_player.controls && visit.calls == 0)
            left_unattended++;
        if (done_at < 0 && credits_done) {
            done_at = ticks;
            x_when_done = the_player.x;
            y_when_done = the_player.y;
            fading_when_done = the_player.teleport_out;
        }
    }
    ASSERT_EQ(visit.calls, 1) << "the title menu opened";
    EXPECT_EQ(on_exit, 0) << "Pim never stood on the exit";
    EXPECT_EQ(left_unattended, 0) << "the movie lasts until the names have gone";
    EXPECT_LT(max_x, 320) << "Pim stays in the half of the screen the text leaves free";
    EXPECT_GT(the_player.blocks_created, created_before);
    EXPECT_EQ(the_player.restarts, 1) << "no intermission reset the statistics";

    ASSERT_GT(done_at, 0);
    EXPECT_GE(done_at, 2800) << "the names have all gone by first";
    EXPECT_EQ(done_at, movie_end) << "the credits end with the movie";
    EXPECT_LT(done_at, 3100) << "and it does not keep the player waiting long after";
    EXPECT_EQ(fading_when_done, -1) << "Pim teleports out";
    EXPECT_NE(x_when_done / 32 * 1000 + y_when_done / 32, the_map.exit_x / 32 * 1000 + the_map.exit_y / 32);
    EXPECT_EQ(x_when_done % 32, 0);
    EXPECT_EQ(y_when_done % 32, 0);
    EXPECT_EQ(ticks - done_at, 42) << "the title opens once the fade-out has ended";
    EXPECT_EQ(visit.game_in_progress, 0);
    EXPECT_EQ(visit.credits_active, 0);
    EXPECT_EQ(credits_y_pos, 600);
}

// The credits map's exit stays an end of the game: a Pim set down beside it and walked on, as after
// F3 has stopped the credits movie. It is no level of the player's: no intermission shows it.
TEST_F(credits_road, the_exit_of_the_credits_map_returns_to_the_title_with_no_game_and_no_credits)
{
    walk_into_the_credits();
    ASSERT_STREQ(the_map.file_name, credits_name);
    player_test::release_all_keys();
    // The movie opens with a long rest: let the fade-in end, then take the movie away.
    for (int t = 0; t < 100 && the_player.teleport_anim_in_progress(); t++)
        do_logic();
    ASSERT_FALSE(the_player.teleport_anim_in_progress());
    do_play_script = 0;
    the_player.x = the_map.exit_x - 32;
    the_player.y = the_map.exit_y;
    the_player.controls = -1;
    the_player.restarts = 3;
    the_player.blocks_created = 2;

    ticking timer;
    int ticks = 0;
    while (visit.calls == 0 && ticks < 200) {
        arm_title_menu();
        key[KEY_RIGHT] = the_player.win_pending ? 0 : -1;
        do_logic();
        ticks++;
    }
    ASSERT_EQ(visit.calls, 1) << "the title menu opened";
    EXPECT_EQ(visit.game_in_progress, 0);
    EXPECT_EQ(visit.credits_active, 0) << "the credits end with the game";
    EXPECT_EQ(visit.credits_done, 0);
    EXPECT_EQ(credits_y_pos, 600);
    EXPECT_EQ(the_player.level_complete, 0);
    EXPECT_EQ(the_player.controls, -1);
    EXPECT_EQ(the_player.restarts, 3) << "no intermission came, and none reset the statistics";
    EXPECT_EQ(the_player.blocks_created, 2);
}

// ---- The movie's source

// The shipped movie is the compiled solution text; a changed solution or map needs it written again:
// run this test with SLUMBERIA_WRITE_CREDITS_MOVIE=1 to write it into the source tree.
TEST_F(credits_test, the_shipped_movie_is_its_solution_compiled_on_the_credits_map)
{
    const std::string text = read_text_file(movie_source);
    ASSERT_FALSE(text.empty()) << movie_source;
    const std::string compiled_path = make_temp_dir("credits_movie") + "/" + credits_auto_script_name;
    solution_compiler compiler;
    const solution_result result = compiler.compile(credits_location, credits_name, text, compiled_path, demonstration);
    ASSERT_TRUE(result.ok) << result.error;
    const std::string compiled = read_text_file(compiled_path);
    const char *write = std::getenv("SLUMBERIA_WRITE_CREDITS_MOVIE");
    if (write && std::strcmp(write, "1") == 0)
        write_text_file(shipped_movie, compiled);
    EXPECT_EQ(read_text_file(shipped_movie), compiled)
        << "credits.qmv is out of date: run with SLUMBERIA_WRITE_CREDITS_MOVIE=1 (" << result.ticks << " ticks)";
    EXPECT_EQ(read_text_file(std::string(credits_location) + credits_auto_script_name), compiled)
        << "the run tree holds the shipped movie";
}

} // namespace
