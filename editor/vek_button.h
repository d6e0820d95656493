// The editor's push button: three state images, state sounds, an optional pixel mask.
#pragma once
#include <allegro.h>

class vek_button {
public:
    BITMAP *hover_image;   // state 0
    BITMAP *pressed_image; // state 1
    BITMAP *normal_image;  // state 2; gives the default bounds and the pixel mask
    SAMPLE *hover_sound;
    SAMPLE *press_sound;
    SAMPLE *leave_sound;
    int x, y;
    int state;             // 0 hover, 1 pressed, 2 idle
    int bound_left, bound_right, bound_top, bound_bottom; // relative to x, y
    int active;
    int mask_color;
    int sound_volume;
    int sound_panning;
    int show_bounding_box;
    int click_state;       // 3 not armed, 1 armed (up over the button), 0 pressed over it
    int sound_state;       // 3 leave sound last, 0 hover, 1 pressed
    int pixel_mask_mode;
    int repeat_mode;

    vek_button();

    void initialize(BITMAP *hover, BITMAP *pressed, BITMAP *normal, SAMPLE *hover_snd,
                    SAMPLE *press_snd, SAMPLE *leave_snd, int pixel_mask, int repeat);
    void set_bounds(int left, int right, int top, int bottom);
    void set_masking_color(int r, int g, int b);
    void set_show_bounding_box(int show);
    void set_sound_volume(int volume);
    void set_sound_panning(int panning);
    void set_active(int on);
    void set_coords(int new_x, int new_y);

    // Once per logic step: follows the pointer and plays the sound of a state entered.
    void poll();
    // Once per logic step: -1 in the step of a click's release (every held step in repeat mode).
    int is_clicked();
    void draw_button(BITMAP *target);

private:
    bool pointer_inside() const;
    int normal_pixel_under_pointer() const;
    void enter_sound_state(int wanted, SAMPLE *play, SAMPLE *stop_a, SAMPLE *stop_b);
};
