// The editor's screen mode when the desktop refuses one: F, the start from the settings file or
// "-f", and what the settings file keeps.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include "editor_fixture.h"
#include "game_quit.h"
#include "graphics_mode.h"
#include "headless.h"
#include "initialization.h"

namespace editor_test {
namespace {

// The modes asked for, as (driver, colour depth), by a stand-in for set_gfx_mode that grants only
// the drivers listed (text mode always).
struct mode_try {
    int driver, depth;
    bool operator==(const mode_try &o) const { return driver == o.driver && depth == o.depth; }
};
void PrintTo(const mode_try &t, std::ostream *out) { *out << "(driver " << t.driver << ", " << t.depth << " bits)"; }
std::vector<mode_try> modes_tried;
std::vector<int> drivers_granted;

int refusing_set_mode(int card, int, int, int, int)
{
    if (card == GFX_TEXT)
        return 0;
    modes_tried.push_back({card, get_color_depth()});
    for (int granted : drivers_granted)
        if (granted == card)
            return 0;
    return -1;
}

std::vector<std::string> &messages()
{
    static std::vector<std::string> shown;
    return shown;
}

void record_message(const char *text)
{
    messages().push_back(text);
    std::fprintf(stderr, "message: %s\n", text);
}

const int full = GFX_AUTODETECT_FULLSCREEN, window = GFX_AUTODETECT_WINDOWED;

class refusing_desktop : public editor_screen {
protected:
    void SetUp() override
    {
        editor_screen::SetUp();
        saved_calls = the_screen_mode_calls;
        the_screen_mode_calls.set_mode = refusing_set_mode;
        the_screen_mode_calls.report = record_message;
        modes_tried.clear();
        messages().clear();
        settings_path = make_temp_dir("ed_mode") + "/ed_settings.txt";
        std::snprintf(editor_settings_location, sizeof(editor_settings_location), "%s", settings_path.c_str());
        set_color_depth(16);
    }
    void TearDown() override
    {
        the_screen_mode_calls = saved_calls;
        std::strcpy(editor_settings_location, "data/ed_settings.txt");
        std::remove(settings_path.c_str());
        GAME_SCREEN_MODE = 2;
        key_f_down = 0;
        set_color_depth(16);
        editor_screen::TearDown();
    }
    static void press_f()
    {
        key[KEY_F] = 1;
        step();
        key[KEY_F] = 0;
        step();
    }
    // A map with something of every kind in it, as an author leaves it unsaved.
    static void paint_a_map()
    {
        the_map.block_layer[3][4] = 5;
        the_map.trans_layer[7][2] = 9;
        the_map.teleports = {{1, 1, 2, 2}};
        the_map.teleport_count = 1;
        std::strcpy(the_map.name, "Half Done");
    }
    static void expect_the_map_as_painted()
    {
        EXPECT_EQ(the_map.block_layer[3][4], 5);
        EXPECT_EQ(the_map.trans_layer[7][2], 9);
        EXPECT_EQ(the_map.teleport_count, 1);
        EXPECT_EQ(the_map.teleports.size(), 1u);
        EXPECT_STREQ(the_map.name, "Half Done");
    }
    static void forget_fake_datafiles() { d_tiles = d_build_tiles = d_data = d_backgrounds = d_system = nullptr; }

    screen_mode_calls saved_calls{};
    std::string settings_path;
};

TEST_F(refusing_desktop, f_switches_to_full_screen_when_it_is_granted)
{
    GAME_SCREEN_MODE = window;
    drivers_granted = {full, window};
    press_f();
    EXPECT_EQ(GAME_SCREEN_MODE, full);
    EXPECT_EQ(modes_tried, (std::vector<mode_try>{{full, 16}}));
    press_f();
    EXPECT_EQ(GAME_SCREEN_MODE, window);
}

TEST_F(refusing_desktop, a_refused_full_screen_brings_the_window_back_with_the_map_and_says_so)
{
    GAME_SCREEN_MODE = window;
    set_color_depth(15);
    drivers_granted = {window};
    paint_a_map();
    press_f();
    EXPECT_EQ(GAME_SCREEN_MODE, window);
    // Full screen at the depth that ran and at 16, then the window back at the depth it had.
    EXPECT_EQ(modes_tried, (std::vector<mode_try>{{full, 15}, {full, 16}, {window, 15}}));
    EXPECT_EQ(get_color_depth(), 15);
    expect_the_map_as_painted();
    EXPECT_TRUE(messages().empty()) << "no text mode: the message is the editor's own, on its screen";
    EXPECT_TRUE(shows_white_text(screen, 0, 20, "Sorry. You need at least a "));
    EXPECT_TRUE(shows_white_text(screen, 0, 30, "15bit or 16bit grahpics card"));
    EXPECT_TRUE(shows_white_text(screen, 0, 40, "The screen mode was not changed, and the map is as it was."));
    EXPECT_TRUE(shows_white_text(screen, 0, 50, "Press Any Key"));
    // Editing goes on: a click still paints.
    pointer(cell_x(9), cell_y(9), 1);
    step();
    pointer(cell_x(9), cell_y(9), 0);
    EXPECT_EQ(the_map.block_layer[9][9], 0);
}

TEST_F(refusing_desktop, after_a_refused_switch_quitting_keeps_the_window_in_the_settings_file)
{
    GAME_SCREEN_MODE = window;
    drivers_granted = {window};
    EXPECT_EXIT(
        {
            forget_fake_datafiles();
            press_f();
            game_quit();
        },
        testing::ExitedWithCode(1), "");
    EXPECT_EQ(read_text_file(settings_path), "2");
}

TEST_F(refusing_desktop, only_a_desktop_that_gives_no_mode_at_all_ends_the_editor)
{
    GAME_SCREEN_MODE = window;
    drivers_granted = {};
    EXPECT_EXIT(
        {
            forget_fake_datafiles();
            press_f();
            std::_Exit(0);
        },
        testing::ExitedWithCode(1), "message: Sorry. You need at least a \n15bit or 16bit grahpics card");
    // It ends in the mode it ran in, and starts in it again.
    EXPECT_EQ(read_text_file(settings_path), "2");
}

struct start_case {
    const char *label;
    int asked;                // from the settings file or "-f"
    std::vector<int> granted; // drivers the desktop grants
    std::vector<mode_try> tried;
    int result;
    int running; // GAME_SCREEN_MODE afterwards: what quitting writes
};

void PrintTo(const start_case &c, std::ostream *out) { *out << c.label; }

class editor_start : public testing::TestWithParam<start_case> {};

TEST_P(editor_start, opens_the_mode_asked_for_or_else_a_window)
{
    const start_case &c = GetParam();
    screen_mode_calls saved = the_screen_mode_calls;
    the_screen_mode_calls.set_mode = refusing_set_mode;
    modes_tried.clear();
    drivers_granted = c.granted;
    GAME_SCREEN_MODE = c.asked;
    const int result = set_editor_gfx_mode();
    the_screen_mode_calls = saved;
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(modes_tried, c.tried);
    EXPECT_EQ(GAME_SCREEN_MODE, c.running);
    GAME_SCREEN_MODE = 2;
    set_color_depth(16);
}

const start_case start_cases[] = {
    {"window_granted_at_15", window, {window}, {{window, 15}}, 0, window},
    {"full_screen_granted_at_15", full, {full}, {{full, 15}}, 0, full},
    {"full_screen_refused_opens_a_window", full, {window}, {{full, 15}, {full, 16}, {window, 15}}, 0, window},
    {"autodetect_refused_opens_a_window", GFX_AUTODETECT, {window},
     {{GFX_AUTODETECT, 15}, {GFX_AUTODETECT, 16}, {window, 15}}, 0, window},
    {"no_window_either_fails", full, {}, {{full, 15}, {full, 16}, {window, 15}, {window, 16}}, -1, full},
    {"a_refused_window_is_not_asked_twice", window, {full}, {{window, 15}, {window, 16}}, -1, window},
};

INSTANTIATE_TEST_SUITE_P(cases, editor_start, testing::ValuesIn(start_cases), label_name());

} // namespace
} // namespace editor_test
