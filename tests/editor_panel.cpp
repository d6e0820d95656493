// The panel buttons: background and velocity limits, the layer toggle, the last-map mark, their texts.
#include "editor_fixture.h"

namespace editor_test {
namespace {

// Middles of the panel buttons on the stand-in images.
const int bg_down_x = 300, bg_up_x = 330, bg_y = 500;
const int vel_down_x = 450, vel_up_x = 480, x_vel_y = 492, y_vel_y = 508;

class panel : public editor_screen {};

struct background_case {
    int start, click_x, expected;
};

TEST_F(panel, background_buttons_wrap_at_both_ends)
{
    const int saved_end = bg_dat_end;
    bg_dat_end = 5;
    const background_case cases[] = {
        {0, bg_down_x, 5}, {5, bg_up_x, 0}, {2, bg_up_x, 3}, {3, bg_down_x, 2}, {1, bg_down_x, 0},
    };
    for (const background_case &c : cases) {
        the_map.background = c.start;
        click_at(c.click_x, bg_y);
        EXPECT_EQ(the_map.background, c.expected) << "from " << c.start;
    }
    bg_dat_end = saved_end;
}

TEST_F(panel, background_text_shows_number_end_and_stars)
{
    const int saved_end = bg_dat_end;
    bg_dat_end = 5;
    the_map.background = 0;
    draw_frame(0);
    EXPECT_TRUE(shows_white_text(buffer, 349, 485, "BG:0/5"));
    EXPECT_TRUE(shows_white_text(buffer, 349, 495, "Stars"));
    the_map.background = 4;
    draw_frame(0);
    EXPECT_TRUE(shows_white_text(buffer, 349, 485, "BG:4/5"));
    EXPECT_FALSE(shows_white_text(buffer, 349, 495, "Stars"));
    bg_dat_end = saved_end;
}

struct velocity_case {
    const char *label;
    int x, y;
    int click_x, click_y;
    int want_x, want_y;
};

class velocity_buttons : public panel, public testing::WithParamInterface<velocity_case> {};

TEST_P(velocity_buttons, change_one_axis_and_clear_the_other_within_limits)
{
    const velocity_case &c = GetParam();
    the_map.x_velocity = c.x;
    the_map.y_velocity = c.y;
    click_at(c.click_x, c.click_y);
    EXPECT_EQ(the_map.x_velocity, c.want_x) << c.label;
    EXPECT_EQ(the_map.y_velocity, c.want_y) << c.label;
}

const velocity_case velocity_cases[] = {
    {"x up clears y", 3, -2, vel_up_x, x_vel_y, 4, 0},
    {"x up at the limit changes nothing", 8, -2, vel_up_x, x_vel_y, 8, -2},
    {"x down", 0, 0, vel_down_x, x_vel_y, -1, 0},
    {"x down at the limit", -8, 3, vel_down_x, x_vel_y, -8, 3},
    {"y up clears x", 5, 0, vel_up_x, y_vel_y, 0, 1},
    {"y down clears x", 2, -7, vel_down_x, y_vel_y, 0, -8},
    {"y down at the limit", 2, -8, vel_down_x, y_vel_y, 2, -8},
    {"y up at the limit", 0, 8, vel_up_x, y_vel_y, 0, 8},
};

INSTANTIATE_TEST_SUITE_P(cases, velocity_buttons, testing::ValuesIn(velocity_cases), label_name());

TEST_F(panel, velocity_texts_show_the_values)
{
    the_map.x_velocity = -3;
    the_map.y_velocity = 7;
    draw_frame(0);
    EXPECT_TRUE(shows_white_text(buffer, 499, 487, "X-Velocity:-3"));
    EXPECT_TRUE(shows_white_text(buffer, 499, 504, "Y-Velocity:7"));
}

TEST_F(panel, layer_button_toggles_the_edited_layer_and_its_text)
{
    draw_frame(0);
    EXPECT_TRUE(shows_white_text(buffer, 225, 485, "Norm"));
    click_at(190, 500);
    EXPECT_EQ(trans_layer_active, -1);
    draw_frame(0);
    EXPECT_TRUE(shows_white_text(buffer, 225, 485, "Tran"));
    click_at(190, 500);
    EXPECT_EQ(trans_layer_active, 0);
}

TEST_F(panel, last_level_button_marks_the_map_as_the_end_of_its_set)
{
    std::strcpy(the_map.next_map, "b.map");
    click_at(760, 585);
    EXPECT_STREQ(the_map.next_map, "end");
    draw_frame(0);
    EXPECT_TRUE(shows_white_text(buffer, 384, 590, "Next Map   : end"));
}

TEST_F(panel, a_press_that_leaves_the_button_does_nothing)
{
    std::strcpy(the_map.next_map, "b.map");
    // Pressed on the button, released over the field.
    pointer(760, 585, 0);
    step();
    pointer(760, 585, 1);
    step();
    pointer(600, 300, 1);
    step();
    pointer(600, 300, 0);
    step();
    // Pressed over the field, dragged onto the button and released there.
    pointer(700, 560, 1);
    step();
    pointer(760, 585, 1);
    step();
    pointer(760, 585, 0);
    step();
    EXPECT_STREQ(the_map.next_map, "b.map");
}

TEST_F(panel, buttons_draw_their_images_where_they_stand)
{
    draw_frame(0);
    // Save button (normal image 23) at (0,568); a highlighted image shows while hovered.
    EXPECT_EQ(getpixel(buffer, 10, 572), object_colour(f_data, 23, 0));
    pointer(10, 572, 0);
    step();
    draw_frame(0);
    EXPECT_EQ(getpixel(buffer, 10, 572), object_colour(f_data, 24, 0));
    // Y-velocity down (image 3) under x-velocity down (also image 3).
    EXPECT_EQ(getpixel(buffer, 440, 512), object_colour(f_data, 3, 1));
}

} // namespace
} // namespace editor_test
