// The panel buttons: placement, their actions on a click and their drawing with the value texts.
#include "buttons.h"
#include <allegro.h>
#include <cstring>
#include "datafiles.h"
#include "do_drawing.h"
#include "do_logic.h"
#include "input_dialog.h"
#include "map.h"
#include "save_load_map.h"
#include "tile_picker.h"

vek_button b_save, b_load, b_name_level, b_next, b_level_set, b_last_level, b_layer;
vek_button b_bg_l, b_bg_r, b_x_vel_l, b_x_vel_r, b_y_vel_l, b_y_vel_r;

namespace {

struct panel_button {
    vek_button *button;
    int x, y;
    int normal_image, highlighted_image; // objects of d_data.dat
};

const panel_button panel[] = {
    {&b_save, 0, 568, 23, 24},
    {&b_load, 64, 568, 13, 14},
    {&b_name_level, 128, 568, 15, 16},
    {&b_next, 192, 568, 17, 18},
    {&b_level_set, 256, 568, 11, 12},
    {&b_last_level, 735, 568, 7, 8},
    {&b_layer, 160, 485, 9, 10},
    {&b_bg_l, 285, 485, 5, 6},
    {&b_bg_r, 317, 485, 21, 22},
    {&b_x_vel_l, 435, 485, 3, 4},
    {&b_x_vel_r, 467, 485, 19, 20},
    {&b_y_vel_l, 435, 501, 3, 4},
    {&b_y_vel_r, 467, 501, 19, 20},
};

void mark_last_level()
{
    std::strcpy(the_map.next_map, "end");
}

void toggle_layer()
{
    trans_layer_active = trans_layer_active ? 0 : -1;
}

void run_save()
{
    save_map();
    key_esc_down = -1;
}

void run_load()
{
    load_map();
    key_esc_down = -1;
}

void run_next()
{
    key_esc_down = -1;
    next_map();
}

void run_level_set()
{
    clear_keybuf();
    level_set_loader();
    key_esc_down = -1;
}

void run_name()
{
    clear_keybuf();
    edit_map_name();
    key_esc_down = -1;
}

struct button_action {
    vek_button *button;
    void (*action)();
};

// The order in which clicks are asked for and served.
const button_action actions[] = {
    {&b_save, run_save},
    {&b_load, run_load},
    {&b_next, run_next},
    {&b_level_set, run_level_set},
    {&b_layer, toggle_layer},
    {&b_bg_r, background_up},
    {&b_bg_l, background_down},
    {&b_x_vel_r, x_velocity_up},
    {&b_x_vel_l, x_velocity_down},
    {&b_y_vel_r, y_velocity_up},
    {&b_y_vel_l, y_velocity_down},
    {&b_name_level, run_name},
    {&b_last_level, mark_last_level},
};

void panel_text(int x, int y, const char *format, int a = 0, int b = 0)
{
    textprintf_ex(buffer, font, x, y, makecol(255, 255, 255), 1, format, a, b);
}

} // namespace

void background_down()
{
    the_map.background--;
    if (the_map.background < 0)
        the_map.background = bg_dat_end;
}

void background_up()
{
    the_map.background++;
    if (the_map.background > bg_dat_end)
        the_map.background = 0;
}

// Setting one speed clears the other: a map scrolls along one axis at most.
void x_velocity_down()
{
    if (the_map.x_velocity > -max_velocity) {
        the_map.x_velocity--;
        the_map.y_velocity = 0;
    }
}

void x_velocity_up()
{
    if (the_map.x_velocity < max_velocity) {
        the_map.x_velocity++;
        the_map.y_velocity = 0;
    }
}

void y_velocity_down()
{
    if (the_map.y_velocity > -max_velocity) {
        the_map.y_velocity--;
        the_map.x_velocity = 0;
    }
}

void y_velocity_up()
{
    if (the_map.y_velocity < max_velocity) {
        the_map.y_velocity++;
        the_map.x_velocity = 0;
    }
}

void init_buttons()
{
    for (const panel_button &p : panel) {
        BITMAP *normal = datafile_bitmap(d_data, p.normal_image);
        BITMAP *highlighted = datafile_bitmap(d_data, p.highlighted_image);
        p.button->initialize(highlighted, highlighted, normal, nullptr, nullptr, nullptr, 0, 0);
        p.button->set_coords(p.x, p.y);
    }
}

void poll_buttons()
{
    for (const panel_button &p : panel)
        p.button->poll();
    poll_tile_picker_buttons();
}

void check_buttons()
{
    for (const button_action &a : actions)
        if (a.button->is_clicked())
            a.action();
}

void draw_buttons()
{
    b_save.draw_button(buffer);
    b_load.draw_button(buffer);
    b_next.draw_button(buffer);
    b_level_set.draw_button(buffer);
    b_name_level.draw_button(buffer);
    b_layer.draw_button(buffer);
    panel_text(225, 485, trans_layer_active ? "Tran" : "Norm");
    b_bg_l.draw_button(buffer);
    b_bg_r.draw_button(buffer);
    panel_text(349, 485, "BG:%d/%d", the_map.background, bg_dat_end);
    if (the_map.background == 0)
        panel_text(349, 495, "Stars");
    b_x_vel_l.draw_button(buffer);
    b_x_vel_r.draw_button(buffer);
    panel_text(499, 487, "X-Velocity:%d", the_map.x_velocity);
    b_y_vel_l.draw_button(buffer);
    b_y_vel_r.draw_button(buffer);
    panel_text(499, 504, "Y-Velocity:%d", the_map.y_velocity);
    b_last_level.draw_button(buffer);
}
