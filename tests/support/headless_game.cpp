// Test main for the game's code: headless Allegro, the game's data files loaded, a back buffer.
#include "headless_common.inc"
#include "datafiles.h"
#include "do_drawing.h"
#include "graphics_mode.h"
#include "initialization.h"
#include "keyconfig_screen.h"
#include "level_selection_screen.h"
#include "level_set_screen.h"
#include "options_screen.h"
#include "save_load_screen.h"
#include "title_screen.h"
#include "tutorial_screen.h"

std::vector<seam> program_seams()
{
    return {
        {"title_load_game_screen", title_load_game_screen == load_game_screen},
        {"title_tutorial_screen", title_tutorial_screen == tutorial_screen},
        {"title_options_screen", title_options_screen == options_screen},
        {"options_keyconfig_screen", options_keyconfig_screen == keyconfig_screen},
        {"options_level_set_screen", options_level_set_screen == level_set_screen},
        {"options_erase_save_screen", options_erase_save_screen == erase_save_screen},
        {"the_screen_mode_calls.set_depth", the_screen_mode_calls.set_depth == set_color_depth},
        {"the_screen_mode_calls.set_mode", the_screen_mode_calls.set_mode == set_gfx_mode},
        {"the_screen_mode_calls.report", the_screen_mode_calls.report == report_in_message_box},
        {"load_screen_level_selection", load_screen_level_selection == level_selection_screen},
    };
}

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    check_seams_after_each_test();
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    start_headless_allegro();
    load_datafiles();
    buffer = create_bitmap(640, 480);
    return RUN_ALL_TESTS();
}
