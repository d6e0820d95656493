// A map whose name and file names are not valid UTF-8 is drawn and the frame comes back: the
// editor's text routines treat them as plain bytes.
#include <unistd.h>
#include <cstdio>
#include <string>
#include "editor_fixture.h"
#include "invalid_utf8.h"

namespace editor_test {
namespace {

class invalid_utf8 : public editor_screen, public testing::WithParamInterface<bad_name> {};

TEST_P(invalid_utf8, map_names_are_drawn_and_the_frame_comes_back)
{
    const char *name = GetParam().bytes;
    std::snprintf(the_map.name, sizeof(the_map.name), "%s", name);
    std::snprintf(the_map.file_name, sizeof(the_map.file_name), "%s.map", name);
    std::snprintf(the_map.next_map, sizeof(the_map.next_map), "%s.map", name);
    // A child draws it: one that hangs is ended by the alarm, long after any honest frame is over.
    EXPECT_EXIT(
        {
            alarm(60);
            do_drawing(0);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

INSTANTIATE_TEST_SUITE_P(cases, invalid_utf8, testing::ValuesIn(bad_names), label_name());

} // namespace
} // namespace editor_test
