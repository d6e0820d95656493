// The message box: typing pace, pauses, line breaks, closing on a fresh press, and what it draws.
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>
#include "case_names.h"
#include "datafiles.h"
#include "do_drawing.h"
#include "message.h"
#include "player.h"

namespace {

// Plain colours for the box's pieces, so that pixels tell which piece lies where.
int box_colour() { return makecol(40, 60, 200); }
int frame_colour() { return makecol(250, 250, 0); }
int arrow_colour() { return makecol(0, 220, 0); }
int portrait_colour() { return makecol(200, 30, 30); }
int mask_colour() { return makecol(255, 0, 255); }
int background_colour() { return makecol(10, 10, 10); }

BITMAP *solid(int w, int h, int colour)
{
    BITMAP *b = create_bitmap(w, h);
    clear_to_color(b, colour);
    return b;
}

// Stands in for d_system and d_portraits with pieces of known size and colour. Allegro's own
// 8 x 8 font is the text font, so every character is 8 pixels wide and a line 8 pixels high.
class message_fixture : public testing::Test {
protected:
    void SetUp() override
    {
        saved_system = d_system;
        saved_portraits = d_portraits;
        saved_action = the_player.key_action;
        system_entries.assign(32, DATAFILE{});
        for (int i = 0; i < 31; i++)
            set_bitmap(system_entries, i, solid(1, 1, 0));
        set_bitmap(system_entries, 27, solid(12, 9, arrow_colour()));
        set_bitmap(system_entries, 28, solid(540, 150, box_colour()));
        // The frame: a 3-pixel border, mask colour inside.
        BITMAP *frame = solid(530, 146, frame_colour());
        rectfill(frame, 3, 3, 526, 142, mask_colour());
        set_bitmap(system_entries, 29, frame);
        system_entries[30].dat = font;
        system_entries[30].type = DAT_FONT;
        system_entries[31].type = DAT_END;
        portrait_entries.assign(3, DATAFILE{});
        set_bitmap(portrait_entries, 0, solid(30, 40, portrait_colour()));
        set_bitmap(portrait_entries, 1, solid(64, 80, portrait_colour()));
        portrait_entries[2].type = DAT_END;
        d_system = system_entries.data();
        d_portraits = portrait_entries.data();

        for (int k = 0; k < KEY_MAX; k++)
            key[k] = 0;
        close_message_key = 0;
        done_trigger = 0;
        the_player.key_action = KEY_SPACE;
        the_message.initialize();
    }

    void TearDown() override
    {
        the_message.deactivate();
        the_message.destroy();
        close_message_key = 0;
        done_trigger = 0;
        for (int k = 0; k < KEY_MAX; k++)
            key[k] = 0;
        the_player.key_action = saved_action;
        d_system = saved_system;
        d_portraits = saved_portraits;
        for (DATAFILE &entry : system_entries)
            if (entry.type == DAT_BITMAP)
                destroy_bitmap(static_cast<BITMAP *>(entry.dat));
        for (DATAFILE &entry : portrait_entries)
            if (entry.type == DAT_BITMAP)
                destroy_bitmap(static_cast<BITMAP *>(entry.dat));
    }

    static void set_bitmap(std::vector<DATAFILE> &entries, int i, BITMAP *b)
    {
        entries[i].dat = b;
        entries[i].type = DAT_BITMAP;
    }

    // One logic tick followed by one frame, as the main loop runs them when it keeps up.
    void tick_and_frame()
    {
        ticks++;
        the_message.calculate();
        clear_to_color(buffer, background_colour());
        the_message.draw();
    }

    // Runs tick and frame pairs until the text has finished (or the limit), and returns the
    // tick at which each character of the text was consumed, in order.
    std::vector<int> typing_ticks(int limit = 400)
    {
        std::vector<int> at;
        while (!the_message.finished && ticks < limit) {
            const int before = the_message.text_pos;
            tick_and_frame();
            for (int i = before; i < the_message.text_pos; i++)
                at.push_back(ticks);
        }
        return at;
    }

    DATAFILE *saved_system = nullptr;
    DATAFILE *saved_portraits = nullptr;
    int saved_action = KEY_SPACE;
    std::vector<DATAFILE> system_entries;
    std::vector<DATAFILE> portrait_entries;
    int ticks = 0;
};

using message_box = message_fixture;

TEST_F(message_box, types_the_first_character_at_the_frame_after_the_fourth_tick)
{
    char text[] = "abc";
    the_message.set(text, 0, 0, 0, -1);
    EXPECT_EQ(typing_ticks(), (std::vector<int>{4, 8, 12}));
    // The end is noticed when the character after the last one becomes due.
    EXPECT_EQ(ticks, 16);
    EXPECT_EQ(the_message.active_state(), -1);
}

struct pace_case {
    const char *label;
    const char *text;
    std::vector<int> ticks; // tick at which each character of the text is consumed
    int finished_at;
};

// Names the case in test output.
void PrintTo(const pace_case &c, std::ostream *out) { *out << c.label; }

class message_pace : public message_fixture, public testing::WithParamInterface<pace_case> {};

TEST_P(message_pace, follows_the_typing_rules)
{
    const pace_case &c = GetParam();
    the_message.set(c.text, 0, 0, 0, -1);
    EXPECT_EQ(typing_ticks(), c.ticks) << c.label;
    EXPECT_EQ(ticks, c.finished_at) << c.label;
}

const pace_case pace_cases[] = {
    {"without pause each letter 4 ticks apart", "xyz", {4, 8, 12}, 16},
    // '^' is reached at tick 8; y follows at the next frame and z 15 ticks after y.
    {"a pause before the last letter", "x^yz", {4, 8, 9, 24}, 28},
    {"a run of pauses costs a frame each and one pause", "x^^yz", {4, 8, 9, 10, 25}, 29},
    {"a line break is followed at the next frame", "a|b", {4, 8, 9}, 12},
    {"a text ending in a line break", "ab|", {4, 8, 12}, 13},
    {"an empty text finishes when its first character is due", "", {}, 4},
};

INSTANTIATE_TEST_SUITE_P(cases, message_pace, testing::ValuesIn(pace_cases), label_name());

TEST_F(message_box, moves_the_cursor_by_glyph_width_and_line_height)
{
    the_message.set("ab|c", 0, 0, 0, -1);
    typing_ticks();
    // Five plus 8 pixels for "c", on the second line (5 + the font's 8-pixel height).
    EXPECT_EQ(the_message.text_x, 13);
    EXPECT_EQ(the_message.text_y, 13);
    // The letters stand where the cursor was: 'a' at (5, 5), 'c' at (5, 13), in black.
    BITMAP *image = the_message.text_image;
    auto ink_in = [image](int x0, int y0) {
        int ink = 0;
        for (int y = y0; y < y0 + 8; y++)
            for (int x = x0; x < x0 + 8; x++)
                ink += getpixel(image, x, y) == makecol(0, 0, 0);
        return ink;
    };
    EXPECT_GT(ink_in(5, 5), 0);
    EXPECT_GT(ink_in(13, 5), 0);
    EXPECT_GT(ink_in(5, 13), 0);
    EXPECT_EQ(ink_in(13, 13), 0);
    EXPECT_EQ(getpixel(image, 0, 0), mask_colour());
}

TEST_F(message_box, held_enter_types_a_character_per_frame_and_closes_only_on_a_fresh_press)
{
    key[KEY_ENTER] = 1;
    the_message.set("x^yz", 0, 0, 0, -1);
    EXPECT_EQ(typing_ticks(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(ticks, 5);
    for (int i = 0; i < 30; i++)
        tick_and_frame();
    EXPECT_EQ(the_message.active_state(), -1) << "the press that typed the text must not close it";
    key[KEY_ENTER] = 0;
    tick_and_frame();
    EXPECT_EQ(the_message.active_state(), -1) << "releasing that press must not close it either";
    key[KEY_ENTER] = 1;
    tick_and_frame();
    tick_and_frame();
    EXPECT_EQ(the_message.active_state(), -1) << "the box closes on the release, not the press";
    key[KEY_ENTER] = 0;
    tick_and_frame();
    EXPECT_EQ(the_message.active_state(), 0);
    EXPECT_EQ(the_message.finished, 0);
    EXPECT_EQ(the_message.text_pos, 0);
    EXPECT_EQ(the_message.text_x, 5);
    EXPECT_EQ(the_message.text_y, 5);
    EXPECT_EQ(getpixel(the_message.text_image, 5 + 2, 5 + 3), mask_colour())
        << "the typed text is wiped when the box closes";
}

struct close_case {
    const char *label;
    int action_binding;
    int pressed;
    bool closes;
};

// Names the case in test output.
void PrintTo(const close_case &c, std::ostream *out) { *out << c.label; }

class message_close_keys : public message_fixture, public testing::WithParamInterface<close_case> {};

TEST_P(message_close_keys, are_enter_and_the_current_action_key)
{
    const close_case &c = GetParam();
    the_player.key_action = c.action_binding;
    the_message.set("hi", 0, 0, 0, -1);
    typing_ticks();
    ASSERT_EQ(the_message.finished, -1);
    key[c.pressed] = 1;
    tick_and_frame();
    key[c.pressed] = 0;
    tick_and_frame();
    EXPECT_EQ(the_message.active_state() == 0, c.closes) << c.label;
}

const close_case close_cases[] = {
    {"space as the action key", KEY_SPACE, KEY_SPACE, true},
    {"enter", KEY_SPACE, KEY_ENTER, true},
    {"a rebound action key", KEY_A, KEY_A, true},
    {"enter with a rebound action key", KEY_A, KEY_ENTER, true},
    {"space once it is no longer the action key", KEY_A, KEY_SPACE, false},
    {"some other key", KEY_SPACE, KEY_X, false},
    // A binding from a hand-edited save or a movie that lies outside the key array is never read.
    {"enter with an action binding far past the keys", 1 << 30, KEY_ENTER, true},
    {"enter with a negative action binding", -(1 << 30), KEY_ENTER, true},
    {"space with the action binding at the end of the keys", KEY_MAX, KEY_SPACE, false},
};

INSTANTIATE_TEST_SUITE_P(cases, message_close_keys, testing::ValuesIn(close_cases), label_name());

TEST_F(message_box, ignores_a_new_text_while_one_is_open)
{
    the_message.set("first", 0, 0, 0, 0);
    for (int i = 0; i < 6; i++)
        tick_and_frame();
    the_message.set("second", 10, 20, 30, 1);
    EXPECT_STREQ(the_message.text, "first");
    EXPECT_EQ(the_message.portrait, 0);
    EXPECT_EQ(the_message.red, 0);
    EXPECT_EQ(the_message.text_pos, 1);
    EXPECT_EQ(typing_ticks(), (std::vector<int>{8, 12, 16, 20}));
}

TEST_F(message_box, deactivate_closes_at_once_and_a_new_text_starts_from_the_beginning)
{
    the_message.set("abcdef", 0, 0, 0, 1);
    for (int i = 0; i < 9; i++)
        tick_and_frame();
    ASSERT_EQ(the_message.text_pos, 2);
    BITMAP *image = the_message.text_image;
    the_message.deactivate();
    EXPECT_EQ(the_message.active_state(), 0);
    EXPECT_EQ(the_message.text, nullptr);
    EXPECT_EQ(the_message.text_pos, 0);
    EXPECT_EQ(the_message.text_x, 5);
    EXPECT_EQ(the_message.text_y, 5);
    EXPECT_EQ(the_message.portrait, -1);
    EXPECT_EQ(the_message.type_counter, 0);
    EXPECT_EQ(the_message.char_ready, 0);
    EXPECT_EQ(the_message.arrow_y, 450);
    EXPECT_EQ(the_message.text_image, image) << "the existing text image is kept";
    for (int y = 0; y < image->h; y++)
        for (int x = 0; x < image->w; x++)
            ASSERT_EQ(getpixel(image, x, y), mask_colour()) << x << "," << y;
    clear_to_color(buffer, background_colour());
    the_message.draw();
    EXPECT_EQ(getpixel(buffer, 53, 317), background_colour()) << "a closed box draws nothing";

    ticks = 0;
    the_message.set("xy", 0, 0, 0, -1);
    EXPECT_EQ(typing_ticks(), (std::vector<int>{4, 8}));
}

TEST_F(message_box, bounces_the_arrow_once_the_text_stands)
{
    the_message.set("", 0, 0, 0, -1);
    typing_ticks();
    ASSERT_EQ(the_message.finished, -1);
    std::vector<int> positions;
    for (int i = 0; i < 12; i++) {
        tick_and_frame();
        positions.push_back(the_message.arrow_y);
    }
    EXPECT_EQ(positions, (std::vector<int>{451, 452, 453, 454, 455, 454, 453, 452, 451, 450, 451, 452}));
    // Drawn over the box with its top-left corner at x 546 and its current height.
    EXPECT_EQ(getpixel(buffer, 546, 452), arrow_colour());
    EXPECT_EQ(getpixel(buffer, 546 + 11, 452 + 8), arrow_colour());
    EXPECT_NE(getpixel(buffer, 546, 451), arrow_colour());
    EXPECT_NE(getpixel(buffer, 545, 452), arrow_colour());
}

TEST_F(message_box, draws_the_box_translucent_under_its_frame)
{
    the_message.set("a", 0, 0, 0, -1);
    tick_and_frame();
    // Frame border at the box's corner, translucent box inside it.
    EXPECT_EQ(getpixel(buffer, 53, 317), frame_colour());
    EXPECT_EQ(getpixel(buffer, 53 + 529, 317 + 145), frame_colour());
    const int inside = getpixel(buffer, 53 + 100, 317 + 100);
    EXPECT_NE(inside, box_colour()) << "the box is blended with what lies below";
    EXPECT_NE(inside, background_colour());
    EXPECT_GT(getb(inside), 150);
    // The whole box image is drawn; the frame covers its first 530 x 146 pixels only.
    EXPECT_NE(getpixel(buffer, 53 + 535, 317 + 10), frame_colour());
    EXPECT_EQ(getpixel(buffer, 53 + 535, 317 + 10), inside);
    EXPECT_EQ(getpixel(buffer, 52, 317), background_colour());
    EXPECT_EQ(getpixel(buffer, 53, 316), background_colour());
}

struct portrait_case {
    int index;
    int height; // 0: nothing drawn
};

// Names the case in test output.
void PrintTo(const portrait_case &c, std::ostream *out) { *out << "portrait " << c.index; }

class message_portrait : public message_fixture, public testing::WithParamInterface<portrait_case> {};

TEST_P(message_portrait, stands_on_the_box_at_x_53)
{
    const portrait_case &c = GetParam();
    the_message.set("a", 0, 0, 0, c.index);
    tick_and_frame();
    if (c.height == 0) {
        for (int y = 0; y < 317; y++)
            for (int x = 0; x < 640; x++)
                ASSERT_EQ(getpixel(buffer, x, y), background_colour()) << x << "," << y;
        return;
    }
    const int top = 316 - c.height;
    EXPECT_EQ(getpixel(buffer, 53, 315), portrait_colour()) << "bottom row at y 315";
    EXPECT_EQ(getpixel(buffer, 53, 316), background_colour());
    EXPECT_EQ(getpixel(buffer, 53, top), portrait_colour());
    EXPECT_EQ(getpixel(buffer, 53, top - 1), background_colour());
    EXPECT_EQ(getpixel(buffer, 52, 315), background_colour());
}

const portrait_case portrait_cases[] = {{-1, 0}, {0, 40}, {1, 80}, {2, 0}};

std::string case_label(const portrait_case &c) { return "portrait " + number_name(c.index); }

INSTANTIATE_TEST_SUITE_P(cases, message_portrait, testing::ValuesIn(portrait_cases), label_name());

} // namespace
