// Stand-in tile, build-tile and background data files with known pixels, swapped in for map tests.
#pragma once
#include <allegro.h>
#include <algorithm>
#include <iterator>
#include <vector>
#include "datafiles.h"

// Colours that survive 16-bit quantization unchanged, so pixels compare exactly.
inline int rgb(int r, int g, int b)
{
    return makecol(r & 0xf8, g & 0xfc, b & 0xf8);
}

inline int mask_colour()
{
    return makecol(255, 0, 255);
}

// Colour of the still image of d_build_tiles entry e.
inline int still_colour(int e)
{
    return rgb(40 + 8 * e, 200 - 8 * e, 96);
}

// Colour of frame k of block animation strip e.
inline int strip_colour(int e, int k)
{
    return rgb(8 * e, 8 + 16 * k, 200);
}

// Colour of column c of background 1 (and row c of background 2): each column its own colour.
inline int column_colour(int c)
{
    return rgb((c % 32) * 8, (c / 32) * 8, 48);
}

inline int tile_colour(int t)
{
    return rgb(200, 40 * t, 8);
}

// The exit strip has four frames: frame k is white in its own band of 8 columns (x 8k .. 8k+7) of
// rows 0..15, and in rows 16..31 it is the colour exit_shared_colour(k) everywhere; the rest is mask.
inline int exit_shared_colour(int k)
{
    const int colours[4][3] = {{248, 0, 0}, {0, 252, 0}, {0, 0, 248}, {248, 252, 0}};
    return rgb(colours[k][0], colours[k][1], colours[k][2]);
}

// Teleport strip: two frames; frame k has its top half teleport_top(k), its bottom half
// teleport_bottom(k), and its leftmost column is mask.
inline int teleport_top(int k)
{
    return k == 0 ? rgb(248, 128, 0) : rgb(0, 128, 248);
}

inline int teleport_bottom(int k)
{
    return k == 0 ? rgb(128, 248, 0) : rgb(248, 248, 248);
}

class fake_datafile {
public:
    ~fake_datafile()
    {
        for (DATAFILE &entry : entries)
            if (entry.type == DAT_BITMAP)
                destroy_bitmap(static_cast<BITMAP *>(entry.dat));
    }
    void add(BITMAP *bmp) { entries.push_back({bmp, DAT_BITMAP, 0, nullptr}); }
    // An object that is no image, as a data file may end with.
    void add_other() { entries.push_back({&other_object, DAT_DATA, sizeof(other_object), nullptr}); }
    DATAFILE *data()
    {
        terminated = entries;
        terminated.push_back({nullptr, DAT_END, 0, nullptr});
        return terminated.data();
    }

private:
    std::vector<DATAFILE> entries;
    std::vector<DATAFILE> terminated;
    char other_object[16] = "not an image";
};

inline BITMAP *solid(int w, int h, int colour)
{
    BITMAP *bmp = create_bitmap(w, h);
    clear_to_color(bmp, colour);
    return bmp;
}

// Installs the stand-ins for d_tiles, d_build_tiles and d_backgrounds while it lives.
class fake_map_data {
public:
    fake_map_data()
    {
        // Tiles: 0 solid, 1 with a mask hole in its bottom-right quadrant, 2 solid, 3 no image at all.
        for (int t = 0; t < 3; t++) {
            BITMAP *tile = solid(32, 32, tile_colour(t));
            if (t == 1)
                rectfill(tile, 16, 16, 31, 31, mask_colour());
            tiles.add(tile);
        }
        tiles.add_other();
        const int strips[] = {1, 3, 4, 7, 8, 10, 11};
        for (int e = 0; e < 19; e++) {
            BITMAP *bmp;
            if (e == 12) {
                bmp = solid(128, 32, mask_colour());
                for (int k = 0; k < 4; k++) {
                    rectfill(bmp, k * 32 + 8 * k, 0, k * 32 + 8 * k + 7, 15, rgb(248, 252, 248));
                    rectfill(bmp, k * 32, 16, k * 32 + 31, 31, exit_shared_colour(k));
                }
            } else if (e == 16) {
                bmp = solid(64, 32, mask_colour());
                for (int k = 0; k < 2; k++) {
                    rectfill(bmp, k * 32 + 1, 0, k * 32 + 31, 15, teleport_top(k));
                    rectfill(bmp, k * 32 + 1, 16, k * 32 + 31, 31, teleport_bottom(k));
                }
            } else if (std::find(std::begin(strips), std::end(strips), e) != std::end(strips)) {
                bmp = create_bitmap(128, 32);
                for (int k = 0; k < 4; k++)
                    rectfill(bmp, k * 32, 0, k * 32 + 31, 31, strip_colour(e, k));
            } else {
                bmp = solid(32, 32, still_colour(e));
            }
            build_tiles.add(bmp);
        }
        backgrounds.add(solid(640, 480, rgb(0, 0, 0)));
        BITMAP *columns = create_bitmap(640, 480);
        for (int c = 0; c < 640; c++)
            vline(columns, c, 0, 479, column_colour(c));
        backgrounds.add(columns);
        BITMAP *rows = create_bitmap(640, 480);
        for (int r = 0; r < 480; r++)
            hline(rows, 0, r, 639, column_colour(r));
        backgrounds.add(rows);
        backgrounds.add_other();

        saved_tiles = d_tiles;
        saved_build_tiles = d_build_tiles;
        saved_backgrounds = d_backgrounds;
        d_tiles = tiles.data();
        d_build_tiles = build_tiles.data();
        d_backgrounds = backgrounds.data();
    }
    ~fake_map_data()
    {
        d_tiles = saved_tiles;
        d_build_tiles = saved_build_tiles;
        d_backgrounds = saved_backgrounds;
    }
    BITMAP *build_tile(int e) { return static_cast<BITMAP *>(d_build_tiles[e].dat); }

private:
    fake_datafile tiles, build_tiles, backgrounds;
    DATAFILE *saved_tiles, *saved_build_tiles, *saved_backgrounds;
};
