// The map-name banner: its path across the screen tick by tick, and the framed plate it draws.
#include <gtest/gtest.h>
#include <allegro.h>
#include <algorithm>
#include <cstring>
#include <set>
#include <utility>
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
        entries.assign(45, DATAFILE{});
        for (int i = 0; i < 44; i++) {
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
        entries[44].type = DAT_END;
        d_system = entries.data();
        small_font = block_font(5, 8);
        destroy_bitmap(bitmap(43));
        entries[43].type = DAT_FONT;
        entries[43].dat = small_font;
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
        destroy_font(small_font);
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
    FONT *small_font = nullptr;
};

// The plate is the name with 10 pixels to each side and 4 above and below it.
const int margin_x = 10;
const int margin_y = 4;

TEST_F(banner, slides_in_rests_for_119_ticks_in_the_middle_and_slides_out)
{
    start("abcdefghij"); // 100 pixels of text, a plate of 120 x 20
    ASSERT_EQ(map_name_width, 120);
    ASSERT_EQ(map_name_height, 20);
    EXPECT_EQ(map_name_x_pos, -120);
    EXPECT_EQ(map_name_stopping_point, 260);
    EXPECT_EQ(map_name_y_pos, 240 - 10);
    std::vector<int> expected;
    for (int tick = 1; tick <= 17; tick++)
        expected.push_back(-120 + 22 * tick); // up to 254
    // The 18th tick would reach 276 and is pulled back to 260; it rests there 119 ticks.
    expected.insert(expected.end(), 119, 260);
    for (int x = 282; x < 640; x += 22)
        expected.push_back(x);
    expected.push_back(656); // the first tick at or past the right edge ends it
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
    const int width = c.glyph_w * c.letters + 2 * margin_x;
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
    {"one letter", 10, 1, 305},
    {"odd width", 5, 19, 263},
    {"name that lands exactly on the resting point", 11, 4, 288},
    {"nearly as wide as the room", 19, 31, 16},
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
    ASSERT_EQ(map_name_x_pos, 260);
    start("abc");
    EXPECT_EQ(map_name_x_pos, -50);
    EXPECT_EQ(map_name_timer, 0);
    EXPECT_EQ(map_name_switch, 0);
    EXPECT_EQ(map_name_buffer->w, 50);
    const std::vector<int> xs = run_banner();
    EXPECT_EQ(xs[0], -28);
    EXPECT_EQ(std::count(xs.begin(), xs.end(), 320 - 25), 119);
}

TEST_F(banner, draws_the_plate_inside_its_eight_frame_pieces)
{
    start("abcdefghij");
    for (int i = 0; i < 30; i++)
        process_map_name();
    draw();
    const int x = 260, y = 230, w = 120, h = 20;
    auto at = [](int px, int py) { return getpixel(buffer, px, py); };

    // The plate: the fill colour with the letters in black inside its margins.
    EXPECT_EQ(at(x, y), plate_colour());
    EXPECT_EQ(at(x + w - 1, y + h - 1), plate_colour());
    for (int letter = 0; letter < 10; letter++)
        EXPECT_EQ(at(x + margin_x + letter * 10 + 1, y + margin_y + 1), makecol(0, 0, 0)) << "letter " << letter;

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
    for (int i = 0; i < 6; i++)
        process_map_name();
    ASSERT_EQ(map_name_x_pos, 12);
    draw();
    EXPECT_EQ(getpixel(buffer, 12, 230), plate_colour());
    EXPECT_EQ(getpixel(buffer, 6, 230), colour_of(21));
    EXPECT_EQ(getpixel(buffer, 132, 230), colour_of(22));
    EXPECT_EQ(getpixel(buffer, 139, 230), background_colour());
}

// ---- Names as authors make them, through the banner with the game's own fonts and frame.

// The pixels of bmp that are not bg, relative to the top-left corner of the box round them.
std::set<std::pair<int, int>> ink_of(BITMAP *bmp, int bg)
{
    std::set<std::pair<int, int>> points;
    int min_x = bmp->w, min_y = bmp->h;
    for (int y = 0; y < bmp->h; y++)
        for (int x = 0; x < bmp->w; x++)
            if (getpixel(bmp, x, y) != bg) {
                min_x = std::min(min_x, x);
                min_y = std::min(min_y, y);
            }
    for (int y = 0; y < bmp->h; y++)
        for (int x = 0; x < bmp->w; x++)
            if (getpixel(bmp, x, y) != bg)
                points.insert({x - min_x, y - min_y});
    return points;
}

// The ink of text printed alone as the banner prints it, black on the plate's colour.
std::set<std::pair<int, int>> ink_of_text(FONT *f, const std::string &text)
{
    BITMAP *b = create_bitmap(text_length(f, text.c_str()) + 4, text_height(f) + 4);
    clear_to_color(b, plate_colour());
    textprintf_ex(b, f, 2, 2, makecol(0, 0, 0), -1, "%s", text.c_str());
    std::set<std::pair<int, int>> points = ink_of(b, plate_colour());
    destroy_bitmap(b);
    return points;
}

// The glyph of f, space to tilde, that takes the most pixels.
char widest_glyph(FONT *f)
{
    char widest = ' ';
    for (char c = ' '; c <= '~'; c++)
        if (text_length(f, std::string(1, c).c_str()) > text_length(f, std::string(1, widest).c_str()))
            widest = c;
    return widest;
}

// The most characters the editor's Name field takes.
const int editor_name_limit = 29;

struct name_case {
    const char *label;
    std::string (*name)();
    int whole; // -1: shown whole; 0: cut, ending in "..."
};

std::ostream &operator<<(std::ostream &out, const name_case &c) { return out << c.label; }

const name_case name_cases[] = {
    {"short", [] { return std::string("Pillow Hills"); }, -1},
    {"ordinary_name_at_the_editor_s_limit", [] { return std::string("The Wandering Windmill Meadow"); }, -1},
    {"editor_s_limit_in_the_widest_glyph_of_the_small_font",
     [] { return std::string(editor_name_limit, widest_glyph(map_name_small_font)); }, -1},
    {"editor_s_limit_in_the_widest_glyph_of_the_title_font",
     [] { return std::string(editor_name_limit, widest_glyph(map_name_font)); }, -1},
    {"editor_s_limit_with_spaces", [] { return std::string("WWWW WWWW WWWW WWWW WWWW WWWW"); }, -1},
    {"longer_than_the_editor_allows_in_the_widest_glyph",
     [] { return std::string(sizeof(the_map.name) - 1, widest_glyph(map_name_small_font)); }, 0},
};

class banner_names : public testing::TestWithParam<name_case> {
protected:
    void SetUp() override
    {
        saved_name = the_map.name;
        map_name_pre_init();
    }
    void TearDown() override
    {
        map_name_in_progress = 0;
        std::strcpy(the_map.name, saved_name.c_str());
    }
    std::string saved_name;
};

TEST_P(banner_names, rest_whole_or_ending_in_dots_inside_the_frame_and_the_screen)
{
    const std::string name = GetParam().name();
    ASSERT_LT(name.size(), sizeof(the_map.name));
    std::strcpy(the_map.name, name.c_str());
    map_name_init();
    while (map_name_showing() && !map_name_switch)
        process_map_name();
    ASSERT_EQ(map_name_x_pos, map_name_stopping_point);

    // The frame round the plate stays on the screen.
    const int x = map_name_x_pos, y = map_name_y_pos;
    const int w = map_name_buffer->w, h = map_name_buffer->h;
    EXPECT_GE(x - system_bitmap(21)->w, 0);
    EXPECT_LE(x + w + system_bitmap(22)->w, 640);
    EXPECT_GE(y - system_bitmap(23)->h, 0);
    EXPECT_LE(y + h + system_bitmap(19)->h, 480);
    clear_to_color(buffer, background_colour());
    draw_map_name(buffer);
    for (int row = 0; row < 480; row++) {
        ASSERT_EQ(getpixel(buffer, 0, row), background_colour()) << "row " << row;
        ASSERT_EQ(getpixel(buffer, 639, row), background_colour()) << "row " << row;
    }

    // The letters keep clear of the frame's inner edge.
    BITMAP *plate = create_bitmap(w, h);
    blit(buffer, plate, x, y, 0, 0, w, h);
    int ink_left = w, ink_right = -1, ink_top = h, ink_bottom = -1;
    for (int py = 0; py < h; py++)
        for (int px = 0; px < w; px++)
            if (getpixel(plate, px, py) != plate_colour()) {
                ink_left = std::min(ink_left, px);
                ink_right = std::max(ink_right, px);
                ink_top = std::min(ink_top, py);
                ink_bottom = std::max(ink_bottom, py);
            }
    ASSERT_GE(ink_right, 0) << "no letters on the plate";
    EXPECT_GE(ink_left, 4);
    EXPECT_LE(ink_right, w - 5);
    EXPECT_GE(ink_top, 4);
    EXPECT_LE(ink_bottom, h - 5);

    // What stands there: the whole name in one of the banner's fonts, or a beginning of it and "...".
    const std::set<std::pair<int, int>> shown = ink_of(plate, plate_colour());
    destroy_bitmap(plate);
    int whole = 0, cut = 0;
    for (FONT *f : {map_name_font, map_name_small_font})
        whole = whole || shown == ink_of_text(f, name);
    for (size_t kept = name.size(); kept > 0 && !whole && !cut; kept--)
        cut = shown == ink_of_text(map_name_small_font, name.substr(0, kept) + "...");
    if (GetParam().whole)
        EXPECT_TRUE(whole) << "the plate does not show \"" << name << "\" whole";
    else
        EXPECT_TRUE(cut) << "the plate does not show a beginning of \"" << name << "\" and \"...\"";
}

INSTANTIATE_TEST_SUITE_P(names, banner_names, testing::ValuesIn(name_cases),
                         [](const testing::TestParamInfo<name_case> &info) { return std::string(info.param.label); });

} // namespace
