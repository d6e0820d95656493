// Random, damaged and cut settings files through the start-up read, a volume step and the options
// screen's frame: every value comes out in range and nothing is read or drawn out of bounds.
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstdio>
#include <string>
#include "fuzz_input.h"
#include "headless.h"
#include "initialization.h"
#include "options_screen.h"

namespace {

class settings_fuzz : public testing::Test {
protected:
    void SetUp() override
    {
        path = make_temp_dir("settings_fuzz") + "/settings.txt";
        std::snprintf(saved, sizeof(saved), "%s", settings_location);
        std::snprintf(settings_location, sizeof(settings_location), "%s", path.c_str());
    }
    void TearDown() override
    {
        std::snprintf(settings_location, sizeof(settings_location), "%s", saved);
        sound_vol = midi_vol = 255;
        current_screen_mode = 0;
    }

    void run(const std::string &text)
    {
        write_text_file(path, text);
        read_settings();
        ASSERT_GE(sound_vol, 0);
        ASSERT_LE(sound_vol, 255);
        ASSERT_GE(midi_vol, 0);
        ASSERT_LE(midi_vol, 255);
        ASSERT_TRUE(current_screen_mode == 0 || current_screen_mode == 1) << current_screen_mode;
        step_volume(sound_vol, sound_vol_incren, in.next() % 2 ? 1 : -1);
        ASSERT_GE(sound_vol, 0);
        ASSERT_LE(sound_vol, 255);
        draw_options_menu(start_options_menu());
    }

    // Three numbers, often at or past an edge, in any of the spellings a reader may meet.
    std::string wild_settings()
    {
        std::string text;
        for (int i = 0; i < 3; i++) {
            std::string number = std::to_string(in.any_value());
            if (in.next() % 8 == 0)
                number = std::string(1 + in.next() % 40, '9');
            const char *const separators[] = {"\n", " ", "\r\n", "\t", "\n\n"};
            text += number + separators[in.next() % 5];
        }
        return text;
    }

    fuzz_input in{20261212};
    std::string path;
    char saved[256] = {};
};

TEST_F(settings_fuzz, random_bytes_read_in_range)
{
    for (int i = 0; i < 300; i++)
        run(in.random_bytes(400));
}

TEST_F(settings_fuzz, wild_numbers_read_in_range)
{
    for (int i = 0; i < 500; i++)
        run(wild_settings());
}

TEST_F(settings_fuzz, cut_and_damaged_files_read_in_range)
{
    for (int i = 0; i < 500; i++)
        run(in.next() % 2 ? in.truncated(wild_settings()) : in.mutated(wild_settings(), fuzz_input::number_alphabet()));
}

} // namespace
