// Random, damaged and truncated save files through the listing, its rows, loading and the keys that
// follow: nothing may end the game, read out of bounds or leave a binding outside the key array
// (run it in the sanitizer build to see that).
#include "game_save_fixture.h"
#include <climits>
#include <random>
#include "failing_writes.h"
#include "fuzz_text.h"
#include "load_game.h"
#include "message.h"

using namespace save_test;

namespace {

class save_fuzz : public save_fixture {
protected:
    // Lists, draws, loads the text as a save, then ticks the screens that read the bindings.
    // Gives whether it loaded.
    bool run(const std::string &text)
    {
        write_text_file(saves + "fuzz.qsv", text);
        load_saves();
        EXPECT_EQ(game_saves.size(), 1u);
        if (game_saves.size() != 1)
            return false;
        const save_game_locs &save = game_saves[0];
        EXPECT_TRUE(save.damaged == 0 || save.damaged == -1);
        EXPECT_LT(strnlen(save.map_name, sizeof(save.map_name)), sizeof(save.map_name));
        EXPECT_LT(strnlen(save.level_set_name, sizeof(save.level_set_name)), sizeof(save.level_set_name));
        slot_list list = start_load_screen();
        draw_load_screen(list);

        char path[256];
        std::snprintf(path, sizeof(path), "%sfuzz.qsv", saves.c_str());
        int loaded = 0;
        printed_by([&] { loaded = load_game(path); });
        EXPECT_EQ(loaded != 0, save.damaged == 0);
        const int bindings[8] = {the_player.key_up,     the_player.key_down,   the_player.key_left,
                                 the_player.key_right,  the_player.key_action, the_player.key_restart,
                                 the_player.key_music,  the_player.key_save};
        for (int binding : bindings) {
            EXPECT_GT(binding, 0);
            EXPECT_LT(binding, KEY_MAX);
        }
        // The screens that read keys through the bindings.
        slot_move_keys(list);
        the_message.set("x", 0, 0, 0, -1);
        the_message.calculate();
        the_message.deactivate();
        // Back to a known state for the next input.
        use_level_directory(levels);
        return loaded != 0;
    }

    int any_binding()
    {
        static const int specials[] = {INT_MIN, INT_MAX, -1, 0, 1, KEY_MAX - 1, KEY_MAX, KEY_MAX + 1, 255, 256, 84};
        switch (rng() % 3) {
        case 0: return specials[rng() % (sizeof(specials) / sizeof(specials[0]))];
        case 1: return static_cast<int>(rng());
        default: return static_cast<int>(rng() % 140) - 5;
        }
    }

    // A well-formed save of the scratch set with wild bindings and a map that may or may not exist.
    std::string wild_save()
    {
        static const char *const maps[] = {"level_a.map", "level_b.map", "level_d.map", "gone.map", "", "../x"};
        std::vector<int> bindings;
        for (int i = 0; i < 8; i++)
            bindings.push_back(any_binding());
        const std::string directory = rng() % 6 == 0 ? "data/levels/gone set/" : levels;
        return save_text(directory, maps[rng() % 6], "Set " + std::to_string(rng() % 100), "level_a.map", "scratch",
                         bindings);
    }

    std::string mutated(std::string text)
    {
        static const char alphabet[] = "0123456789-+ \t\r\n\v\fxZ./\0\x80\xff";
        return damaged_text(rng, std::move(text), 8, alphabet, sizeof(alphabet) - 1);
    }

    std::string random_bytes() { return random_text(rng, 600); }

    std::mt19937 rng{20240917};
};

TEST_F(save_fuzz, random_bytes_list_and_load_safely)
{
    for (int i = 0; i < 300; i++)
        run(random_bytes());
}

TEST_F(save_fuzz, wild_bindings_and_missing_maps_list_and_load_safely)
{
    int loaded = 0;
    for (int i = 0; i < 300; i++)
        loaded += run(wild_save());
    // Most of them name a map that is there: the loading itself was tried, not only refused.
    EXPECT_GT(loaded, 100);
}

TEST_F(save_fuzz, truncated_saves_list_and_load_safely)
{
    for (int i = 0; i < 300; i++) {
        std::string text = wild_save();
        text.resize(rng() % (text.size() + 1));
        run(text);
    }
}

TEST_F(save_fuzz, damaged_saves_list_and_load_safely)
{
    for (int i = 0; i < 300; i++)
        run(mutated(wild_save()));
}

TEST_F(save_fuzz, over_long_lines_list_and_load_safely)
{
    for (int i = 0; i < 60; i++) {
        std::string text = wild_save();
        std::size_t at = 0;
        for (int line = rng() % 6; line > 0 && at != std::string::npos; line--)
            at = text.find('\n', at + 1);
        text.insert(at == std::string::npos ? 0 : at, std::string(200 + rng() % 3000, 'a' + rng() % 26));
        run(text);
    }
}

} // namespace
