// Every file the editor reads, met by a named pipe, a link to /dev/zero, a directory or a file far over its bound: no hang, the reader's own ordinary failure.
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstring>
#include "initialization.h"
#include "map.h"
#include "map_file.h"
#include "plain_file.h"
#include "save_load_map.h"
#include "non_plain_files.h"

namespace {

std::string good_settings(const std::string &) { return "1"; }

// A map of its own chain: it names "end" as the next map.
std::string good_map(const std::string &)
{
    map_file m;
    std::strcpy(m.name, "Special");
    std::strcpy(m.file_name, "special.map");
    std::strcpy(m.next_map, "end");
    std::ostringstream out;
    write_map_stream(out, m);
    return out.str();
}

int settings_read(const std::string &path)
{
    copy_path(editor_settings_location, path.c_str());
    GAME_SCREEN_MODE = 2;
    read_editor_settings();
    return GAME_SCREEN_MODE == 2 ? 0 : 3;
}

// A map that cannot be loaded leaves the map and the file that holds it as they were, and says so
// on the screen.
int map_load(const std::string &path)
{
    std::strcpy(the_map.name, "Before");
    copy_path(the_edited_map_path, "before.map");
    BITMAP *own_screen = screen;
    screen = create_bitmap(800, 600);
    const int loaded = load_map_from(path.c_str());
    destroy_bitmap(screen);
    screen = own_screen;
    if (loaded)
        return std::strcmp(the_map.name, "Special") == 0 ? 3 : 4;
    return std::strcmp(the_edited_map_path, "before.map") == 0 && std::strcmp(the_map.name, "Before") == 0 ? 0 : 5;
}

int next_map_link(const std::string &path)
{
    copy_path(the_map.next_map, "before.map");
    next_map_from(path.c_str());
    return std::strcmp(the_map.next_map, "before.map") == 0 ? 0 : 3;
}

int chain_walk(const std::string &path)
{
    BITMAP *target = create_bitmap(800, 600);
    char first_name[256];
    const chain_result walked = walk_level_chain(path.c_str(), target, first_name);
    destroy_bitmap(target);
    return walked == chain_missing_map ? 0 : walked == chain_complete ? 3 : 4;
}

const reader_case readers[] = {
    {"settings", "ed_settings.txt", settings_file_bound, good_settings, settings_read, 0, ""},
    {"map", "special.map", map_file_bound, good_map, map_load, 0, ""},
    {"next_map", "special.map", map_file_bound, good_map, next_map_link, 0, ""},
    {"level_set_chain", "special.map", map_file_bound, good_map, chain_walk, 0, ""},
};

class editor_file_reads : public testing::Test {
protected:
    std::string dir;
    void SetUp() override
    {
        dir = make_temp_dir("editor_reads") + "/";
        the_map.flush();
        the_edited_map_path[0] = '\0';
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
};

class file_reads_test : public editor_file_reads,
                        public testing::WithParamInterface<std::tuple<reader_case, special_file>> {};

TEST_P(file_reads_test, never_hangs_and_fails_as_the_reader_does)
{
    expect_ordinary_failure(std::get<0>(GetParam()), std::get<1>(GetParam()), dir);
}

class good_file_reads_test : public editor_file_reads, public testing::WithParamInterface<reader_case> {};

TEST_P(good_file_reads_test, a_good_file_is_read)
{
    expect_good_file_read(GetParam(), dir);
}

INSTANTIATE_TEST_SUITE_P(editor_readers, file_reads_test,
                         testing::Combine(testing::ValuesIn(readers), testing::ValuesIn(all_special_files)),
                         label_name());
INSTANTIATE_TEST_SUITE_P(editor_readers, good_file_reads_test, testing::ValuesIn(readers), label_name());

} // namespace
