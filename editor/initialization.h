// The editor's start-up: Allegro, settings, graphics mode, sound, buffers, data files, widgets.
#pragma once

// Allegro graphics driver id for set_gfx_mode: 1 full screen, 2 windowed (the default).
extern int GAME_SCREEN_MODE;

// "data/ed_settings.txt"; a variable so that tests can point it elsewhere.
extern char editor_settings_location[256];

// Reads the settings file's first 4 bytes as a number into GAME_SCREEN_MODE (unchanged when the
// file does not open, 2 on a read error or a number that is not 0, 1 or 2).
void read_editor_settings();

// "-f" as the first argument asks for full screen; nothing else is looked at.
void read_command_line(int argc, char **argv);

// Sets 800x600 at 15 bits (16 as fallback) in the driver GAME_SCREEN_MODE names. A refused full
// screen falls back to a window, which GAME_SCREEN_MODE then names. 0 on success, -1 when no mode
// could be set.
int set_editor_gfx_mode();

// Start-up, in order; a failure that leaves the editor unable to run ends it.
void initialization(int argc, char **argv);
