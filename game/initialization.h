// Start-up of the game: Allegro, timers, settings, sound, graphics mode and everything loaded once.
#pragma once

void initialization();

// Reads sound_vol, midi_vol and current_screen_mode from settings_location.
void read_settings();

// The graphics driver a screen mode asks for: 0 full screen, anything else windowed.
int gfx_driver_for_screen_mode(int screen_mode);

// What sets a graphics mode: Allegro's set_gfx_mode; tests put a stand-in here.
extern int (*gfx_mode_setter)(int card, int w, int h, int v_w, int v_h);

// Sets 640x480 at 16 bits (15 as fallback) in the wanted driver, then in a window.
// Returns 0 on success, -1 when no mode could be set.
int set_game_gfx_mode(int screen_mode);
