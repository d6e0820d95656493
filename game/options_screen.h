// The options screen and the settings it owns (volumes, screen mode, settings file path).
#pragma once

extern int sound_vol;
extern int midi_vol;
extern int current_screen_mode;
extern char settings_location[256];
