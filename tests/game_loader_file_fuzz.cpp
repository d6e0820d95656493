// Random, damaged, cut and over-long level-set loader files through the start-up scan and the
// level-set screen's rows: nothing may read or write out of bounds (run it in the sanitizer build).
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include "fuzz_input.h"
#include "headless.h"
#include "level_set_screen.h"

namespace {

class loader_file_fuzz : public testing::Test {
protected:
    void SetUp() override
    {
        root = make_temp_dir("loader_fuzz");
        std::filesystem::create_directories(root + "/set one");
        ASSERT_NE(getcwd(saved, sizeof(saved)), nullptr);
    }
    void TearDown() override
    {
        level_sets.clear();
        std::filesystem::remove_all(root);
    }

    // Scans a tree holding the text as its one loader file, then draws the level-set screen.
    void run(const std::string &text)
    {
        write_text_file(root + "/set one/fuzz.qlx", text);
        ASSERT_EQ(chdir(root.c_str()), 0);
        level_sets.clear();
        load_level_sets();
        ASSERT_EQ(chdir(saved), 0);
        ASSERT_EQ(level_sets.size(), 1u);
        const level_set_locs &set = level_sets[0];
        for (const char *field : {set.name, set.directory, set.first_level, set.loader_file})
            ASSERT_LT(strnlen(field, sizeof(set.name)), sizeof(set.name));
        EXPECT_STREQ(set.directory, "set one/");
        EXPECT_STREQ(set.loader_file, "fuzz.qlx");
        draw_level_set_screen(start_level_set_screen());
    }

    // Two lines of any bytes but line feeds, as a hand-edited file might hold, and what follows.
    std::string wild_loader()
    {
        std::string text;
        for (int line = 0; line < 2 + static_cast<int>(in.next() % 3); line++) {
            std::string value = in.random_bytes(in.next() % 8 == 0 ? 600 : 40);
            for (char &c : value)
                if (c == '\n')
                    c = '\r';
            text += value + "\n";
        }
        return text;
    }

    fuzz_input in{20261211};
    std::string root;
    char saved[1024] = {};
};

TEST_F(loader_file_fuzz, random_bytes_scan_and_draw_safely)
{
    for (int i = 0; i < 200; i++)
        run(in.random_bytes(2000));
}

TEST_F(loader_file_fuzz, wild_lines_scan_and_draw_safely)
{
    for (int i = 0; i < 200; i++)
        run(wild_loader());
}

TEST_F(loader_file_fuzz, cut_and_damaged_files_scan_and_draw_safely)
{
    for (int i = 0; i < 200; i++)
        run(in.next() % 2 ? in.truncated(wild_loader()) : in.mutated(wild_loader(), std::string("\n\r\0 a.", 6)));
}

TEST_F(loader_file_fuzz, over_long_lines_scan_and_draw_safely)
{
    for (int i = 0; i < 30; i++)
        run(std::string(256 + in.next() % 20000, 'a' + in.next() % 26) + (in.next() % 2 ? "\n" : "") +
            std::string(in.next() % 20000, 'n'));
}

} // namespace
