// Names from files with bytes that are not valid UTF-8 go through the banner, the save rows, a
// message and a failure message and come back: Allegro's text routines treat them as plain bytes.
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>
#include <unistd.h>
#include "case_names.h"
#include "do_drawing.h"
#include "invalid_utf8.h"
#include "level_set_screen.h"
#include "map.h"
#include "message.h"
#include "save_game.h"
#include "save_load_screen.h"
#include "show_map_name.h"
#include "slot_list.h"

namespace {

// What the name goes through, each a run that must come back.
void through_the_banner(const char *name)
{
    std::snprintf(the_map.name, sizeof(the_map.name), "%s", name);
    map_name_pre_init();
    map_name_init();
    clear_bitmap(buffer);
    draw_map_name(buffer);
}

void through_the_save_rows(const char *name)
{
    game_saves.assign(2, save_game_locs());
    for (save_game_locs &save : game_saves) {
        std::snprintf(save.map_name, sizeof(save.map_name), "%s", name);
        std::snprintf(save.level_set_name, sizeof(save.level_set_name), "%s", name);
    }
    const slot_list list = start_slot_list(static_cast<int>(game_saves.size()), 0);
    draw_load_screen(list);
    draw_save_screen(list);
    draw_erase_screen(list);
}

void through_a_message(const char *name)
{
    the_message.initialize();
    const std::string text = std::string(name) + "|" + name;
    the_message.set(text.c_str(), 0, 0, 0, -1);
    // Each frame types one character once the pace allows; a few thousand ticks type it all.
    for (int tick = 0; tick < 3000 && !the_message.finished; tick++) {
        the_message.calculate();
        the_message.draw();
    }
    EXPECT_TRUE(the_message.finished);
}

// A map that cannot be found ends the game with a message that names its path.
void through_a_failure_message(const char *name)
{
    std::snprintf(loader_directory, sizeof(loader_directory), "%s/", name);
    char file[64];
    std::snprintf(file, sizeof(file), "%s.map", name);
    the_map.load_map(file);
}

struct passage {
    const char *label;
    void (*run)(const char *name);
    int status; // the exit status of a run that came back
};

const passage passages[] = {
    {"banner", through_the_banner, 0},
    {"save_rows", through_the_save_rows, 0},
    {"message", through_a_message, 0},
    {"failure_message", through_a_failure_message, 1},
};

// Names the cases in test output.
void PrintTo(const passage &p, std::ostream *out) { *out << p.label; }

class invalid_utf8 : public testing::TestWithParam<std::tuple<passage, bad_name>> {};

TEST_P(invalid_utf8, goes_through_and_comes_back)
{
    const passage &p = std::get<0>(GetParam());
    const char *name = std::get<1>(GetParam()).bytes;
    // A child runs it: one that hangs is ended by the alarm, long after any honest run is over.
    EXPECT_EXIT(
        {
            alarm(60);
            p.run(name);
            std::fflush(stdout);
            std::_Exit(testing::Test::HasFailure() ? 3 : 0);
        },
        testing::ExitedWithCode(p.status), "");
}

INSTANTIATE_TEST_SUITE_P(cases, invalid_utf8, testing::Combine(testing::ValuesIn(passages), testing::ValuesIn(bad_names)),
                         label_name());

} // namespace
