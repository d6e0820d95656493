// The generated data files: password, object kinds and sizes by index, fonts that fit, and art that is really there.
#include <gtest/gtest.h>
#include <allegro.h>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>
#include <filesystem>
#include <unistd.h>
#include "case_names.h"
#include "damaged_data.h"
#include "datafiles.h"

namespace {

const char *const all_files[] = {"data/d_player.dat",      "data/d_tiles.dat",  "data/d_build_tiles.dat",
                                 "data/d_sounds.dat",      "data/d_backgrounds.dat", "data/d_system.dat",
                                 "data/d_portraits.dat",   "data/d_data.dat"};

DATAFILE *load_with(const char *path, const char *password)
{
    packfile_password(password);
    DATAFILE *d = load_datafile(path);
    packfile_password(nullptr);
    return d;
}

int count_of(const DATAFILE *d)
{
    int n = 0;
    while (d && d[n].type != DAT_END)
        n++;
    return n;
}

// The editor's own file is not loaded by the game: the tests load it once.
DATAFILE *editor_data()
{
    static DATAFILE *d = load_with("data/d_data.dat", datafile_password);
    return d;
}

class datafile_password_test : public testing::TestWithParam<const char *> {};

TEST_P(datafile_password_test, opens_with_the_password_only)
{
    DATAFILE *right = load_with(GetParam(), datafile_password);
    ASSERT_NE(right, nullptr) << GetParam();
    EXPECT_GT(count_of(right), 0);
    unload_datafile(right);
    EXPECT_EQ(load_with(GetParam(), nullptr), nullptr) << "no password";
    EXPECT_EQ(load_with(GetParam(), "Oct1708"), nullptr) << "wrong password";
    EXPECT_EQ(load_with(GetParam(), "oct1709"), nullptr) << "wrong case";
}

INSTANTIATE_TEST_SUITE_P(files, datafile_password_test, testing::ValuesIn(all_files), label_name());

// ---- kinds and sizes, by index ----

enum which { player, tiles, build, sounds, backgrounds, systemf, portraits, editor };

DATAFILE *file_of(which w)
{
    switch (w) {
    case player: return d_player;
    case tiles: return d_tiles;
    case build: return d_build_tiles;
    case sounds: return d_sounds;
    case backgrounds: return d_backgrounds;
    case systemf: return d_system;
    case portraits: return d_portraits;
    default: return editor_data();
    }
}

const char *file_name(which w)
{
    static const char *const names[] = {"player", "tiles", "build tiles", "sounds", "backgrounds", "system", "portraits", "editor data"};
    return names[w];
}

const int any = -1;
const int strip = -2; // a row of 32x32 frames, at least three of them

struct entry_rule {
    which file;
    int from, to; // indices, inclusive
    int type;     // DAT_BITMAP, DAT_FONT, DAT_SAMPLE, DAT_MIDI
    int min_w, max_w, min_h, max_h; // any: no bound; strip: the strip rule
};

const entry_rule entry_rules[] = {
    {player, 0, 21, DAT_BITMAP, 32, 32, 32, 32},
    {build, 0, 0, DAT_BITMAP, 32, 32, 32, 32},
    {build, 1, 1, DAT_BITMAP, strip, strip, strip, strip},
    {build, 2, 2, DAT_BITMAP, 32, 32, 32, 32},
    {build, 3, 4, DAT_BITMAP, strip, strip, strip, strip},
    {build, 5, 6, DAT_BITMAP, 32, 32, 32, 32},
    {build, 7, 8, DAT_BITMAP, strip, strip, strip, strip},
    {build, 9, 9, DAT_BITMAP, 32, 32, 32, 32},
    {build, 10, 12, DAT_BITMAP, strip, strip, strip, strip},
    {build, 13, 15, DAT_BITMAP, 32, 32, 32, 32},
    {build, 16, 16, DAT_BITMAP, strip, strip, strip, strip},
    {build, 17, 18, DAT_BITMAP, 32, 32, 32, 32},
    {sounds, 0, 6, DAT_SAMPLE, any, any, any, any},
    {systemf, 0, 0, DAT_BITMAP, 600, 640, 6, 16},
    {systemf, 1, 2, DAT_BITMAP, 60, 150, 30, 50},
    {systemf, 3, 3, DAT_FONT, any, any, any, 22},
    {systemf, 4, 4, DAT_BITMAP, 8, 32, 8, 32},
    {systemf, 5, 5, DAT_BITMAP, 640, 640, 480, 480},
    {systemf, 6, 6, DAT_BITMAP, 8, 32, 8, 32},
    {systemf, 7, 7, DAT_BITMAP, 640, 640, 480, 480},
    {systemf, 8, 8, DAT_FONT, any, any, any, 36},
    {systemf, 9, 11, DAT_BITMAP, 640, 640, 480, 480},
    {systemf, 12, 12, DAT_FONT, any, any, any, 32},
    {systemf, 13, 13, DAT_BITMAP, 40, 100, 9 * 32, 9 * 32},
    {systemf, 14, 14, DAT_BITMAP, 100, 640, 20, 80},
    {systemf, 15, 15, DAT_FONT, any, any, any, 50},
    {systemf, 16, 17, DAT_BITMAP, 640, 640, 480, 480},
    {systemf, 18, 25, DAT_BITMAP, 2, 40, 2, 40},
    {systemf, 26, 26, DAT_MIDI, any, any, any, any},
    {systemf, 27, 27, DAT_BITMAP, 8, 32, 6, 20},
    {systemf, 28, 28, DAT_BITMAP, 530, 530, 146, 146},
    {systemf, 29, 29, DAT_BITMAP, 530, 640, 146, 200},
    {systemf, 30, 30, DAT_FONT, any, any, any, 35},
    {systemf, 31, 31, DAT_BITMAP, 8, 32, 8, 32},
    {systemf, 32, 32, DAT_BITMAP, 100, 348, 7 * 32, 7 * 32},
    {systemf, 33, 33, DAT_BITMAP, 8, 32, 8, 32},
    {systemf, 34, 34, DAT_BITMAP, 100, 640, 20, 80},
    {systemf, 35, 36, DAT_BITMAP, 300, 640, 50, 80},
    {systemf, 37, 37, DAT_BITMAP, 80, 300, 5 * 32, 5 * 32},
    {systemf, 38, 38, DAT_BITMAP, 80, 300, 6 * 32, 6 * 32},
    {systemf, 39, 39, DAT_BITMAP, 40, 260, 40, 200},
    {systemf, 40, 40, DAT_BITMAP, 150, 520, 30, 90},
    {systemf, 41, 41, DAT_BITMAP, 80, 300, 5 * 32, 5 * 32},
    {systemf, 42, 42, DAT_BITMAP, 100, 640, 20, 80},
    {systemf, 43, 43, DAT_FONT, any, any, any, 35},
    {portraits, 0, 20, DAT_BITMAP, 96, 128, 64, 300},
    {editor, 0, 0, DAT_BITMAP, 800, 800, 600, 600},
    {editor, 1, 2, DAT_BITMAP, 32, 32, 32, 32},
    {editor, 3, 4, DAT_BITMAP, 32, 32, 16, 16},
    {editor, 5, 6, DAT_BITMAP, 32, 32, 32, 32},
    {editor, 7, 18, DAT_BITMAP, 64, 64, 32, 32},
    {editor, 19, 20, DAT_BITMAP, 32, 32, 16, 16},
    {editor, 21, 22, DAT_BITMAP, 32, 32, 32, 32},
    {editor, 23, 24, DAT_BITMAP, 64, 64, 32, 32},
    {editor, 25, 27, DAT_BITMAP, 32, 32, 32, 32},
};

class entry_kind_test : public testing::TestWithParam<entry_rule> {};

TEST_P(entry_kind_test, has_the_kind_and_size_its_users_need)
{
    const entry_rule &r = GetParam();
    DATAFILE *d = file_of(r.file);
    ASSERT_NE(d, nullptr);
    for (int i = r.from; i <= r.to; i++) {
        SCOPED_TRACE(std::string(file_name(r.file)) + " entry " + std::to_string(i));
        ASSERT_LT(i, count_of(d));
        ASSERT_EQ(d[i].type, r.type);
        if (r.type == DAT_BITMAP) {
            BITMAP *b = static_cast<BITMAP *>(d[i].dat);
            if (r.min_w == strip) {
                EXPECT_EQ(b->h, 32);
                EXPECT_EQ(b->w % 32, 0);
                EXPECT_GE(b->w / 32, 3);
            } else {
                EXPECT_GE(b->w, r.min_w);
                EXPECT_LE(b->w, r.max_w);
                EXPECT_GE(b->h, r.min_h);
                EXPECT_LE(b->h, r.max_h);
            }
        } else if (r.type == DAT_FONT) {
            EXPECT_GT(text_height(static_cast<FONT *>(d[i].dat)), 6);
            EXPECT_LE(text_height(static_cast<FONT *>(d[i].dat)), r.max_h);
        } else if (r.type == DAT_SAMPLE) {
            EXPECT_GT(static_cast<SAMPLE *>(d[i].dat)->len, 100u);
        } else if (r.type == DAT_MIDI) {
            EXPECT_GT(static_cast<MIDI *>(d[i].dat)->divisions, 0);
        }
    }
}

// Names the rule in test names: its file and its indices.
std::string case_label(const entry_rule &r)
{
    std::string name = std::string(file_name(r.file)) + " " + std::to_string(r.from);
    return r.to == r.from ? name : name + " to " + std::to_string(r.to);
}

INSTANTIATE_TEST_SUITE_P(entries, entry_kind_test, testing::ValuesIn(entry_rules), label_name());

TEST(datafile_counts, every_file_has_its_objects)
{
    EXPECT_EQ(count_of(d_player), 22);
    EXPECT_EQ(count_of(d_build_tiles), 19);
    EXPECT_EQ(count_of(d_sounds), 7);
    EXPECT_EQ(count_of(d_system), 44);
    EXPECT_EQ(count_of(d_portraits), 21);
    EXPECT_EQ(count_of(editor_data()), 28);
    // Backgrounds: the placeholder, the menu backdrop, at least four map backgrounds and the spare.
    EXPECT_GE(count_of(d_backgrounds), 7);
    // Tiles: the families and decorations, and the spare the editor never offers.
    EXPECT_GE(count_of(d_tiles), 41);
}

TEST(datafile_counts, every_tile_and_background_is_a_full_bitmap)
{
    for (int i = 0; i < count_of(d_tiles); i++) {
        ASSERT_EQ(d_tiles[i].type, DAT_BITMAP) << i;
        BITMAP *b = static_cast<BITMAP *>(d_tiles[i].dat);
        EXPECT_EQ(b->w, 32) << i;
        EXPECT_EQ(b->h, 32) << i;
    }
    for (int i = 0; i < count_of(d_backgrounds); i++) {
        ASSERT_EQ(d_backgrounds[i].type, DAT_BITMAP) << i;
        BITMAP *b = static_cast<BITMAP *>(d_backgrounds[i].dat);
        EXPECT_EQ(b->w, 640) << i;
        EXPECT_EQ(b->h, 480) << i;
    }
}

// ---- fonts that fit the places they are printed in ----

FONT *system_font(int index) { return static_cast<FONT *>(d_system[index].dat); }

struct fit_case {
    int font;
    const char *text;
    int max_width;
};

const fit_case fit_cases[] = {
    {8, "You Have Completed The Level!", 640},
    {8, "Hit Enter To Proceed", 640},
    {8, "Time Spent: 00:59:59", 640},
    {8, "progress will be lost!", 400},
    {8, "The current game in", 400},
    {8, "Are You Sure?", 300},
    {8, "Set Does Not Exist", 350},
    {12, "KEY PAD ENTER", 440},
    {12, "PAGE DOWN", 440},
    {30, "Building blocks is usually neccessary", 520},
    {30, "that I couldn't before! To build an", 520},
    {30, "Dreamers, this little one creates an it", 520},
    {30, "when you press the button and I start!!", 520},
    {3, "  Thank you for playing, dreamer!", 315},
};

class font_fit_test : public testing::TestWithParam<fit_case> {};

TEST_P(font_fit_test, text_fits_its_place)
{
    const fit_case &c = GetParam();
    ASSERT_EQ(d_system[c.font].type, DAT_FONT);
    EXPECT_LE(text_length(system_font(c.font), c.text), c.max_width) << c.text;
}

// Names the case in test names: the text that must fit.
std::string case_label(const fit_case &c) { return c.text; }

INSTANTIATE_TEST_SUITE_P(texts, font_fit_test, testing::ValuesIn(fit_cases), label_name());

TEST(font_fit, four_message_lines_fit_the_box)
{
    int h = text_height(system_font(30));
    EXPECT_LE(5 + 4 * h, system_bitmap(28)->h);
}

TEST(font_fit, the_message_text_clears_the_frame)
{
    // The text is typed from (5, 5) of the 530 x 146 frame: the frame keeps to its outer 3 pixels,
    // so two clear pixels at least stand between it and the text.
    BITMAP *frame = system_bitmap(29);
    int inside = 0, rim = 0;
    for (int y = 0; y < 146; y++)
        for (int x = 0; x < 530; x++) {
            const bool drawn = getpixel(frame, x, y) != bitmap_mask_color(frame);
            const bool in_text_area = x >= 3 && x < 530 - 3 && y >= 3 && y < 146 - 3;
            (in_text_area ? inside : rim) += drawn;
        }
    EXPECT_EQ(inside, 0);
    EXPECT_GT(rim, 2 * 530);
}

TEST(font_fit, a_save_row_holds_both_lines)
{
    // "%d: %s" with a 31-character map name, then "Level Set: %s" in the small font below it,
    // both within the row's rim (2 pixels at the top and the bottom).
    BITMAP *row = system_bitmap(35);
    FONT *f = system_font(8);
    FONT *small = system_font(3);
    const char *line = "12: Over The Pillow Hills And Awayy";
    ASSERT_EQ(std::string(line).size(), 4u + 31u);
    EXPECT_LE(10 + text_length(f, line), row->w);
    const int both = text_height(f) + text_height(small);
    EXPECT_LE(both, row->h - 4);
    EXPECT_LE(20 + text_length(small, "Level Set: Original Levels And More"), row->w);
    // Readable: the second line is no smaller than a 12-pixel font.
    EXPECT_GE(text_height(small), 12);
    EXPECT_EQ(system_bitmap(35)->w, system_bitmap(36)->w);
    EXPECT_EQ(system_bitmap(35)->h, system_bitmap(36)->h);
}

TEST(font_fit, the_title_and_the_corner_image_do_not_meet)
{
    EXPECT_LE(10 + system_bitmap(40)->w, 640 - system_bitmap(39)->w);
    EXPECT_EQ(system_bitmap(1)->w, system_bitmap(2)->w);
    EXPECT_EQ(system_bitmap(1)->h, system_bitmap(2)->h);
    EXPECT_GE(system_bitmap(29)->w, 530);
    EXPECT_GE(system_bitmap(29)->h, 146);
}

// ---- pixels: drawn art, transparency, colours ----

const int mask16 = MASK_COLOR_16;

struct pixel_stats {
    int solid = 0, see_through = 0;
    double r = 0, g = 0, b = 0;
};

pixel_stats stats_of(BITMAP *b, int x0, int y0, int w, int h)
{
    pixel_stats s;
    for (int y = y0; y < y0 + h; y++)
        for (int x = x0; x < x0 + w; x++) {
            int p = getpixel(b, x, y);
            if (p == bitmap_mask_color(b)) {
                s.see_through++;
                continue;
            }
            s.solid++;
            s.r += getr(p);
            s.g += getg(p);
            s.b += getb(p);
        }
    if (s.solid) {
        s.r /= s.solid;
        s.g /= s.solid;
        s.b /= s.solid;
    }
    return s;
}

pixel_stats stats_of(BITMAP *b) { return stats_of(b, 0, 0, b->w, b->h); }

double luminance(int p) { return 0.3 * getr(p) + 0.59 * getg(p) + 0.11 * getb(p); }

TEST(art, no_magenta_fringes_anywhere)
{
    // A pixel that is nearly the mask colour but not it shows as a pink fringe.
    DATAFILE *files[] = {d_player, d_tiles, d_build_tiles, d_backgrounds, d_system, d_portraits, editor_data()};
    for (DATAFILE *d : files)
        for (int i = 0; d[i].type != DAT_END; i++) {
            if (d[i].type != DAT_BITMAP)
                continue;
            BITMAP *b = static_cast<BITMAP *>(d[i].dat);
            int fringes = 0;
            for (int y = 0; y < b->h; y++)
                for (int x = 0; x < b->w; x++) {
                    int p = getpixel(b, x, y);
                    if (p != mask16 && getr(p) > 200 && getg(p) < 70 && getb(p) > 200)
                        fringes++;
                }
            EXPECT_EQ(fringes, 0) << get_datafile_property(&d[i], DAT_NAME);
        }
}

TEST(art, every_bitmap_shows_something)
{
    DATAFILE *files[] = {d_player, d_tiles, d_build_tiles, d_backgrounds, d_system, d_portraits, editor_data()};
    for (DATAFILE *d : files)
        for (int i = 0; d[i].type != DAT_END; i++) {
            if (d[i].type != DAT_BITMAP)
                continue;
            BITMAP *b = static_cast<BITMAP *>(d[i].dat);
            pixel_stats s = stats_of(b);
            EXPECT_GT(s.solid, b->w * b->h / 50) << get_datafile_property(&d[i], DAT_NAME);
            // Not one flat colour.
            std::set<int> colours;
            for (int y = 0; y < b->h && colours.size() < 4; y += 1)
                for (int x = 0; x < b->w && colours.size() < 4; x++)
                    colours.insert(getpixel(b, x, y));
            EXPECT_GE(colours.size(), 3u) << get_datafile_property(&d[i], DAT_NAME);
        }
}

struct opaque_case {
    which file;
    int index;
};

const opaque_case opaque_cases[] = {
    {build, 2}, {build, 6}, {build, 9},                       // block wipe images
    {systemf, 19}, {systemf, 21}, {systemf, 22}, {systemf, 23}, // stretched frame edges
    {systemf, 28},                                            // message-box background, drawn translucent
    {editor, 0}, {editor, 25}, {editor, 27},                  // editor backdrop, start and exit markers
    {backgrounds, 1}, {systemf, 5}, {systemf, 9}, {systemf, 10}, {systemf, 11}, {systemf, 17},
};

class opaque_test : public testing::TestWithParam<opaque_case> {};

TEST_P(opaque_test, has_no_see_through_pixel)
{
    BITMAP *b = static_cast<BITMAP *>(file_of(GetParam().file)[GetParam().index].dat);
    pixel_stats s = stats_of(b);
    if (GetParam().file == systemf && GetParam().index == 28) {
        // Rounded corners may be see-through; the inside is solid.
        s = stats_of(b, 12, 12, b->w - 24, b->h - 24);
    }
    EXPECT_EQ(s.see_through, 0) << file_name(GetParam().file) << " " << GetParam().index;
}

// Names the case in test names: the file and the image's index.
std::string case_label(const opaque_case &c) { return std::string(file_name(c.file)) + " " + std::to_string(c.index); }

INSTANTIATE_TEST_SUITE_P(images, opaque_test, testing::ValuesIn(opaque_cases), label_name());

TEST(art, message_box_parts_fit_together)
{
    BITMAP *back = system_bitmap(28), *frame = system_bitmap(29);
    // Black text is typed on the background: it is light.
    for (int y = 10; y < back->h - 10; y += 7)
        for (int x = 10; x < back->w - 10; x += 13)
            EXPECT_GT(luminance(getpixel(back, x, y)), 170) << x << "," << y;
    // The frame is see-through inside and solid on its rim.
    EXPECT_EQ(getpixel(frame, 265, 73), bitmap_mask_color(frame));
    EXPECT_EQ(getpixel(frame, 100, 40), bitmap_mask_color(frame));
    EXPECT_NE(getpixel(frame, 265, 1), bitmap_mask_color(frame));
    EXPECT_NE(getpixel(frame, 1, 73), bitmap_mask_color(frame));
}

TEST(art, block_kinds_are_told_apart_by_colour)
{
    BITMAP *up = static_cast<BITMAP *>(d_build_tiles[9].dat);
    BITMAP *still = static_cast<BITMAP *>(d_build_tiles[6].dat);
    BITMAP *down = static_cast<BITMAP *>(d_build_tiles[2].dat);
    pixel_stats u = stats_of(up), s = stats_of(still), d = stats_of(down);
    auto apart = [](const pixel_stats &a, const pixel_stats &b) {
        return std::fabs(a.r - b.r) + std::fabs(a.g - b.g) + std::fabs(a.b - b.b);
    };
    EXPECT_GT(apart(u, s), 60);
    EXPECT_GT(apart(u, d), 60);
    EXPECT_GT(apart(s, d), 60);
    // Every Restriction Block is red.
    for (int i : {5, 13, 14, 15}) {
        pixel_stats r = stats_of(static_cast<BITMAP *>(d_build_tiles[i].dat));
        EXPECT_GT(r.r, r.g + 40) << i;
        EXPECT_GT(r.r, r.b + 40) << i;
    }
    // The four Restriction Blocks differ from each other.
    for (int a : {5, 13, 14, 15})
        for (int b : {5, 13, 14, 15}) {
            if (a >= b)
                continue;
            BITMAP *ba = static_cast<BITMAP *>(d_build_tiles[a].dat), *bb = static_cast<BITMAP *>(d_build_tiles[b].dat);
            int differ = 0;
            for (int y = 0; y < 32; y++)
                for (int x = 0; x < 32; x++)
                    differ += getpixel(ba, x, y) != getpixel(bb, x, y);
            EXPECT_GT(differ, 40) << a << " and " << b;
        }
    // The exit is red, the teleports blue.
    pixel_stats exit = stats_of(static_cast<BITMAP *>(d_build_tiles[12].dat));
    EXPECT_GT(exit.r, exit.b + 40);
    pixel_stats tele = stats_of(static_cast<BITMAP *>(d_build_tiles[16].dat));
    EXPECT_GT(tele.b, tele.r + 30);
}

TEST(art, animation_strips_move_from_frame_to_frame)
{
    for (int i : {1, 3, 4, 7, 8, 10, 11, 12, 16}) {
        BITMAP *b = static_cast<BITMAP *>(d_build_tiles[i].dat);
        for (int f = 1; f < b->w / 32; f++) {
            int differ = 0;
            for (int y = 0; y < 32; y++)
                for (int x = 0; x < 32; x++)
                    differ += getpixel(b, f * 32 + x, y) != getpixel(b, (f - 1) * 32 + x, y);
            EXPECT_GT(differ, 10) << "strip " << i << " frame " << f;
        }
    }
    // Walking frames and fade frames too.
    for (int i = 7; i <= 21; i++) {
        if (i > 12 && i < 16)
            continue;
        BITMAP *a = static_cast<BITMAP *>(d_player[i - 1].dat), *b = static_cast<BITMAP *>(d_player[i].dat);
        int differ = 0;
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++)
                differ += getpixel(a, x, y) != getpixel(b, x, y);
        EXPECT_GT(differ, 5) << "player " << i;
    }
}

TEST(art, fades_dissolve_step_by_step)
{
    int last = 32 * 32;
    for (int i = 6; i <= 12; i++) {
        pixel_stats s = stats_of(static_cast<BITMAP *>(d_player[i].dat));
        EXPECT_LT(s.solid, last) << i;
        last = s.solid;
    }
    EXPECT_GT(stats_of(static_cast<BITMAP *>(d_player[6].dat)).solid, stats_of(static_cast<BITMAP *>(d_player[5].dat)).solid / 2);
}

TEST(art, pim_stands_on_the_bottom_row)
{
    // The standing sprite is the bounding box; his feet touch its bottom row.
    for (int i : {0, 1, 2, 5, 13, 14, 15, 18}) {
        BITMAP *b = static_cast<BITMAP *>(d_player[i].dat);
        EXPECT_GT(stats_of(b, 0, 31, 32, 1).solid, 4) << i;
    }
}

TEST(art, label_images_have_a_label_in_every_row)
{
    for (int i : {13, 32, 37, 38, 41}) {
        BITMAP *b = system_bitmap(i);
        for (int row = 0; row < b->h / 32; row++)
            EXPECT_GT(stats_of(b, 0, row * 32, b->w, 32).solid, 60) << "labels " << i << " row " << row;
    }
    for (int i : {14, 34, 42, 40})
        EXPECT_GT(stats_of(system_bitmap(i)).solid, 800) << "heading " << i;
}

// The lowest and the highest row of b within (x0, y0, w, h) holding a pixel for which keep is
// true, counted from y0; -1, -1 when there is none.
template <typename pixel_test>
std::pair<int, int> rows_where(BITMAP *b, int x0, int y0, int w, int h, pixel_test keep)
{
    std::pair<int, int> rows(-1, -1);
    for (int y = y0; y < y0 + h; y++)
        for (int x = x0; x < x0 + w; x++)
            if (keep(getpixel(b, x, y))) {
                rows.first = y - y0;
                if (rows.second < 0)
                    rows.second = y - y0;
            }
    return rows;
}

TEST(art, key_names_stand_level_with_their_labels)
{
    // Label row i and key name i share their top (y 180 + 32 i). Labels without descenders end
    // where the flat-bottomed capitals of the key names end, and begin where they begin.
    BITMAP *labels = system_bitmap(13);
    FONT *names = system_font(12);
    BITMAP *name = create_bitmap(200, text_height(names));
    const struct {
        int item;
        const char *key_name;
    } rows[] = {{1, "DOWN"}, {2, "LEFT"}, {4, "SPACE"}, {5, "R"}, {7, "S"}, {8, "BACK"}};
    for (const auto &row : rows) {
        clear_to_color(name, bitmap_mask_color(name));
        textout_ex(name, names, row.key_name, 0, 0, makecol(0, 0, 0), -1);
        const auto name_rows = rows_where(name, 0, 0, name->w, name->h,
                                          [&](int p) { return p != bitmap_mask_color(name); });
        const auto label_rows = rows_where(labels, 0, 32 * row.item, labels->w, 32, [&](int p) {
            return p != bitmap_mask_color(labels) && luminance(p) > 170;
        });
        ASSERT_GE(name_rows.first, 0);
        EXPECT_LE(std::abs(label_rows.first - name_rows.first), 1)
            << "item " << row.item << ": label ends on row " << label_rows.first << ", key name on row "
            << name_rows.first;
        EXPECT_LE(std::abs(label_rows.second - name_rows.second), 1)
            << "item " << row.item << ": label begins on row " << label_rows.second << ", key name on row "
            << name_rows.second;
    }
    destroy_bitmap(name);
}

TEST(art, menu_backdrop_is_light_where_key_names_are_printed)
{
    // It scrolls, so every column passes under the black key names at y 180 .. 436.
    BITMAP *b = static_cast<BITMAP *>(d_backgrounds[1].dat);
    int dark = 0, total = 0;
    for (int y = 180; y < 440; y += 2)
        for (int x = 0; x < 640; x += 2) {
            total++;
            dark += luminance(getpixel(b, x, y)) < 120;
        }
    EXPECT_LT(dark, total / 100);
    BITMAP *ed = static_cast<BITMAP *>(editor_data()[0].dat);
    for (int x = 0; x < 800; x += 4)
        EXPECT_GT(luminance(getpixel(ed, x, 524)), 130) << x;
}

double seam_error(BITMAP *b, bool horizontal)
{
    // Mean colour step across the seam, against the mean step between neighbours inside.
    double seam = 0, inside = 0;
    int n = horizontal ? b->h : b->w, len = horizontal ? b->w : b->h;
    for (int i = 0; i < n; i++) {
        int a = horizontal ? getpixel(b, len - 1, i) : getpixel(b, i, len - 1);
        int c = horizontal ? getpixel(b, 0, i) : getpixel(b, i, 0);
        seam += std::abs(getr(a) - getr(c)) + std::abs(getg(a) - getg(c)) + std::abs(getb(a) - getb(c));
        for (int k = 1; k < len; k += len / 16) {
            int p = horizontal ? getpixel(b, k - 1, i) : getpixel(b, i, k - 1);
            int q = horizontal ? getpixel(b, k, i) : getpixel(b, i, k);
            inside += (std::abs(getr(p) - getr(q)) + std::abs(getg(p) - getg(q)) + std::abs(getb(p) - getb(q))) / 16.0;
        }
    }
    return seam / n - inside / n;
}

TEST(art, backgrounds_are_seamless_along_their_scroll_axis)
{
    // Horizontal for the menu backdrop and every map background; vertical too for 0, 3, 5 and the spare.
    int n = count_of(d_backgrounds);
    for (int i = 0; i < n; i++) {
        BITMAP *b = static_cast<BITMAP *>(d_backgrounds[i].dat);
        EXPECT_LT(seam_error(b, true), 12) << "background " << i;
    }
    for (int i : {0, 3, 5, n - 1})
        EXPECT_LT(seam_error(static_cast<BITMAP *>(d_backgrounds[i].dat), false), 12) << "background " << i;
}

TEST(art, backgrounds_are_distinct_pictures)
{
    int n = count_of(d_backgrounds);
    for (int a = 1; a < n - 1; a++)
        for (int b = a + 1; b < n - 1; b++) {
            BITMAP *ba = static_cast<BITMAP *>(d_backgrounds[a].dat), *bb = static_cast<BITMAP *>(d_backgrounds[b].dat);
            int differ = 0;
            for (int y = 0; y < 480; y += 8)
                for (int x = 0; x < 640; x += 8)
                    differ += getpixel(ba, x, y) != getpixel(bb, x, y);
            EXPECT_GT(differ, 3000) << a << " and " << b;
        }
}

TEST(art, teleport_marker_shows_when_it_is_flipped)
{
    BITMAP *m = static_cast<BITMAP *>(editor_data()[26].dat);
    int differ = 0;
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++)
            differ += getpixel(m, x, y) != getpixel(m, x, 31 - y);
    EXPECT_GT(differ, 200);
}

} // namespace

// ---- damaged files

namespace {

class damaged_datafile : public testing::TestWithParam<damage_case> {};

// A damaged file ends the game with that file's message and status 1; no later file is tried.
TEST_P(damaged_datafile, ends_the_game_with_its_message)
{
    const damage_case &c = GetParam();
    const std::string tree = copy_data_files("damaged_data");
    damage_data_file(tree + "/data/" + c.file, c.damage);
    expect_load_to_end_with(tree, load_datafiles, c.message);
    std::filesystem::remove_all(tree);
}

const damage_case damage_cases[] = {
    {"player_cut_to_half", "d_player.dat", data_damage::cut_to_half, "^Failed to load player data\\.$"},
    {"sounds_missing", "d_sounds.dat", data_damage::removed, "^Failed to load sound data\\.$"},
    {"tiles_last_byte_cut", "d_tiles.dat", data_damage::last_byte_cut, "^Failed to load tile data\\.$"},
    {"build_tiles_bit_flipped", "d_build_tiles.dat", data_damage::bit_flipped_in_the_middle, "^Failed to load build tile data\\.$"},
    {"build_tiles_cut_to_half", "d_build_tiles.dat", data_damage::cut_to_half, "^Failed to load build tile data\\.$"},
    {"sounds_last_bit_flipped", "d_sounds.dat", data_damage::last_bit_flipped, "^Failed to load sound data\\.$"},
    {"backgrounds_emptied", "d_backgrounds.dat", data_damage::emptied, "^Failed to load background data\\.$"},
    {"system_bit_flipped", "d_system.dat", data_damage::bit_flipped_in_the_middle, "^Failed to load system data\\.$"},
    {"system_record_removed", "d_system.dat", data_damage::record_removed, "^Failed to load system data\\.$"},
    {"portraits_cut_to_half", "d_portraits.dat", data_damage::cut_to_half, "^Failed to load portrait data\\.$"},
    {"portraits_record_wrong", "d_portraits.dat", data_damage::record_wrong, "^Failed to load portrait data\\.$"},
};

INSTANTIATE_TEST_SUITE_P(cases, damaged_datafile, testing::ValuesIn(damage_cases), label_name());

TEST(intact_datafiles, load_from_a_copy_with_their_records)
{
    const std::string tree = copy_data_files("intact_data");
    EXPECT_EXIT(
        {
            if (chdir(tree.c_str()) != 0)
                std::_Exit(3);
            load_datafiles();
            std::_Exit(d_portraits ? 0 : 4);
        },
        testing::ExitedWithCode(0), "");
    std::filesystem::remove_all(tree);
}

} // namespace
