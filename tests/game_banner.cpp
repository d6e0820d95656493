// The map-name banner: its path across the screen tick by tick, and the framed plate it draws.
#include <gtest/gtest.h>
#include <allegro.h>
#include <algorithm>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>
#include "case_names.h"
#include "datafiles.h"
#include "do_drawing.h"
#include "map.h"
#include "show_map_name.h"

namespace {

// A one-colour font of identical glyphs w x h: blank but for one ink pixel at (1, 1), so that
// a name is exactly w pixels a character wide and its letters can be found on the plate.
FONT *block_font(int w, int h)
{
    const int glyphs = 95; // space to tilde
    // An 8-bit sheet: 255 between the glyphs, 0 for blank and 1 for ink makes a mono font.
    BITMAP *sheet = create_bitmap_ex(8, glyphs * (w + 1) + 1, h + 2);
    clear_to_color(sheet, 255);
    for (int i = 0; i < glyphs; i++) {
        const int x = 1 + i * (w + 1);
        rectfill(sheet, x, 1, x + w - 1, h, 0);
        putpixel(sheet, x + 1, 2, 1);
    }
    FONT *made = grab_font_from_bitmap(sheet);
    destroy_bitmap(sheet);
    return made;
}

struct piece {
    int entry;
    int w, h;
    int r, g, b;
};

// Frame pieces of distinct sizes and colours; the corners have a mask pixel at their outer tip.
const piece pieces[] = {
    {18, 6, 9, 200, 0, 0},   // bottom-left corner
    {19, 4, 9, 0, 200, 0},   // bottom edge
    {20, 7, 9, 0, 0, 200},   // bottom-right corner
    {21, 6, 4, 200, 200, 0}, // left edge
    {22, 7, 4, 0, 200, 200}, // right edge
    {23, 4, 5, 200, 0, 200}, // top edge
    {24, 6, 5, 100, 50, 0},  // top-left corner
    {25, 7, 5, 0, 50, 100},  // top-right corner
};

int colour_of(int entry)
{
    for (const piece &p : pieces)
        if (p.entry == entry)
            return makecol(p.r, p.g, p.b);
    return -1;
}

int background_colour() { return makecol(20, 20, 20); }
int plate_colour() { return makecol(141, 147, 197); }

class banner : public testing::Test {
protected:
    void SetUp() override
    {
        saved_system = d_system;
        saved_name = the_map.name;
        entries.assign(32, DATAFILE{});
        for (int i = 0; i < 31; i++) {
            entries[i].dat = create_bitmap(1, 1);
            entries[i].type = DAT_BITMAP;
        }
        for (const piece &p : pieces) {
            destroy_bitmap(static_cast<BITMAP *>(entries[p.entry].dat));
            BITMAP *b = create_bitmap(p.w, p.h);
            clear_to_color(b, makecol(p.r, p.g, p.b));
            entries[p.entry].dat = b;
        }
        // The outer tip of each corner is transparent.
        putpixel(bitmap(24), 0, 0, makecol(255, 0, 255));
        putpixel(bitmap(25), bitmap(25)->w - 1, 0, makecol(255, 0, 255));
        putpixel(bitmap(18), 0, bitmap(18)->h - 1, makecol(255, 0, 255));
        putpixel(bitmap(20), bitmap(20)->w - 1, bitmap(20)->h - 1, makecol(255, 0, 255));
        entries[31].type = DAT_END;
        d_system = entries.data();
        use_font(10, 12);
        map_name_in_progress = 0;
    }

    void TearDown() override
    {
        map_name_in_progress = 0;
        if (map_name_buffer) {
            destroy_bitmap(map_name_buffer);
            map_name_buffer = nullptr;
        }
        d_system = saved_system;
        std::strcpy(the_map.name, saved_name.c_str());
        for (DATAFILE &e : entries)
            if (e.type == DAT_BITMAP)
                destroy_bitmap(static_cast<BITMAP *>(e.dat));
        if (banner_font)
            destroy_font(banner_font);
    }

    BITMAP *bitmap(int entry) { return static_cast<BITMAP *>(entries[entry].dat); }

    void use_font(int w, int h)
    {
        if (banner_font)
            destroy_font(banner_font);
        banner_font = block_font(w, h);
        if (entries[15].type == DAT_BITMAP)
            destroy_bitmap(bitmap(15));
        entries[15].type = DAT_FONT;
        entries[15].dat = banner_font;
        map_name_pre_init();
    }

    void start(const std::string &name)
    {
        std::strcpy(the_map.name, name.c_str());
        map_name_init();
    }

    // Runs the banner as the logic step does (only while it shows); returns x after each tick.
    std::vector<int> run_banner(int limit = 1000)
    {
        std::vector<int> xs;
        while (map_name_showing() && static_cast<int>(xs.size()) < limit) {
            process_map_name();
            xs.push_back(map_name_x_pos);
        }
        return xs;
    }

    void draw()
    {
        clear_to_color(buffer, background_colour());
        draw_map_name(buffer);
    }

    DATAFILE *saved_system = nullptr;
    std::string saved_name;
    std::vector<DATAFILE> entries;
    FONT *banner_font = nullptr;
};

TEST_F(banner, slides_in_rests_for_119_ticks_in_the_middle_and_slides_out)
{
    start("abcdefghij"); // 100 pixels
    ASSERT_EQ(map_name_width, 100);
    EXPECT_EQ(map_name_x_pos, -100);
    EXPECT_EQ(map_name_stopping_point, 270);
    EXPECT_EQ(map_name_y_pos, 240 - 6);
    std::vector<int> expected;
    for (int tick = 1; tick <= 16; tick++)
        expected.push_back(-100 + 22 * tick); // up to 252
    // The 17th tick would reach 274 and is pulled back to 270; it rests there 119 ticks.
    expected.insert(expected.end(), 119, 270);
    for (int x = 292; x < 640; x += 22)
        expected.push_back(x);
    expected.push_back(644); // the first tick at or past the right edge ends it
    EXPECT_EQ(run_banner(), expected);
    EXPECT_EQ(map_name_showing(), 0);
}

struct path_case {
    const char *label;
    int glyph_w;
    int letters;
    int stopping_point;
};

// Names the case in test output.
void PrintTo(const path_case &c, std::ostream *out) { *out << c.label; }

class banner_path : public banner, public testing::WithParamInterface<path_case> {};

TEST_P(banner_path, follows_the_same_rules_for_any_width)
{
    const path_case &c = GetParam();
    use_font(c.glyph_w, 12);
    start(std::string(c.letters, 'm'));
    const int width = c.glyph_w * c.letters;
    EXPECT_EQ(map_name_stopping_point, c.stopping_point) << c.label;
    const std::vector<int> xs = run_banner();
    ASSERT_FALSE(xs.empty());
    EXPECT_EQ(xs[0], -width + 22) << c.label;
    int at_rest = 0;
    size_t i = 0;
    while (i < xs.size() && xs[i] != c.stopping_point) {
        EXPECT_LT(xs[i], c.stopping_point) << c.label << " tick " << i + 1;
        i++;
    }
    while (i < xs.size() && xs[i] == c.stopping_point) {
        at_rest++;
        i++;
    }
    EXPECT_EQ(at_rest, 119) << c.label;
    ASSERT_LT(i, xs.size());
    EXPECT_EQ(xs[i], c.stopping_point + 22) << c.label;
    for (size_t j = i + 1; j < xs.size(); j++)
        EXPECT_EQ(xs[j], xs[j - 1] + 22) << c.label;
    EXPECT_GE(xs.back(), 640) << c.label;
    EXPECT_LT(xs[xs.size() - 2], 640) << c.label;
    EXPECT_EQ(map_name_showing(), 0);
}

const path_case path_cases[] = {
    {"one letter", 10, 1, 315},
    {"odd width", 5, 19, 273},
    {"name that lands exactly on the resting point", 10, 2, 310},
    {"wider than the screen", 30, 31, -145},
};

INSTANTIATE_TEST_SUITE_P(cases, banner_path, testing::ValuesIn(path_cases), label_name());

TEST_F(banner, an_empty_name_shows_nothing_and_ends_a_banner_that_is_showing)
{
    start("");
    EXPECT_EQ(map_name_showing(), 0);
    start("Pillow Hills");
    for (int i = 0; i < 20; i++)
        process_map_name();
    ASSERT_EQ(map_name_showing(), -1);
    start("");
    EXPECT_EQ(map_name_showing(), 0);
}

TEST_F(banner, a_new_start_begins_again_from_the_left_with_the_new_name)
{
    start("abcdefghij");
    for (int i = 0; i < 40; i++)
        process_map_name();
    ASSERT_EQ(map_name_x_pos, 270);
    start("abc");
    EXPECT_EQ(map_name_x_pos, -30);
    EXPECT_EQ(map_name_timer, 0);
    EXPECT_EQ(map_name_switch, 0);
    EXPECT_EQ(map_name_buffer->w, 30);
    const std::vector<int> xs = run_banner();
    EXPECT_EQ(xs[0], -8);
    EXPECT_EQ(std::count(xs.begin(), xs.end(), 320 - 15), 119);
}

TEST_F(banner, draws_the_plate_inside_its_eight_frame_pieces)
{
    start("abcdefghij");
    for (int i = 0; i < 30; i++)
        process_map_name();
    draw();
    const int x = 270, y = 234, w = 100, h = 12;
    auto at = [](int px, int py) { return getpixel(buffer, px, py); };

    // The plate: the fill colour with the letters in black from its top-left corner.
    EXPECT_EQ(at(x, y), plate_colour());
    EXPECT_EQ(at(x + w - 1, y + h - 1), plate_colour());
    for (int letter = 0; letter < 10; letter++)
        EXPECT_EQ(at(x + letter * 10 + 1, y + 1), makecol(0, 0, 0)) << "letter " << letter;

    // Edges, stretched along the plate.
    EXPECT_EQ(at(x - 6, y), colour_of(21));
    EXPECT_EQ(at(x - 1, y + h - 1), colour_of(21));
    EXPECT_EQ(at(x - 7, y + h / 2), background_colour());
    EXPECT_EQ(at(x + w, y), colour_of(22));
    EXPECT_EQ(at(x + w + 6, y + h - 1), colour_of(22));
    EXPECT_EQ(at(x + w + 7, y + h / 2), background_colour());
    EXPECT_EQ(at(x, y - 5), colour_of(23));
    EXPECT_EQ(at(x + w - 1, y - 1), colour_of(23));
    EXPECT_EQ(at(x + w / 2, y - 6), background_colour());
    EXPECT_EQ(at(x, y + h), colour_of(19));
    EXPECT_EQ(at(x + w - 1, y + h + 8), colour_of(19));
    EXPECT_EQ(at(x + w / 2, y + h + 9), background_colour());

    // Corners, with their transparent outer tips.
    EXPECT_EQ(at(x - 1, y - 1), colour_of(24));
    EXPECT_EQ(at(x - 5, y - 5), colour_of(24));
    EXPECT_EQ(at(x - 6, y - 5), background_colour());
    EXPECT_EQ(at(x - 1, y + h), colour_of(18));
    EXPECT_EQ(at(x - 6, y + h + 8), background_colour());
    EXPECT_EQ(at(x - 5, y + h + 8), colour_of(18));
    EXPECT_EQ(at(x + w, y - 1), colour_of(25));
    EXPECT_EQ(at(x + w + 6, y - 5), background_colour());
    EXPECT_EQ(at(x + w, y + h), colour_of(20));
    EXPECT_EQ(at(x + w + 6, y + h + 8), background_colour());
    EXPECT_EQ(at(x + w + 5, y + h + 8), colour_of(20));
}

TEST_F(banner, draws_the_plate_where_it_is_while_sliding)
{
    start("abcdefghij");
    for (int i = 0; i < 5; i++)
        process_map_name();
    ASSERT_EQ(map_name_x_pos, 10);
    draw();
    EXPECT_EQ(getpixel(buffer, 10, 234), plate_colour());
    EXPECT_EQ(getpixel(buffer, 4, 234), colour_of(21));
    EXPECT_EQ(getpixel(buffer, 110, 234), colour_of(22));
    EXPECT_EQ(getpixel(buffer, 117, 234), background_colour());
}

} // namespace
