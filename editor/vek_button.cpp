// The button widget: hover/pressed/idle states, click detection and drawing.
#include "vek_button.h"
#include <algorithm>

vek_button::vek_button()
    : hover_image(nullptr), pressed_image(nullptr), normal_image(nullptr), hover_sound(nullptr),
      press_sound(nullptr), leave_sound(nullptr), x(0), y(0), bound_left(0), bound_right(0),
      bound_top(0), bound_bottom(0)
{
}

void vek_button::initialize(BITMAP *hover, BITMAP *pressed, BITMAP *normal, SAMPLE *hover_snd,
                            SAMPLE *press_snd, SAMPLE *leave_snd, int pixel_mask, int repeat)
{
    hover_image = hover;
    pressed_image = pressed;
    normal_image = normal;
    hover_sound = hover_snd;
    press_sound = press_snd;
    leave_sound = leave_snd;
    x = y = 0;
    state = 2;
    bound_left = 0;
    bound_right = normal ? normal->w : 0;
    bound_top = 0;
    bound_bottom = normal ? normal->h : 0;
    active = -1;
    mask_color = makecol(255, 0, 255);
    sound_volume = 255;
    sound_panning = 127;
    show_bounding_box = 0;
    click_state = 3;
    sound_state = 3;
    pixel_mask_mode = pixel_mask;
    repeat_mode = repeat;
}

void vek_button::set_bounds(int left, int right, int top, int bottom)
{
    if (pixel_mask_mode != 0)
        return;
    bound_left = left;
    bound_right = right;
    bound_top = top;
    bound_bottom = bottom;
}

void vek_button::set_masking_color(int r, int g, int b)
{
    mask_color = makecol(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
}

void vek_button::set_show_bounding_box(int show)
{
    show_bounding_box = show;
}

void vek_button::set_sound_volume(int volume)
{
    sound_volume = std::clamp(volume, 0, 255);
}

void vek_button::set_sound_panning(int panning)
{
    sound_panning = std::clamp(panning, 0, 255);
}

void vek_button::set_active(int on)
{
    active = on;
}

void vek_button::set_coords(int new_x, int new_y)
{
    x = new_x;
    y = new_y;
}

// Strict on all four sides: the first column and row of the default bounds count as outside.
bool vek_button::pointer_inside() const
{
    return mouse_x > x + bound_left && mouse_x < x + bound_right && mouse_y > y + bound_top &&
           mouse_y < y + bound_bottom;
}

int vek_button::normal_pixel_under_pointer() const
{
    if (!normal_image)
        return -1;
    return getpixel(normal_image, mouse_x - x, mouse_y - y);
}

void vek_button::enter_sound_state(int wanted, SAMPLE *play, SAMPLE *stop_a, SAMPLE *stop_b)
{
    if (sound_state == wanted)
        return;
    sound_state = wanted;
    if (stop_a)
        stop_sample(stop_a);
    if (stop_b)
        stop_sample(stop_b);
    if (play)
        play_sample(play, sound_volume, sound_panning, 1000, 0);
}

void vek_button::poll()
{
    if (!active)
        return;
    const bool on_white = pixel_mask_mode == 1 && normal_pixel_under_pointer() == makecol(255, 255, 255);
    if (pointer_inside() && !on_white) {
        if (mouse_b & 1) {
            state = 1;
            enter_sound_state(1, press_sound, leave_sound, hover_sound);
        } else {
            state = 0;
            enter_sound_state(0, hover_sound, leave_sound, press_sound);
        }
    } else {
        state = 2;
        if (click_state != 0)
            click_state = 3;
        enter_sound_state(3, leave_sound, press_sound, hover_sound);
    }
}

int vek_button::is_clicked()
{
    if (!active)
        return 0;
    const bool down = (mouse_b & 1) != 0;
    if (!pointer_inside()) {
        if (!down)
            click_state = 3;
        return 0;
    }
    if (!down && click_state == 3) {
        click_state = 1;
        return 0;
    }
    if (down && repeat_mode == 1)
        return -1;
    if (down && click_state != 3) {
        click_state = 0;
        return 0;
    }
    if (!down && click_state == 0) {
        click_state = 1;
        if (pixel_mask_mode == 1 && normal_pixel_under_pointer() == mask_color)
            return 0;
        return -1;
    }
    return 0;
}

void vek_button::draw_button(BITMAP *target)
{
    if (!active)
        return;
    BITMAP *image = state == 1 ? pressed_image : state == 0 ? hover_image : normal_image;
    if (image)
        draw_sprite(target, image, x, y);
    if (show_bounding_box)
        rect(target, x + bound_left, y + bound_top, x + bound_right, y + bound_bottom, makecol(255, 0, 0));
}
