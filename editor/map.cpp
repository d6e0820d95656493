// The editor's map in memory and how the field shows it.
#include "map.h"
#include <cstdio>
#include <cstring>
#include "datafiles.h"
#include "do_logic.h"

map the_map;

namespace {

// Object of d_build_tiles.dat drawn for each special code, -2 down to -11.
const int special_block_image[] = {9, 6, 2, 5, 14, 13, 15, 0, 17, 18};

const int first_special_code = build_up;
const int last_special_code = tunnel_v;

void label_cell(BITMAP *target, int cx, int cy, const char *text)
{
    textout_ex(target, font, text, cx * cell_size, cy * cell_size, makecol(255, 255, 255), 1);
}

} // namespace

bool cell_on_field(int x, int y)
{
    return x >= 0 && x < map_width && y >= 0 && y < map_height;
}

map::map()
{
    for (int x = 0; x < map_width; x++)
        for (int y = 0; y < map_height; y++) {
            block_layer[x][y] = empty_cell;
            trans_layer[x][y] = empty_cell;
        }
    start_x = start_y = 0;
    exit_x = map_width - 1;
    exit_y = map_height - 1;
    background = 0;
    x_velocity = y_velocity = 0;
    teleport_count = 0;
    std::strcpy(next_map, "end");
    file_name[0] = '\0';
    std::strcpy(name, "Enter Map Name");
}

map::~map()
{
    teleports.clear();
}

void map::flush()
{
    for (int x = 0; x < map_width; x++)
        for (int y = 0; y < map_height; y++) {
            block_layer[x][y] = empty_cell;
            trans_layer[x][y] = empty_cell;
        }
    start_x = start_y = 0;
    exit_x = map_width - 1;
    exit_y = map_height - 1;
    background = 0;
    x_velocity = y_velocity = 0;
    teleport_count = 0;
    std::strcpy(name, "Enter Map Name");
    teleports.clear();
}

void map::draw(BITMAP *target)
{
    // Only the backgrounds the panel can offer are drawn; anything else a file holds shows none.
    if (background > 0 && background <= bg_dat_end) {
        if (BITMAP *picture = datafile_bitmap(d_backgrounds, background))
            blit(picture, target, 0, 0, 0, 0, picture->w, picture->h);
    }

    for (int x = 0; x < map_width; x++)
        for (int y = 0; y < map_height; y++) {
            const int px = x * cell_size, py = y * cell_size;
            const int trans = trans_layer[x][y];
            if (trans >= 0 && draw_trans_layer) {
                if (BITMAP *tile = datafile_bitmap(d_tiles, trans))
                    masked_blit(tile, target, 0, 0, px, py, cell_size, cell_size);
                if (draw_blocked_indicator)
                    label_cell(target, x, y, "TT");
            }
            const int block = block_layer[x][y];
            if (block != empty_cell && draw_block_layer) {
                if (block < empty_cell) {
                    if (block <= first_special_code && block >= last_special_code) {
                        const int image = special_block_image[first_special_code - block];
                        if (BITMAP *tile = datafile_bitmap(d_build_tiles, image))
                            masked_blit(tile, target, 0, 0, px, py, cell_size, cell_size);
                    }
                } else {
                    if (BITMAP *tile = datafile_bitmap(d_tiles, block))
                        masked_blit(tile, target, 0, 0, px, py, cell_size, cell_size);
                    if (draw_blocked_indicator)
                        label_cell(target, x, y, "BT");
                }
            }
        }

    // A source and its destination carry the same number; ends off the field are left out.
    BITMAP *marker = datafile_bitmap(d_data, 26);
    for (std::size_t i = 0; i < teleports.size(); i++) {
        const teleport &t = teleports[i];
        char number[16];
        std::snprintf(number, sizeof(number), "%d", static_cast<int>(i));
        if (cell_on_field(t.src_x, t.src_y)) {
            if (marker)
                draw_sprite(target, marker, t.src_x * cell_size, t.src_y * cell_size);
            label_cell(target, t.src_x, t.src_y, number);
        }
        if (cell_on_field(t.dst_x, t.dst_y)) {
            if (marker)
                draw_sprite_v_flip(target, marker, t.dst_x * cell_size, t.dst_y * cell_size);
            label_cell(target, t.dst_x, t.dst_y, number);
        }
    }

    if (BITMAP *start = datafile_bitmap(d_data, 25))
        blit(start, target, 0, 0, start_x * cell_size, start_y * cell_size, cell_size, cell_size);
    if (BITMAP *exit = datafile_bitmap(d_data, 27))
        blit(exit, target, 0, 0, exit_x * cell_size, exit_y * cell_size, cell_size, cell_size);
}

map_file map::to_file() const
{
    return map_file_of(*this);
}

void map::from_file(const map_file &file)
{
    copy_map_file(file, *this);
    // The editor's count follows its list, which holds what the file really gave.
    teleport_count = static_cast<int>(teleports.size());
}
