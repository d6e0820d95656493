// The game's writes are whole or nothing: saves and the settings file survive a failed write byte for byte, and a new save never replaces another.
#include "game_save_fixture.h"
#include <sys/stat.h>
#include <sys/wait.h>
#include "failing_writes.h"
#include "options_screen.h"
#include "safe_file.h"
#include "start_up.h"

using namespace save_test;

namespace {

namespace fs = std::filesystem;

class file_writes_test : public save_fixture {
protected:
    void SetUp() override
    {
        save_fixture::SetUp();
        std::snprintf(settings_location, sizeof(settings_location), "%ssettings.txt", saves.c_str());
    }
    void TearDown() override
    {
        std::snprintf(settings_location, sizeof(settings_location), "data/settings.txt");
        save_fixture::TearDown();
    }
};

// One kind of file the game writes: where it lies, and the write, giving what it printed.
struct written_kind {
    const char *name;
    const char *file;              // in the scratch directory
    std::string (*write)();        // the write, as the game makes it; gives the message printed
    const char *failure_message;   // printed when the write fails ("" when it passes silently)
};

std::string write_listed_save()
{
    return printed_by([] {
        char path[300];
        save_slot_path(3, path, sizeof(path));
        save_game_file(path);
    });
}

std::string write_settings_file()
{
    return printed_by([] { write_settings(); });
}

const written_kind kinds[] = {
    {"save", "Save_003.qsv", write_listed_save, "Could not save the save file!"},
    {"settings", "settings.txt", write_settings_file, ""},
};

// The old contents, long enough to be cut by any size limit and unlike what the game writes.
const std::string old_contents = "the old file\n" + std::string(3000, 'o') + "\n";

TEST_F(file_writes_test, a_write_cut_off_by_a_full_disk_leaves_the_old_file_as_it_was)
{
    for (const written_kind &kind : kinds) {
        const std::string path = saves + kind.file;
        write_text_file(path, old_contents);
        const std::set<std::string> before = names_in(saves);
        std::string said;
        {
            // No byte more may reach any file: the write fails part-way, as on a full disk.
            file_size_limit full_disk(0);
            said = kind.write();
        }
        EXPECT_EQ(read_text_file(path), old_contents) << kind.name;
        EXPECT_EQ(names_in(saves), before) << kind.name << ": a temporary file was left";
        if (*kind.failure_message) {
            EXPECT_NE(said.find(kind.failure_message), std::string::npos) << kind.name << ": " << said;
        } else {
            EXPECT_EQ(said, "") << kind.name;
        }

        // Without the limit the same write replaces the file whole.
        kind.write();
        EXPECT_NE(read_text_file(path), old_contents) << kind.name;
        EXPECT_EQ(names_in(saves), before) << kind.name;
    }
}

TEST_F(file_writes_test, a_write_past_a_real_size_limit_is_reported_with_the_signal_as_the_game_sets_it)
{
    // The kernel's SIGXFSZ is not ignored by the test here: a child starts with the signal's default
    // (which kills), sets it up as the game does at start-up, and writes under a limit that cuts the
    // write after its first byte. It must live, and report what it reports for any failed write.
    for (const written_kind &kind : kinds) {
        const std::string path = saves + kind.file;
        write_text_file(path, old_contents);
        const std::set<std::string> before = names_in(saves);
        EXPECT_EXIT(
            {
                std::signal(SIGXFSZ, SIG_DFL);
                ignore_file_size_signal();
                std::string said;
                {
                    file_size_limit cut_short(1, size_signal::as_the_program_sets_it);
                    said = kind.write();
                }
                std::fprintf(stderr, "said: %s\n", said.c_str());
                std::_Exit(0);
            },
            testing::ExitedWithCode(0), kind.failure_message)
            << kind.name;
        EXPECT_EQ(read_text_file(path), old_contents) << kind.name;
        EXPECT_EQ(names_in(saves), before) << kind.name << ": a temporary file was left";
    }
}

TEST_F(file_writes_test, a_name_held_by_a_directory_is_never_replaced)
{
    for (const written_kind &kind : kinds) {
        const std::string path = saves + kind.file;
        fs::create_directory(path);
        write_text_file(path + "/inside", "kept");
        const std::string said = kind.write();
        EXPECT_TRUE(fs::is_directory(path)) << kind.name;
        EXPECT_EQ(read_text_file(path + "/inside"), "kept") << kind.name;
        EXPECT_EQ(names_in(saves).size(), 1u) << kind.name;
        if (*kind.failure_message) {
            EXPECT_NE(said.find(kind.failure_message), std::string::npos) << kind.name << ": " << said;
        }
        fs::remove_all(path);
    }
}

TEST_F(file_writes_test, a_write_through_a_link_replaces_the_file_it_names_and_keeps_the_link)
{
    const std::string elsewhere = make_temp_dir("linked_settings");
    write_text_file(elsewhere + "/real.txt", "1\n2\n3");
    fs::create_symlink(elsewhere + "/real.txt", saves + "settings.txt");
    sound_vol = 51;
    EXPECT_EQ(write_settings(), -1);
    EXPECT_TRUE(fs::is_symlink(saves + "settings.txt"));
    EXPECT_EQ(read_text_file(elsewhere + "/real.txt"), "51\n255\n0");
    EXPECT_EQ(names_in(elsewhere), (std::set<std::string>{"real.txt"}));
    sound_vol = 255;
    fs::remove_all(elsewhere);
}

TEST_F(file_writes_test, a_replaced_file_keeps_its_permissions)
{
    const std::string path = saves + "settings.txt";
    write_text_file(path, "0\n0\n0");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(write_settings(), -1);
    EXPECT_EQ(read_text_file(path), "255\n255\n0");
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(file_writes_test, a_name_that_is_no_plain_file_is_never_replaced)
{
    // A named pipe stands for any special file (a device such as /dev/full): a write aimed at it
    // fails rather than swapping a plain file in for it.
    const std::string pipe_path = saves + "settings.txt";
    ASSERT_EQ(mkfifo(pipe_path.c_str(), 0600), 0);
    EXPECT_EQ(write_settings(), 0);
    EXPECT_TRUE(fs::is_fifo(pipe_path));
    EXPECT_EQ(names_in(saves).size(), 1u);
}

TEST_F(file_writes_test, a_new_file_never_replaces_one_of_the_same_name)
{
    const std::string path = saves + "taken.qsv";
    write_text_file(path, old_contents);
    EXPECT_EQ(create_new_file(path.c_str(), "new"), new_file_taken);
    EXPECT_EQ(read_text_file(path), old_contents);
    EXPECT_EQ(create_new_file((saves + "free.qsv").c_str(), "new"), -1);
    EXPECT_EQ(read_text_file(saves + "free.qsv"), "new");
    EXPECT_EQ(names_in(saves), (std::set<std::string>{"taken.qsv", "free.qsv"}));
}

TEST_F(file_writes_test, new_save_takes_the_next_free_number_and_reports_a_failed_write)
{
    write_save(0, "level_a.map");
    write_save(1, "level_b.map");
    const std::string first = read_text_file(slot_file(saves, 0));
    EXPECT_EQ(save_new_game(0), 2);
    EXPECT_EQ(read_text_file(slot_file(saves, 0)), first);
    EXPECT_EQ(read_text_file(slot_file(saves, 2)), save_text(levels, "level_c.map", "Scratch Set", "level_a.map", "scratch"));

    std::string said;
    {
        file_size_limit full_disk(0);
        said = printed_by([] { EXPECT_EQ(save_new_game(0), -1); });
    }
    EXPECT_NE(said.find("Could not save the save file!"), std::string::npos) << said;
    EXPECT_EQ(names_in(saves), (std::set<std::string>{"Save_000.qsv", "Save_001.qsv", "Save_002.qsv"}));
}

TEST_F(file_writes_test, games_saving_at_once_each_get_a_save_of_their_own)
{
    // Several processes choose "New Save" in the same directory at the same moment (a pipe
    // releases them together); however they interleave, none may replace another's save.
    const int games = 6;
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    std::vector<pid_t> children;
    for (int g = 0; g < games; g++) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(go[1]);
            char released;
            const bool ok = read(go[0], &released, 1) == 0;
            // Each game stands on a map of its own, so that every save can be told apart.
            set_text(the_map.file_name, sizeof(the_map.file_name), "map_of_game_" + std::to_string(g));
            _exit(ok && save_new_game(0) >= 0 ? 0 : 1);
        }
        children.push_back(child);
    }
    close(go[0]);
    close(go[1]);
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::set<std::string> maps;
    for (int n = 0; n < games; n++) {
        const std::string text = read_text_file(slot_file(saves, n));
        const std::size_t line2 = text.find('\n') + 1;
        maps.insert(text.substr(line2, text.find('\n', line2) - line2));
    }
    EXPECT_EQ(maps.size(), static_cast<std::size_t>(games));
    EXPECT_EQ(names_in(saves).size(), static_cast<std::size_t>(games));
}

} // namespace
