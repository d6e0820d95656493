// The slot-list form driven tick by tick: scroll arrows and their bobbing, cursor, window slide, the Are You Sure? box, and the rows as drawn.
#include "game_save_fixture.h"

using namespace save_test;

namespace {

// The common part of a list screen's tick, as every screen runs it with its box closed.
void form_tick(slot_list &list)
{
    slot_advance_slide(list);
    slot_move_keys(list);
    slot_update_arrows(list);
    slot_frame_tick();
}

class slot_form_test : public ::testing::Test {
protected:
    void SetUp() override
    {
        reset_world();
        slot_arrows = slot_arrow();
        scroll_slots_up = scroll_slots_down = slot_scroll_amount = 0;
    }
    void TearDown() override
    {
        release_all_keys();
        scroll_slots_up = scroll_slots_down = slot_scroll_amount = 0;
    }

    void press(slot_list &list, int scancode) { press_key(list, form_tick, scancode); }
};

TEST_F(slot_form_test, arrows_rest_centred_at_455_and_100)
{
    const int arrow_w = system_bitmap(slot_arrow_image)->w;
    slot_arrows.tick = 4;
    slot_arrows.step = 2;
    slot_arrows.direction = -1;
    slot_arrows.init(0);
    EXPECT_EQ(slot_arrows.x, 320 - arrow_w / 2);
    EXPECT_EQ(slot_arrows.down_y, 455);
    EXPECT_EQ(slot_arrows.down_active_state(), -1);
    EXPECT_EQ(slot_arrows.up_active_state(), 0);
    slot_arrows.init(1);
    EXPECT_EQ(slot_arrows.up_y, 100);
    EXPECT_EQ(slot_arrows.up_active_state(), -1);
    // The bobbing runs on through a new init.
    EXPECT_EQ(slot_arrows.tick, 4);
    EXPECT_EQ(slot_arrows.step, 2);
    EXPECT_EQ(slot_arrows.direction, -1);

    slot_arrow other;
    other.init(7);
    EXPECT_EQ(other.x, 320 - arrow_w / 2);
    EXPECT_EQ(other.down_active, 0);
    EXPECT_EQ(other.up_active, 0);
    EXPECT_EQ(other.down_y, 0);
    EXPECT_EQ(other.up_y, 0);

    slot_arrows.deactivate(0);
    EXPECT_EQ(slot_arrows.down_active_state(), 0);
    EXPECT_EQ(slot_arrows.up_active_state(), -1);
    EXPECT_EQ(slot_arrows.down_y, 455);
    slot_arrows.deactivate(5);
    EXPECT_EQ(slot_arrows.up_active_state(), 0);
}

TEST_F(slot_form_test, arrows_bob_five_pixels_out_and_back_as_mirror_images)
{
    slot_arrows.init(0);
    slot_arrows.init(1);
    int lowest = 455, highest = 455;
    for (int t = 1; t <= 1000; t++) {
        slot_arrows.calculate();
        EXPECT_EQ(slot_arrows.down_y - 455, 100 - slot_arrows.up_y) << t;
        lowest = std::min(lowest, slot_arrows.down_y);
        highest = std::max(highest, slot_arrows.down_y);
        if (t == 10) {
            EXPECT_EQ(slot_arrows.down_y, 456);
        }
        if (t == 50) {
            EXPECT_EQ(slot_arrows.down_y, 460);
        }
        if (t == 100) {
            EXPECT_EQ(slot_arrows.down_y, 455);
        }
    }
    EXPECT_EQ(lowest, 455);
    EXPECT_EQ(highest, 460);
}

TEST_F(slot_form_test, hidden_arrows_do_not_bob)
{
    for (int t = 0; t < 30; t++)
        slot_arrows.calculate();
    EXPECT_EQ(slot_arrows.tick, 0);
    EXPECT_EQ(slot_arrows.step, 0);
    // One arrow alone moves, and counts one step per movement.
    slot_arrows.init(1);
    for (int t = 0; t < 20; t++)
        slot_arrows.calculate();
    EXPECT_EQ(slot_arrows.up_y, 98);
    EXPECT_EQ(slot_arrows.step, 2);
}

TEST_F(slot_form_test, arrows_show_where_rows_lie_beyond_the_window)
{
    slot_list four = start_slot_list(4, 0);
    form_tick(four);
    EXPECT_EQ(slot_arrows.down_active_state(), 0);
    EXPECT_EQ(slot_arrows.up_active_state(), 0);

    // Three saves and "New Save" are four rows too.
    slot_list three_and_extra = start_slot_list(3, -1);
    form_tick(three_and_extra);
    EXPECT_EQ(slot_arrows.down_active_state(), 0);

    slot_list five = start_slot_list(5, 0);
    form_tick(five);
    EXPECT_EQ(slot_arrows.down_active_state(), -1);
    EXPECT_EQ(slot_arrows.up_active_state(), 0);
    for (int i = 0; i < 4; i++)
        press(five, KEY_DOWN);
    for (int t = 0; t < 14; t++)
        form_tick(five);
    EXPECT_EQ(five.first_row, 1);
    EXPECT_EQ(slot_arrows.up_active_state(), -1);
    // The last row is in the window now.
    EXPECT_EQ(slot_arrows.down_active_state(), 0);
}

TEST_F(slot_form_test, an_arrow_already_shown_keeps_bobbing_undisturbed)
{
    slot_list list = start_slot_list(9, 0);
    for (int t = 0; t < 35; t++)
        form_tick(list);
    // Step 6 runs before the bobbing in every tick: the first tick showed the arrow.
    EXPECT_EQ(slot_arrows.down_y, 458);
}

TEST_F(slot_form_test, down_past_the_window_slides_the_rows_over_fourteen_steps)
{
    slot_list list = start_slot_list(6, 0);
    for (int i = 0; i < 3; i++)
        press(list, KEY_DOWN);
    ASSERT_EQ(list.cursor_row, 3);
    clear_sounds();

    key[KEY_DOWN] = -1;
    form_tick(list);
    // The sound plays at once, the selection moves only at the end of the slide.
    EXPECT_EQ(sounds_played(), std::vector<int>{6});
    EXPECT_EQ(scroll_slots_up, -1);
    EXPECT_EQ(slot_selected(list), 3);
    key[KEY_DOWN] = 0;
    key[KEY_UP] = -1;
    key[KEY_ENTER] = -1;
    int latch = 0;
    int ticks = 1;
    while (scroll_slots_up && ticks < 100) {
        EXPECT_EQ(slot_enter_pressed(latch), 0);
        EXPECT_EQ(slot_selected(list), 3);
        form_tick(list);
        ticks++;
    }
    EXPECT_EQ(ticks, 15); // the tick that started it, then 14 steps of 6 pixels
    EXPECT_EQ(slot_scroll_amount, 0);
    EXPECT_EQ(list.first_row, 1);
    EXPECT_EQ(list.cursor_row, 3);
    EXPECT_EQ(slot_selected(list), 4);
    // Up, held through the slide, did nothing during it.
    EXPECT_EQ(sounds_played(), std::vector<int>{6});
}

TEST_F(slot_form_test, up_above_the_window_slides_the_rows_down)
{
    slot_list list = start_slot_list(6, 0);
    list.first_row = 2;
    list.cursor_row = 0;
    key[KEY_UP] = -1;
    form_tick(list);
    EXPECT_EQ(scroll_slots_down, -1);
    EXPECT_EQ(slot_scroll_amount, 0);
    key[KEY_UP] = 0;
    int ticks = 0;
    while (scroll_slots_down && ticks < 100) {
        form_tick(list);
        ticks++;
    }
    EXPECT_EQ(ticks, 14);
    EXPECT_EQ(list.first_row, 1);
    EXPECT_EQ(list.cursor_row, 0);
}

TEST_F(slot_form_test, holding_a_key_moves_one_row_and_the_ends_do_not_wrap)
{
    slot_list list = start_slot_list(3, 0);
    key[KEY_DOWN] = -1;
    for (int t = 0; t < 30; t++)
        form_tick(list);
    EXPECT_EQ(list.cursor_row, 1);
    key[KEY_DOWN] = 0;
    form_tick(list);
    press(list, KEY_DOWN);
    EXPECT_EQ(list.cursor_row, 2);
    clear_sounds();
    press(list, KEY_DOWN);
    EXPECT_EQ(list.cursor_row, 2);
    EXPECT_TRUE(sounds_played().empty());

    press(list, KEY_UP);
    press(list, KEY_UP);
    EXPECT_EQ(list.cursor_row, 0);
    clear_sounds();
    press(list, KEY_UP);
    EXPECT_EQ(list.cursor_row, 0);
    EXPECT_EQ(list.first_row, 0);
    EXPECT_TRUE(sounds_played().empty());
}

TEST_F(slot_form_test, the_extra_row_is_the_last_the_cursor_reaches)
{
    slot_list list = start_slot_list(2, -1);
    for (int i = 0; i < 4; i++)
        press(list, KEY_DOWN);
    EXPECT_EQ(slot_selected(list), 2);
}

TEST_F(slot_form_test, with_no_list_rows_the_keys_do_nothing)
{
    for (int extra : {0, -1}) {
        slot_list list = start_slot_list(0, extra);
        clear_sounds();
        press(list, KEY_DOWN);
        press(list, KEY_UP);
        EXPECT_EQ(list.cursor_row, 0);
        EXPECT_TRUE(sounds_played().empty());
        EXPECT_EQ(slot_arrows.down_active_state(), 0);
    }
}

TEST_F(slot_form_test, the_players_own_up_and_down_keys_move_the_cursor_too)
{
    the_player.key_down = KEY_J;
    the_player.key_up = KEY_K;
    slot_list list = start_slot_list(3, 0);
    press(list, KEY_J);
    press(list, KEY_J);
    EXPECT_EQ(list.cursor_row, 2);
    press(list, KEY_K);
    EXPECT_EQ(list.cursor_row, 1);
    // A binding from a damaged save outside the key array is never down.
    the_player.key_down = 100000;
    the_player.key_up = -3;
    form_tick(list);
    EXPECT_EQ(list.cursor_row, 1);
}

TEST_F(slot_form_test, a_slide_left_running_by_a_closed_screen_is_not_carried_into_the_next)
{
    scroll_slots_up = -1;
    slot_scroll_amount = -42;
    slot_arrows.init(0);
    slot_arrows.init(1);
    slot_list list = start_slot_list(1, 0);
    EXPECT_EQ(slot_slide_running(), 0);
    EXPECT_EQ(slot_scroll_amount, 0);
    EXPECT_EQ(slot_arrows.down_active_state(), 0);
    EXPECT_EQ(slot_arrows.up_active_state(), 0);
    for (int t = 0; t < 20; t++)
        form_tick(list);
    EXPECT_EQ(list.first_row, 0);
}

TEST_F(slot_form_test, enter_acts_once_per_press_under_its_latch)
{
    int latch = 0;
    EXPECT_EQ(slot_enter_pressed(latch), 0);
    key[KEY_ENTER] = -1;
    EXPECT_EQ(slot_enter_pressed(latch), -1);
    EXPECT_EQ(latch, -1); // the press is used up: the screen need not set the latch itself
    EXPECT_EQ(slot_enter_pressed(latch), 0);
    key[KEY_ENTER] = 0;
    EXPECT_EQ(slot_enter_pressed(latch), 0);
    EXPECT_EQ(latch, 0);
    // The action key does not select on the list screens.
    key[the_player.key_action] = -1;
    EXPECT_EQ(slot_enter_pressed(latch), 0);
}

TEST_F(slot_form_test, the_box_toggles_with_left_and_right_and_enter_confirms_the_choice)
{
    slot_list list = start_slot_list(2, 0);
    list.box_open = -1;
    int enter = -1; // the press that opened the box
    key[KEY_ENTER] = -1;
    EXPECT_EQ(slot_box_tick(list, enter), slot_box_nothing);
    key[KEY_ENTER] = 0;
    EXPECT_EQ(slot_box_tick(list, enter), slot_box_nothing);
    EXPECT_EQ(list.box_choice, 0);

    // Either key toggles, once per press.
    key[KEY_RIGHT] = -1;
    for (int t = 0; t < 5; t++)
        slot_box_tick(list, enter);
    EXPECT_EQ(list.box_choice, 1);
    key[KEY_RIGHT] = 0;
    slot_box_tick(list, enter);
    key[KEY_RIGHT] = -1;
    slot_box_tick(list, enter);
    EXPECT_EQ(list.box_choice, 0);
    key[KEY_RIGHT] = 0;
    key[KEY_LEFT] = -1;
    slot_box_tick(list, enter);
    EXPECT_EQ(list.box_choice, 1);
    key[KEY_LEFT] = 0;
    // Up, Down and Escape do nothing in the box.
    key[KEY_DOWN] = key[KEY_UP] = key[KEY_ESC] = -1;
    EXPECT_EQ(slot_box_tick(list, enter), slot_box_nothing);
    key[KEY_DOWN] = key[KEY_UP] = key[KEY_ESC] = 0;
    EXPECT_EQ(list.cursor_row, 0);

    key[KEY_ENTER] = -1;
    EXPECT_EQ(slot_box_tick(list, enter), slot_box_yes);
    EXPECT_EQ(enter, -1);
    key[KEY_ENTER] = 0;
    slot_box_tick(list, enter);
    // "No" closes the box by itself.
    key[KEY_LEFT] = -1;
    slot_box_tick(list, enter);
    key[KEY_LEFT] = 0;
    key[KEY_ENTER] = -1;
    EXPECT_EQ(slot_box_tick(list, enter), slot_box_no);
    EXPECT_EQ(list.box_open, 0);
}

// ---- Drawing

// -1 when every pixel of image's columns [from_x, to_x) that is not the mask colour lies in bmp
// with the image's top-left corner at (x, y).
int image_shows_at(BITMAP *bmp, BITMAP *image, int x, int y, int from_x, int to_x)
{
    const int mask = bitmap_mask_color(image);
    int compared = 0;
    for (int iy = 0; iy < image->h; iy++)
        for (int ix = from_x; ix < to_x; ix++) {
            const int p = getpixel(image, ix, iy);
            if (p == mask || y + iy < 0 || y + iy >= bmp->h)
                continue;
            compared++;
            if (getpixel(bmp, x + ix, y + iy) != p)
                return 0;
        }
    return compared > 0 ? -1 : 0;
}

// The right end of a row image, where no text of these tests reaches.
int row_shows(int position, int lit, int offset = 0)
{
    BITMAP *row = system_bitmap(lit ? slot_row_lit_image : slot_row_image);
    return image_shows_at(buffer, row, slot_x(), slot_position_y(position) + offset, row->w - 80, row->w - 20);
}

int drawn_rows = 0;
void count_row(BITMAP *bmp, int index, int x, int y)
{
    drawn_rows++;
    char text[16];
    std::snprintf(text, sizeof(text), "%d", index);
    draw_slot_text(bmp, text, x, y);
}

void draw_form(const slot_list &list, const char *empty = "Nothing Here")
{
    drawn_rows = 0;
    draw_slot_screen_back(buffer, "Title", "Subtitle");
    draw_slot_rows(buffer, list, count_row, count_row, empty);
}

TEST_F(slot_form_test, rows_stand_in_the_four_positions_with_the_cursor_row_lit)
{
    slot_list list = start_slot_list(6, 0);
    list.first_row = 1;
    list.cursor_row = 2;
    draw_form(list);
    EXPECT_EQ(drawn_rows, 4);
    EXPECT_EQ(row_shows(0, 0), -1);
    EXPECT_EQ(row_shows(1, 0), -1);
    EXPECT_EQ(row_shows(2, 1), -1);
    EXPECT_EQ(row_shows(2, 0), 0);
    EXPECT_EQ(row_shows(3, 0), -1);
    EXPECT_EQ(slot_position_y(3), 370);
}

TEST_F(slot_form_test, the_leaving_row_disappears_when_a_slide_starts)
{
    slot_list list = start_slot_list(6, 0);
    list.cursor_row = 3;
    scroll_slots_up = -1;
    slot_scroll_amount = -30;
    draw_form(list);
    EXPECT_EQ(drawn_rows, 3);
    EXPECT_EQ(row_shows(0, 0, -30), 0);
    EXPECT_EQ(row_shows(1, 0, -30), -1);
    EXPECT_EQ(row_shows(3, 1, -30), -1);

    scroll_slots_up = 0;
    scroll_slots_down = -1;
    slot_scroll_amount = 30;
    list.first_row = 2;
    list.cursor_row = 0;
    draw_form(list);
    EXPECT_EQ(drawn_rows, 3);
    EXPECT_EQ(row_shows(0, 1, 30), -1);
    EXPECT_EQ(row_shows(2, 0, 30), -1);
    EXPECT_EQ(row_shows(3, 0, 30), 0);
}

TEST_F(slot_form_test, the_extra_row_follows_the_last_list_row_once_it_is_in_the_window)
{
    slot_list list = start_slot_list(4, -1);
    draw_form(list);
    EXPECT_EQ(drawn_rows, 4);
    list.first_row = 1;
    list.cursor_row = 3;
    draw_form(list);
    EXPECT_EQ(drawn_rows, 4);
    EXPECT_EQ(row_shows(3, 1), -1);

    slot_list empty = start_slot_list(0, -1);
    draw_form(empty);
    EXPECT_EQ(drawn_rows, 1);
    EXPECT_EQ(row_shows(0, 1), -1);
    EXPECT_EQ(row_shows(1, 0), 0);
}

TEST_F(slot_form_test, an_empty_list_shows_its_text_on_one_lit_row)
{
    slot_list list = start_slot_list(0, 0);
    draw_form(list, "Nothing Here");
    EXPECT_EQ(drawn_rows, 0);
    EXPECT_EQ(row_shows(0, 1), -1);
    EXPECT_EQ(row_shows(1, 0), 0);
    // The text stands white at the row text place.
    FONT *f = static_cast<FONT *>(d_system[slot_row_font].dat);
    int white = 0;
    for (int y = slot_text_y(0); y < slot_text_y(0) + text_height(f); y++)
        for (int x = slot_text_x(); x < slot_text_x() + text_length(f, "Nothing Here"); x++)
            if (getpixel(buffer, x, y) == makecol(255, 255, 255))
                white++;
    EXPECT_GT(white, 50);
}

TEST_F(slot_form_test, arrows_are_drawn_the_up_one_flipped)
{
    slot_arrows.init(0);
    slot_arrows.init(1);
    clear_to_color(buffer, makecol(0, 0, 0));
    draw_slot_arrows();
    BITMAP *arrow = system_bitmap(slot_arrow_image);
    EXPECT_EQ(image_shows_at(buffer, arrow, slot_arrows.x, 455, 0, arrow->w), -1);
    BITMAP *flipped = create_bitmap(arrow->w, arrow->h);
    clear_to_color(flipped, bitmap_mask_color(flipped));
    draw_sprite_v_flip(flipped, arrow, 0, 0);
    EXPECT_EQ(image_shows_at(buffer, flipped, slot_arrows.x, 100, 0, arrow->w), -1);
    destroy_bitmap(flipped);
}

TEST_F(slot_form_test, the_are_you_sure_box_lights_the_chosen_button)
{
    BITMAP *lit = system_bitmap(slot_button_lit_image);
    BITMAP *plain = system_bitmap(slot_button_image);
    const int yes_x = 320 - 75 - lit->w / 2;
    const int no_x = 320 + 75 - lit->w / 2;
    for (int choice : {0, 1}) {
        clear_to_color(buffer, makecol(0, 0, 0));
        draw_are_you_sure_box(buffer, choice);
        // Box colour inside, away from the title and the buttons.
        EXPECT_EQ(getpixel(buffer, 175, 235), makecol(141, 147, 197));
        EXPECT_EQ(getpixel(buffer, 465, 285), makecol(141, 147, 197));
        // A strip of each button's left edge, clear of its label.
        EXPECT_EQ(image_shows_at(buffer, choice ? lit : plain, yes_x, 240, 0, 6), -1) << choice;
        EXPECT_EQ(image_shows_at(buffer, choice ? plain : lit, no_x, 240, 0, 6), -1) << choice;
        // The frame stands outside the box.
        EXPECT_NE(getpixel(buffer, 169, 240), makecol(0, 0, 0));
        EXPECT_NE(getpixel(buffer, 470, 240), makecol(0, 0, 0));
    }
}

// ---- The titles of the five list screens on their plate

struct title_case {
    const char *screen;
    const char *title;
    const char *subtitle;
};

std::ostream &operator<<(std::ostream &out, const title_case &c) { return out << c.screen; }

const title_case title_cases[] = {
    {"level_sets", "Load Level Set", "Load Set From Which Slot?"},
    {"save", "Save Game", "Save To Which Slot?"},
    {"load", "Load Game", "Load From Which Slot?"},
    {"erase", "Erase Saved Game", "Erase Which Slot?"},
    {"level_selection", "Select Start Level", "Pick a level to start from"},
};

class slot_title_test : public ::testing::TestWithParam<title_case> {};

// Rows y0 <= y < y1 in which buffer differs from the picture `before`.
std::vector<int> rows_differing(BITMAP *before, int y0, int y1)
{
    std::vector<int> rows;
    for (int y = y0; y < y1; y++)
        for (int x = 0; x < buffer->w; x++)
            if (getpixel(before, x, y) != getpixel(buffer, x, y)) {
                rows.push_back(y);
                break;
            }
    return rows;
}

TEST_P(slot_title_test, the_title_stands_below_the_frame_s_border_and_above_the_subtitle)
{
    const title_case &c = GetParam();
    // The border round the screen: its light line is the lowest light row at the top of the
    // frame picture's middle column, and its dark outline lies just below that.
    BITMAP *frame = system_bitmap(slot_frame_picture);
    int border_bottom = -1;
    for (int y = 0; y < 30; y++) {
        const int p = getpixel(frame, slot_screen_w / 2, y);
        if (getr(p) + getg(p) + getb(p) > 400)
            border_bottom = y;
    }
    ASSERT_GE(border_bottom, 0) << "no light border at the top of the frame picture";

    BITMAP *bare = create_bitmap(buffer->w, buffer->h);
    draw_slot_screen_back(buffer, "", c.subtitle);
    blit(buffer, bare, 0, 0, 0, 0, buffer->w, buffer->h);
    draw_slot_screen_back(buffer, c.title, c.subtitle);
    const std::vector<int> title_rows = rows_differing(bare, 0, buffer->h);
    draw_slot_screen_back(buffer, "", "");
    blit(buffer, bare, 0, 0, 0, 0, buffer->w, buffer->h);
    draw_slot_screen_back(buffer, "", c.subtitle);
    const std::vector<int> subtitle_rows = rows_differing(bare, 0, buffer->h);
    destroy_bitmap(bare);

    ASSERT_FALSE(title_rows.empty());
    ASSERT_FALSE(subtitle_rows.empty());
    EXPECT_GT(title_rows.front(), border_bottom + 2) << c.title;
    EXPECT_LT(title_rows.back(), subtitle_rows.front()) << c.title;
}

INSTANTIATE_TEST_SUITE_P(screens, slot_title_test, ::testing::ValuesIn(title_cases),
                         [](const ::testing::TestParamInfo<title_case> &info) { return std::string(info.param.screen); });

} // namespace
