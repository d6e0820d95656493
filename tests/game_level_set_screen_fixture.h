// Shared by the level-set screen and start-level selection tests: scratch level sets, a fresh screen state, row-text checks, pictures.
#pragma once
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include "datafiles.h"
#include "game_player_fixture.h"
#include "level_selection_screen.h"
#include "level_set_screen.h"
#include "menu_frame.h"
#include "slot_list.h"
#include "title_screen.h"

namespace list_screen_test {

// A level-set directory under the system's temporary directory, removed with the object.
class scratch_set {
public:
    explicit scratch_set(const char *tag) : dir(make_temp_dir(tag) + "/") {}
    ~scratch_set()
    {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    scratch_set(const scratch_set &) = delete;
    scratch_set &operator=(const scratch_set &) = delete;

    // A playable map file `file` whose three lines are name, stored own name and next map.
    void map(const std::string &file, const std::string &name, const std::string &stored, const std::string &next)
    {
        write_text_file(dir + file, player_test::map_file_text(name.c_str(), stored.c_str(), next.c_str(), 2, 10,
                                                               17, 10, {}));
    }
    // A chain of maps file[0] -> file[1] -> ... -> "end", each named "<Tag> <i+1>" and storing its own name.
    void chain(const std::string &tag, int count)
    {
        for (int i = 0; i < count; i++)
            map(file_of(i), tag + " " + std::to_string(i + 1), file_of(i), i + 1 < count ? file_of(i + 1) : "end");
    }
    static std::string file_of(int i) { return "m" + std::to_string(i + 1) + ".map"; }

    // A loader file in this directory naming the set's first map and its display name.
    void loader(const std::string &file, const std::string &first, const std::string &name)
    {
        write_text_file(dir + file, first + "\n" + name + "\n");
    }

    const std::string dir;
};

inline FONT *row_font() { return static_cast<FONT *>(d_system[slot_row_font].dat); }

// The screens place their rows by the screen's size, which needs a graphics driver. Headless
// there is none, so a stand-in reporting 640x480 is put in place; it is never asked to draw.
inline void give_screen_size()
{
    static GFX_DRIVER stand_in;
    if (gfx_driver)
        return;
    stand_in.id = AL_ID('S', 'I', 'Z', 'E');
    stand_in.name = stand_in.desc = stand_in.ascii_name = "screen size";
    stand_in.w = 640;
    stand_in.h = 480;
    gfx_driver = &stand_in;
}

// Fresh player, map, latches and sounds; the current set back to the built-in one.
inline void reset_screens()
{
    player_test::reset_world();
    give_screen_size();
    std::strcpy(loader_directory, loader_directory_hardcopy);
    std::strcpy(first_level, first_level_hardcopy);
    std::strcpy(level_set_loader_file, level_set_loader_file_hardcopy);
    std::strcpy(level_set_name, level_set_name_hardcopy);
    key_enter_pressed = 0;
    key_esc_down = 0;
    game_in_progress = 0;
    level_sets.clear();
    level_selections.clear();
    level_set_exists = -1;
    // The screens' backdrop, as the title menu leaves it for the list screens.
    the_map.background = 1;
    the_map.x_velocity = 1;
}

// True when every pixel of text, as font f (the row font) writes it in white, is white in bmp at
// (x, y). A text partly outside bmp is judged by its pixels inside it, of which there must be some.
inline bool text_drawn_at(BITMAP *bmp, const char *text, int x, int y, FONT *f = row_font())
{
    BITMAP *stencil = create_bitmap(text_length(f, text), text_height(f));
    clear_to_color(stencil, bitmap_mask_color(stencil));
    const int white = makecol(255, 255, 255);
    textout_ex(stencil, f, text, 0, 0, white, -1);
    bool drawn = true;
    int lit = 0;
    for (int py = 0; py < stencil->h; py++)
        for (int px = 0; px < stencil->w; px++)
            if (getpixel(stencil, px, py) == white && x + px < bmp->w && y + py < bmp->h) {
                lit++;
                if (getpixel(bmp, x + px, y + py) != white)
                    drawn = false;
            }
    destroy_bitmap(stencil);
    return drawn && lit > 0;
}

// The row text of window position p is text.
inline bool row_text_is(int position, const char *text)
{
    return text_drawn_at(buffer, text, slot_text_x(), slot_text_y(position));
}

// Which row image stands at window position p: 36 lit, 35 plain, -1 neither. The images are
// told apart by the pixels in which they differ.
inline int row_image_at(int position)
{
    BITMAP *plain = system_bitmap(slot_row_image);
    BITMAP *lit = system_bitmap(slot_row_lit_image);
    int plain_hits = 0, lit_hits = 0, differing = 0;
    const int x0 = slot_x(), y0 = slot_position_y(position);
    for (int y = 0; y < plain->h; y += 2)
        for (int x = 0; x < plain->w; x += 2) {
            const int p = getpixel(plain, x, y), l = getpixel(lit, x, y);
            if (p == l || p == bitmap_mask_color(plain) || l == bitmap_mask_color(lit))
                continue;
            differing++;
            const int on_screen = getpixel(buffer, x0 + x, y0 + y);
            plain_hits += on_screen == p;
            lit_hits += on_screen == l;
        }
    if (differing == 0)
        return -1;
    if (lit_hits * 10 > differing * 9)
        return slot_row_lit_image;
    if (plain_hits * 10 > differing * 9)
        return slot_row_image;
    return -1;
}

// Saves buffer as <dir>/<name>.bmp when SLUMBERIA_VIEW_DIR names a directory, for looking at.
inline void keep_picture(const char *name)
{
    const char *dir = std::getenv("SLUMBERIA_VIEW_DIR");
    if (!dir)
        return;
    const std::string path = std::string(dir) + "/" + name + ".bmp";
    save_bmp(path.c_str(), buffer, nullptr);
}

// A tick with key down, then one with it up, through the screen's tick; gives the first result
// other than slot_go_on (slot_go_on if the screen stayed open).
inline int press_key(int (*tick)(slot_list &), slot_list &list, int scancode)
{
    key[scancode] = 1;
    int outcome = tick(list);
    key[scancode] = 0;
    if (outcome == slot_go_on)
        outcome = tick(list);
    return outcome;
}

// Runs ticks with no key down until no slide runs.
inline void finish_slide(int (*tick)(slot_list &), slot_list &list)
{
    for (int i = 0; i < 30 && slot_slide_running(); i++)
        tick(list);
}

} // namespace list_screen_test
