// The README's key table against the game: binding rows name the player's default keys, and the keys of the fixed rows really do what their rows say.
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>
#include "auto_script.h"
#include "credits_screen.h"
#include "do_logic.h"
#include "game_player_fixture.h"
#include "game_story_timer.h"
#include "headless.h"
#include "keyconfig_screen.h"
#include "menu_frame.h"
#include "player.h"
#include "title_screen.h"
#include "tutorial.h"

namespace {

const std::string readme_path = std::string(TEST_SOURCE_DIR) + "/../README.md";

struct table_row {
    std::string key;  // first cell: the key as a player reads it
    std::string does; // second cell
};

std::string trimmed(const std::string &text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The rows of the first table after the "## How to play" heading, without its heading row and rule.
std::vector<table_row> how_to_play_rows(const std::string &readme)
{
    std::vector<table_row> rows;
    const size_t section = readme.find("\n## How to play\n");
    if (section == std::string::npos)
        return rows;
    std::istringstream lines(readme.substr(section + 1));
    std::string line;
    bool in_table = false;
    int table_line = 0;
    while (std::getline(lines, line)) {
        if (line.rfind("|", 0) != 0) {
            if (in_table)
                break;
            if (line.rfind("## ", 0) == 0 && line != "## How to play")
                break;
            continue;
        }
        in_table = true;
        if (table_line++ < 2)
            continue;
        const size_t middle = line.find('|', 1);
        const size_t end = line.find('|', middle + 1);
        if (middle == std::string::npos || end == std::string::npos)
            continue;
        rows.push_back({trimmed(line.substr(1, middle - 1)), trimmed(line.substr(middle + 1, end - middle - 1))});
    }
    return rows;
}

struct named_key {
    const char *name;
    int scancode;
};

// Names of keys that are not a single letter, digit or F1..F12.
const named_key named_keys[] = {
    {"Up arrow", KEY_UP},      {"Down arrow", KEY_DOWN}, {"Left arrow", KEY_LEFT},
    {"Right arrow", KEY_RIGHT}, {"Space", KEY_SPACE},     {"Enter", KEY_ENTER},
    {"Esc", KEY_ESC},          {"Tab", KEY_TAB},         {"Backspace", KEY_BACKSPACE},
    {"Insert", KEY_INSERT},    {"Delete", KEY_DEL},      {"Home", KEY_HOME},
    {"End", KEY_END},          {"Page Up", KEY_PGUP},    {"Page Down", KEY_PGDN},
};

// The scancode of a key name as the README writes it; 0 (no key) for a name it does not know.
int scancode_of(const std::string &name)
{
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z')
        return KEY_A + (name[0] - 'A');
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9')
        return KEY_0 + (name[0] - '0');
    if (name.size() >= 2 && name[0] == 'F' && name.find_first_not_of("0123456789", 1) == std::string::npos) {
        const int number = std::stoi(name.substr(1));
        if (number >= 1 && number <= 12)
            return KEY_F1 + number - 1;
    }
    for (const named_key &k : named_keys)
        if (name == k.name)
            return k.scancode;
    return 0;
}

// Rows for the player's eight bindings, found by the words their description starts with.
struct binding_row {
    const char *starts;
    int player::*binding;
};

const binding_row binding_rows[] = {
    {"Walk right", &player::key_right}, {"Walk left", &player::key_left},
    {"Look up", &player::key_up},       {"Duck", &player::key_down},
    {"Build", &player::key_action},     {"Restart", &player::key_restart},
    {"Save", &player::key_save},        {"Next song", &player::key_music},
};

// What one press of a key did, with a movie playing and a game in progress.
struct effects {
    bool title_menu = false;
    bool screenshot = false;
    bool movie_stopped = false;
    bool menu_choice = false;
};

// Rows for the keys that cannot be rebound, each with the effect its description promises.
struct fixed_row {
    const char *starts;
    bool effects::*effect;
};

const fixed_row fixed_rows[] = {
    {"Title menu", &effects::title_menu},
    {"Screenshot", &effects::screenshot},
    {"Stop a movie", &effects::movie_stopped},
    {"Choose", &effects::menu_choice},
};

// Plays one press of `scancode` as a player would meet it: in a menu, then in play through the
// global keys and the movie's tick. Should the key open the title menu, Down and Enter held with it
// choose Continue and the menu returns. `scancode` must not be one of the player's bindings: the
// save key would open a list that waits for keys nobody presses.
effects press(int scancode)
{
    effects seen;
    player_test::reset_world();
    std::filesystem::remove_all("shots");
    std::filesystem::create_directory("shots");

    key_enter_pressed = 0;
    key[scancode] = -1;
    seen.menu_choice = menu_select_pressed() != 0;
    key[scancode] = 0;

    tutorial_number = 0;
    credits_active = 0;
    game_in_progress = -1;
    key_esc_down = key_f1_down = key_F3_down = 0;
    do_play_script = -1;
    script_time = 1;
    play_script_time = 100;
    key[KEY_DOWN] = key[KEY_ENTER] = -1;
    key_enter_pressed = 0;
    speed_counter = 5;
    const int scroll_before = background_scroll;

    key[scancode] = -1;
    process_keys();
    play_script();

    seen.title_menu = background_scroll != scroll_before;
    seen.screenshot = std::filesystem::exists("shots/screenshot000.bmp");
    seen.movie_stopped = do_play_script == 0;
    player_test::release_all_keys();
    do_play_script = 0;
    speed_counter = 0;
    return seen;
}

class readme_keys : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        story_test_timer::install_silent_timer();
        the_message.initialize();
    }

    void SetUp() override
    {
        rows = how_to_play_rows(read_text_file(readme_path));
        // Screenshots land in a scratch working directory, not in the run tree.
        run_dir = std::filesystem::current_path();
        scratch = make_temp_dir("readme_keys");
        ASSERT_EQ(chdir(scratch.c_str()), 0);
    }

    void TearDown() override
    {
        ASSERT_EQ(chdir(run_dir.c_str()), 0);
        std::filesystem::remove_all(scratch);
    }

    // The one row whose description starts with `starts`; fails the test unless there is exactly one.
    const table_row *row_starting(const char *starts)
    {
        const table_row *found = nullptr;
        for (const table_row &row : rows) {
            if (row.does.rfind(starts, 0) != 0)
                continue;
            EXPECT_EQ(found, nullptr) << "two rows start with \"" << starts << "\"";
            found = &row;
        }
        EXPECT_NE(found, nullptr) << "no row of the README's key table starts with \"" << starts << "\"";
        return found;
    }

    std::vector<table_row> rows;
    std::filesystem::path run_dir;
    std::string scratch;
};

TEST_F(readme_keys, every_row_names_a_known_key_and_a_known_action)
{
    ASSERT_FALSE(rows.empty()) << "no key table under \"## How to play\" in " << readme_path;
    for (const table_row &row : rows) {
        EXPECT_NE(scancode_of(row.key), 0) << "unknown key name \"" << row.key << "\"";
        int actions = 0;
        for (const binding_row &b : binding_rows)
            actions += row.does.rfind(b.starts, 0) == 0;
        for (const fixed_row &f : fixed_rows)
            actions += row.does.rfind(f.starts, 0) == 0;
        EXPECT_EQ(actions, 1) << "the row for " << row.key << " (\"" << row.does
                              << "\") is none of the actions this test knows";
    }
    EXPECT_EQ(rows.size(), std::size(binding_rows) + std::size(fixed_rows));
}

TEST_F(readme_keys, binding_rows_name_the_default_keys)
{
    const player defaults;
    for (const binding_row &b : binding_rows) {
        const table_row *row = row_starting(b.starts);
        if (!row)
            continue;
        EXPECT_EQ(scancode_of(row->key), defaults.*b.binding)
            << "README: " << row->key << " for \"" << b.starts << "\"; the default is the key labelled "
            << get_char(defaults.*b.binding, -1);
    }
}

TEST_F(readme_keys, fixed_keys_do_what_their_rows_say)
{
    const player defaults;
    // A key that no row names does none of these, so each check below can fail.
    const effects idle = press(KEY_F12);
    for (const fixed_row &f : fixed_rows)
        EXPECT_FALSE(idle.*f.effect) << f.starts;

    for (const fixed_row &f : fixed_rows) {
        const table_row *row = row_starting(f.starts);
        if (!row)
            continue;
        const int scancode = scancode_of(row->key);
        ASSERT_NE(scancode, 0) << row->key;
        bool bound = false;
        for (const binding_row &b : binding_rows)
            bound = bound || defaults.*b.binding == scancode;
        ASSERT_FALSE(bound) << row->key << " is one of the player's keys, not a fixed one";
        EXPECT_TRUE(press(scancode).*f.effect) << "README: " << row->key << " for \"" << f.starts << "\"";
    }
}

} // namespace
