// Save files: the thirteen lines and their order, slot file names, the listing, loading back, and damaged or oversized files read within bounds.
#include "game_save_fixture.h"
#include "load_game.h"
#include "options_screen.h"
#include "failing_writes.h"
#include <unistd.h>

using namespace save_test;

namespace {

class save_files_test : public save_fixture {};

TEST_F(save_files_test, writes_the_thirteen_lines_with_the_bindings_in_their_order)
{
    // Every binding distinct, so that any two swapped show.
    the_player.key_up = 1;
    the_player.key_down = 2;
    the_player.key_left = 3;
    the_player.key_right = 4;
    the_player.key_action = 5;
    the_player.key_restart = 6;
    the_player.key_music = 7;
    the_player.key_save = 8;
    save_game(5);
    EXPECT_EQ(read_text_file(saves + "Save_005.qsv"),
              levels + "\nlevel_c.map\nScratch Set\nlevel_a.map\nscratch\n1\n2\n3\n4\n5\n6\n7\n8\n");
}

TEST_F(save_files_test, default_bindings_are_written_as_their_scancodes)
{
    save_game(0);
    EXPECT_EQ(read_text_file(saves + "Save_000.qsv"),
              levels + "\nlevel_c.map\nScratch Set\nlevel_a.map\nscratch\n84\n85\n82\n83\n75\n18\n13\n19\n");
}

TEST_F(save_files_test, slot_numbers_make_file_names_of_at_least_three_digits)
{
    const struct {
        int slot;
        const char *name;
    } cases[] = {{0, "Save_000.qsv"}, {7, "Save_007.qsv"}, {12, "Save_012.qsv"}, {999, "Save_999.qsv"},
                 {1000, "Save_1000.qsv"}, {1234, "Save_1234.qsv"}};
    for (const auto &c : cases) {
        save_game(c.slot);
        EXPECT_TRUE(std::filesystem::exists(saves + c.name)) << c.name;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(saves), std::filesystem::directory_iterator()), 6);
}

TEST_F(save_files_test, an_existing_save_is_replaced_whole)
{
    write_text_file(saves + "Save_003.qsv", std::string(5000, 'x'));
    save_game(3);
    EXPECT_EQ(read_text_file(saves + "Save_003.qsv"),
              save_text(levels, "level_c.map", "Scratch Set", "level_a.map", "scratch"));
}

TEST_F(save_files_test, saving_drops_the_owed_steps_also_when_it_fails)
{
    speed_counter = 9;
    save_game(1);
    EXPECT_EQ(speed_counter, 0);

    set_text(saves_directory, sizeof(saves_directory), saves + "missing/");
    speed_counter = 9;
    testing::internal::CaptureStdout();
    save_game(1);
    const std::string said = testing::internal::GetCapturedStdout();
    EXPECT_EQ(speed_counter, 0);
    EXPECT_NE(said.find("Could not save the save file!"), std::string::npos) << said;
    EXPECT_FALSE(std::filesystem::exists(saves + "missing"));
}

TEST_F(save_files_test, a_save_that_cannot_be_written_whole_is_reported_and_leaves_no_file)
{
    // A full disk: the new file would be cut short, so there is no file at all, and it is said.
    std::string said;
    {
        file_size_limit full_disk(20);
        said = printed_by([] { save_game(4); });
    }
    EXPECT_NE(said.find("Could not save the save file!"), std::string::npos) << said;
    EXPECT_TRUE(std::filesystem::is_empty(saves));
}

TEST_F(save_files_test, listing_takes_every_qsv_file_and_reads_map_and_set_names)
{
    write_save(0, "level_a.map");
    write_save(12, "level_d.map");
    write_text_file(saves + "odd name.qsv",
                    save_text(levels, "level_b.map", "Other Set", "level_a.map", "other"));
    write_text_file(saves + "Save_001.txt", "not a save");
    load_saves();
    ASSERT_EQ(game_saves.size(), 3u);
    EXPECT_EQ(listed_files(), (std::multiset<std::string>{saves + "Save_000.qsv", saves + "Save_012.qsv",
                                                          saves + "odd name.qsv"}));
    for (const save_game_locs &save : game_saves) {
        const std::string file = save.file;
        if (file == saves + "Save_000.qsv") {
            EXPECT_STREQ(save.map_name, "Map One");
            EXPECT_STREQ(save.level_set_name, "Scratch Set");
        } else if (file == saves + "Save_012.qsv") {
            EXPECT_STREQ(save.map_name, "Map Four");
        } else {
            EXPECT_STREQ(save.map_name, "Map Two");
            EXPECT_STREQ(save.level_set_name, "Other Set");
        }
    }
}

TEST_F(save_files_test, listing_starts_afresh_and_finds_nothing_where_there_is_nothing)
{
    write_save(0, "level_a.map");
    load_saves();
    ASSERT_EQ(game_saves.size(), 1u);
    std::filesystem::remove(saves + "Save_000.qsv");
    load_saves();
    EXPECT_TRUE(game_saves.empty());

    // No saves directory at all is no error either.
    set_text(saves_directory, sizeof(saves_directory), saves + "nowhere/");
    testing::internal::CaptureStdout();
    load_saves();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(game_saves.empty());
}

TEST_F(save_files_test, long_names_in_a_save_are_cut_within_their_fields)
{
    // A map name and a set name far longer than their fields; the listing keeps 255 characters.
    const std::string long_name(4000, 'N');
    write_text_file(levels + "long.map", long_name + "\nlong.map\nend\n");
    write_text_file(saves + "Save_000.qsv",
                    save_text(levels, "long.map", std::string(100000, 'S'), "level_a.map", "scratch"));
    load_saves();
    ASSERT_EQ(game_saves.size(), 1u);
    EXPECT_EQ(std::string(game_saves[0].map_name), std::string(255, 'N'));
    EXPECT_EQ(std::string(game_saves[0].level_set_name), std::string(255, 'S'));
}

// Saves that cannot be loaded: each is listed, marked as damaged, and keeps what could be read.
TEST_F(save_files_test, saves_that_cannot_be_read_are_listed_as_damaged)
{
    const struct {
        const char *what;
        std::string text;
        const char *set_name; // as listed
    } cases[] = {
        {"empty", "", ""},
        {"cut after line 3", levels + "\nlevel_a.map\nScratch Set\n", "Scratch Set"},
        {"binary", std::string("\x7f\x45\x4c\x46\x02\x01\x00\xff\xfe\n\x80\x81", 12), ""},
        {"set gone", save_text("data/levels/gone set/", "level1.map", "Gone Set", "level1.map", "gone"), "Gone Set"},
        {"map gone", save_text(levels, "moved_away.map", "Scratch Set", "level_a.map", "scratch"), "Scratch Set"},
        {"path too long", save_text(levels, std::string(250, 'm') + ".map", "Set", "level_a.map", "scratch"), "Set"},
    };
    for (const auto &c : cases) {
        std::filesystem::remove_all(saves);
        std::filesystem::create_directory(saves);
        write_save(0, "level_b.map");
        write_text_file(saves + "Save_001.qsv", c.text);
        std::string said = printed_by(load_saves);
        EXPECT_EQ(said, "") << c.what;
        ASSERT_EQ(game_saves.size(), 2u) << c.what;
        for (const save_game_locs &save : game_saves) {
            if (std::string(save.file) == saves + "Save_000.qsv") {
                EXPECT_EQ(save.damaged, 0) << c.what;
                EXPECT_STREQ(save.map_name, "Map Two") << c.what;
            } else {
                EXPECT_EQ(save.damaged, -1) << c.what;
                EXPECT_STREQ(save.map_name, "") << c.what;
                EXPECT_STREQ(save.level_set_name, c.set_name) << c.what;
            }
        }
    }
}

TEST_F(save_files_test, a_save_that_cannot_be_opened_is_listed_as_damaged)
{
    // A directory named like a save opens as no file.
    std::filesystem::create_directory(saves + "Save_000.qsv");
    load_saves();
    ASSERT_EQ(game_saves.size(), 1u);
    EXPECT_EQ(game_saves[0].damaged, -1);
}

TEST_F(save_files_test, free_slot_skips_numbers_taken_by_other_files)
{
    EXPECT_EQ(free_save_slot(0), 0);
    write_save(0, "level_a.map");
    write_save(2, "level_a.map");
    write_save(3, "level_a.map");
    EXPECT_EQ(free_save_slot(0), 1);
    EXPECT_EQ(free_save_slot(2), 4);
    EXPECT_EQ(free_save_slot(5), 5);
}

// ---- Loading

class load_test : public save_fixture {
protected:
    void SetUp() override
    {
        save_fixture::SetUp();
        // What was there before the load: another set, other keys, statistics of a level played.
        set_text(loader_directory, sizeof(loader_directory), "data/levels/original levels/");
        set_text(first_level, sizeof(first_level), "level1.map");
        set_text(level_set_name, sizeof(level_set_name), "Original Levels");
        set_text(level_set_loader_file, sizeof(level_set_loader_file), "original");
        the_player.blocks_created = 4;
        the_player.blocks_destroyed = 3;
        the_player.steps_taken = 77;
        the_player.time_ticks = 12;
        the_player.time_seconds = 40;
        the_player.time_minutes = 2;
        the_player.time_hours = 1;
        the_player.restarts = 5;
        the_player.step = 9;
        the_player.walking = -1;
        the_player.falling = -1;
        sound_vol = 102;
        midi_vol = 51;
        current_screen_mode = 1;
    }
    void TearDown() override
    {
        sound_vol = 255;
        midi_vol = 255;
        current_screen_mode = 0;
        save_fixture::TearDown();
    }
};

TEST_F(load_test, restores_set_map_and_bindings_and_zeroes_the_statistics)
{
    write_save(4, "level_b.map", {30, 31, 32, 33, 34, 35, 36, 37});
    char path[256];
    std::snprintf(path, sizeof(path), "%s", slot_file(saves, 4).c_str());
    EXPECT_EQ(load_game(path), -1);

    EXPECT_EQ(std::string(loader_directory), levels);
    EXPECT_STREQ(the_map.file_name, "level_b.map");
    EXPECT_STREQ(level_set_name, "Scratch Set");
    EXPECT_STREQ(first_level, "level_a.map");
    EXPECT_STREQ(level_set_loader_file, "scratch");
    const int bindings[8] = {the_player.key_up,    the_player.key_down,   the_player.key_left,
                             the_player.key_right, the_player.key_action, the_player.key_restart,
                             the_player.key_music, the_player.key_save};
    for (int i = 0; i < 8; i++)
        EXPECT_EQ(bindings[i], 30 + i) << "binding " << i;

    // The saved map is loaded and Pim stands on its start cell.
    EXPECT_STREQ(the_map.name, "Map Two");
    EXPECT_STREQ(the_map.next_map, "level_c.map");
    EXPECT_EQ(the_player.x, 2 * 32);
    EXPECT_EQ(the_player.y, 3 * 32);

    const int statistics[11] = {the_player.blocks_created, the_player.blocks_destroyed, the_player.steps_taken,
                                the_player.time_ticks,     the_player.time_seconds,     the_player.time_minutes,
                                the_player.time_hours,     the_player.restarts,         the_player.step,
                                the_player.walking,        the_player.falling};
    for (int value : statistics)
        EXPECT_EQ(value, 0);
    // The settings are not part of a save.
    EXPECT_EQ(sound_vol, 102);
    EXPECT_EQ(midi_vol, 51);
    EXPECT_EQ(current_screen_mode, 1);
}

TEST_F(load_test, a_save_written_then_read_gives_back_the_same_game)
{
    set_text(loader_directory, sizeof(loader_directory), levels);
    set_text(first_level, sizeof(first_level), "level_a.map");
    set_text(level_set_name, sizeof(level_set_name), "Scratch Set");
    set_text(level_set_loader_file, sizeof(level_set_loader_file), "scratch");
    set_text(the_map.file_name, sizeof(the_map.file_name), "level_d.map");
    the_player.key_up = KEY_W;
    the_player.key_down = KEY_X;
    the_player.key_save = KEY_F5;
    save_game(0);

    set_text(loader_directory, sizeof(loader_directory), "data/levels/original levels/");
    set_text(level_set_name, sizeof(level_set_name), "Original Levels");
    the_player.key_up = KEY_UP;
    the_player.key_down = KEY_DOWN;
    the_player.key_save = KEY_S;
    char path[256];
    std::snprintf(path, sizeof(path), "%sSave_000.qsv", saves.c_str());
    load_game(path);
    EXPECT_EQ(std::string(loader_directory), levels);
    EXPECT_STREQ(level_set_name, "Scratch Set");
    EXPECT_STREQ(the_map.name, "Map Four");
    EXPECT_EQ(the_player.key_up, KEY_W);
    EXPECT_EQ(the_player.key_down, KEY_X);
    EXPECT_EQ(the_player.key_save, KEY_F5);
}

TEST_F(load_test, a_save_that_cannot_be_opened_is_reported_and_changes_nothing)
{
    char path[256];
    std::snprintf(path, sizeof(path), "%sSave_042.qsv", saves.c_str());
    testing::internal::CaptureStdout();
    EXPECT_EQ(load_game(path), 0);
    const std::string said = testing::internal::GetCapturedStdout();
    EXPECT_NE(said.find("Could Not load save file:\n" + std::string(path)), std::string::npos) << said;
    EXPECT_STREQ(loader_directory, "data/levels/original levels/");
    EXPECT_STREQ(level_set_name, "Original Levels");
    EXPECT_EQ(the_player.blocks_created, 4);
    EXPECT_EQ(the_player.key_up, KEY_UP);
}

// Damaged bindings: what is read is used, the first unreadable value and all after it keep theirs.
TEST_F(load_test, damaged_bindings_keep_the_keys_they_cannot_replace)
{
    const struct {
        const char *bindings;
        std::vector<int> expected;
    } cases[] = {
        {"1\n2\n3\n4\n5\n6\n7\n8\n", {1, 2, 3, 4, 5, 6, 7, 8}},
        {"1 2 3 4 5 6 7 8", {1, 2, 3, 4, 5, 6, 7, 8}},
        {"1\n2\nthree\n4\n5\n6\n7\n8\n", {1, 2, KEY_LEFT, KEY_RIGHT, KEY_SPACE, KEY_R, KEY_M, KEY_S}},
        {"1\n2\n", {1, 2, KEY_LEFT, KEY_RIGHT, KEY_SPACE, KEY_R, KEY_M, KEY_S}},
        {"", {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT, KEY_SPACE, KEY_R, KEY_M, KEY_S}},
        {"99999999999999999999\n2\n", {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT, KEY_SPACE, KEY_R, KEY_M, KEY_S}},
        // A binding outside the key array becomes that key's default, the ones after it still read.
        {"-5\n+7\n2147483647\n-2147483648\n0\n127\n1\n2147483648\n", {KEY_UP, 7, KEY_LEFT, KEY_RIGHT, KEY_SPACE, KEY_R, 1, KEY_S}},
        {"30 31 32 33 34 35 36 9999", {30, 31, 32, 33, 34, 35, 36, KEY_S}},
    };
    for (const auto &c : cases) {
        the_player = player();
        the_player.init_sprites();
        write_text_file(saves + "damaged.qsv",
                        levels + "\nlevel_a.map\nScratch Set\nlevel_a.map\nscratch\n" + c.bindings);
        char path[256];
        std::snprintf(path, sizeof(path), "%sdamaged.qsv", saves.c_str());
        load_game(path);
        const std::vector<int> got = {the_player.key_up,    the_player.key_down,   the_player.key_left,
                                      the_player.key_right, the_player.key_action, the_player.key_restart,
                                      the_player.key_music, the_player.key_save};
        EXPECT_EQ(got, c.expected) << c.bindings;
        EXPECT_STREQ(the_map.name, "Map One");
    }
}

TEST_F(load_test, overlong_lines_are_cut_and_the_lines_after_them_still_read)
{
    write_text_file(saves + "long.qsv", levels + "\nlevel_b.map\n" + std::string(300000, 'S') + "\nlevel_a.map\n" +
                                            std::string(1000, 'L') + "\n10\n11\n12\n13\n14\n15\n16\n17\n");
    char path[256];
    std::snprintf(path, sizeof(path), "%slong.qsv", saves.c_str());
    load_game(path);
    EXPECT_EQ(std::string(level_set_name), std::string(255, 'S'));
    EXPECT_STREQ(first_level, "level_a.map");
    EXPECT_EQ(std::string(level_set_loader_file), std::string(255, 'L'));
    EXPECT_EQ(the_player.key_up, 10);
    EXPECT_EQ(the_player.key_save, 17);
    EXPECT_STREQ(the_map.name, "Map Two");
}

// A save that cannot be loaded is refused with a message, and the game goes on as it was.
TEST_F(load_test, a_damaged_save_is_refused_and_changes_nothing)
{
    const struct {
        const char *what;
        std::string text;
    } cases[] = {
        {"empty", ""},
        {"one line", "only one line\n"},
        {"cut after line 4", levels + "\nlevel_a.map\nScratch Set\nlevel_a.map\n"},
        {"set gone", save_text("data/levels/gone set/", "level1.map", "Gone Set", "level1.map", "gone", {1, 2, 3, 4, 5, 6, 7, 8})},
        // Cut to its field, the directory names no level set.
        {"directory too long", std::string(5000, 'd') + "\nlevel_b.map\nSet\nlevel_a.map\nx\n"},
    };
    for (const auto &c : cases) {
        write_text_file(saves + "bad.qsv", c.text);
        char path[256];
        std::snprintf(path, sizeof(path), "%sbad.qsv", saves.c_str());
        std::string said = printed_by([&] { EXPECT_EQ(load_game(path), 0) << c.what; });
        EXPECT_NE(said.find("This save is damaged or its level set is gone:\n" + std::string(path)), std::string::npos)
            << c.what << ": " << said;
        EXPECT_STREQ(loader_directory, "data/levels/original levels/") << c.what;
        EXPECT_STREQ(level_set_name, "Original Levels") << c.what;
        EXPECT_STREQ(first_level, "level1.map") << c.what;
        EXPECT_STREQ(level_set_loader_file, "original") << c.what;
        EXPECT_STREQ(the_map.file_name, "level_c.map") << c.what;
        EXPECT_EQ(the_player.key_up, KEY_UP) << c.what;
        EXPECT_EQ(the_player.blocks_created, 4) << c.what;
    }
}

} // namespace
