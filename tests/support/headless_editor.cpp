// Test main for the editor's code: headless Allegro run from the run tree.
#include "headless_common.inc"
#include "input_dialog.h"
#include "save_load_map.h"

std::vector<seam> program_seams()
{
    return {
        {"the_file_selector", the_file_selector == file_select_ex},
        {"the_question", the_question == ask_yes_no},
        {"the_dialog_runner", the_dialog_runner == do_dialog},
        {"the_dialog_popup", the_dialog_popup == popup_dialog},
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
