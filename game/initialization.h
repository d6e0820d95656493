// Start-up of the game: Allegro, timers, settings, sound, graphics mode and everything loaded once.
#pragma once

void initialization();

// Reads sound_vol, midi_vol and current_screen_mode from settings_location.
void read_settings();

// The graphics driver a screen mode asks for: 0 full screen, anything else windowed.
int gfx_driver_for_screen_mode(int screen_mode);

// Sets 640x480 at 16 bits (15 as fallback) in the mode current_screen_mode asks for. A refused
// full screen falls back to a window, which current_screen_mode then records.
// Returns 0 on success, -1 when no mode could be set (and Allegro has no screen).
int set_game_gfx_mode();
