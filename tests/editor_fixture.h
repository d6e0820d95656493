// Editor test fixture: stand-in data files whose objects each have a colour of their own, the
// editor's buffers and widgets set up on them, and helpers to drive the mouse and read pixels.
#pragma once
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstring>
#include <string>
#include <vector>
#include "buttons.h"
#include "case_names.h"
#include "datafiles.h"
#include "do_drawing.h"
#include "do_logic.h"
#include "map.h"
#include "save_load_map.h"
#include "tile_picker.h"
#include "timer.h"

namespace editor_test {

// File numbers for the colours.
enum fake_file { f_tiles, f_build, f_data, f_backgrounds, f_system };

// The colour of the top half (half 0) or bottom half (half 1) of object `index` of a file, as
// 16-bit pixels hold it. A picture drawn upside down shows its halves swapped.
inline int object_colour(int file, int index, int half)
{
    return makecol(8 + file * 40, (index * 4) & 0xfc, 64 + ((index / 64) * 16) + half * 96);
}

// A data file of `count` bitmaps (sizes by index), each two flat halves, followed by its end marker.
struct fake_datafile {
    std::vector<DATAFILE> objects;

    fake_datafile(int file, int count, int (*size)(int index, int &w, int &h))
    {
        for (int i = 0; i < count; i++) {
            int w = 32, h = 32;
            size(i, w, h);
            BITMAP *b = create_bitmap(w, h);
            rectfill(b, 0, 0, w - 1, h / 2 - 1, object_colour(file, i, 0));
            rectfill(b, 0, h / 2, w - 1, h - 1, object_colour(file, i, 1));
            objects.push_back({b, DAT_BITMAP, 0, nullptr});
        }
        objects.push_back({nullptr, DAT_END, 0, nullptr});
    }
    ~fake_datafile()
    {
        for (DATAFILE &d : objects)
            if (d.type == DAT_BITMAP)
                destroy_bitmap(static_cast<BITMAP *>(d.dat));
    }
    DATAFILE *get() { return objects.data(); }
};

inline int tile_size(int, int &, int &) { return 0; }
inline int data_size(int i, int &w, int &h)
{
    if (i == 0) {
        w = 800;
        h = 600;
    } else if (i == 3 || i == 4 || i == 19 || i == 20) {
        h = 16; // the velocity buttons stand two to a column
    } else if ((i >= 7 && i <= 18) || i == 23 || i == 24) {
        w = 64; // file and layer buttons
    }
    return 0;
}
inline int background_size(int, int &w, int &h)
{
    w = 640;
    h = 480;
    return 0;
}
inline int system_size(int i, int &w, int &h)
{
    if (i == 1 || i == 2) {
        w = 60;
        h = 30;
    } else {
        w = 8;
        h = 8;
    }
    return 0;
}

// Every test starts on a fresh editor: default map, no tool, no flags, the pointer away.
class editor_screen : public testing::Test {
protected:
    static inline fake_datafile *tiles = nullptr, *build = nullptr, *data = nullptr,
                                *backgrounds = nullptr, *system = nullptr;
    static inline int tile_objects = 61;

    static void SetUpTestSuite()
    {
        tiles = new fake_datafile(f_tiles, tile_objects, tile_size);
        build = new fake_datafile(f_build, 19, tile_size);
        data = new fake_datafile(f_data, 28, data_size);
        backgrounds = new fake_datafile(f_backgrounds, 8, background_size);
        system = new fake_datafile(f_system, 26, system_size);
        // The box font: Allegro's own, in the font's slot.
        destroy_bitmap(static_cast<BITMAP *>(system->objects[8].dat));
        system->objects[8] = {font, DAT_FONT, 0, nullptr};
        d_tiles = tiles->get();
        d_build_tiles = build->get();
        d_data = data->get();
        d_backgrounds = backgrounds->get();
        d_system = system->get();
        buffer = create_bitmap(800, 600);
        field_buffer = create_bitmap(640, 480);
        screen = create_bitmap(800, 600);
        init_buttons();
        init_tile_picker();
        find_end_of_bg_dat();
    }

    static void TearDownTestSuite()
    {
        d_tiles = d_build_tiles = d_data = d_backgrounds = d_system = nullptr;
        delete tiles;
        delete build;
        delete data;
        delete backgrounds;
        delete system;
        destroy_bitmap(buffer);
        destroy_bitmap(field_buffer);
        destroy_bitmap(screen);
        buffer = field_buffer = screen = nullptr;
    }

    void SetUp() override
    {
        the_map.flush();
        std::strcpy(the_map.next_map, "end");
        the_map.file_name[0] = '\0';
        special_tile_selected = 0;
        selected_tile = 0;
        selected_tile_coords = {0, 0};
        tile_page = 0;
        teleport_delete = 0;
        trans_layer_active = 0;
        draw_block_layer = draw_trans_layer = -1;
        draw_grid = draw_blocked_indicator = 0;
        confirm = confirm_selection = 0;
        key_esc_down = key_r_down = key_l_down = key_g_down = key_b_down = key_f_down = 0;
        up_key_down = down_key_down = key_enter_down = 0;
        std::memset(const_cast<char *>(key), 0, KEY_MAX);
        filename_buffer[0] = last_filename[0] = the_edited_map_path[0] = '\0';
        std::strcpy(level_set_name, "Level Set Name");
        mouse_b = 0;
        // Away from every button, over nothing.
        mouse_x = 140;
        mouse_y = 470;
        step();
        step();
    }

    // One logic step of the main loop.
    static void step() { do_logic(); }

    static void pointer(int x, int y, int buttons)
    {
        mouse_x = x;
        mouse_y = y;
        mouse_b = buttons;
    }

    // Moves there with the buttons up, presses and releases the left button, a step each.
    static void click_at(int x, int y)
    {
        pointer(x, y, 0);
        step();
        pointer(x, y, 1);
        step();
        pointer(x, y, 0);
        step();
    }

    // The middle of the field cell (cx, cy) on the screen.
    static int cell_x(int cx) { return 160 + 32 * cx + 16; }
    static int cell_y(int cy) { return 32 * cy + 16; }

    // Holds the left (1) or right (2) button on a field cell for one step, then lets go.
    static void press_cell(int cx, int cy, int buttons)
    {
        pointer(cell_x(cx), cell_y(cy), buttons);
        step();
        pointer(cell_x(cx), cell_y(cy), 0);
        step();
    }

    // A pixel of field cell (cx, cy) in the last frame, (dx, dy) inside it.
    static int field_pixel(int cx, int cy, int dx = 16, int dy = 4)
    {
        return getpixel(buffer, 160 + 32 * cx + dx, 32 * cy + dy);
    }
};

// Whether `text` appears in `bmp` at (x, y) exactly as textout_ex draws it in these colours
// (bg -1: only the letter pixels are compared).
inline bool shows_text(BITMAP *bmp, int x, int y, const char *text, int fg, int bg,
                       FONT *f = font)
{
    const int w = text_length(f, text), h = text_height(f);
    BITMAP *probe = create_bitmap(w, h);
    // A colour that is neither of the text's own, or the text would vanish into it and pass unseen.
    int unused = makecol(255, 0, 255);
    for (int other : {makecol(0, 255, 0), makecol(0, 0, 255)})
        if (unused == fg || unused == bg)
            unused = other;
    clear_to_color(probe, unused);
    textout_ex(probe, f, text, 0, 0, fg, bg);
    bool same = true;
    int compared = 0;
    for (int py = 0; py < h && same; py++)
        for (int px = 0; px < w && same; px++) {
            const int want = getpixel(probe, px, py);
            if (want == unused)
                continue;
            compared++;
            same = getpixel(bmp, x + px, y + py) == want;
        }
    destroy_bitmap(probe);
    return same && compared > 0;
}

inline bool shows_white_text(BITMAP *bmp, int x, int y, const char *text)
{
    return shows_text(bmp, x, y, text, makecol(255, 255, 255), 1);
}

} // namespace editor_test
