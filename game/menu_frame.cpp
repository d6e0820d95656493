// The menu-screen frame: the backdrop, images, strip, version text and scroller every menu draws, its tick, sounds and select latch.
#include "menu_frame.h"
#include "datafiles.h"
#include "do_drawing.h"
#include "key_latch.h"
#include "music.h"
#include "player.h"

int key_enter_pressed = 0;
int background_scroll = 0;
int title_text_scroll = 640;

// Five segments (thanks, code and design, art, web, e-mail) with 21, 20, 20 and 20 blanks
// between them and 40 after the last: 270 characters, 2160 pixels in the 8-pixel font.
const char title_scroller_text[] =
    "Thanks for playing Pim's Slumberia 1.02!"
    "                     "
    "Code, design: the Pim's Slumberia team"
    "                    "
    "Art: the Pim's Slumberia team"
    "                    "
    "www.slumberia.example"
    "                    "
    "pim@slumberia.example"
    "                                        ";

namespace {

// Menu-frame images in d_system, and the backdrop in d_backgrounds.
const int strip_image = 0;
const int cursor_image = 4;
const int corner_image = 39;
const int top_left_image = 40;
const int menu_backdrop = 1;

} // namespace

void menu_frame_tick()
{
    background_scroll++;
    if (background_scroll > 640)
        background_scroll -= 640;
    title_text_scroll--;
    if (title_text_scroll <= -text_length(font, title_scroller_text))
        title_text_scroll = 640;
    check_change_music();
}

void draw_menu_frame_back(BITMAP *heading, int heading_x, int heading_y)
{
    BITMAP *backdrop = static_cast<BITMAP *>(d_backgrounds[menu_backdrop].dat);
    const int s = background_scroll;
    blit(backdrop, buffer, 640 - s, 0, 0, 0, s, 480);
    blit(backdrop, buffer, 0, 0, s, 0, 640 - s, 480);
    BITMAP *corner = system_bitmap(corner_image);
    draw_sprite(buffer, corner, 640 - corner->w, 0);
    draw_sprite(buffer, system_bitmap(top_left_image), 10, 10);
    if (heading)
        draw_sprite(buffer, heading, heading_x, heading_y);
    set_trans_blender(255, 255, 255, 75);
    draw_trans_sprite(buffer, system_bitmap(strip_image), 0, 470);
}

void draw_menu_cursor(int y)
{
    draw_sprite(buffer, system_bitmap(cursor_image), menu_cursor_x, y);
}

void draw_menu_frame_front()
{
    textprintf_ex(buffer, font, 0, 460, makecol(0, 0, 0), -1, "Version 1.02");
    textprintf_ex(buffer, font, title_text_scroll, 471, makecol(255, 255, 255), -1, "%s",
                  title_scroller_text);
}

int menu_select_pressed()
{
    return fresh_press(key[KEY_ENTER] || scancode_down(the_player.key_action), key_enter_pressed);
}
