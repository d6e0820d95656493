// The current map: emptying, loading and restarting it, its tick (exit, block animations, teleports,
// scrolling) and its frame (background, both layers, special blocks, exit, teleports).
#include "map.h"
#include <cstdio>
#include <cstring>
#include "building_block.h"
#include "datafiles.h"
#include "game_quit.h"
#include "level_set_screen.h"
#include "map_file.h"
#include "player.h"
#include "stars.h"
#include "timer.h"
#include "text_mode_message.h"

map the_map;

namespace {

// Still image in d_build_tiles of each special block code, from -2 down to -11.
const int special_block_image[] = {9, 6, 2, 5, 14, 13, 15, 0, 17, 18};
const int first_special_code = build_up;
const int last_special_code = tunnel_v;

const int exit_strip = 12;
const int teleport_strip = 16;

BITMAP *build_tile(int entry)
{
    return static_cast<BITMAP *>(d_build_tiles[entry].dat);
}

// Cells come from the map file unchecked; this multiplies without signed overflow.
int cell_to_pixel(int cell)
{
    return static_cast<int>(static_cast<unsigned>(cell) * 32u);
}

// Whether a 32x32 square at (x, y) touches the target at all. Squares far outside are skipped
// rather than handed to the blitters, so no coordinate arithmetic there can go wrong.
bool square_touches(BITMAP *target, long long x, long long y)
{
    return x > -32 && y > -32 && x < target->w && y < target->h;
}

// Adds a scroll speed and wraps once, as each tick does; a speed beyond the image size, which no
// editor writes, is wrapped the rest of the way so the offset never leaves 0 .. size.
int scrolled(int pos, int velocity, int size)
{
    long long next = static_cast<long long>(pos) + velocity;
    if (velocity > 0 && next > size)
        next -= size;
    else if (velocity < 0 && next < 0)
        next += size;
    if (next < 0 || next > size)
        next = ((next % size) + size) % size;
    return static_cast<int>(next);
}

// The image of a plain tile value, or nullptr for a value that names no image in the tile file
// (map files are not trusted to stay within it).
BITMAP *tile_image(int value, int tile_count)
{
    if (value < 0 || value >= tile_count || d_tiles[value].type != DAT_BITMAP)
        return nullptr;
    return static_cast<BITMAP *>(d_tiles[value].dat);
}

} // namespace

void map::flush()
{
    for (int x = 0; x < map_width; x++)
        for (int y = 0; y < map_height; y++) {
            block_layer[x][y] = empty_cell;
            trans_layer[x][y] = empty_cell;
        }
    start_x = 0;
    start_y = 0;
    exit_x = 19;
    exit_y = 14;
    win_frame = 0;
    win_tick = 0;
    background = 1;
    x_velocity = 1;
    y_velocity = 0;
    scroll_pos = 0;
    restart_pending = 0;
    restart_key_down = 0;
    teleports.clear();
    the_build_block_anim.clear();
    the_player.flush();
    teleport_count = 0;
}

void map::load_map(char *file)
{
    flush();

    // The path is loader_directory + file; one that does not fit is refused, never cut short,
    // so that it cannot turn into the name of some other file.
    const std::size_t directory_length = strnlen(loader_directory, sizeof(loader_directory));
    const std::size_t file_length = std::strlen(file);
    char path[256];
    if (directory_length + file_length > 255) {
        quit_with_message("Could Not load map!\n%.*s%s", static_cast<int>(directory_length), loader_directory,
                          file);
    }
    std::memcpy(path, loader_directory, directory_length);
    std::memcpy(path + directory_length, file, file_length + 1);

    // The file is read over the emptied map, so whatever it does not supply keeps the empty values.
    map_file contents = map_file_of(*this);
    if (read_map_file(path, contents) == 0) {
        quit_with_message("Could Not load map!\n%s", path);
    }
    copy_map_file(contents, *this);

    the_player.x = cell_to_pixel(start_x);
    the_player.y = cell_to_pixel(start_y);
    the_player.climbing = 0;
    the_player.controls = -1;

    exit_x = cell_to_pixel(exit_x);
    exit_y = cell_to_pixel(exit_y);

    // The ticks that passed while loading are dropped, not caught up.
    speed_counter = 0;

    the_player.init_in_teleport_anim();
}

void map::restart()
{
    const int kept_scroll_pos = scroll_pos;
    load_map(file_name);
    scroll_pos = kept_scroll_pos;
    speed_counter = 0;
    the_player.walking = 0;
    the_player.step = 0;
    the_player.break_pending = 0;
    the_player.teleporting = 0;
    the_player.restarts++;
}

void map::initialize()
{
    win_last_frame = build_tile(exit_strip)->w / 32 - 1;
    teleport_last_frame = build_tile(teleport_strip)->w / 32 - 1;
    win_delay = 5;
    teleport_delay = 8;
}

void map::animate()
{
    animate_win();

    // A record that ends erases itself; the one after it then sits at the same position.
    std::size_t i = 0;
    while (i < the_build_block_anim.size()) {
        const std::size_t before = the_build_block_anim.size();
        the_build_block_anim[i].animate(static_cast<int>(i));
        if (the_build_block_anim.size() == before)
            i++;
    }

    if (!teleports.empty())
        animate_teleports();

    scroll_background();
}

void map::animate_win()
{
    win_tick++;
    if (win_tick > win_delay) {
        win_tick = 0;
        win_frame++;
    }
    if (win_frame > win_last_frame)
        win_frame = 0;
}

void map::animate_teleports()
{
    teleport_tick++;
    if (teleport_tick >= teleport_delay) {
        teleport_tick = 0;
        teleport_frame++;
    }
    if (teleport_frame > teleport_last_frame)
        teleport_frame = 0;
}

// A background number that names no image of d_backgrounds shows (and moves) the star field.
static int shows_star_field(int background)
{
    return background <= 0 || background >= datafile_count(d_backgrounds) ||
           d_backgrounds[background].type != DAT_BITMAP;
}

void map::scroll_background()
{
    if (shows_star_field(background))
        bg_stars_do_logic();
    else if (x_velocity != 0)
        scroll_pos = scrolled(scroll_pos, x_velocity, 640);
    else if (y_velocity != 0)
        scroll_pos = scrolled(scroll_pos, y_velocity, 480);
}

void map::draw(BITMAP *target)
{
    draw_background(target);

    const int tile_count = datafile_count(d_tiles);
    for (int x = 0; x < map_width; x++)
        for (int y = 0; y < map_height; y++) {
            build_block_anim *first_here = nullptr;
            for (build_block_anim &anim : the_build_block_anim)
                if (anim.x == x && anim.y == y) {
                    anim.do_draw(target);
                    if (!first_here)
                        first_here = &anim;
                }
            // Tile values beyond the tile file draw nothing (the block layer stays solid all the same).
            if (BITMAP *trans = tile_image(trans_layer[x][y], tile_count))
                masked_blit(trans, target, 0, 0, x * 32, y * 32, 32, 32);
            const int block = block_layer[x][y];
            if (BITMAP *image = tile_image(block, tile_count))
                masked_blit(image, target, 0, 0, x * 32, y * 32, 32, 32);
            // A running animation lies over the tiles and takes the place of a special block's image.
            if (first_here)
                first_here->do_draw(target);
            else if (block <= first_special_code && block >= last_special_code)
                masked_blit(build_tile(special_block_image[first_special_code - block]), target, 0, 0, x * 32,
                            y * 32, 32, 32);
        }

    draw_win(target);
    if (!teleports.empty())
        draw_teleports(target);
}

void map::draw_background(BITMAP *target)
{
    if (shows_star_field(background)) {
        bg_stars_do_drawing(target);
        return;
    }
    BITMAP *image = static_cast<BITMAP *>(d_backgrounds[background].dat);
    const int p = scroll_pos;
    if (x_velocity != 0) {
        // Screen column c shows image column (c - p) mod 640.
        blit(image, target, 640 - p, 0, 0, 0, p, 480);
        blit(image, target, 0, 0, p, 0, 640 - p, 480);
    } else if (y_velocity != 0) {
        blit(image, target, 0, 480 - p, 0, 0, 640, p);
        blit(image, target, 0, 0, 0, p, 640, 480 - p);
    } else {
        blit(image, target, 0, 0, 0, 0, 640, 480);
    }
}

void map::draw_win(BITMAP *target)
{
    BITMAP *strip = build_tile(exit_strip);
    BITMAP *scratch[5];
    for (int i = 0; i < 5; i++) {
        scratch[i] = create_bitmap_ex(bitmap_color_depth(target), 32, 32);
        if (!scratch[i]) {
            quit_with_message("Could Not Create Temp Win \n Bitmap: %d", i);
        }
    }
    // The five frames after win_frame, each over the last and each more opaque.
    int f = win_frame;
    for (int i = 0; i < 5; i++) {
        f++;
        if (f > win_last_frame)
            f = 0;
        clear_to_color(scratch[i], bitmap_mask_color(scratch[i]));
        blit(strip, scratch[i], f * 32, 0, 0, 0, 32, 32);
    }
    if (square_touches(target, exit_x, exit_y))
        for (int i = 0; i < 5; i++) {
            set_trans_blender(255, 255, 255, 51 * (i + 1));
            draw_trans_sprite(target, scratch[i], exit_x, exit_y);
        }
    for (BITMAP *bmp : scratch)
        destroy_bitmap(bmp);
}

void map::draw_teleports(BITMAP *target)
{
    BITMAP *strip = build_tile(teleport_strip);
    BITMAP *scratch = create_bitmap_ex(bitmap_color_depth(target), 32, 32);
    if (!scratch)
        quit_with_message("Could not create the vertical flip temp \nbitmap for teleport!");
    const int mask = makecol_depth(bitmap_color_depth(scratch), 255, 0, 255);
    const int frame_x = teleport_frame * 32;
    for (const teleport &t : teleports) {
        clear_to_color(scratch, mask);
        const long long src_x = t.src_x * 32LL, src_y = t.src_y * 32LL;
        if (square_touches(target, src_x, src_y))
            masked_blit(strip, target, frame_x, 0, static_cast<int>(src_x), static_cast<int>(src_y), 32, 32);
        masked_blit(strip, scratch, frame_x, 0, 0, 0, 32, 32);
        const long long dst_x = t.dst_x * 32LL, dst_y = t.dst_y * 32LL;
        if (square_touches(target, dst_x, dst_y))
            draw_sprite_v_flip(target, scratch, static_cast<int>(dst_x), static_cast<int>(dst_y));
    }
    destroy_bitmap(scratch);
}
