// Shared by the save-file and list-screen tests: a scratch saves directory, a scratch level set of four chained maps, key presses by tick.
#pragma once
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>
#include "game_player_fixture.h"
#include "level_selection_screen.h"
#include "level_set_screen.h"
#include "menu_frame.h"
#include "save_game.h"
#include "save_load_screen.h"
#include "slot_list.h"
#include "title_screen.h"
#include "do_logic.h"

namespace save_test {

using namespace player_test;

inline void set_text(char *field, int size, const std::string &text)
{
    std::memset(field, 0, size);
    std::strncpy(field, text.c_str(), size - 1);
}

inline std::string slot_file(const std::string &dir, int n)
{
    char name[64];
    std::snprintf(name, sizeof(name), "Save_%03d.qsv", n);
    return dir + name;
}

// The text of a save file: the five lines, then the bindings one a line.
inline std::string save_text(const std::string &dir, const std::string &map, const std::string &set_name,
                             const std::string &first, const std::string &loader,
                             const std::vector<int> &bindings = {84, 85, 82, 83, 75, 18, 13, 19})
{
    std::string text = dir + "\n" + map + "\n" + set_name + "\n" + first + "\n" + loader + "\n";
    for (int b : bindings)
        text += std::to_string(b) + "\n";
    return text;
}

// The file names of the listed saves, without their order (which is the directory's).
inline std::multiset<std::string> listed_files()
{
    std::multiset<std::string> files;
    for (const save_game_locs &save : game_saves)
        files.insert(save.file);
    return files;
}

class save_fixture : public ::testing::Test {
protected:
    std::string saves;  // scratch saves directory, ending in '/'
    std::string levels; // scratch level set: four maps level_a .. level_d, then "end"

    void SetUp() override
    {
        reset_world();
        // The start cell of every scratch map is (2, 3), on a floor of plain tiles.
        saves = make_temp_dir("saves") + "/";
        levels = make_temp_dir("save_levels") + "/";
        const char *files[] = {"level_a.map", "level_b.map", "level_c.map", "level_d.map", "end"};
        const char *names[] = {"Map One", "Map Two", "Map Three", "Map Four"};
        std::vector<std::string> floor(15, std::string(20, '.'));
        floor[4] = std::string(20, '#');
        for (int i = 0; i < 4; i++)
            write_text_file(levels + files[i], map_file_text(names[i], files[i], files[i + 1], 2, 3, 18, 3, floor));
        set_text(saves_directory, sizeof(saves_directory), saves);
        use_level_directory(levels);
        set_text(first_level, sizeof(first_level), "level_a.map");
        set_text(level_set_name, sizeof(level_set_name), "Scratch Set");
        set_text(level_set_loader_file, sizeof(level_set_loader_file), "scratch");
        set_text(the_map.file_name, sizeof(the_map.file_name), "level_c.map");
        game_saves.clear();
        key_esc_down = 0;
        key_enter_pressed = 0;
        game_in_progress = 0;
        speed_counter = 0;
    }

    void TearDown() override
    {
        release_all_keys();
        game_saves.clear();
        set_text(saves_directory, sizeof(saves_directory), "data/saves/");
        std::memcpy(loader_directory, loader_directory_hardcopy, sizeof(loader_directory));
        std::memcpy(first_level, first_level_hardcopy, sizeof(first_level));
        std::memcpy(level_set_name, level_set_name_hardcopy, sizeof(level_set_name));
        std::memcpy(level_set_loader_file, level_set_loader_file_hardcopy, sizeof(level_set_loader_file));
        std::error_code ignored;
        std::filesystem::remove_all(saves, ignored);
        std::filesystem::remove_all(levels, ignored);
    }

    // A save of the scratch set standing on map file `map`.
    void write_save(int n, const std::string &map, const std::vector<int> &bindings = {84, 85, 82, 83, 75, 18, 13, 19})
    {
        write_text_file(slot_file(saves, n), save_text(levels, map, "Scratch Set", "level_a.map", "scratch", bindings));
    }
};

// Runs tick with key scancode down for one tick, then up for one tick.
template <typename tick_fn>
void press_key(slot_list &list, tick_fn tick, int scancode)
{
    key[scancode] = -1;
    tick(list);
    key[scancode] = 0;
    tick(list);
}

} // namespace save_test
