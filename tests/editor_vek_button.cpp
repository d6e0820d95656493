// The button widget: what counts as a click, repeat mode, the pixel-mask areas, strict bounds, drawing.
#include <gtest/gtest.h>
#include <allegro.h>
#include <vector>
#include "editor_fixture.h"
#include "vek_button.h"

namespace {

class button_test : public testing::Test {
protected:
    BITMAP *hover = nullptr, *pressed = nullptr, *normal = nullptr;
    vek_button button;

    void SetUp() override
    {
        hover = create_bitmap(20, 10);
        pressed = create_bitmap(20, 10);
        normal = create_bitmap(20, 10);
        clear_to_color(hover, makecol(0, 200, 0));
        clear_to_color(pressed, makecol(0, 0, 200));
        clear_to_color(normal, makecol(200, 200, 0));
        // A white column at x 5 and a magenta column at x 15 of the normal image.
        vline(normal, 5, 0, 9, makecol(255, 255, 255));
        vline(normal, 15, 0, 9, makecol(255, 0, 255));
        button.initialize(hover, pressed, normal, nullptr, nullptr, nullptr, 0, 0);
        button.set_coords(100, 50);
        at(0, 0, 0);
    }
    void TearDown() override
    {
        destroy_bitmap(hover);
        destroy_bitmap(pressed);
        destroy_bitmap(normal);
    }

    // One logic step with the pointer at (x, y) and the left button as given; the click result.
    int at(int x, int y, int down)
    {
        mouse_x = x;
        mouse_y = y;
        mouse_b = down ? 1 : 0;
        button.poll();
        return button.is_clicked();
    }

    // Runs a path of steps; returns the step numbers that reported a click.
    std::vector<int> clicks(const std::vector<std::vector<int>> &steps)
    {
        std::vector<int> got;
        for (std::size_t i = 0; i < steps.size(); i++)
            if (at(steps[i][0], steps[i][1], steps[i][2]))
                got.push_back(static_cast<int>(i));
        return got;
    }
};

TEST_F(button_test, initialize_gives_the_default_fields)
{
    EXPECT_EQ(button.state, 2);
    EXPECT_EQ(button.bound_right, 20);
    EXPECT_EQ(button.bound_bottom, 10);
    EXPECT_EQ(button.active, -1);
    EXPECT_EQ(button.mask_color, makecol(255, 0, 255));
    EXPECT_EQ(button.sound_volume, 255);
    EXPECT_EQ(button.sound_panning, 127);
    EXPECT_EQ(button.click_state, 3);
}

struct click_case {
    const char *label;
    std::vector<std::vector<int>> steps; // x, y, left button
    std::vector<int> clicked_in;         // steps that report a click
};

class click_rules : public button_test, public testing::WithParamInterface<click_case> {};

TEST_P(click_rules, report_a_click_only_in_the_release_step)
{
    const click_case &c = GetParam();
    EXPECT_EQ(clicks(c.steps), c.clicked_in) << c.label;
}

const click_case click_cases[] = {
    {"press and release over the button", {{110, 55, 0}, {110, 55, 1}, {110, 55, 1}, {110, 55, 0}, {110, 55, 0}}, {3}},
    {"press begins outside, released over", {{50, 55, 1}, {110, 55, 1}, {110, 55, 0}}, {}},
    {"pressed over, released outside", {{110, 55, 0}, {110, 55, 1}, {50, 55, 1}, {50, 55, 0}, {110, 55, 0}}, {}},
    {"pressed over, out and back before the release", {{110, 55, 0}, {110, 55, 1}, {50, 55, 1}, {110, 55, 1}, {110, 55, 0}}, {4}},
    {"pressed while arriving: never armed", {{110, 55, 1}, {110, 55, 0}}, {}},
    {"two clicks in a row", {{110, 55, 0}, {110, 55, 1}, {110, 55, 0}, {110, 55, 1}, {110, 55, 0}}, {2, 4}},
    {"first column is outside (strict bound)", {{100, 55, 0}, {100, 55, 1}, {100, 55, 0}}, {}},
    {"first row is outside", {{110, 50, 0}, {110, 50, 1}, {110, 50, 0}}, {}},
    {"last column inside", {{119, 59, 0}, {119, 59, 1}, {119, 59, 0}}, {2}},
    {"one past the last column", {{120, 55, 0}, {120, 55, 1}, {120, 55, 0}}, {}},
};

INSTANTIATE_TEST_SUITE_P(paths, click_rules, testing::ValuesIn(click_cases), label_name());

TEST_F(button_test, repeat_mode_clicks_on_every_held_step)
{
    button.initialize(hover, pressed, normal, nullptr, nullptr, nullptr, 0, 1);
    button.set_coords(100, 50);
    EXPECT_EQ(clicks({{110, 55, 0}, {110, 55, 1}, {110, 55, 1}, {110, 55, 1}, {110, 55, 0}}),
              (std::vector<int>{1, 2, 3}));
    // Held down while arriving counts too.
    EXPECT_EQ(clicks({{50, 55, 1}, {110, 55, 1}}), (std::vector<int>{1}));
}

TEST_F(button_test, display_state_follows_the_pointer)
{
    at(110, 55, 0);
    EXPECT_EQ(button.state, 0);
    at(110, 55, 1);
    EXPECT_EQ(button.state, 1);
    at(10, 10, 1);
    EXPECT_EQ(button.state, 2);
}

TEST_F(button_test, pixel_mask_hover_skips_white_and_click_skips_mask_colour)
{
    button.initialize(hover, pressed, normal, nullptr, nullptr, nullptr, 1, 0);
    button.set_coords(100, 50);
    // On the white column the button is idle, not hovered.
    at(105, 55, 0);
    EXPECT_EQ(button.state, 2);
    at(110, 55, 0);
    EXPECT_EQ(button.state, 0);
    // A release on a magenta pixel is no click; elsewhere it is.
    EXPECT_EQ(clicks({{115, 55, 0}, {115, 55, 1}, {115, 55, 0}}), std::vector<int>{});
    EXPECT_EQ(clicks({{110, 55, 0}, {110, 55, 1}, {110, 55, 0}}), std::vector<int>{2});
}

TEST_F(button_test, bounds_are_set_only_outside_pixel_mask_mode)
{
    button.set_bounds(-10, 40, -5, 20);
    EXPECT_EQ(clicks({{95, 48, 0}, {95, 48, 1}, {95, 48, 0}}), std::vector<int>{2});
    button.initialize(hover, pressed, normal, nullptr, nullptr, nullptr, 1, 0);
    button.set_bounds(-10, 40, -5, 20);
    EXPECT_EQ(button.bound_left, 0);
    EXPECT_EQ(button.bound_right, 20);
}

TEST_F(button_test, setters_clamp_to_a_byte)
{
    button.set_sound_volume(300);
    button.set_sound_panning(-4);
    button.set_masking_color(300, -1, 128);
    EXPECT_EQ(button.sound_volume, 255);
    EXPECT_EQ(button.sound_panning, 0);
    EXPECT_EQ(button.mask_color, makecol(255, 0, 128));
}

TEST_F(button_test, inactive_button_neither_clicks_nor_draws)
{
    button.set_active(0);
    EXPECT_EQ(clicks({{110, 55, 0}, {110, 55, 1}, {110, 55, 0}}), std::vector<int>{});
    BITMAP *target = create_bitmap(200, 100);
    clear_to_color(target, 0);
    button.draw_button(target);
    EXPECT_EQ(getpixel(target, 110, 55), 0);
    destroy_bitmap(target);
}

TEST_F(button_test, draws_the_image_of_its_state_and_the_bounding_box)
{
    BITMAP *target = create_bitmap(200, 100);
    struct drawn {
        int x, y, down, colour;
    };
    const drawn cases[] = {
        {10, 10, 0, makecol(200, 200, 0)},
        {110, 55, 0, makecol(0, 200, 0)},
        {110, 55, 1, makecol(0, 0, 200)},
    };
    for (const drawn &d : cases) {
        at(d.x, d.y, d.down);
        clear_to_color(target, 0);
        button.draw_button(target);
        EXPECT_EQ(getpixel(target, 102, 52), d.colour);
    }
    // The normal image's magenta column is see-through.
    at(10, 10, 0);
    clear_to_color(target, 0);
    button.draw_button(target);
    EXPECT_EQ(getpixel(target, 115, 55), 0);

    button.set_show_bounding_box(-1);
    button.draw_button(target);
    EXPECT_EQ(getpixel(target, 120, 60), makecol(255, 0, 0));
    EXPECT_EQ(getpixel(target, 100, 55), makecol(255, 0, 0));
    destroy_bitmap(target);
}

} // namespace
