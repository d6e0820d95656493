// The editor's writes are whole or nothing: a map, a loader file and the editor settings survive a failed write byte for byte.
#include <filesystem>
#include <set>
#include "editor_fixture.h"
#include "failing_writes.h"
#include "game_quit.h"
#include "headless.h"
#include "initialization.h"
#include "start_up.h"

namespace editor_test {
namespace {

namespace fs = std::filesystem;

class file_writes : public editor_screen {
protected:
    std::string dir;
    char saved_settings[sizeof(editor_settings_location)];
    int saved_mode = 0;
    void SetUp() override
    {
        editor_screen::SetUp();
        saved_mode = GAME_SCREEN_MODE;
        dir = make_temp_dir("ed_writes");
        std::memcpy(saved_settings, editor_settings_location, sizeof(saved_settings));
        std::snprintf(editor_settings_location, sizeof(editor_settings_location), "%s/ed_settings.txt", dir.c_str());
        clear_to_color(screen, 0);
    }
    void TearDown() override
    {
        std::memcpy(editor_settings_location, saved_settings, sizeof(saved_settings));
        GAME_SCREEN_MODE = saved_mode;
        fs::remove_all(dir);
        editor_screen::TearDown();
    }
};

// One kind of file the editor writes, and the message it gives when the write fails ("" none).
struct written_kind {
    const char *name;
    const char *file;
    int (*write)(const std::string &path); // -1 written, 0 not
    const char *failure_message;
};

int write_map(const std::string &path)
{
    std::string where = path;
    std::strcpy(the_map.name, "Written Map");
    return save_map_as(&where[0]);
}

int write_loader(const std::string &path)
{
    return save_loader_as(path.c_str(), "first.map");
}

int write_settings(const std::string &)
{
    GAME_SCREEN_MODE = 1;
    return write_editor_settings();
}

const written_kind kinds[] = {
    {"map", "kept.map", write_map, "Could not write the map file!"},
    {"loader file", "kept.qlx", write_loader, "Could not write the loader file!"},
    {"editor settings", "ed_settings.txt", write_settings, ""},
};

const std::string old_contents = "the old file\n" + std::string(3000, 'o') + "\n";

TEST_F(file_writes, a_write_cut_off_by_a_full_disk_leaves_the_old_file_as_it_was)
{
    for (const written_kind &kind : kinds) {
        const std::string path = dir + "/" + kind.file;
        write_text_file(path, old_contents);
        const std::set<std::string> before = names_in(dir);
        clear_to_color(screen, 0);
        int written;
        {
            file_size_limit full_disk(0);
            written = kind.write(path);
        }
        EXPECT_EQ(written, 0) << kind.name;
        EXPECT_EQ(read_text_file(path), old_contents) << kind.name;
        EXPECT_EQ(names_in(dir), before) << kind.name << ": a temporary file was left";
        if (*kind.failure_message) {
            EXPECT_TRUE(shows_white_text(screen, 0, 20, kind.failure_message)) << kind.name;
            EXPECT_TRUE(shows_white_text(screen, 0, 30, path.c_str())) << kind.name;
        }

        // Without the limit the same write replaces the file whole.
        EXPECT_EQ(kind.write(path), -1) << kind.name;
        EXPECT_NE(read_text_file(path), old_contents) << kind.name;
        EXPECT_EQ(names_in(dir), before) << kind.name;
    }
    EXPECT_EQ(read_text_file(dir + "/ed_settings.txt"), "1");
    EXPECT_EQ(read_text_file(dir + "/kept.qlx"), "first.map\nLevel Set Name\n");
}

TEST_F(file_writes, a_write_past_a_real_size_limit_is_reported_with_the_signal_as_the_editor_sets_it)
{
    // The kernel's SIGXFSZ is not ignored by the test here: a child starts with the signal's default
    // (which kills), sets it up as the editor does at start-up, and writes where no byte more may
    // reach any file (the settings file is a single byte). It must live, and report what it reports
    // for any failed write.
    for (const written_kind &kind : kinds) {
        const std::string path = dir + "/" + kind.file;
        write_text_file(path, old_contents);
        const std::set<std::string> before = names_in(dir);
        clear_to_color(screen, 0);
        EXPECT_EXIT(
            {
                std::signal(SIGXFSZ, SIG_DFL);
                ignore_file_size_signal();
                int written;
                {
                    file_size_limit no_more(0, size_signal::as_the_program_sets_it);
                    written = kind.write(path);
                }
                const bool reported = !*kind.failure_message || shows_white_text(screen, 0, 20, kind.failure_message);
                std::_Exit(written == 0 && reported ? 0 : 3);
            },
            testing::ExitedWithCode(0), "")
            << kind.name;
        EXPECT_EQ(read_text_file(path), old_contents) << kind.name;
        EXPECT_EQ(names_in(dir), before) << kind.name << ": a temporary file was left";
    }
}

TEST_F(file_writes, a_name_held_by_a_directory_is_never_replaced)
{
    for (const written_kind &kind : kinds) {
        const std::string path = dir + "/" + kind.file;
        fs::create_directory(path);
        write_text_file(path + "/inside", "kept");
        EXPECT_EQ(kind.write(path), 0) << kind.name;
        EXPECT_EQ(read_text_file(path + "/inside"), "kept") << kind.name;
        EXPECT_EQ(names_in(dir), (std::set<std::string>{kind.file})) << kind.name;
        fs::remove_all(path);
    }
}

} // namespace
} // namespace editor_test
