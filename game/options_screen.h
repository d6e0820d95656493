// The options screen and the settings it owns (volumes, screen mode, settings file path).
#pragma once

extern int sound_vol;
extern int midi_vol;
extern int current_screen_mode;
extern char settings_location[256];

// How far one press of Left or Right moves each volume on the options screen.
extern int sound_vol_incren;
extern int midi_vol_incren;

// Rows of the options menu: item i has its cursor at y = first row + 32 * i.
const int options_item_first_y = 200;
const int options_item_count = 7;
enum { options_sound_volume = 0, options_music_volume = 1, options_screen_mode = 2,
       options_keys = 3, options_level_set = 4, options_erase_save = 5, options_back = 6 };

// The state of one call of the options screen.
struct options_menu {
    int item = 0;        // selected item, 0..6
    int leave = 0;       // -1: the screen returns after this pass
    int up_latch = 0;
    int down_latch = 0;
    int left_latch = 0;
    int right_latch = 0;
};

// The screens the options open, which live in their own modules. Each holds the real screen;
// a test may swap in its own and puts the real one back.
extern void (*options_keyconfig_screen)();
extern int (*options_level_set_screen)();
extern void (*options_erase_save_screen)();

// One press of Left (direction -1) or Right (+1) on a volume: the move sound at the sample
// volume as it was, the step, and the music volume handed to Allegro. At 0 (Left) or above 254
// (Right) nothing happens.
void step_volume(int &volume, int step, int direction);

// Switches between full screen and a window, at 16 bits or else 15. A window that cannot be
// had falls back to the autodetected mode; a full screen that cannot be had is reported and the
// window comes back, as it was. When no mode at all can be set the game ends.
void toggle_screen_mode();

// Writes sound_vol, midi_vol and current_screen_mode to settings_location, one per line with no
// newline after the last, through a temporary file, so that a failed write leaves the old file as
// it was. A file that cannot be written is skipped without a word; -1 when written, else 0.
int write_settings();

// A fresh call: cursor on the first item.
options_menu start_options_menu();
// One logic tick: the menu keys, the chosen item's action, the frame tick.
void options_menu_tick(options_menu &menu);
// One frame into buffer, without copying it to the screen.
void draw_options_menu(const options_menu &menu);
// The modal options screen, opened from the title menu; writes the settings file when left.
void options_screen();
