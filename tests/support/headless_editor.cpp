// Test main for the editor's code: headless Allegro run from the run tree.
#include "headless_common.inc"
#include "graphics_mode.h"
#include "input_dialog.h"
#include "save_load_map.h"

std::vector<seam> program_seams()
{
    return {
        {"the_file_selector", the_file_selector == file_select_ex},
        {"the_question", the_question == ask_yes_no},
        {"the_dialog_runner", the_dialog_runner == do_dialog},
        {"the_dialog_popup", the_dialog_popup == popup_dialog},
        {"the_screen_mode_calls.set_depth", the_screen_mode_calls.set_depth == set_color_depth},
        {"the_screen_mode_calls.set_mode", the_screen_mode_calls.set_mode == set_gfx_mode},
        {"the_screen_mode_calls.report", the_screen_mode_calls.report == report_in_message_box},
    };
}

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    check_seams_after_each_test();
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    start_headless_allegro();
    return RUN_ALL_TESTS();
}
