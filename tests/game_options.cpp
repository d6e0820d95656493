// Options screen driven tick by tick: settings file, volume steps, the screen-mode toggle's attempts, the screens it opens, drawing.
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>
#include "datafiles.h"
#include "do_drawing.h"
#include "game_player_fixture.h"
#include "graphics_mode.h"
#include "headless.h"
#include "initialization.h"
#include "keyconfig_screen.h"
#include "level_set_screen.h"
#include "map.h"
#include "menu_frame.h"
#include "options_screen.h"
#include "player.h"
#include "save_load_screen.h"
#include "timer.h"
#include "title_screen.h"
#include "drawn_at.h"

namespace {

using player_test::clear_sounds;
using player_test::install_sound_recorder;
using player_test::release_all_keys;
using player_test::sounds_played;

// The volume each sample was started with, beside player_test's record of which sample it was.
std::vector<int> &sample_volumes()
{
    static std::vector<int> volumes;
    return volumes;
}

void record_volume(int, int volume)
{
    sample_volumes().push_back(volume);
}

// Every call the toggle makes, as text, and the answers set_mode gives in turn (text mode
// always works).
std::vector<std::string> mode_calls;
std::vector<int> mode_answers;
std::size_t next_answer = 0;

const char *card_name(int card)
{
    switch (card) {
    case GFX_TEXT: return "text";
    case GFX_AUTODETECT: return "autodetect";
    case GFX_AUTODETECT_FULLSCREEN: return "full screen";
    case GFX_AUTODETECT_WINDOWED: return "windowed";
    default: return "other";
    }
}

void fake_depth(int depth)
{
    mode_calls.push_back("depth " + std::to_string(depth));
}

int fake_mode(int card, int w, int h, int v_w, int v_h)
{
    mode_calls.push_back(std::string(card_name(card)) + " " + std::to_string(w) + "x" + std::to_string(h) +
                         " " + std::to_string(v_w) + "x" + std::to_string(v_h));
    if (card == GFX_TEXT)
        return 0;
    return next_answer < mode_answers.size() ? mode_answers[next_answer++] : -1;
}

void fake_report(const char *text)
{
    mode_calls.push_back(std::string("message ") + text);
    std::fprintf(stderr, "message: %s\n", text);
}

int keyconfig_calls = 0;
int level_set_calls = 0;
int erase_calls = 0;
void fake_keyconfig() { keyconfig_calls++; }
int fake_level_set() { level_set_calls++; return 0; }
void fake_erase() { erase_calls++; }

class options_test : public ::testing::Test {
protected:
    void SetUp() override
    {
        install_sound_recorder();
        digi_driver->set_volume = record_volume;
        release_all_keys();
        clear_sounds();
        sample_volumes().clear();
        key_enter_pressed = 0;
        sound_vol = 255;
        midi_vol = 255;
        current_screen_mode = 0;
        the_player = player();
        dir = make_temp_dir("options");
        std::snprintf(settings_location, sizeof(settings_location), "%s/settings.txt", dir.c_str());
        saved_calls = the_screen_mode_calls;
        the_screen_mode_calls = {fake_depth, fake_mode, fake_report};
        mode_calls.clear();
        mode_answers.clear();
        next_answer = 0;
        keyconfig_calls = level_set_calls = erase_calls = 0;
        saved_keyconfig = options_keyconfig_screen;
        saved_level_set = options_level_set_screen;
        saved_erase = options_erase_save_screen;
        options_keyconfig_screen = fake_keyconfig;
        options_level_set_screen = fake_level_set;
        options_erase_save_screen = fake_erase;
    }
    void TearDown() override
    {
        release_all_keys();
        the_screen_mode_calls = saved_calls;
        options_keyconfig_screen = saved_keyconfig;
        options_level_set_screen = saved_level_set;
        options_erase_save_screen = saved_erase;
        std::snprintf(settings_location, sizeof(settings_location), "data/settings.txt");
        std::remove((dir + "/settings.txt").c_str());
        rmdir(dir.c_str());
    }

    // One press of a key: a tick with it down, then a tick with it up.
    void press(options_menu &menu, int scancode)
    {
        key[scancode] = 1;
        options_menu_tick(menu);
        key[scancode] = 0;
        options_menu_tick(menu);
    }

    std::string dir;
    screen_mode_calls saved_calls{};
    void (*saved_keyconfig)() = nullptr;
    int (*saved_level_set)() = nullptr;
    void (*saved_erase)() = nullptr;
};

struct settings_case {
    int sound, music, mode;
    const char *file;
};

TEST_F(options_test, the_settings_file_holds_three_lines_and_start_up_reads_them_back)
{
    const settings_case cases[] = {
        {255, 255, 0, "255\n255\n0"},
        {0, 51, 1, "0\n51\n1"},
        {102, 0, 1, "102\n0\n1"},
    };
    for (const settings_case &c : cases) {
        sound_vol = c.sound;
        midi_vol = c.music;
        current_screen_mode = c.mode;
        write_settings();
        EXPECT_EQ(read_text_file(settings_location), c.file);
        sound_vol = midi_vol = current_screen_mode = 77;
        read_settings();
        EXPECT_EQ(sound_vol, c.sound);
        EXPECT_EQ(midi_vol, c.music);
        EXPECT_EQ(current_screen_mode, c.mode);
    }
}

TEST_F(options_test, an_unwritable_settings_file_is_skipped_and_the_values_stay)
{
    std::snprintf(settings_location, sizeof(settings_location), "%s/no such dir/settings.txt", dir.c_str());
    sound_vol = 51;
    write_settings();
    EXPECT_EQ(read_text_file(settings_location), "");
    EXPECT_EQ(sound_vol, 51);
}

TEST_F(options_test, leaving_through_back_writes_the_file_even_when_nothing_changed)
{
    write_text_file(settings_location, "0\n0\n1\nold tail");
    // In one tick: Up wraps from the first item to Back and Enter chooses it.
    key[KEY_UP] = 1;
    key[KEY_ENTER] = 1;
    speed_counter = 3;
    options_screen();
    EXPECT_EQ(read_text_file(settings_location), "255\n255\n0");
    EXPECT_EQ(sounds_played(), (std::vector<int>{menu_move_sound, menu_select_sound}));
}

TEST_F(options_test, up_and_down_wrap_between_the_first_and_the_last_item)
{
    options_menu menu = start_options_menu();
    EXPECT_EQ(menu.item, 0);
    press(menu, KEY_UP);
    EXPECT_EQ(menu.item, 6);
    press(menu, KEY_DOWN);
    EXPECT_EQ(menu.item, 0);
    for (int expected = 1; expected <= 6; expected++) {
        press(menu, KEY_DOWN);
        EXPECT_EQ(menu.item, expected);
    }
    EXPECT_EQ(sounds_played(), std::vector<int>(8, menu_move_sound));
    // A held key moves once.
    key[KEY_UP] = 1;
    for (int i = 0; i < 10; i++)
        options_menu_tick(menu);
    EXPECT_EQ(menu.item, 5);
}

struct volume_case {
    int item;
    int start;
    int key_code;
    std::vector<int> after; // the volume after each press
    int sounds;             // move sounds heard over all presses
};

TEST_F(options_test, volumes_step_by_51_and_stop_at_their_limits)
{
    const volume_case cases[] = {
        {options_sound_volume, 0, KEY_RIGHT, {51, 102, 153, 204, 255, 255}, 5},
        {options_sound_volume, 255, KEY_LEFT, {204, 153, 102, 51, 0, 0}, 5},
        {options_music_volume, 0, KEY_RIGHT, {51, 102, 153, 204, 255, 255}, 5},
        {options_music_volume, 255, KEY_LEFT, {204, 153, 102, 51, 0, 0}, 5},
        // Values from a hand-edited file stay within 0..255.
        {options_sound_volume, 100, KEY_LEFT, {49, 0, 0}, 2},
        {options_music_volume, 240, KEY_RIGHT, {255, 255}, 1},
        {options_music_volume, 254, KEY_RIGHT, {255}, 1},
        {options_sound_volume, 300, KEY_RIGHT, {300}, 0},
        {options_sound_volume, 300, KEY_LEFT, {249}, 1},
        {options_music_volume, -5, KEY_LEFT, {-5}, 0},
    };
    for (const volume_case &c : cases) {
        int &volume = c.item == options_sound_volume ? sound_vol : midi_vol;
        sound_vol = midi_vol = 153;
        volume = c.start;
        clear_sounds();
        options_menu menu = start_options_menu();
        menu.item = c.item;
        for (int expected : c.after) {
            press(menu, c.key_code);
            EXPECT_EQ(volume, expected) << "item " << c.item << " from " << c.start;
        }
        EXPECT_EQ(sounds_played(), std::vector<int>(c.sounds, menu_move_sound)) << "from " << c.start;
        // The other volume is untouched.
        EXPECT_EQ(c.item == options_sound_volume ? midi_vol : sound_vol, 153);
    }
}

TEST_F(options_test, the_move_sound_of_a_sound_volume_step_plays_at_the_old_volume)
{
    options_menu menu = start_options_menu();
    sound_vol = 51;
    press(menu, KEY_LEFT);
    ASSERT_EQ(sound_vol, 0);
    press(menu, KEY_RIGHT);
    ASSERT_EQ(sound_vol, 51);
    EXPECT_EQ(sample_volumes(), (std::vector<int>{51, 0}));
}

TEST_F(options_test, music_volume_steps_reach_allegro_at_once)
{
    options_menu menu = start_options_menu();
    menu.item = options_music_volume;
    midi_vol = 102;
    press(menu, KEY_RIGHT);
    int digi = 0;
    int music = 0;
    get_volume(&digi, &music);
    EXPECT_EQ(music, 153);
    press(menu, KEY_LEFT);
    press(menu, KEY_LEFT);
    get_volume(&digi, &music);
    EXPECT_EQ(music, 51);
    // A sound volume step hands Allegro the music volume too, never the sound volume.
    menu.item = options_sound_volume;
    press(menu, KEY_LEFT);
    get_volume(&digi, &music);
    EXPECT_EQ(music, 51);
    EXPECT_EQ(sound_vol, 204);
}

TEST_F(options_test, enter_on_a_volume_row_only_takes_the_press)
{
    for (int item : {options_sound_volume, options_music_volume}) {
        key_enter_pressed = 0;
        options_menu menu = start_options_menu();
        menu.item = item;
        key[KEY_ENTER] = 1;
        options_menu_tick(menu);
        EXPECT_EQ(key_enter_pressed, -1);
        key[KEY_ENTER] = 0;
        EXPECT_EQ(menu.leave, 0);
        EXPECT_EQ(sound_vol, 255);
        EXPECT_EQ(midi_vol, 255);
        EXPECT_TRUE(mode_calls.empty());
    }
    EXPECT_TRUE(sounds_played().empty());
}

TEST_F(options_test, left_and_right_do_nothing_on_the_other_rows)
{
    for (int item = options_screen_mode; item <= options_back; item++) {
        options_menu menu = start_options_menu();
        menu.item = item;
        press(menu, KEY_LEFT);
        press(menu, KEY_RIGHT);
        EXPECT_EQ(menu.leave, 0);
    }
    EXPECT_EQ(sound_vol, 255);
    EXPECT_EQ(midi_vol, 255);
    EXPECT_TRUE(sounds_played().empty());
    EXPECT_TRUE(mode_calls.empty());
}

struct toggle_case {
    const char *what;
    int start_mode;
    std::vector<int> answers;
    std::vector<std::string> calls;
    int end_mode;
};

TEST_F(options_test, the_screen_mode_toggle_tries_its_modes_in_order)
{
    const std::string no_window = "message Sorry. Windowed does \nnot work on your system!";
    const std::string no_mode = "message Sorry. You need at least a \n 15bit or 16bit grahpics card";
    const toggle_case cases[] = {
        {"window at 16 bits", 0, {0}, {"depth 16", "windowed 640x480 0x0"}, 1},
        {"window at 15 bits", 0, {-1, 0},
         {"depth 16", "windowed 640x480 0x0", "depth 15", "windowed 640x480 0x0"}, 1},
        {"no window, autodetected at 16", 0, {-1, -1, 0},
         {"depth 16", "windowed 640x480 0x0", "depth 15", "windowed 640x480 0x0", "text 0x0 0x0", no_window,
          "depth 16", "autodetect 640x480 0x0"},
         0},
        {"no window, autodetected at 15", 0, {-1, -1, -1, 0},
         {"depth 16", "windowed 640x480 0x0", "depth 15", "windowed 640x480 0x0", "text 0x0 0x0", no_window,
          "depth 16", "autodetect 640x480 0x0", "depth 15", "autodetect 640x480 0x0"},
         0},
        {"full screen at 16", 1, {0}, {"depth 16", "full screen 640x480 0x0"}, 0},
        {"full screen at 15, from mode 2", 2, {-1, 0},
         {"depth 16", "full screen 640x480 0x0", "depth 15", "full screen 640x480 0x0"}, 0},
        {"full screen refused, the window back at 16", 1, {-1, -1, 0},
         {"depth 16", "full screen 640x480 0x0", "depth 15", "full screen 640x480 0x0", "text 0x0 0x0", no_mode,
          "depth 16", "windowed 640x480 0x0"},
         1},
        {"full screen refused, the window back at 15", 1, {-1, -1, -1, 0},
         {"depth 16", "full screen 640x480 0x0", "depth 15", "full screen 640x480 0x0", "text 0x0 0x0", no_mode,
          "depth 16", "windowed 640x480 0x0", "depth 15", "windowed 640x480 0x0"},
         1},
    };
    for (const toggle_case &c : cases) {
        mode_calls.clear();
        mode_answers = c.answers;
        next_answer = 0;
        current_screen_mode = c.start_mode;
        toggle_screen_mode();
        EXPECT_EQ(mode_calls, c.calls) << c.what;
        EXPECT_EQ(current_screen_mode, c.end_mode) << c.what;
    }
}

TEST_F(options_test, enter_on_screen_mode_toggles_it_with_the_select_sound)
{
    options_menu menu = start_options_menu();
    menu.item = options_screen_mode;
    mode_answers = {0, 0};
    press(menu, KEY_ENTER);
    EXPECT_EQ(current_screen_mode, 1);
    // The action key selects as well.
    press(menu, the_player.key_action);
    EXPECT_EQ(current_screen_mode, 0);
    EXPECT_EQ(mode_calls, (std::vector<std::string>{"depth 16", "windowed 640x480 0x0", "depth 16",
                                                    "full screen 640x480 0x0"}));
    EXPECT_EQ(sounds_played(), (std::vector<int>{menu_select_sound, menu_select_sound}));
    EXPECT_EQ(menu.leave, 0);
}

TEST_F(options_test, a_refused_full_screen_leaves_the_level_and_the_window_as_they_were)
{
    the_map.flush();
    the_map.block_layer[4][6] = build_still;
    std::strcpy(the_map.file_name, "level_3.map");
    the_player.x = 224;
    the_player.y = 96;
    the_player.steps_taken = 41;
    current_screen_mode = 1;
    options_menu menu = start_options_menu();
    menu.item = options_screen_mode;
    mode_answers = {-1, -1, 0}; // full screen at neither depth, the window at once
    press(menu, KEY_ENTER);
    EXPECT_EQ(current_screen_mode, 1);
    EXPECT_EQ(mode_calls.back(), "windowed 640x480 0x0");
    EXPECT_EQ(menu.leave, 0);
    EXPECT_EQ(the_map.block_layer[4][6], build_still);
    EXPECT_STREQ(the_map.file_name, "level_3.map");
    EXPECT_EQ(the_player.x, 224);
    EXPECT_EQ(the_player.y, 96);
    EXPECT_EQ(the_player.steps_taken, 41);
    // Leaving the screen records the window that runs.
    write_settings();
    EXPECT_EQ(read_text_file(settings_location), "255\n255\n1");
    the_map.flush();
}

using options_death_test = options_test;

TEST_F(options_death_test, no_mode_at_all_after_a_toggle_ends_the_game_without_writing_settings)
{
    for (int start_mode : {0, 1}) {
        current_screen_mode = start_mode;
        mode_answers.clear(); // every mode but text fails
        EXPECT_EXIT(toggle_screen_mode(), ::testing::ExitedWithCode(1), "15bit or 16bit grahpics card");
    }
    EXPECT_EQ(read_text_file(settings_location), "");
}

TEST_F(options_test, the_items_open_their_screens_and_the_menu_stays)
{
    options_menu menu = start_options_menu();
    menu.item = options_keys;
    speed_counter = 9;
    press(menu, KEY_ENTER);
    EXPECT_EQ(keyconfig_calls, 1);
    EXPECT_EQ(speed_counter, 9);

    menu.item = options_level_set;
    press(menu, KEY_ENTER);
    EXPECT_EQ(level_set_calls, 1);
    EXPECT_EQ(speed_counter, 0);

    speed_counter = 9;
    menu.item = options_erase_save;
    press(menu, KEY_ENTER);
    EXPECT_EQ(erase_calls, 1);
    EXPECT_EQ(speed_counter, 0);
    speed_counter = 0;

    EXPECT_EQ(menu.leave, 0);
    EXPECT_EQ(sounds_played(), std::vector<int>(3, menu_select_sound));

    menu.item = options_back;
    press(menu, KEY_ENTER);
    EXPECT_EQ(menu.leave, -1);
}

TEST(options_screens, each_item_leads_to_the_real_screen_unless_a_test_swaps_it)
{
    EXPECT_EQ(options_keyconfig_screen, &keyconfig_screen);
    EXPECT_EQ(options_level_set_screen, &level_set_screen);
    EXPECT_EQ(options_erase_save_screen, &erase_save_screen);
}

TEST_F(options_test, a_held_select_key_from_the_title_selects_nothing)
{
    options_menu menu = start_options_menu();
    menu.item = options_back;
    key_enter_pressed = -1;
    key[KEY_ENTER] = 1;
    for (int i = 0; i < 5; i++)
        options_menu_tick(menu);
    EXPECT_EQ(menu.leave, 0);
    press(menu, KEY_ENTER);
    press(menu, KEY_ENTER);
    EXPECT_EQ(menu.leave, -1);
}

// How many volume icons stand in a row at y, right of the labels.
int icons_in_row(int y)
{
    const int first_x = 100 + system_bitmap(32)->w;
    int n = 0;
    while (first_x + 32 * (n + 1) < 640 && image_drawn_at(system_bitmap(6), first_x + 32 * (n + 1), y))
        n++;
    return n;
}

TEST_F(options_test, the_screen_shows_one_icon_per_step_and_the_mode_icon)
{
    const int values[][2] = {{255, 5}, {0, 0}, {102, 2}, {1, 1}, {51, 1}, {52, 2}};
    for (const auto &sound : values)
        for (const auto &music : values) {
            sound_vol = sound[0];
            midi_vol = music[0];
            draw_options_menu(start_options_menu());
            ASSERT_EQ(icons_in_row(200), sound[1]) << "sound " << sound[0];
            ASSERT_EQ(icons_in_row(232), music[1]) << "music " << music[0];
        }

    const int mode_x = 100 + system_bitmap(32)->w + 32;
    for (int mode : {0, 1}) {
        current_screen_mode = mode;
        options_menu menu = start_options_menu();
        menu.item = 5;
        draw_options_menu(menu);
        EXPECT_TRUE(image_drawn_at(system_bitmap(mode ? 33 : 31), mode_x, 264)) << mode;
        EXPECT_FALSE(image_drawn_at(system_bitmap(mode ? 31 : 33), mode_x, 264)) << mode;
        EXPECT_TRUE(image_drawn_at(system_bitmap(34), 0, 120));
        EXPECT_TRUE(image_drawn_at(system_bitmap(32), 100, 200));
        EXPECT_TRUE(image_drawn_at(system_bitmap(4), 68, 360));
    }
}

} // namespace
