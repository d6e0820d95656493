// The map file format shared by the game and the editor: cell codes, the teleport record and the file's contents.
#pragma once
#include <vector>

const int map_width = 20;
const int map_height = 15;
const int cell_size = 32;

// Special codes of the block layer; -1 is empty, 0 and above name a plain tile.
enum block_code {
    empty_cell = -1,
    build_up = -2,
    build_still = -3,
    build_crouch = -4,
    blocked_tile = -5,
    blocked_still = -6,
    blocked_crouch = -7,
    blocked_up = -8,
    build_break = -9,
    tunnel_h = -10,
    tunnel_v = -11,
};

// A one-way teleport from the source cell to the destination cell.
struct teleport {
    int src_x = 0;
    int src_y = 0;
    int dst_x = 0;
    int dst_y = 0;
};
