// Start-up of the editor, in the order the rest of the program relies on.
#include "initialization.h"
#include <allegro.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include "buttons.h"
#include "datafiles.h"
#include "do_drawing.h"
#include "game_quit.h"
#include "graphics_mode.h"
#include "plain_file.h"
#include "start_up.h"
#include "tile_picker.h"
#include "timer.h"
#include "text_mode_message.h"

int GAME_SCREEN_MODE = 2;
char editor_settings_location[256] = "data/ed_settings.txt";

namespace {

// The driver ids the editor can start in: autodetect, full screen, windowed. Any other number
// from a hand-edited file would start it in text mode (and crash it) or not at all.
const int editor_screen_modes[] = {GFX_AUTODETECT, GFX_AUTODETECT_FULLSCREEN, GFX_AUTODETECT_WINDOWED};

int fit_editor_screen_mode(int mode)
{
    for (int known : editor_screen_modes)
        if (mode == known)
            return mode;
    return GFX_AUTODETECT_WINDOWED;
}

} // namespace

void read_editor_settings()
{
    // Only the first 4 bytes count. A file that is missing, no plain file, too large or unreadable
    // leaves the mode at its start value, 2.
    std::string text;
    if (!read_plain_file_start(editor_settings_location, settings_file_bound, 4, text))
        return;
    GAME_SCREEN_MODE = fit_editor_screen_mode(std::atoi(text.c_str()));
}

void read_command_line(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], "-f") == 0)
        GAME_SCREEN_MODE = GFX_AUTODETECT_FULLSCREEN;
}

int set_editor_gfx_mode()
{
    static const std::initializer_list<int> depths = {15, 16};
    if (set_mode_at_depths(GAME_SCREEN_MODE, 800, 600, depths) == 0)
        return 0;
    if (GAME_SCREEN_MODE == GFX_AUTODETECT_WINDOWED)
        return -1;
    // A full screen the desktop refuses, from the settings file or "-f": a window instead, and
    // the settings file keeps the window.
    if (set_mode_at_depths(GFX_AUTODETECT_WINDOWED, 800, 600, depths) != 0)
        return -1;
    GAME_SCREEN_MODE = GFX_AUTODETECT_WINDOWED;
    return 0;
}

void initialization(int argc, char **argv)
{
    start_allegro();
    install_mouse();

    install_int_ex(increment_speed_counter, BPS_TO_TIMER(60));

    set_color_depth(15);

    read_editor_settings();
    read_command_line(argc, argv);

    if (set_editor_gfx_mode() != 0) {
        show_in_text_mode("Sorry. Initialization failed!\nYou need at least a \n15bit or 16bit grahpics card");
        std::exit(1);
    }

    set_window_title("Pim's Slumberia Editor");

    // The editor plays no sound itself: a sound system that will not start is reported and the
    // editor carries on. The message goes up over the open window, which stays usable.
    reserve_voices(64, -1);
    set_volume_per_voice(2);
    use_checked_patch_set();
    if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr) != 0)
        allegro_message("Error initialising sound system\n%s\n", allegro_error);

    buffer = create_bitmap(SCREEN_W, SCREEN_H);
    field_buffer = create_bitmap(640, 480);
    if (!buffer || !field_buffer) {
        quit_with_message("Could not create screen buffer");
    }

    load_datafiles();

    init_buttons();
    init_tile_picker();
    find_end_of_bg_dat();
}
