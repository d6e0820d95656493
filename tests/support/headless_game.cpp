// Test main for the game's code: headless Allegro, the game's data files loaded, a back buffer.
#include "headless_common.inc"
#include "datafiles.h"
#include "do_drawing.h"

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    start_headless_allegro();
    load_datafiles();
    buffer = create_bitmap(640, 480);
    return RUN_ALL_TESTS();
}
