// The editor's frame: the field with its layers, labels, teleports, markers and grid, the texts,
// the hidden-layer line, the quit box, and maps holding values no file should hold.
#include "editor_fixture.h"

namespace editor_test {
namespace {

int pink_colour() { return makecol(255, 100, 100); }
#define pink pink_colour()

class drawing : public editor_screen {
protected:
    int pink_field() const { return makecol(255, 100, 100); }
};

TEST_F(drawing, new_map_shows_pink_field_start_exit_and_default_name)
{
    draw_frame(0);
    EXPECT_EQ(field_pixel(5, 5), pink_field());
    EXPECT_EQ(field_pixel(0, 0), object_colour(f_data, 25, 0));
    EXPECT_EQ(field_pixel(19, 14), object_colour(f_data, 27, 0));
    EXPECT_TRUE(shows_white_text(buffer, 0, 558, "Map Name: Enter Map Name"));
    EXPECT_TRUE(shows_white_text(buffer, 384, 580, "Current Map: "));
    EXPECT_TRUE(shows_white_text(buffer, 384, 590, "Next Map   : end"));
    // The backdrop lies under everything else.
    EXPECT_EQ(getpixel(buffer, 790, 540), object_colour(f_data, 0, 1));
}

struct background_case {
    const char *label;
    int background;
    bool picture; // object `background` of the background file shows
};

class backgrounds_drawn : public drawing, public testing::WithParamInterface<background_case> {};

TEST_P(backgrounds_drawn, only_numbers_the_panel_offers_draw_a_picture)
{
    const background_case &c = GetParam();
    the_map.background = c.background;
    draw_frame(0);
    if (c.picture)
        EXPECT_EQ(field_pixel(5, 2), object_colour(f_backgrounds, c.background, 0)) << c.label;
    else
        EXPECT_EQ(field_pixel(5, 2), pink) << c.label;
}

const background_case background_cases[] = {
    {"the star field shows nothing in the editor", 0, false},
    {"first picture", 1, true},
    {"last offered (bg_dat_end 6)", 6, true},
    {"the spare last object", 7, false},
    {"far past the file", 500, false},
    {"negative", -3, false},
};

INSTANTIATE_TEST_SUITE_P(cases, backgrounds_drawn, testing::ValuesIn(background_cases), label_name());

struct file_line_case {
    const char *label;
    std::string file_name, next_map;
    const char *current_shown, *next_shown; // as the two lines read
};

void PrintTo(const file_line_case &c, std::ostream *out) { *out << c.label; }

class file_lines : public drawing, public testing::WithParamInterface<file_line_case> {};

// "Current Map:" and "Next Map   :" end before the End button at x 735 (43 characters from x 384):
// a name that does not fit keeps its beginning and its end.
TEST_P(file_lines, end_before_the_end_button_keeping_both_ends_of_a_long_name)
{
    const file_line_case &c = GetParam();
    std::snprintf(the_map.file_name, sizeof(the_map.file_name), "%s", c.file_name.c_str());
    std::snprintf(the_map.next_map, sizeof(the_map.next_map), "%s", c.next_map.c_str());
    draw_frame(0);
    EXPECT_TRUE(shows_white_text(buffer, 384, 580, c.current_shown)) << c.label;
    EXPECT_TRUE(shows_white_text(buffer, 384, 590, c.next_shown)) << c.label;
    int white_beside = 0;
    for (int y = 580; y < 600; y++)
        for (int x = 735; x < 800; x++)
            white_beside += getpixel(buffer, x, y) == makecol(255, 255, 255);
    EXPECT_EQ(white_beside, 0) << c.label;
}

const file_line_case file_line_cases[] = {
    {"short names whole", "a.map", "b.map", "Current Map: a.map", "Next Map   : b.map"},
    {"30 characters fit whole", std::string(26, 'c') + ".map", "end",
     "Current Map: cccccccccccccccccccccccccc.map", "Next Map   : end"},
    {"31 characters are shortened", std::string(27, 'c') + ".map", "end",
     "Current Map: cccccccccccccc...ccccccccc.map", "Next Map   : end"},
    {"a long file name", "a-rather-long-level-file-name-for-the-dream-set-number-twelve.map",
     "another-quite-long-next-map-file-name-in-the-set.map", "Current Map: a-rather-long-...er-twelve.map",
     "Next Map   : another-quite-...n-the-set.map"},
    {"the longest a file states", std::string(251, 'x') + ".map", std::string(255, 'y'),
     "Current Map: xxxxxxxxxxxxxx...xxxxxxxxx.map", "Next Map   : yyyyyyyyyyyyyy...yyyyyyyyyyyyy"},
};

INSTANTIATE_TEST_SUITE_P(cases, file_lines, testing::ValuesIn(file_line_cases), label_name());

TEST_F(drawing, trans_tile_lies_under_the_block_tile)
{
    the_map.trans_layer[3][3] = 7;
    the_map.trans_layer[4][3] = 7;
    the_map.block_layer[4][3] = 9;
    the_map.block_layer[5][3] = build_still;
    draw_frame(0);
    EXPECT_EQ(field_pixel(3, 3), object_colour(f_tiles, 7, 0));
    EXPECT_EQ(field_pixel(4, 3), object_colour(f_tiles, 9, 0));
    EXPECT_EQ(field_pixel(5, 3), object_colour(f_build, 6, 0));
}

struct special_image_case {
    int code, image;
};

TEST_F(drawing, each_special_code_draws_its_build_tile)
{
    const special_image_case cases[] = {{-2, 9}, {-3, 6}, {-4, 2}, {-5, 5}, {-6, 14},
                                        {-7, 13}, {-8, 15}, {-9, 0}, {-10, 17}, {-11, 18}};
    for (int i = 0; i < 10; i++)
        the_map.block_layer[i + 2][6] = cases[i].code;
    draw_frame(0);
    for (int i = 0; i < 10; i++)
        EXPECT_EQ(field_pixel(i + 2, 6), object_colour(f_build, cases[i].image, 0)) << cases[i].code;
}

TEST_F(drawing, labels_mark_plain_tiles_of_each_layer_but_not_special_blocks)
{
    the_map.block_layer[2][2] = 4;
    the_map.trans_layer[3][2] = 4;
    the_map.block_layer[4][2] = blocked_up;
    the_map.trans_layer[5][2] = 4;
    the_map.block_layer[5][2] = 8;
    draw_frame(0);
    EXPECT_FALSE(shows_white_text(buffer, 160 + 2 * 32, 64, "BT"));
    draw_blocked_indicator = -1;
    draw_frame(0);
    EXPECT_TRUE(shows_white_text(buffer, 160 + 2 * 32, 64, "BT"));
    EXPECT_TRUE(shows_white_text(buffer, 160 + 3 * 32, 64, "TT"));
    EXPECT_FALSE(shows_white_text(buffer, 160 + 4 * 32, 64, "BT"));
    EXPECT_FALSE(shows_white_text(buffer, 160 + 4 * 32, 64, "TT"));
    // The block tile covers the trans tile's label.
    EXPECT_TRUE(shows_white_text(buffer, 160 + 5 * 32, 64, "BT"));
}

TEST_F(drawing, teleports_are_numbered_at_both_ends_and_flipped_at_the_destination)
{
    the_map.teleports = {{2, 2, 10, 2}, {3, 5, 11, 5}, {4, 8, 12, 8}};
    the_map.teleport_count = 3;
    draw_frame(0);
    for (int i = 0; i < 3; i++) {
        const teleport &t = the_map.teleports[i];
        const std::string n = std::to_string(i);
        EXPECT_TRUE(shows_white_text(buffer, 160 + 32 * t.src_x, 32 * t.src_y, n.c_str())) << i;
        EXPECT_TRUE(shows_white_text(buffer, 160 + 32 * t.dst_x, 32 * t.dst_y, n.c_str())) << i;
        EXPECT_EQ(field_pixel(t.src_x, t.src_y, 20, 4), object_colour(f_data, 26, 0)) << i;
        EXPECT_EQ(field_pixel(t.dst_x, t.dst_y, 20, 4), object_colour(f_data, 26, 1)) << i;
    }
}

TEST_F(drawing, teleport_on_the_start_cell_is_hidden_under_the_start_marker)
{
    the_map.teleports = {{0, 0, 5, 5}};
    the_map.teleport_count = 1;
    draw_frame(0);
    EXPECT_EQ(field_pixel(0, 0, 2, 2), object_colour(f_data, 25, 0));
    EXPECT_EQ(field_pixel(0, 0, 20, 4), object_colour(f_data, 25, 0));
}

struct hidden_case {
    int z, x;
    const char *line; // nullptr: none
};

TEST_F(drawing, holding_z_and_x_hides_layers_and_says_which)
{
    the_map.block_layer[6][6] = 3;
    the_map.trans_layer[7][6] = 3;
    the_map.teleports = {{8, 6, 9, 6}};
    the_map.teleport_count = 1;
    draw_blocked_indicator = -1;
    const hidden_case cases[] = {
        {0, 0, nullptr},
        {1, 0, "Hidden Layer: BLOCK"},
        {0, 1, "Hidden Layer: TRANS"},
        {1, 1, "Hidden Layer: BOTH"},
    };
    for (const hidden_case &c : cases) {
        key[KEY_Z] = c.z;
        key[KEY_X] = c.x;
        step();
        draw_frame(0);
        EXPECT_EQ(field_pixel(6, 6, 20, 20), c.z ? pink : object_colour(f_tiles, 3, 1));
        EXPECT_EQ(shows_white_text(buffer, 160 + 6 * 32, 6 * 32, "BT"), !c.z);
        EXPECT_EQ(field_pixel(7, 6, 20, 20), c.x ? pink : object_colour(f_tiles, 3, 1));
        // Markers stay.
        EXPECT_EQ(field_pixel(8, 6, 20, 4), object_colour(f_data, 26, 0));
        EXPECT_EQ(field_pixel(0, 0), object_colour(f_data, 25, 0));
        if (c.line) {
            EXPECT_TRUE(shows_white_text(buffer, 160, 470, c.line)) << c.line;
        }
        for (const char *other : {"Hidden Layer: BLOCK", "Hidden Layer: TRANS", "Hidden Layer: BOTH"}) {
            if (!c.line || std::strcmp(other, c.line) != 0) {
                EXPECT_FALSE(shows_white_text(buffer, 160, 470, other)) << other;
            }
        }
    }
    key[KEY_Z] = key[KEY_X] = 0;
}

TEST_F(drawing, hidden_layer_line_covers_the_start_of_the_teleport_prompt)
{
    const char *prompt = "Use RIGHT mouse button to select the teleport desitnation";
    draw_frame(1);
    EXPECT_TRUE(shows_white_text(buffer, 160, 470, prompt));
    draw_frame(0);
    EXPECT_FALSE(shows_white_text(buffer, 160, 470, prompt));
    draw_block_layer = 0;
    draw_frame(1);
    EXPECT_TRUE(shows_white_text(buffer, 160, 470, "Hidden Layer: BLOCK"));
    // The prompt's tail beyond the shorter line still shows.
    const int covered = text_length(font, "Hidden Layer: BLOCK");
    EXPECT_TRUE(shows_white_text(buffer, 160 + 24 * 8, 470, prompt + 24));
    EXPECT_LT(covered, 24 * 8);
}

TEST_F(drawing, grid_lines_lie_on_the_cell_edges_inside_the_field)
{
    draw_grid = -1;
    draw_frame(0);
    const int red = makecol(255, 0, 0);
    EXPECT_EQ(getpixel(buffer, 160 + 50, 32 * 4), red);
    EXPECT_EQ(getpixel(buffer, 160 + 32 * 7, 300), red);
    EXPECT_EQ(getpixel(buffer, 160 + 50, 32 * 4 + 1), pink);
    EXPECT_EQ(getpixel(buffer, 160 + 639, 300), pink); // no line along the right edge
    EXPECT_EQ(getpixel(buffer, 160 + 50, 479), pink);  // nor along the bottom
    draw_grid = 0;
    draw_frame(0);
    EXPECT_EQ(getpixel(buffer, 160 + 50, 32 * 4), pink);
}

TEST_F(drawing, g_key_toggles_the_grid)
{
    key[KEY_G] = 1;
    step();
    step();
    EXPECT_EQ(draw_grid, -1);
    key[KEY_G] = 0;
    step();
    key[KEY_G] = 1;
    step();
    key[KEY_G] = 0;
    EXPECT_EQ(draw_grid, 0);
}

TEST_F(drawing, quit_box_is_centred_with_question_frame_and_two_buttons)
{
    confirm = -1;
    confirm_selection = 0;
    draw_frame(0);
    // Box 300x100 at (250,250).
    EXPECT_EQ(getpixel(buffer, 252, 345), makecol(141, 147, 197));
    EXPECT_EQ(getpixel(buffer, 547, 252), makecol(141, 147, 197));
    const int white = makecol(255, 255, 255);
    const int question_x = 250 + 150 - text_length(font, "Are You Sure?") / 2;
    EXPECT_TRUE(shows_text(buffer, question_x, 255, "Are You Sure?", white, -1));
    // Frame pieces: left edge 21 stretched to the box height, corners outside the corners.
    EXPECT_EQ(getpixel(buffer, 245, 340), object_colour(f_system, 21, 1));
    EXPECT_EQ(getpixel(buffer, 555, 260), object_colour(f_system, 22, 0));
    EXPECT_EQ(getpixel(buffer, 400, 245), object_colour(f_system, 23, 0));
    EXPECT_EQ(getpixel(buffer, 400, 355), object_colour(f_system, 19, 1));
    EXPECT_EQ(getpixel(buffer, 243, 243), object_colour(f_system, 24, 0));
    EXPECT_EQ(getpixel(buffer, 243, 355), object_colour(f_system, 18, 1));
    EXPECT_EQ(getpixel(buffer, 555, 243), object_colour(f_system, 25, 0));
    EXPECT_EQ(getpixel(buffer, 555, 355), object_colour(f_system, 20, 1));
    // Buttons 60x30 on the line y 300: Yes at 295, No at 445; "No" highlighted.
    EXPECT_EQ(getpixel(buffer, 297, 302), object_colour(f_system, 1, 0));
    EXPECT_EQ(getpixel(buffer, 447, 302), object_colour(f_system, 2, 0));
    const int label_y = 300 + 15 - text_height(font) / 2;
    EXPECT_TRUE(shows_text(buffer, 295 + 30 - text_length(font, "Yes") / 2, label_y, "Yes", white, -1));
    EXPECT_TRUE(shows_text(buffer, 445 + 30 - text_length(font, "No") / 2, label_y, "No", white, -1));
    confirm_selection = 1;
    draw_frame(0);
    EXPECT_EQ(getpixel(buffer, 297, 302), object_colour(f_system, 2, 0));
    EXPECT_EQ(getpixel(buffer, 447, 302), object_colour(f_system, 1, 0));
}

TEST_F(drawing, values_outside_the_data_files_draw_nothing)
{
    the_map.block_layer[2][2] = 60;    // the tile file holds 61 objects: 60 is its last
    the_map.block_layer[3][2] = 61;    // past the file
    the_map.block_layer[4][2] = 100000;
    the_map.block_layer[5][2] = -12;   // no such special block
    the_map.trans_layer[6][2] = 61;
    the_map.block_layer[7][2] = -2000000000;
    // Off-field teleport ends and markers: not drawn, and nothing outside the bitmaps is touched.
    the_map.teleports = {{8, 2, 25, 3}, {-1, 40, 9, 2}, {1000000, -1000000, -5, -5}};
    the_map.teleport_count = 3;
    the_map.start_x = 30;
    the_map.start_y = -2;
    the_map.exit_x = -100000;
    the_map.exit_y = 7;
    draw_frame(0);
    EXPECT_EQ(field_pixel(2, 2), object_colour(f_tiles, 60, 0));
    for (int cx = 3; cx <= 7; cx++)
        EXPECT_EQ(field_pixel(cx, 2, 20, 20), pink) << cx;
    EXPECT_EQ(field_pixel(8, 2, 20, 4), object_colour(f_data, 26, 0));
    EXPECT_EQ(field_pixel(9, 2, 20, 4), object_colour(f_data, 26, 1));
    EXPECT_TRUE(shows_white_text(buffer, 160 + 9 * 32, 64, "1"));
    EXPECT_EQ(field_pixel(0, 0), pink);
    EXPECT_EQ(field_pixel(19, 14), pink);
}

} // namespace
} // namespace editor_test
