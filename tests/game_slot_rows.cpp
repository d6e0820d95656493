// The rows of the list screens as drawn: the extra final row through every frame of a slide, and names cut to end within their row.
#include <gtest/gtest.h>
#include <allegro.h>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>
#include "case_names.h"
#include "do_logic.h"
#include "fit_text.h"
#include "game_level_set_screen_fixture.h"
#include "level_selection_screen.h"
#include "level_set_screen.h"
#include "save_game.h"
#include "save_load_screen.h"

using namespace list_screen_test;

namespace {

FONT *small_font() { return static_cast<FONT *>(d_system[slot_small_font].dat); }

class slot_rows_test : public ::testing::Test {
protected:
    void SetUp() override { reset_screens(); }
    void TearDown() override
    {
        player_test::release_all_keys();
        level_sets.clear();
        game_saves.clear();
        level_selections.clear();
        level_set_exists = -1;
        scroll_slots_up = scroll_slots_down = slot_scroll_amount = 0;
    }
};

void list_sets(const std::vector<std::string> &names)
{
    level_sets.clear();
    for (const std::string &name : names) {
        level_set_locs record;
        std::snprintf(record.name, sizeof(record.name), "%s", name.c_str());
        level_sets.push_back(record);
    }
}

void list_saves(const std::vector<std::string> &map_names, const std::string &set_name)
{
    game_saves.clear();
    for (const std::string &name : map_names) {
        save_game_locs save;
        std::snprintf(save.map_name, sizeof(save.map_name), "%s", name.c_str());
        std::snprintf(save.level_set_name, sizeof(save.level_set_name), "%s", set_name.c_str());
        game_saves.push_back(save);
    }
}

// ---- The extra final row through the slides

struct extra_row_screen {
    const char *name;
    void (*fill)();           // five list rows
    int (*tick)(slot_list &);
    void (*draw)(const slot_list &);
    const char *extra_text;
};

const extra_row_screen extra_row_screens[] = {
    {"level_set", [] { list_sets({"Set 1", "Set 2", "Set 3", "Set 4", "Set 5"}); }, level_set_screen_tick,
     draw_level_set_screen, level_set_name_hardcopy},
    {"save", [] { list_saves({"Map 1", "Map 2", "Map 3", "Map 4", "Map 5"}, "Scratch"); }, save_screen_tick,
     draw_save_screen, "New Save"},
};

class extra_row_test : public slot_rows_test, public ::testing::WithParamInterface<extra_row_screen> {
protected:
    // Draws a frame and checks the extra row (index 5) is there exactly when it lies in the window.
    void check_frame(const slot_list &list, const char *when)
    {
        const extra_row_screen &screen = GetParam();
        screen.draw(list);
        const int position = 5 - list.first_row;
        const bool in_window = position >= 0 && position < slot_window_rows;
        EXPECT_EQ(text_drawn_at(buffer, screen.extra_text, slot_text_x(), slot_text_y(position) + slot_scroll_amount),
                  in_window)
            << when << ", first row " << list.first_row << ", slide offset " << slot_scroll_amount;
    }

    // A press of key, then ticks until the slide it started has ended, with a frame after each tick.
    void press_through_slide(slot_list &list, int scancode, const char *when)
    {
        const extra_row_screen &screen = GetParam();
        key[scancode] = 1;
        screen.tick(list);
        check_frame(list, when);
        key[scancode] = 0;
        screen.tick(list);
        check_frame(list, when);
        while (slot_slide_running()) {
            screen.tick(list);
            check_frame(list, when);
        }
    }
};

TEST_P(extra_row_test, stands_in_every_frame_while_it_lies_in_the_window)
{
    const extra_row_screen &screen = GetParam();
    screen.fill();
    slot_list list = start_slot_list(5, -1);
    // Down to the extra row: the last press slides the rows up and brings the extra row in.
    for (int i = 0; i < 5; i++)
        press_through_slide(list, KEY_DOWN, "down");
    ASSERT_EQ(list.first_row, 2);
    ASSERT_EQ(slot_selected(list), 5);
    for (int i = 0; i < 3; i++)
        press_through_slide(list, KEY_UP, "up in the window");
    ASSERT_EQ(list.cursor_row, 0);
    // Up above the window: the rows slide down; the extra row, in the last position, stays in
    // every frame until the slide ends and it has left the window.
    key[KEY_UP] = 1;
    screen.tick(list);
    key[KEY_UP] = 0;
    ASSERT_TRUE(slot_slide_running());
    int frames = 0;
    while (slot_slide_running()) {
        check_frame(list, "sliding down");
        screen.tick(list);
        frames++;
    }
    EXPECT_EQ(frames, 14);
    EXPECT_EQ(list.first_row, 1);
    check_frame(list, "after the slide down");
}

INSTANTIATE_TEST_SUITE_P(screens, extra_row_test, ::testing::ValuesIn(extra_row_screens), label_name());

// ---- Names cut to their row

// A text of letters exactly room pixels wide in font f after prefix (which it starts with), if
// one can be made of the font's letters.
std::string exactly_wide(FONT *f, const std::string &prefix, int room)
{
    const int target = room - text_length(f, prefix.c_str());
    std::vector<int> via(target + 1, -1); // last letter that reaches each width, 0 for none needed
    via[0] = 0;
    for (int w = 1; w <= target; w++)
        for (char c = 'A'; c <= 'z' && via[w] < 0; c++) {
            const char glyph[2] = {c, '\0'};
            const int cw = text_length(f, glyph);
            if (std::isalpha(static_cast<unsigned char>(c)) && cw <= w && via[w - cw] >= 0)
                via[w] = c;
        }
    if (target < 0 || via[target] < 0)
        return "";
    std::string text;
    for (int w = target; w > 0;) {
        const char glyph[2] = {static_cast<char>(via[w]), '\0'};
        text += glyph[0];
        w -= text_length(f, glyph);
    }
    return prefix + text;
}

struct fit_case {
    const char *name;
    int extra_pixels; // how much wider than the room the text is made: <= 0 fits
};

const fit_case fit_cases[] = {
    {"fits", -40},
    {"exactly_fits", 0},
    {"one_pixel_too_wide", 1},
    {"far_too_long", 10000},
};

class fit_text_test : public slot_rows_test, public ::testing::WithParamInterface<fit_case> {};

TEST_P(fit_text_test, a_text_that_does_not_fit_ends_in_dots_within_the_room)
{
    FONT *f = row_font();
    const int room = 400;
    const fit_case &c = GetParam();
    std::string text = c.extra_pixels > 1000 ? std::string(255, 'W') : exactly_wide(f, "Dream ", room + c.extra_pixels);
    ASSERT_FALSE(text.empty());
    char out[320];
    fit_text(f, text.c_str(), room, out, sizeof(out));
    EXPECT_LE(text_length(f, out), room);
    const std::string fitted = out;
    if (c.extra_pixels <= 0) {
        EXPECT_EQ(fitted, text);
        return;
    }
    ASSERT_GE(fitted.size(), 4u);
    EXPECT_EQ(fitted.substr(fitted.size() - 3), "...");
    const std::string kept = fitted.substr(0, fitted.size() - 3);
    EXPECT_EQ(text.compare(0, kept.size(), kept), 0);
    // As much of the text as the room allows: one letter more would not fit.
    EXPECT_GT(text_length(f, (text.substr(0, kept.size() + 1) + "...").c_str()), room);
}

INSTANTIATE_TEST_SUITE_P(lengths, fit_text_test, ::testing::ValuesIn(fit_cases), label_name());

TEST_F(slot_rows_test, fit_text_keeps_to_its_buffer_and_to_a_room_too_small_for_the_dots)
{
    FONT *f = row_font();
    char out[8];
    fit_text(f, "A Rather Long Name", 10000, out, sizeof(out));
    EXPECT_STREQ(out, "A Ra...");
    fit_text(f, "A Rather Long Name", text_length(f, "..") , out, sizeof(out));
    EXPECT_STREQ(out, "");
}

// Every kind of list row, drawn with one name in its one list row.
struct row_kind {
    const char *name;
    void (*show)(const std::string &name); // lists the name and draws the screen
    const char *prefix;                    // what stands before the name on the first line
    int two_lines;                         // -1: a save's row, with the level set below
};

slot_list one_row_list() { return start_slot_list(1, 0); }

const row_kind row_kinds[] = {
    {"level_set", [](const std::string &n) { list_sets({n}); draw_level_set_screen(start_slot_list(1, -1)); }, "1: ", 0},
    {"save", [](const std::string &n) { list_saves({n}, n); draw_save_screen(start_slot_list(1, -1)); }, "1: ", -1},
    {"load", [](const std::string &n) { list_saves({n}, n); draw_load_screen(one_row_list()); }, "1: ", -1},
    {"erase", [](const std::string &n) { list_saves({n}, n); draw_erase_screen(one_row_list()); }, "1: ", -1},
    {"level_selection",
     [](const std::string &n) {
         level_selections.assign(1, level_selection_locs());
         std::snprintf(level_selections[0].name, sizeof(level_selections[0].name), "%s", n.c_str());
         draw_level_selection(one_row_list());
     },
     "", 0},
};

class row_fit_test : public slot_rows_test,
                     public ::testing::WithParamInterface<std::tuple<row_kind, fit_case>> {};

TEST_P(row_fit_test, nothing_is_drawn_past_the_rows_right_edge)
{
    const row_kind &kind = std::get<0>(GetParam());
    const fit_case &c = std::get<1>(GetParam());
    const int room = slot_text_right() - slot_text_x();
    const std::string line = c.extra_pixels > 1000 ? kind.prefix + std::string(250, 'W')
                                                    : exactly_wide(row_font(), kind.prefix, room + c.extra_pixels);
    ASSERT_FALSE(line.empty());
    const std::string name = line.substr(std::strlen(kind.prefix));

    kind.show("");
    BITMAP *without = create_bitmap(buffer->w, buffer->h);
    blit(buffer, without, 0, 0, 0, 0, buffer->w, buffer->h);
    kind.show(name);
    int differing = 0;
    for (int y = 0; y < buffer->h; y++)
        for (int x = slot_text_right(); x < buffer->w; x++)
            differing += getpixel(buffer, x, y) != getpixel(without, x, y);
    destroy_bitmap(without);
    EXPECT_EQ(differing, 0);

    const int y = kind.two_lines ? slot_first_line_y(slot_text_y(0)) : slot_text_y(0);
    char fitted[320];
    fit_text(row_font(), line.c_str(), room, fitted, sizeof(fitted));
    EXPECT_EQ(std::string(fitted) == line, c.extra_pixels <= 0);
    EXPECT_TRUE(text_drawn_at(buffer, fitted, slot_text_x(), y)) << fitted;
    if (kind.two_lines) {
        const std::string set_line = "Level Set: " + name;
        fit_text(small_font(), set_line.c_str(), room - 20, fitted, sizeof(fitted));
        EXPECT_TRUE(text_drawn_at(buffer, fitted, slot_text_x() + 20, slot_second_line_y(slot_text_y(0)), small_font()))
            << fitted;
    }
}

INSTANTIATE_TEST_SUITE_P(rows, row_fit_test, ::testing::Combine(::testing::ValuesIn(row_kinds), ::testing::ValuesIn(fit_cases)),
                         label_name());

} // namespace
