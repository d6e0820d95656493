// The options screen and the settings it owns.
#include "options_screen.h"

int sound_vol = 255;
int midi_vol = 255;
int current_screen_mode = 0;
char settings_location[256] = "data/settings.txt";
