// Test main for the editor's code: headless Allegro run from the run tree.
#include "headless_common.inc"

int main(int argc, char **argv)
{
    testing::InitGoogleTest(&argc, argv);
    start_headless_allegro();
    return RUN_ALL_TESTS();
}
