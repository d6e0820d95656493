// Mouse editing: palette pages and choice, painting and erasing both layers, special blocks, start
// and exit, teleports placed, removed and renumbered, and the right-button pick-up.
#include <chrono>
#include <thread>
#include "editor_fixture.h"
#include "check_mouse.h"

namespace editor_test {
namespace {

const int tool_y = 536; // middle of the tool buttons' line
int tool_button_x(int left) { return left + 16; }

// Tool button x positions.
const int blocked_tile_x = 0, exit_x = 200, start_x = 250, delete_x = 300, teleport_x = 350;

class editing : public editor_screen {
protected:
    void choose_tool(int left) { click_at(tool_button_x(left), tool_y); }
    // Palette cell (c, r) clicked.
    void choose_palette(int c, int r) { click_at(32 * c + 16, 32 * r + 16); }
    void next_page() { click_at(80, 496); }
    void previous_page() { click_at(16, 496); }

    // Left click with the teleport tool on `src`; the right button goes down over `dst` a little
    // later, as an author's second click would, while the editor waits.
    void place_teleport(int sx, int sy, int dx, int dy)
    {
        pointer(cell_x(sx), cell_y(sy), 1);
        std::thread author([=] {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            mouse_x = cell_x(dx);
            mouse_y = cell_y(dy);
            mouse_b = 2;
        });
        step();
        author.join();
        pointer(cell_x(dx), cell_y(dy), 0);
        step();
    }
};

TEST_F(editing, palette_tile_paints_the_block_layer_and_with_l_the_trans_layer)
{
    choose_palette(1, 2);
    EXPECT_EQ(selected_tile, 9);
    EXPECT_EQ(special_tile_selected, 0);
    press_cell(5, 5, 1);
    EXPECT_EQ(the_map.block_layer[5][5], 9);
    EXPECT_EQ(the_map.trans_layer[5][5], -1);

    key[KEY_L] = 1;
    step();
    key[KEY_L] = 0;
    choose_palette(3, 0);
    press_cell(6, 5, 1);
    EXPECT_EQ(the_map.trans_layer[6][5], 3);
    EXPECT_EQ(the_map.block_layer[6][5], -1);
}

TEST_F(editing, holding_the_button_paints_while_dragging)
{
    choose_palette(2, 0);
    for (int cx = 3; cx <= 7; cx++) {
        pointer(cell_x(cx), cell_y(9), 1);
        step();
    }
    pointer(cell_x(7), cell_y(9), 0);
    step();
    for (int cx = 3; cx <= 7; cx++)
        EXPECT_EQ(the_map.block_layer[cx][9], 2) << cx;
}

TEST_F(editing, field_starts_right_of_x_160)
{
    choose_palette(2, 0);
    pointer(160, 100, 1);
    step();
    EXPECT_EQ(the_map.block_layer[0][3], -1);
    pointer(161, 100, 1);
    step();
    pointer(161, 100, 0);
    step();
    EXPECT_EQ(the_map.block_layer[0][3], 2);
}

TEST_F(editing, delete_tool_erases_the_edited_layer_only)
{
    the_map.block_layer[4][4] = 7;
    the_map.trans_layer[4][4] = 8;
    choose_tool(delete_x);
    EXPECT_EQ(special_tile_selected, 4);
    press_cell(4, 4, 1);
    EXPECT_EQ(the_map.block_layer[4][4], -1);
    EXPECT_EQ(the_map.trans_layer[4][4], 8);
    trans_layer_active = -1;
    press_cell(4, 4, 1);
    EXPECT_EQ(the_map.trans_layer[4][4], -1);
}

struct special_case {
    int button_x;
    int tool;
    int code;
};

class special_blocks : public editing, public testing::WithParamInterface<special_case> {};

TEST_P(special_blocks, go_into_the_block_layer_whatever_layer_is_edited)
{
    const special_case &c = GetParam();
    choose_tool(c.button_x);
    EXPECT_EQ(special_tile_selected, c.tool);
    draw_frame(0);
    EXPECT_TRUE(shows_text(buffer, c.button_x + 32, 520, "On", makecol(0, 0, 0), -1));
    trans_layer_active = -1;
    the_map.trans_layer[8][8] = 12;
    press_cell(8, 8, 1);
    EXPECT_EQ(the_map.block_layer[8][8], c.code);
    EXPECT_EQ(the_map.trans_layer[8][8], 12);
    // The right button on the block picks its tool back up from any other tool.
    choose_palette(0, 0);
    press_cell(8, 8, 2);
    EXPECT_EQ(special_tile_selected, c.tool);
    // A second click on the selected tool's button turns it off.
    choose_tool(c.button_x);
    EXPECT_EQ(special_tile_selected, 0);
    EXPECT_EQ(selected_tile, 0);
    draw_frame(0);
    EXPECT_TRUE(shows_text(buffer, c.button_x + 32, 520, "--", makecol(0, 0, 0), -1));
}

const special_case special_cases[] = {
    {0, 1, blocked_tile},   {50, 5, blocked_still}, {100, 6, blocked_crouch}, {150, 7, blocked_up},
    {400, 10, build_up},    {450, 11, build_still}, {500, 12, build_crouch},  {550, 13, build_break},
    {600, 14, tunnel_h},    {650, 15, tunnel_v},
};

INSTANTIATE_TEST_SUITE_P(all, special_blocks, testing::ValuesIn(special_cases),
                         [](const testing::TestParamInfo<special_case> &info) {
                             return "code_minus_" + std::to_string(-info.param.code);
                         });

TEST_F(editing, start_and_exit_move_only_onto_empty_cells_and_never_hold_blocks)
{
    the_map.block_layer[3][3] = 5;
    choose_tool(start_x);
    press_cell(3, 3, 1);
    EXPECT_EQ(the_map.start_x, 0);
    EXPECT_EQ(the_map.start_y, 0);
    press_cell(6, 2, 1);
    EXPECT_EQ(the_map.start_x, 6);
    EXPECT_EQ(the_map.start_y, 2);
    // Onto the exit cell too.
    press_cell(19, 14, 1);
    EXPECT_EQ(the_map.start_x, 19);
    EXPECT_EQ(the_map.start_y, 14);

    choose_tool(exit_x);
    press_cell(10, 10, 1);
    EXPECT_EQ(the_map.exit_x, 10);
    EXPECT_EQ(the_map.exit_y, 10);

    // A plain tile painted on the start cell does not stay in the block layer; on the trans layer it does.
    choose_palette(1, 1);
    press_cell(19, 14, 1);
    EXPECT_EQ(the_map.block_layer[19][14], -1);
    trans_layer_active = -1;
    press_cell(19, 14, 1);
    EXPECT_EQ(the_map.trans_layer[19][14], 5);
    // A block that a file put on the exit goes at the next left-button action anywhere.
    the_map.block_layer[10][10] = 3;
    press_cell(1, 1, 1);
    EXPECT_EQ(the_map.block_layer[10][10], -1);
}

// Each label stands whole in its tool's space, which ends where the next tool's button begins: "On"
// and "--" beside the button, the wider "Del" moved left just so far that it ends there.
TEST_F(editing, teleport_button_cycles_placing_removing_off)
{
    const char *labels[] = {"On", "Del", "--"};
    const int label_x[] = {teleport_x + 32, teleport_x + 26, teleport_x + 32};
    const int tools[] = {8, 8, 0};
    const int deleting[] = {0, -1, -1};
    const int next_tool_x = teleport_x + 50;
    for (int i = 0; i < 3; i++) {
        choose_tool(teleport_x);
        EXPECT_EQ(special_tile_selected, tools[i]);
        EXPECT_EQ(teleport_delete, deleting[i]);
        draw_frame(0);
        EXPECT_TRUE(shows_text(buffer, label_x[i], 520, labels[i], makecol(0, 0, 0), -1)) << labels[i];
        EXPECT_LE(label_x[i] + text_length(font, labels[i]), next_tool_x) << labels[i];
        // The next tool's button is drawn whole beside it.
        EXPECT_EQ(getpixel(buffer, next_tool_x + 1, 521), object_colour(f_build, 9, 0)) << labels[i];
    }
}

TEST_F(editing, teleport_is_placed_with_a_left_then_a_right_click)
{
    choose_tool(teleport_x);
    place_teleport(4, 5, 12, 7);
    ASSERT_EQ(the_map.teleports.size(), 1u);
    EXPECT_EQ(the_map.teleports[0].src_x, 4);
    EXPECT_EQ(the_map.teleports[0].src_y, 5);
    EXPECT_EQ(the_map.teleports[0].dst_x, 12);
    EXPECT_EQ(the_map.teleports[0].dst_y, 7);
    EXPECT_EQ(the_map.teleport_count, 1);
    EXPECT_EQ(speed_counter.load(), 0);
    // The right button also picked from the empty destination cell: the delete tool.
    EXPECT_EQ(special_tile_selected, 4);
}

TEST_F(editing, teleport_wait_shows_the_prompt_and_the_unfinished_teleport)
{
    the_map.start_x = 5; // so that nothing covers the top-left cell
    choose_tool(teleport_x);
    place_teleport(4, 5, 12, 7);
    // The frames drawn while waiting are on the screen: prompt, number at the source, and the
    // flipped marker at (0,0), where the destination stood until the right button chose one.
    EXPECT_TRUE(shows_white_text(screen, 160, 470, "Use RIGHT mouse button to select the teleport desitnation"));
    EXPECT_EQ(getpixel(screen, 160 + 4 * 32 + 20, 5 * 32 + 4), object_colour(f_data, 26, 0));
    EXPECT_TRUE(shows_white_text(screen, 160 + 4 * 32, 5 * 32, "0"));
    EXPECT_EQ(getpixel(screen, 160 + 20, 4), object_colour(f_data, 26, 1));
}

TEST_F(editing, teleport_is_refused_on_blocks_and_existing_sources)
{
    the_map.teleports.push_back({4, 5, 12, 7});
    the_map.teleport_count = 1;
    the_map.block_layer[9][9] = 2;
    choose_tool(teleport_x);
    // Both buttons down: a teleport wrongly begun would end at once and show in the list.
    pointer(cell_x(4), cell_y(5), 3);
    step();
    pointer(0, 0, 0);
    step();
    choose_tool(teleport_x); // the right button picked the delete tool
    ASSERT_EQ(special_tile_selected, 8);
    pointer(cell_x(9), cell_y(9), 3);
    step();
    pointer(0, 0, 0);
    step();
    EXPECT_EQ(the_map.teleports.size(), 1u);
    EXPECT_EQ(the_map.teleport_count, 1);
}

TEST_F(editing, removing_takes_the_teleport_of_a_source_and_renumbers_the_rest)
{
    the_map.start_x = 10;
    the_map.teleports = {{1, 1, 2, 2}, {3, 3, 4, 4}, {5, 5, 6, 6}};
    the_map.teleport_count = 3;
    choose_tool(teleport_x);
    choose_tool(teleport_x);
    ASSERT_EQ(teleport_delete, -1);
    // A destination cell removes nothing.
    press_cell(2, 2, 1);
    EXPECT_EQ(the_map.teleports.size(), 3u);
    press_cell(1, 1, 1);
    ASSERT_EQ(the_map.teleports.size(), 2u);
    EXPECT_EQ(the_map.teleport_count, 2);
    EXPECT_EQ(the_map.teleports[0].src_x, 3);
    draw_frame(0);
    EXPECT_TRUE(shows_white_text(buffer, 160 + 3 * 32, 3 * 32, "0"));
    EXPECT_TRUE(shows_white_text(buffer, 160 + 4 * 32, 4 * 32, "0"));
    EXPECT_TRUE(shows_white_text(buffer, 160 + 5 * 32, 5 * 32, "1"));
    EXPECT_TRUE(shows_white_text(buffer, 160 + 6 * 32, 6 * 32, "1"));
    EXPECT_EQ(field_pixel(1, 1, 20, 4), makecol(255, 100, 100));

    // Placing again on a freed source replaces it at the end of the list.
    choose_tool(teleport_x); // off
    choose_tool(teleport_x); // placing
    place_teleport(1, 1, 8, 8);
    ASSERT_EQ(the_map.teleports.size(), 3u);
    EXPECT_EQ(the_map.teleports[2].src_x, 1);
    EXPECT_EQ(the_map.teleports[2].dst_x, 8);
    EXPECT_EQ(the_map.teleport_count, 3);
}

struct pick_case {
    const char *label;
    int block, trans;
    bool trans_edited;
    int cx, cy; // start (0,0) and exit (19,14) are the defaults
    int want_tool, want_tile;
};

class pick_up : public editing, public testing::WithParamInterface<pick_case> {};

TEST_P(pick_up, right_button_takes_the_first_rule_that_applies)
{
    const pick_case &c = GetParam();
    the_map.block_layer[c.cx][c.cy] = c.block;
    the_map.trans_layer[c.cx][c.cy] = c.trans;
    trans_layer_active = c.trans_edited ? -1 : 0;
    special_tile_selected = 13;
    selected_tile = 33;
    press_cell(c.cx, c.cy, 2);
    EXPECT_EQ(special_tile_selected, c.want_tool) << c.label;
    EXPECT_EQ(selected_tile, c.want_tile) << c.label;
}

const pick_case pick_cases[] = {
    {"restriction block", blocked_tile, -1, false, 3, 3, 1, 33},
    {"up block over the start", build_up, -1, false, 0, 0, 10, 33},
    {"start cell", -1, 4, true, 0, 0, 2, 33},
    {"exit cell", -1, -1, false, 19, 14, 3, 33},
    {"empty, block layer edited", -1, 6, false, 3, 3, 4, 33},
    {"tunnel", tunnel_v, -1, false, 3, 3, 15, 33},
    {"tunnel, trans edited", tunnel_h, 2, true, 3, 3, 14, 33},
    {"plain block, block layer edited", 17, 6, false, 3, 3, 0, 17},
    {"plain block, trans edited", 17, 6, true, 3, 3, 0, 6},
    {"empty, trans edited, trans tile 7", -1, 7, true, 3, 3, 0, 7},
    {"empty, trans edited, no trans tile", -1, -1, true, 3, 3, 4, 33},
};

INSTANTIATE_TEST_SUITE_P(rules, pick_up, testing::ValuesIn(pick_cases), label_name());

TEST_F(editing, right_button_leaves_page_frame_and_teleport_mode)
{
    choose_tool(teleport_x);
    choose_tool(teleport_x);
    next_page();
    press_cell(3, 3, 2);
    EXPECT_EQ(special_tile_selected, 4);
    EXPECT_EQ(teleport_delete, -1);
    EXPECT_EQ(tile_page, 60); // 61 tiles: indices 0 to 59 all exist
}

// Pages need their own tile files: the arrows count the file's objects.
class palette_pages : public editing {
protected:
    void use_tiles(int count)
    {
        other = new fake_datafile(f_tiles, count, tile_size);
        d_tiles = other->get();
        init_tile_picker();
    }
    void TearDown() override
    {
        d_tiles = tiles->get();
        init_tile_picker();
        delete other;
    }
    fake_datafile *other = nullptr;
};

TEST_F(palette_pages, with_121_tiles_the_pages_are_0_60_and_an_empty_120)
{
    use_tiles(121);
    EXPECT_EQ(last_tile_position, 120);
    next_page();
    EXPECT_EQ(tile_page, 60);
    next_page();
    EXPECT_EQ(tile_page, 120);
    next_page();
    EXPECT_EQ(tile_page, 120);
    draw_frame(0);
    EXPECT_EQ(getpixel(buffer, 16, 4), object_colour(f_data, 0, 0)); // the backdrop shows: no tile
    // Clicking there selects nothing.
    choose_palette(0, 0);
    EXPECT_EQ(selected_tile, 0);
    previous_page();
    EXPECT_EQ(tile_page, 60);
}

TEST_F(palette_pages, with_100_tiles_the_arrow_stops_at_60_showing_60_to_98)
{
    use_tiles(100);
    next_page();
    next_page();
    EXPECT_EQ(tile_page, 60);
    draw_frame(0);
    // Index 98 is palette cell (2, 9) of page 60; 99 (the last object) is never offered.
    EXPECT_EQ(getpixel(buffer, 2 * 32 + 16, 9 * 32 + 4), object_colour(f_tiles, 98, 0));
    EXPECT_NE(getpixel(buffer, 3 * 32 + 16, 9 * 32 + 4), object_colour(f_tiles, 99, 0));
    choose_palette(3, 9);
    EXPECT_EQ(selected_tile, 0);
}

TEST_F(palette_pages, selection_frame_stays_on_its_cell_across_pages)
{
    use_tiles(121);
    previous_page();
    EXPECT_EQ(tile_page, 0);
    next_page();
    choose_palette(1, 2);
    EXPECT_EQ(selected_tile, 69);
    previous_page();
    draw_frame(0);
    const int red = makecol(255, 0, 0);
    EXPECT_EQ(getpixel(buffer, 32, 64 + 10), red);
    EXPECT_EQ(getpixel(buffer, 34, 64 + 10), red);
    EXPECT_EQ(getpixel(buffer, 48, 64 + 20), object_colour(f_tiles, 9, 1));
    // The preview shows the selected tile 69, not the one under the frame.
    EXPECT_EQ(getpixel(buffer, 48, 484), object_colour(f_tiles, 69, 0));
}

TEST_F(palette_pages, dragging_over_the_palette_changes_the_choice)
{
    use_tiles(121);
    pointer(16, 16, 1);
    step();
    pointer(48, 16, 1);
    step();
    pointer(48, 48, 1);
    step();
    pointer(48, 48, 0);
    step();
    EXPECT_EQ(selected_tile, 5);
    EXPECT_EQ(selected_tile_coords.x, 1);
    EXPECT_EQ(selected_tile_coords.y, 1);
}

TEST_F(editing, preview_shows_the_current_tool)
{
    choose_tool(blocked_tile_x);
    draw_frame(0);
    EXPECT_EQ(getpixel(buffer, 48, 484), object_colour(f_build, 5, 0));
    choose_tool(start_x);
    draw_frame(0);
    EXPECT_EQ(getpixel(buffer, 48, 484), object_colour(f_data, 25, 0));
    choose_tool(delete_x);
    draw_frame(0);
    EXPECT_EQ(getpixel(buffer, 48, 484), object_colour(f_data, 1, 0));
}

} // namespace
} // namespace editor_test
