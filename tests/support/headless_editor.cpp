// Test main for the editor's code: headless Allegro run from the run tree.
#include "headless_common.inc"

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    start_headless_allegro();
    return RUN_ALL_TESTS();
}
