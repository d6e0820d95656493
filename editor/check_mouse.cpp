// The field under the mouse: painting, special blocks, start, exit, teleports and the pick-up.
#include "check_mouse.h"
#include <allegro.h>
#include "buttons.h"
#include "do_drawing.h"
#include "do_logic.h"
#include "map.h"
#include "tile_picker.h"
#include "timer.h"

namespace {

const int field_left = 160;

int (&edited_layer())[map_width][map_height]
{
    return trans_layer_active ? the_map.trans_layer : the_map.block_layer;
}

bool is_teleport_source(int cx, int cy)
{
    for (const teleport &t : the_map.teleports)
        if (t.src_x == cx && t.src_y == cy)
            return true;
    return false;
}

void remove_teleport_at(int cx, int cy)
{
    if (the_map.teleports.empty())
        return;
    for (auto it = the_map.teleports.begin(); it != the_map.teleports.end(); ++it) {
        if (it->src_x == cx && it->src_y == cy) {
            the_map.teleports.erase(it);
            the_map.teleport_count--;
            return;
        }
    }
}

void place_or_remove_teleport(int cx, int cy)
{
    if (the_map.block_layer[cx][cy] != empty_cell)
        return;
    if (teleport_delete) {
        remove_teleport_at(cx, cy);
        return;
    }
    if (is_teleport_source(cx, cy))
        return;
    begin_teleport(cx, cy);
    while (!teleport_wait_tick()) {
        do_drawing(1);
        pause_after_frame();
    }
    finish_teleport();
}

// Start and exit never hold a block; their trans tiles stay.
void clear_start_and_exit()
{
    if (cell_on_field(the_map.start_x, the_map.start_y))
        the_map.block_layer[the_map.start_x][the_map.start_y] = empty_cell;
    if (cell_on_field(the_map.exit_x, the_map.exit_y))
        the_map.block_layer[the_map.exit_x][the_map.exit_y] = empty_cell;
}

} // namespace

bool pointer_field_cell(int &cx, int &cy)
{
    if (mouse_x <= field_left || mouse_y >= map_height * cell_size || mouse_y < 0)
        return false;
    cx = (mouse_x - field_left) / cell_size;
    cy = mouse_y / cell_size;
    return cell_on_field(cx, cy);
}

void use_tool_on_cell(int cx, int cy)
{
    switch (special_tile_selected) {
    case tool_tile:
        edited_layer()[cx][cy] = selected_tile;
        break;
    case tool_delete:
        edited_layer()[cx][cy] = empty_cell;
        break;
    case tool_start:
        if (the_map.block_layer[cx][cy] == empty_cell) {
            the_map.start_x = cx;
            the_map.start_y = cy;
        }
        break;
    case tool_exit:
        if (the_map.block_layer[cx][cy] == empty_cell) {
            the_map.exit_x = cx;
            the_map.exit_y = cy;
        }
        break;
    case tool_teleport:
        place_or_remove_teleport(cx, cy);
        break;
    default:
        // Special blocks always go into the block layer, whichever layer is edited.
        if (int code = block_code_of_tool(special_tile_selected))
            the_map.block_layer[cx][cy] = code;
        break;
    }
    clear_start_and_exit();
}

void pick_from_cell(int cx, int cy)
{
    const int block = the_map.block_layer[cx][cy];
    const int picked = tool_of_block_code(block);
    if (picked >= 0 && block != tunnel_h && block != tunnel_v) {
        special_tile_selected = picked;
    } else if (cx == the_map.start_x && cy == the_map.start_y) {
        special_tile_selected = tool_start;
    } else if (cx == the_map.exit_x && cy == the_map.exit_y) {
        special_tile_selected = tool_exit;
    } else if (block == empty_cell && !trans_layer_active) {
        special_tile_selected = tool_delete;
    } else if (block == tunnel_h || block == tunnel_v) {
        special_tile_selected = picked;
    } else if (!trans_layer_active) {
        special_tile_selected = tool_tile;
        selected_tile = block;
    } else {
        const int trans = the_map.trans_layer[cx][cy];
        if (trans >= 0) {
            special_tile_selected = tool_tile;
            selected_tile = trans;
        } else {
            special_tile_selected = tool_delete;
        }
    }
}

void begin_teleport(int cx, int cy)
{
    teleport t;
    t.src_x = cx;
    t.src_y = cy;
    the_map.teleports.push_back(t);
}

bool teleport_wait_tick()
{
    speed_counter = 0;
    int cx, cy;
    return (mouse_b & 2) && pointer_field_cell(cx, cy);
}

void finish_teleport()
{
    int cx = 0, cy = 0;
    pointer_field_cell(cx, cy);
    teleport &t = the_map.teleports.back();
    t.dst_x = cx;
    t.dst_y = cy;
    the_map.teleport_count++;
    speed_counter = 0;
}

void check_mouse()
{
    process_tile_picker();
    check_buttons();

    int cx, cy;
    if (!pointer_field_cell(cx, cy))
        return;
    if (mouse_b & 1)
        use_tool_on_cell(cx, cy);
    // The pointer may have moved while a teleport's destination was awaited: pick from where it is.
    if ((mouse_b & 2) && pointer_field_cell(cx, cy))
        pick_from_cell(cx, cy);
}
