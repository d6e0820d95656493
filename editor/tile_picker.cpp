// The palette of plain tiles with its pages, the tool buttons and their labels.
#include "tile_picker.h"
#include <algorithm>
#include "datafiles.h"
#include "map_format.h"

int last_tile_position = 0;
int tile_page = 0;
int selected_tile = 0;
tile_coords selected_tile_coords = {0, 0};
int special_tile_selected = 0;
int teleport_delete = 0;

vek_button l_arrow, r_arrow;
vek_button b_blocked_tile, b_blocked_still, b_blocked_crouch, b_blocked_up, b_win_tile, b_start_tile,
    b_delete_tile, b_teleport, b_build_up, b_build_still, b_build_crouch, b_build_break, b_tunnel_h,
    b_tunnel_v;

namespace {

DATAFILE **const build_file = &d_build_tiles;
DATAFILE **const data_file = &d_data;

struct tool_button {
    vek_button *button;
    int x;                 // on the line y 520
    int tool;
    DATAFILE **file;       // where its image lies
    int image;
    int highlighted_image; // -1: the normal image serves every state
    int code;              // block code written, 0 for none
    bool masked_preview;
};

const int tool_line_y = 520;
const int tool_spacing = 50; // from one tool button to the next
const int tool_label_offset = 32;

// In drawing order (by x).
const tool_button tools[] = {
    {&b_blocked_tile, 0, tool_blocked_tile, build_file, 5, -1, blocked_tile, false},
    {&b_blocked_still, 50, tool_blocked_still, build_file, 14, -1, blocked_still, false},
    {&b_blocked_crouch, 100, tool_blocked_crouch, build_file, 13, -1, blocked_crouch, false},
    {&b_blocked_up, 150, tool_blocked_up, build_file, 15, -1, blocked_up, false},
    {&b_win_tile, 200, tool_exit, data_file, 27, -1, 0, false},
    {&b_start_tile, 250, tool_start, data_file, 25, -1, 0, false},
    {&b_delete_tile, 300, tool_delete, data_file, 1, 2, 0, false},
    {&b_teleport, 350, tool_teleport, data_file, 26, -1, 0, true},
    {&b_build_up, 400, tool_build_up, build_file, 9, -1, build_up, true},
    {&b_build_still, 450, tool_build_still, build_file, 6, -1, build_still, true},
    {&b_build_crouch, 500, tool_build_crouch, build_file, 2, -1, build_crouch, true},
    {&b_build_break, 550, tool_build_break, build_file, 0, -1, build_break, true},
    {&b_tunnel_h, 600, tool_tunnel_h, build_file, 17, -1, tunnel_h, true},
    {&b_tunnel_v, 650, tool_tunnel_v, build_file, 18, -1, tunnel_v, true},
};

// Indices into `tools` in the order their clicks are served.
const int click_order[] = {0, 4, 5, 6, 1, 3, 2, 7, 8, 9, 10, 11, 12, 13};

const tool_button *find_tool(int tool)
{
    for (const tool_button &t : tools)
        if (t.tool == tool)
            return &t;
    return nullptr;
}

void select_no_tool()
{
    special_tile_selected = tool_tile;
    selected_tile = 0;
}

void click_tool(const tool_button &t)
{
    if (t.tool == tool_teleport) {
        // Three ways round: place, remove, off.
        if (special_tile_selected != tool_teleport) {
            special_tile_selected = tool_teleport;
            teleport_delete = 0;
        } else if (!teleport_delete) {
            teleport_delete = -1;
        } else {
            select_no_tool();
        }
        return;
    }
    if (special_tile_selected == t.tool)
        select_no_tool();
    else
        special_tile_selected = t.tool;
}

const char *tool_label(const tool_button &t)
{
    if (special_tile_selected != t.tool)
        return "--";
    if (t.tool == tool_teleport && teleport_delete)
        return "Del";
    return "On";
}

} // namespace

int block_code_of_tool(int tool)
{
    const tool_button *t = find_tool(tool);
    return t ? t->code : 0;
}

int tool_of_block_code(int code)
{
    for (const tool_button &t : tools)
        if (t.code != 0 && t.code == code)
            return t.tool;
    return -1;
}

void init_tile_picker()
{
    last_tile_position = datafile_count(d_tiles) - 1;

    BITMAP *left = datafile_bitmap(d_data, 5), *left_lit = datafile_bitmap(d_data, 6);
    BITMAP *right = datafile_bitmap(d_data, 21), *right_lit = datafile_bitmap(d_data, 22);
    l_arrow.initialize(left_lit, left_lit, left, nullptr, nullptr, nullptr, 0, 0);
    l_arrow.set_coords(0, 480);
    r_arrow.initialize(right_lit, right_lit, right, nullptr, nullptr, nullptr, 0, 0);
    r_arrow.set_coords(64, 480);

    for (const tool_button &t : tools) {
        BITMAP *image = datafile_bitmap(*t.file, t.image);
        BITMAP *lit = t.highlighted_image >= 0 ? datafile_bitmap(*t.file, t.highlighted_image) : image;
        t.button->initialize(lit, lit, image, nullptr, nullptr, nullptr, 0, 0);
        t.button->set_coords(t.x, tool_line_y);
    }
}

void poll_tile_picker_buttons()
{
    l_arrow.poll();
    r_arrow.poll();
    for (const tool_button &t : tools)
        t.button->poll();
}

void process_tile_picker()
{
    if (r_arrow.is_clicked()) {
        // The next page exists only when the file holds every index of this one.
        if (datafile_count(d_tiles) >= tile_page + palette_page_size)
            tile_page += palette_page_size;
    }
    if (l_arrow.is_clicked()) {
        if (tile_page != 0)
            tile_page -= palette_page_size;
    }

    if ((mouse_b & 1) && mouse_x >= 0 && mouse_x < palette_columns * 32 && mouse_y >= 0 &&
        mouse_y < palette_rows * 32) {
        const int column = mouse_x / 32, row = mouse_y / 32;
        const int index = tile_page + palette_columns * row + column;
        if (index < last_tile_position) {
            special_tile_selected = tool_tile;
            selected_tile = index;
            selected_tile_coords = {column, row};
        }
    }

    for (int i : click_order)
        if (tools[i].button->is_clicked())
            click_tool(tools[i]);
}

void show_tile_picker(BITMAP *target)
{
    for (int i = 0; i < palette_page_size; i++) {
        const int index = tile_page + i;
        if (index >= last_tile_position)
            break;
        if (BITMAP *tile = datafile_bitmap(d_tiles, index))
            blit(tile, target, 0, 0, 32 * (i % palette_columns), 32 * (i / palette_columns), 32, 32);
    }

    if (special_tile_selected == tool_tile) {
        const int c = selected_tile_coords.x, r = selected_tile_coords.y;
        const int red = makecol(255, 0, 0);
        rect(target, 32 * c, 32 * r, 32 * c + 32, 32 * r + 32, red);
        rect(target, 32 * c + 1, 32 * r + 1, 32 * c + 31, 32 * r + 31, red);
        rect(target, 32 * c + 2, 32 * r + 2, 32 * c + 30, 32 * r + 30, red);
    }

    l_arrow.draw_button(target);
    if (special_tile_selected == tool_tile) {
        if (BITMAP *tile = datafile_bitmap(d_tiles, selected_tile))
            blit(tile, target, 0, 0, 32, 480, 32, 32);
    } else if (const tool_button *t = find_tool(special_tile_selected)) {
        if (BITMAP *image = datafile_bitmap(*t->file, t->image)) {
            if (t->masked_preview)
                masked_blit(image, target, 0, 0, 32, 480, 32, 32);
            else
                blit(image, target, 0, 0, 32, 480, 32, 32);
        }
    }
    r_arrow.draw_button(target);

    for (const tool_button &t : tools) {
        t.button->draw_button(target);
        // A label wider than the gap beside its button ("Del") ends where the next button begins,
        // over its own button's free corner, so that the next button never covers it.
        const char *label = tool_label(t);
        const int x = std::min(t.x + tool_label_offset, t.x + tool_spacing - text_length(font, label));
        textout_ex(target, font, label, x, tool_line_y, makecol(0, 0, 0), -1);
    }
}
