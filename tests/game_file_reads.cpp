// Every file the game reads, met by a named pipe, a link to /dev/zero, a directory or a file far over its bound: no hang, the reader's own ordinary failure.
#include "game_save_fixture.h"
#include <sys/stat.h>
#include "auto_script.h"
#include "datafile_check.h"
#include "initialization.h"
#include "load_game.h"
#include "load_music.h"
#include "music.h"
#include "options_screen.h"
#include "plain_file.h"
#include "non_plain_files.h"

using namespace save_test;

namespace {

namespace fs = std::filesystem;

std::string good_settings(const std::string &) { return "7\n8\n1\n"; }
std::string good_save(const std::string &levels)
{
    return save_text(levels, "level_a.map", "Scratch Set", "level_a.map", "scratch");
}
std::string good_map(const std::string &levels) { return read_text_file(levels + "level_a.map"); }
std::string good_last_map(const std::string &)
{
    return map_file_text("Last One", "special.map", "end", 2, 3, 18, 3, std::vector<std::string>(15, std::string(20, '.')));
}
std::string good_movie(const std::string &levels)
{
    std::string text = levels + "\nlevel_a.map\n0\n0\n64\n96\n0\n0\n0\n";
    for (int i = 0; i < 300; i++)
        text += "-1\n";
    return text;
}
std::string good_loader(const std::string &) { return "level_a.map\nSpecial Set\n"; }
// A data file of zeros: its record is worked out from its size alone.
std::string good_datafile(const std::string &) { return std::string(4096, '\0'); }
std::string good_song(const std::string &)
{
    for (const auto &entry : fs::directory_iterator("data/music"))
        if (entry.path().extension() == ".mid")
            return read_text_file(entry.path().string());
    return "";
}

int settings_read(const std::string &path)
{
    set_text(settings_location, sizeof(settings_location), path);
    read_settings();
    return sound_vol == 255 && midi_vol == 255 && current_screen_mode == 0 ? 0 : 3;
}

int save_read(const std::string &path)
{
    save_contents contents;
    return read_save_file(path.c_str(), contents) == save_whole ? 3 : 0;
}

// The listing reads the first line of the map a save names: the save is listed, marked damaged.
int listed_save_map_read(const std::string &path)
{
    write_text_file(std::string(saves_directory) + "Save_000.qsv",
                    save_text(directory_of(path), name_of(path), "Scratch Set", "level_a.map", "scratch"));
    load_saves();
    return game_saves.size() == 1 && game_saves[0].damaged ? 0 : 3;
}

int map_load(const std::string &path)
{
    set_text(loader_directory, sizeof(loader_directory), directory_of(path));
    char file[256];
    set_text(file, sizeof(file), name_of(path));
    the_map.load_map(file);
    return 3;
}

int level_selection_read(const std::string &path)
{
    char target[] = "end";
    char dir[256], first[256];
    set_text(dir, sizeof(dir), directory_of(path));
    set_text(first, sizeof(first), name_of(path));
    get_levels_for_selection(target, dir, first);
    return level_set_exists == 0 && level_selections.empty() ? 0 : 3;
}

int movie_load(const std::string &path)
{
    char movie[256];
    set_text(movie, sizeof(movie), path);
    load_auto_script_no_dialog(movie);
    return 3;
}

// The scan starts in the working directory and finds loader files in the directories below it.
int loader_scan(const std::string &path)
{
    if (chdir(directory_of(directory_of(path).substr(0, directory_of(path).size() - 1)).c_str()) != 0)
        return 4;
    level_sets.clear();
    load_level_sets();
    return level_sets.empty() ? 0 : 3;
}

// FNV-1a over n zero bytes: each byte multiplies by the prime, so the start times prime^n.
unsigned long long sum_of_zeros(unsigned long long n)
{
    unsigned long long sum = 14695981039346656037ULL, factor = 1099511628211ULL;
    for (; n; n >>= 1, factor *= factor)
        if (n & 1)
            sum *= factor;
    return sum;
}

// The record claims the file's true size and sum when it is a plain file, else those of 100 zeros
// (all that /dev/zero would give a reader that took the record's size as its limit).
int datafile_check(const std::string &path)
{
    struct stat info;
    const unsigned long long size =
        lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) ? static_cast<unsigned long long>(info.st_size) : 100;
    char record[64];
    std::snprintf(record, sizeof(record), "%llu %016llx\n", size, sum_of_zeros(size));
    write_text_file(path + ".sum", record);
    return datafile_intact(path.c_str()) ? 3 : 0;
}

int song_load(const std::string &path)
{
    music.clear();
    add_music(path.c_str(), 0, nullptr);
    return music.empty() ? 0 : 3;
}

const reader_case readers[] = {
    {"settings", "settings.txt", settings_file_bound, good_settings, settings_read, 0, ""},
    {"save", "Save_009.qsv", save_file_bound, good_save, save_read, 0, ""},
    {"listed_saves_map_name", "special.map", map_file_bound, good_map, listed_save_map_read, 0, ""},
    {"map", "special.map", map_file_bound, good_map, map_load, 1, "Could Not load map!"},
    {"level_selection", "special.map", map_file_bound, good_last_map, level_selection_read, 0, ""},
    {"movie", "special.qmv", movie_file_bound, good_movie, movie_load, 1, "Could not load\n.*\nautoscript!"},
    {"loader_scan", "set/special.qlx", loader_file_bound, good_loader, loader_scan, 0, ""},
    {"datafile_check", "special.dat", datafile_bound, good_datafile, datafile_check, 0, ""},
    {"song", "special.mid", song_file_bound, good_song, song_load, 0, ""},
};

class file_reads_test : public save_fixture,
                        public testing::WithParamInterface<std::tuple<reader_case, special_file>> {};

TEST_P(file_reads_test, never_hangs_and_fails_as_the_reader_does)
{
    expect_ordinary_failure(std::get<0>(GetParam()), std::get<1>(GetParam()), levels);
}

class good_file_reads_test : public save_fixture, public testing::WithParamInterface<reader_case> {};

TEST_P(good_file_reads_test, a_good_file_is_read)
{
    expect_good_file_read(GetParam(), levels);
}

INSTANTIATE_TEST_SUITE_P(readers, file_reads_test,
                         testing::Combine(testing::ValuesIn(readers), testing::ValuesIn(all_special_files)),
                         label_name());
INSTANTIATE_TEST_SUITE_P(readers, good_file_reads_test, testing::ValuesIn(readers), label_name());

} // namespace
