// Start-up of the game, in the fixed order the rest of the program relies on.
#include "initialization.h"
#include <allegro.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>
#include "building_block.h"
#include "datafiles.h"
#include "do_drawing.h"
#include "game_quit.h"
#include "graphics_mode.h"
#include "plain_file.h"
#include "start_up.h"
#include "level_set_screen.h"
#include "load_music.h"
#include "map.h"
#include "message.h"
#include "options_screen.h"
#include "show_map_name.h"
#include "stars.h"
#include "text_mode_message.h"
#include "player.h"
#include "save_game.h"
#include "timer.h"

namespace {

int fit_volume(long value)
{
    return value < 0 ? 0 : value > 255 ? 255 : static_cast<int>(value);
}

// Start-up treats any non-zero mode as windowed; it is kept as 1.
int fit_screen_mode(long value)
{
    return value != 0 ? 1 : 0;
}

struct setting {
    int *value;
    int start;
    int (*fit)(long read);
};

// The settings file's values in their order, each cut to what the game can use.
const setting settings_table[] = {
    {&sound_vol, 255, fit_volume},
    {&midi_vol, 255, fit_volume},
    {&current_screen_mode, 0, fit_screen_mode},
};

// The file holds three short numbers; no more than this much of it is read.
const int settings_read_limit = 256;

} // namespace

void read_settings()
{
    for (const setting &s : settings_table)
        *s.value = s.start;
    std::string text;
    if (!read_plain_file_start(settings_location, settings_file_bound, settings_read_limit, text))
        return;
    // Each value that cannot be read keeps its start value, and so do the ones after it.
    const char *at = text.c_str();
    for (const setting &s : settings_table) {
        char *end = nullptr;
        const long read = std::strtol(at, &end, 10);
        if (end == at)
            break;
        *s.value = s.fit(read);
        at = end;
    }
}

int gfx_driver_for_screen_mode(int screen_mode)
{
    return screen_mode == 0 ? GFX_AUTODETECT_FULLSCREEN : GFX_AUTODETECT_WINDOWED;
}

int set_game_gfx_mode()
{
    static const std::initializer_list<int> depths = {16, 15};
    if (set_mode_at_depths(gfx_driver_for_screen_mode(current_screen_mode), 640, 480, depths) == 0)
        return 0;
    if (current_screen_mode != 0)
        return -1;
    // Many desktops refuse a 640x480 full-screen mode where a window works fine; the window that
    // runs is then the mode the options show and the settings file keeps.
    if (set_mode_at_depths(GFX_AUTODETECT_WINDOWED, 640, 480, depths) != 0)
        return -1;
    current_screen_mode = 1;
    return 0;
}

void initialization()
{
    start_allegro();
    set_window_title("Pim's Slumberia");

    install_int_ex(increment_speed_counter, 19886);
    install_int_ex(increment_fps_timer, 1193181);

    set_color_depth(16);

    read_settings();

    use_checked_patch_set();
    if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr) != 0)
        show_in_text_mode("Error initialising sound system\n%s\nProceeding without sound", allegro_error);

    if (set_game_gfx_mode() != 0) {
        show_in_text_mode("Sorry. You need at least a \n 15bit or 16bit grahpics card");
        std::exit(1);
    }

    reserve_voices(64, -1);
    set_volume_per_voice(2);

    load_music();
    load_datafiles();

    buffer = create_bitmap(SCREEN_W, SCREEN_H);
    if (!buffer) {
        quit_with_message("Could not create screen buffer");
    }

    std::srand(static_cast<unsigned>(std::time(nullptr)));

    the_player.init_sprites();

    // The star field starts spread across the screen, as if it had been running for a while.
    for (int i = 0; i < 100; i++)
        for (int j = 0; j < 10; j++) {
            the_bg_stars.push_back(bg_stars());
            bg_stars_do_logic();
        }

    initialize_building_blocks();

    set_volume(-1, midi_vol);

    the_map.initialize();
    the_map.flush();
    the_message.initialize();

    the_player.temp_bitmap = create_bitmap(32, 32);
    if (!the_player.temp_bitmap) {
        quit_with_message("Could not create temporary player bitmap!");
    }

    map_name_pre_init();
    load_saves();
    load_level_sets();
}
