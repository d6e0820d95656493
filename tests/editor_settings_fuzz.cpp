// Random, damaged and cut editor settings files through the start-up read: the driver id always
// comes out as one the editor can start in.
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstdio>
#include <string>
#include "fuzz_input.h"
#include "headless.h"
#include "initialization.h"

namespace {

class editor_settings_fuzz : public testing::Test {
protected:
    void SetUp() override
    {
        path = make_temp_dir("ed_settings_fuzz") + "/ed_settings.txt";
        std::snprintf(saved, sizeof(saved), "%s", editor_settings_location);
        std::snprintf(editor_settings_location, sizeof(editor_settings_location), "%s", path.c_str());
    }
    void TearDown() override
    {
        std::snprintf(editor_settings_location, sizeof(editor_settings_location), "%s", saved);
        GAME_SCREEN_MODE = 2;
    }

    void run(const std::string &text)
    {
        write_text_file(path, text);
        GAME_SCREEN_MODE = static_cast<int>(in.any_value());
        read_editor_settings();
        ASSERT_TRUE(GAME_SCREEN_MODE == GFX_AUTODETECT || GAME_SCREEN_MODE == GFX_AUTODETECT_FULLSCREEN ||
                    GAME_SCREEN_MODE == GFX_AUTODETECT_WINDOWED)
            << GAME_SCREEN_MODE;
    }

    fuzz_input in{20261213};
    std::string path;
    char saved[256] = {};
};

TEST_F(editor_settings_fuzz, random_bytes_give_a_known_driver)
{
    for (int i = 0; i < 500; i++)
        run(in.random_bytes(12));
}

TEST_F(editor_settings_fuzz, wild_numbers_give_a_known_driver)
{
    for (int i = 0; i < 500; i++)
        run(std::to_string(in.any_value()));
}

TEST_F(editor_settings_fuzz, damaged_numbers_give_a_known_driver)
{
    for (int i = 0; i < 500; i++)
        run(in.mutated(std::to_string(in.any_value()), fuzz_input::number_alphabet()));
}

} // namespace
