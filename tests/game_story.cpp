// Story screens driven tick by tick: the logo's fade, the introduction's and the ending's steps, the intermission's statistics.
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstring>
#include <string>
#include <vector>
#include "datafiles.h"
#include "game_story_timer.h"
#include "do_drawing.h"
#include "do_logic.h"
#include "ending_screen.h"
#include "intermission_screen.h"
#include "introduction_screen.h"
#include "logo_screen.h"
#include "map.h"
#include "message.h"
#include "player.h"
#include "show_map_name.h"

namespace {

// What start-up prepares once the data files are loaded: the message box, the map's
// animation constants and the banner font.
void prepare_game_objects()
{
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    story_test_timer::install_silent_timer();
    the_message.initialize();
    the_map.initialize();
    map_name_pre_init();
}

void release_all_keys()
{
    for (int i = 0; i < KEY_MAX; i++)
        key[i] = 0;
}

// A visible pixel of image: its position (for a check against the screen) and colour.
struct probe_pixel {
    int x, y, colour;
};

// A pixel of a full-screen picture above the message box and its portrait that
// differs from black, so that drawing it or not can be told apart.
probe_pixel picture_pixel(BITMAP *image)
{
    for (int y = 20; y < 150; y += 7)
        for (int x = 20; x < 620; x += 11) {
            const int c = getpixel(image, x, y);
            if (c != makecol(0, 0, 0) && c != bitmap_mask_color(image))
                return {x, y, c};
        }
    return {0, 0, -1};
}

// A reader of the message box: holds Enter while the text types, then presses and releases it.
class box_reader {
public:
    void before_tick()
    {
        if (!the_message.active_state()) {
            key[KEY_ENTER] = 0;
            phase = 0;
            return;
        }
        if (!the_message.finished) {
            key[KEY_ENTER] = 1;
            return;
        }
        // Finished: up, down, up closes the box.
        key[KEY_ENTER] = phase == 1;
        phase = (phase + 1) % 3;
    }

private:
    int phase = 0;
};

class story_test : public ::testing::Test {
protected:
    void SetUp() override
    {
        prepare_game_objects();
        release_all_keys();
        the_message.deactivate();
        the_player = player();
        the_player.init_sprites();
        key_esc_down = 0;
        the_map.flush();
        the_map.background = 1;
        the_map.x_velocity = 0;
        the_map.y_velocity = 0;
        the_map.scroll_pos = 0;
    }
    void TearDown() override
    {
        release_all_keys();
        the_message.deactivate();
    }
};

TEST_F(story_test, the_logo_fades_in_holds_and_fades_out_in_375_ticks)
{
    BITMAP *logo_image = system_bitmap(17);
    const probe_pixel p = picture_pixel(logo_image);
    ASSERT_NE(p.colour, -1);

    logo_state logo;
    clear_bitmap(buffer);
    draw_logo(logo);
    EXPECT_EQ(getpixel(buffer, p.x, p.y), makecol(0, 0, 0)) << "starts black";

    int ticks = 0;
    while (!logo.done && ticks < 1000) {
        logo_tick(logo);
        ticks++;
        if (ticks == 128) {
            EXPECT_EQ(logo.level, -1);
            draw_logo(logo);
            EXPECT_EQ(getpixel(buffer, p.x, p.y), p.colour) << "fully visible after the fade-in";
        }
        if (ticks == 246) {
            EXPECT_EQ(logo.fading_out, 0);
        }
        if (ticks == 247) {
            EXPECT_EQ(logo.fading_out, -1) << "held from tick 128 until the hold count reached 120";
        }
    }
    EXPECT_EQ(ticks, 375);
    EXPECT_EQ(logo.level, 255);
    draw_logo(logo);
    EXPECT_EQ(getpixel(buffer, p.x, p.y), makecol(0, 0, 0)) << "ends black";
}

TEST_F(story_test, introduction_steps_wait_for_the_box_to_be_read)
{
    introduction_state intro;
    start_introduction(intro);
    EXPECT_EQ(the_map.background, 0) << "the introduction opens on the star field";

    for (int i = 0; i < 254; i++)
        introduction_tick(intro);
    EXPECT_EQ(intro.step, 0);
    EXPECT_EQ(the_message.active_state(), 0);
    introduction_tick(intro);
    EXPECT_EQ(intro.step, 1);
    introduction_tick(intro);
    EXPECT_EQ(intro.step, 2);
    ASSERT_EQ(the_message.active_state(), -1);
    EXPECT_STREQ(the_message.text, "There exists a world^^^^^.^^^^^.^^^^^.");
    EXPECT_EQ(the_message.portrait, -1);

    // Nobody reads: the story holds.
    for (int i = 0; i < 600; i++)
        introduction_tick(intro);
    EXPECT_EQ(intro.step, 2);

    the_message.deactivate();
    introduction_tick(intro);
    EXPECT_EQ(intro.step, 3);
    EXPECT_STREQ(the_message.text, "A world where reality can be|completely altered^^^^^.^^^^^.^^^^^.");
    finish_introduction(intro);
}

TEST_F(story_test, escape_ends_the_introduction_and_gives_back_the_background)
{
    the_map.background = 3;
    introduction_state intro;
    start_introduction(intro);
    for (int i = 0; i < 300; i++)
        introduction_tick(intro);
    ASSERT_EQ(the_message.active_state(), -1);
    key[KEY_ESC] = 1;
    introduction_tick(intro);
    EXPECT_EQ(intro.done, -1);
    EXPECT_EQ(key_esc_down, -1);
    finish_introduction(intro);
    EXPECT_EQ(the_map.background, 3);
    EXPECT_EQ(the_message.active_state(), 0);
    EXPECT_EQ(intro.second, nullptr);
}

TEST_F(story_test, the_whole_introduction_read_through)
{
    the_map.background = 5;
    const std::vector<std::string> expected_texts = {
        "There exists a world^^^^^.^^^^^.^^^^^.",
        "A world where reality can be|completely altered^^^^^.^^^^^.^^^^^.",
        "A world in which its visitors|can completely shape their|surroundings^^^^^.^^^^^.^^^^^.",
        "This world is the world of Dreams,|called a \"Slumberia.\"",
        "Each living being can create their|very own Slumberia.",
        "This little creature, however has|quite a magnificent slumberia.|In this slumberia there are "
        "strict|rules and limitations. Unlike other",
        "Dreamers, this little one creates|an intricate world where everything|is held together by "
        "what is|known as Dream Power.",
        "This little creature is Pim.",
        "And this is Pim's world.^^^^^.^^^^^.^^^^^^.|Pim's^^^^^ Slumberia.",
        "Pim has trapped himself in his|own Slumberia, and won't be|able to wake up unless|he finds a "
        "way out!",
        "What dreamt worlds will await him?",
        "This begins Pim's journey....",
    };
    const probe_pixel pictures[] = {picture_pixel(system_bitmap(9)), picture_pixel(system_bitmap(10)),
                                    picture_pixel(system_bitmap(11))};

    introduction_state intro;
    start_introduction(intro);
    box_reader reader;
    std::vector<std::string> texts;
    int background_after_step_4 = -2, fade_ticks_step_4 = 0, fade_ticks_step_7 = 0;
    int ticks = 0;
    while (!intro.done && ticks < 100000) {
        reader.before_tick();
        const int was_active = the_message.active_state();
        const int step_before = intro.step;
        const int fade_before = intro.fade;
        introduction_tick(intro);
        ticks++;
        const int faded = intro.fade != fade_before || intro.step != step_before;
        if (step_before == 4 && faded)
            fade_ticks_step_4++;
        if (step_before == 7 && faded)
            fade_ticks_step_7++;
        if (intro.step == 5 && background_after_step_4 == -2)
            background_after_step_4 = the_map.background;
        if (!was_active && the_message.active_state())
            texts.push_back(the_message.text);
        if (!intro.done)
            draw_introduction(intro);
        // Each picture stands opaque in the frames after its fade (outside the message box).
        if (intro.step == 9) {
            EXPECT_EQ(getpixel(buffer, pictures[0].x, pictures[0].y), pictures[0].colour);
        }
        if (intro.step == 12) {
            EXPECT_EQ(getpixel(buffer, pictures[1].x, pictures[1].y), pictures[1].colour);
        }
        if (intro.step == 15) {
            EXPECT_EQ(getpixel(buffer, pictures[2].x, pictures[2].y), pictures[2].colour);
        }
    }
    ASSERT_EQ(intro.done, -1);
    EXPECT_EQ(texts, expected_texts);
    EXPECT_EQ(background_after_step_4, 1);
    // The first cross-fade gains 4 a tick (64 ticks), the pictures 2 a tick (128 ticks).
    EXPECT_EQ(fade_ticks_step_4, 64);
    EXPECT_EQ(fade_ticks_step_7, 128);
    EXPECT_EQ(key_esc_down, 0) << "read through, no escape";
    finish_introduction(intro);
    EXPECT_EQ(the_map.background, 5);
}

TEST_F(story_test, the_intermission_shows_the_statistics)
{
    the_player.time_hours = 1;
    the_player.time_minutes = 2;
    the_player.time_seconds = 3;
    the_player.blocks_created = 17;
    the_player.blocks_destroyed = 4;
    the_player.steps_taken = 250;
    the_player.restarts = 9;
    draw_intermission();

    FONT *f = static_cast<FONT *>(d_system[8].dat);
    const int white = makecol(255, 255, 255);
    struct line {
        const char *text;
        int y;
        const char *wrong; // the same line with another value, which must not match
    };
    const line lines[] = {
        {"Congratulations!", 0, nullptr},
        {"You Have Completed The Level!", 40, nullptr},
        {"Stats", 190, nullptr},
        {"Time Spent: 01:02:03", 230, "Time Spent: 01:02:08"},
        {"Blocks Created: 17", 270, "Blocks Created: 18"},
        {"Blocks Destroyed: 4", 310, "Blocks Destroyed: 7"},
        {"Steps Taken: 250", 350, "Steps Taken: 256"},
        {"Restarts: 9", 390, "Restarts: 0"},
        {"Hit Enter To Proceed", 440, nullptr},
    };
    // All pixels the text would set are white on the screen, centred on x 320.
    auto drawn = [&](const char *text, int y) {
        const int x = 320 - text_length(f, text) / 2;
        BITMAP *probe = create_bitmap(text_length(f, text), text_height(f));
        clear_to_color(probe, makecol(0, 0, 0));
        textprintf_ex(probe, f, 0, 0, white, -1, "%s", text);
        int seen = 0, matched = 0;
        for (int py = 0; py < probe->h; py++)
            for (int px = 0; px < probe->w; px++)
                if (getpixel(probe, px, py) == white) {
                    seen++;
                    matched += getpixel(buffer, x + px, y + py) == white;
                }
        destroy_bitmap(probe);
        return seen > 0 && matched == seen;
    };
    for (const line &l : lines) {
        EXPECT_TRUE(drawn(l.text, l.y)) << l.text;
        if (l.wrong) {
            EXPECT_FALSE(drawn(l.wrong, l.y)) << l.wrong;
        }
    }
}

TEST_F(story_test, the_intermission_leaves_on_enter_only)
{
    intermission_state intermission;
    const int others[] = {KEY_SPACE, KEY_ESC, KEY_ENTER_PAD, KEY_A, KEY_RIGHT};
    for (int k : others) {
        key[k] = 1;
        intermission_tick(intermission);
        key[k] = 0;
    }
    EXPECT_EQ(intermission.done, 0);
    key[KEY_ENTER] = 1;
    intermission_tick(intermission);
    EXPECT_EQ(intermission.done, -1);
}

TEST_F(story_test, the_intermission_scrolls_the_maps_background)
{
    the_map.x_velocity = 2;
    intermission_state intermission;
    intermission_tick(intermission);
    intermission_tick(intermission);
    EXPECT_EQ(the_map.scroll_pos, 4);
}

struct ending_line {
    const char *text;
    int portrait;
};

TEST_F(story_test, the_ending_dialogue_with_its_portraits_and_picture)
{
    const ending_line expected[] = {
        {"^^^^Pim.", 10},
        {"Pim!^^!", 10},
        {"^^^^M^^^mm^^^^m^^^^p^^^h^^^.^^^.^^^.^^^.", -1},
        {"Pim...^^^^^^^^^^^^^^Pom.^^^^^^^^^^^^", 10},
        {"Pom^^^^.^^^.^^^..^^^^ Tom^^^^^^.....", 10},
        {"T^.....^.. Tod!", 10},
        {"Mmph...", -1},
        {"Tod,^^^ wake up!!", 10},
        {"Wh.^^.^^.^^^^  What?^^^^^^^^^^^^^^^^|Was I sleeping?", 5},
        {"Oh^^^^.^^^^.^^^^. Not again!", 5},
        {"I must have fallen|alseep while programming!", 5},
        {"^^^^.^^^^.^^^^.what a weird dream I had.^^^^^^^.^^^^^^^^.", 5},
    };
    const probe_pixel picture = picture_pixel(system_bitmap(5));
    ASSERT_NE(picture.colour, -1);

    ending_state ending;
    start_ending();
    struct shown_line {
        std::string text;
        int portrait;
    };
    std::vector<shown_line> shown;
    int fade_in_ticks = 0, fade_out_ticks = 0;
    int ticks = 0;
    while (!ending.done && ticks < 10000) {
        // The box is read at once, so each step shows what it does right after the last.
        if (the_message.active_state())
            the_message.deactivate();
        const int step_before = ending.step;
        ending_tick(ending);
        ticks++;
        if (the_message.active_state())
            shown.push_back({the_message.text, the_message.portrait});
        if (step_before == 9)
            fade_in_ticks++;
        if (step_before == 13)
            fade_out_ticks++;
        draw_ending(ending);
        const int on_screen = getpixel(buffer, picture.x, picture.y);
        if (ending.step < 9) {
            EXPECT_EQ(on_screen, makecol(0, 0, 0)) << "only the box shows on black before step 9";
        }
        if (ending.step >= 10 && ending.step <= 12) {
            EXPECT_EQ(on_screen, picture.colour) << "step " << ending.step;
        }
    }
    ASSERT_EQ(ending.done, -1);
    ASSERT_EQ(shown.size(), 12u);
    for (std::size_t i = 0; i < shown.size(); i++) {
        EXPECT_EQ(shown[i].text, expected[i].text);
        EXPECT_EQ(shown[i].portrait, expected[i].portrait) << expected[i].text;
    }
    EXPECT_EQ(fade_in_ticks, 128);
    EXPECT_EQ(fade_out_ticks, 128);
    EXPECT_EQ(ending.fade, 0);
}

TEST_F(story_test, the_ending_picture_stands_while_the_last_message_types)
{
    ending_state ending;
    ending.step = 13;
    ending.fade = 100;
    the_message.set("still typing", 0, 0, 0, 5);
    const probe_pixel picture = picture_pixel(system_bitmap(5));
    draw_ending(ending);
    EXPECT_EQ(getpixel(buffer, picture.x, picture.y), picture.colour);
    the_message.deactivate();
    ending_tick(ending);
    EXPECT_EQ(ending.fade, 98);
    draw_ending(ending);
    EXPECT_NE(getpixel(buffer, picture.x, picture.y), picture.colour) << "translucent while fading out";
}

TEST_F(story_test, escape_skips_the_ending_without_touching_the_latch)
{
    ending_state ending;
    start_ending();
    ending_tick(ending);
    key[KEY_ESC] = 1;
    ending_tick(ending);
    EXPECT_EQ(ending.done, -1);
    EXPECT_EQ(key_esc_down, 0);
}

} // namespace
