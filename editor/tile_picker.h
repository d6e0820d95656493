// The paged tile palette, the current tool's preview, the page arrows and the 14 tool buttons.
#pragma once
#include <allegro.h>
#include "vek_button.h"

// Tools: 0 paints the selected plain tile; the others are the tool buttons' (9 is unused).
enum editor_tool {
    tool_tile = 0,
    tool_blocked_tile = 1,
    tool_start = 2,
    tool_exit = 3,
    tool_delete = 4,
    tool_blocked_still = 5,
    tool_blocked_crouch = 6,
    tool_blocked_up = 7,
    tool_teleport = 8,
    tool_build_up = 10,
    tool_build_still = 11,
    tool_build_crouch = 12,
    tool_build_break = 13,
    tool_tunnel_h = 14,
    tool_tunnel_v = 15,
};

const int palette_columns = 4;
const int palette_rows = 15;
const int palette_page_size = palette_columns * palette_rows;

struct tile_coords {
    int x, y;
};

extern int last_tile_position;  // tile objects minus 1: palette indices stay below it
extern int tile_page;           // first tile index of the page shown
extern int selected_tile;       // what tool 0 paints
extern tile_coords selected_tile_coords; // palette cell of the selection frame
extern int special_tile_selected; // the current tool
extern int teleport_delete;     // the teleport tool removes instead of placing

extern vek_button l_arrow, r_arrow;
extern vek_button b_blocked_tile, b_blocked_still, b_blocked_crouch, b_blocked_up, b_win_tile,
    b_start_tile, b_delete_tile, b_teleport, b_build_up, b_build_still, b_build_crouch,
    b_build_break, b_tunnel_h, b_tunnel_v;

void init_tile_picker();
void poll_tile_picker_buttons();
void process_tile_picker();
void show_tile_picker(BITMAP *target);

// The block code a special-block tool writes, or 0 for tools that write none.
int block_code_of_tool(int tool);
// The tool that writes a special block code, or -1 for none.
int tool_of_block_code(int code);
