// The files Allegro reads on the programs' behalf, crafted or swapped: each case ends its ordinary way, in a child that an alarm stops should it hang.
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include "damaged_data.h"
#include "datafile_check.h"
#include "datafiles.h"
#include "plain_file.h"
#include "start_up.h"

namespace {

struct bytes {
    std::string v;
    bytes &l(uint32_t x) { for (int s = 24; s >= 0; s -= 8) v += char(x >> s); return *this; }
    bytes &w(int x) { v += char(x >> 8); v += char(x); return *this; }
    bytes &raw(const std::string &s) { v += s; return *this; }
};

// One object with its name property, as a data file holds it.
std::string object(uint32_t type, const std::string &name, const std::string &body, long stated = -1)
{
    const uint32_t size = stated < 0 ? uint32_t(body.size()) : uint32_t(stated);
    return bytes().l(DAT_PROPERTY).l(DAT_NAME).l(uint32_t(name.size())).raw(name).l(type).l(size).l(size).raw(body).v;
}

std::string bitmap_body(int w, int h, std::size_t pixels)
{
    return bytes().w(24).w(w).w(h).raw(std::string(pixels, '\x7f')).v;
}

// Writes a password-protected, packed data file of `objects` and its record, as the build does.
void write_datafile(const std::string &path, const std::string &objects, uint32_t count)
{
    packfile_password(datafile_password);
    PACKFILE *f = pack_fopen(path.c_str(), F_WRITE_PACKED);
    ASSERT_NE(f, nullptr);
    const std::string all = bytes().l(DAT_MAGIC).l(count).raw(objects).v;
    pack_fwrite(all.data(), long(all.size()), f);
    pack_fclose(f);
    packfile_password(nullptr);
    ASSERT_TRUE(write_datafile_record(path.c_str()));
}

struct crafted_case {
    const char *name;
    std::string (*objects)();
    uint32_t count;
};
void PrintTo(const crafted_case &c, std::ostream *out) { *out << c.name; }

const crafted_case crafted_cases[] = {
    {"bitmap_wider_than_any_picture", [] { return object(DAT_BITMAP, "a", bitmap_body(65535, 65535, 30)); }, 1},
    {"bitmap_shorter_than_its_pixels", [] { return object(DAT_BITMAP, "a", bitmap_body(32, 32, 100)); }, 1},
    {"object_past_the_end", [] { return object(DAT_BITMAP, "a", bitmap_body(2, 2, 12), 1 << 20); }, 1},
    {"more_objects_than_it_holds", [] { return object(DAT_BITMAP, "a", bitmap_body(2, 2, 12)); }, 40},
    {"font_of_no_ranges", [] { return object(DAT_FONT, "a", bytes().w(0).w(0).v); }, 1},
    {"sample_longer_than_its_sound", [] { return object(DAT_SAMPLE, "a", bytes().w(16).w(22050).l(1u << 30).v); }, 1},
    {"nested_data_file", [] { return object(DAT_FILE, "a", bytes().l(0).v); }, 1},
    {"huge_property", [] { return bytes().l(DAT_PROPERTY).l(DAT_NAME).l(0x7fffffff).v; }, 1},
    {"tile_of_the_wrong_kind", [] { return object(DAT_MIDI, "a", bytes().w(96).raw(std::string(32 * 4, '\0')).v); }, 1},
};

class crafted_datafile : public testing::TestWithParam<crafted_case> {};

// The crafted file stands in for the tile file, its record made to match.
TEST_P(crafted_datafile, ends_the_game_with_its_message)
{
    const std::string tree = copy_data_files("allegro_reads");
    write_datafile(tree + "/data/d_tiles.dat", GetParam().objects(), GetParam().count);
    EXPECT_EXIT(
        {
            alarm(30);
            dup2(fileno(stderr), fileno(stdout));
            if (chdir(tree.c_str()) != 0)
                std::_Exit(3);
            load_datafiles();
            std::_Exit(0);
        },
        testing::ExitedWithCode(1), "Failed to load tile data\\.");
}

INSTANTIATE_TEST_SUITE_P(cases, crafted_datafile, testing::ValuesIn(crafted_cases),
                         [](const testing::TestParamInfo<crafted_case> &info) { return std::string(info.param.name); });

struct swap_case {
    const char *name;
    const char *first, *second; // below data/
    const char *message;
};
void PrintTo(const swap_case &c, std::ostream *out) { *out << c.name; }

const swap_case swap_cases[] = {
    {"tiles_and_sounds", "d_tiles.dat", "d_sounds.dat", "Failed to load tile data\\."},
    {"player_and_system", "d_player.dat", "d_system.dat", "Failed to load player data\\."},
    {"build_tiles_and_portraits", "d_build_tiles.dat", "d_portraits.dat", "Failed to load build tile data\\."},
    {"tiles_and_backgrounds", "d_tiles.dat", "d_backgrounds.dat", "Failed to load tile data\\."},
};

class swapped_datafiles : public testing::TestWithParam<swap_case> {};

// Two genuine files trade places, each with its own record: both pass their records, and the
// entries' kinds and sizes tell them apart.
TEST_P(swapped_datafiles, end_the_game_with_the_first_ones_message)
{
    namespace fs = std::filesystem;
    const std::string data = copy_data_files("allegro_swap") + "/data/";
    for (const char *suffix : {"", ".sum"}) {
        fs::rename(data + GetParam().first + suffix, data + "swap");
        fs::rename(data + GetParam().second + suffix, data + GetParam().first + suffix);
        fs::rename(data + "swap", data + GetParam().second + suffix);
    }
    expect_load_to_end_with(data + "..", [] { alarm(30); load_datafiles(); }, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(cases, swapped_datafiles, testing::ValuesIn(swap_cases),
                         [](const testing::TestParamInfo<swap_case> &info) { return std::string(info.param.name); });

// ---- the patch set ----

std::string run_tree_patch_set()
{
    std::ifstream in("patches.dat", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string patch_set(const std::string &objects, uint32_t count, uint32_t magic = F_NOPACK_MAGIC)
{
    return bytes().l(magic).l(DAT_MAGIC).l(count).raw(objects).v;
}

struct patch_case {
    const char *name;
    std::string (*contents)();
    int well_formed;
};
void PrintTo(const patch_case &c, std::ostream *out) { *out << c.name; }

const uint32_t pat_type = DAT_ID('P', 'A', 'T', ' ');

const patch_case patch_cases[] = {
    {"the_built_one", run_tree_patch_set, -1},
    {"a_small_good_one", [] { return patch_set(object(pat_type, "Tone_000/000.pat", "GF1PATCH110"), 1); }, -1},
    {"name_over_512_bytes", [] { return patch_set(object(pat_type, std::string(600, 'n'), "GF1PATCH110"), 1); }, 0},
    {"object_past_the_end", [] { return patch_set(object(pat_type, "a", "GF1", 1 << 20), 1); }, 0},
    {"fewer_objects_than_counted", [] { return patch_set(object(pat_type, "a", "GF1"), 2); }, 0},
    {"bytes_after_the_last_object", [] { return patch_set(object(pat_type, "a", "GF1"), 1) + "junk"; }, 0},
    {"packed", [] { return patch_set(object(pat_type, "a", "GF1"), 1, F_PACK_MAGIC); }, 0},
    {"nested", [] { return patch_set(object(DAT_FILE, "a", bytes().l(0).v), 1); }, 0},
    {"empty", [] { return std::string(); }, 0},
};

class patch_set_form : public testing::TestWithParam<patch_case> {};

TEST_P(patch_set_form, is_judged_before_the_driver_reads_it)
{
    const std::string contents = GetParam().contents();
    EXPECT_EXIT(
        {
            alarm(30);
            std::_Exit(patch_set_well_formed(contents) == GetParam().well_formed ? 0 : 2);
        },
        testing::ExitedWithCode(0), "");
}

INSTANTIATE_TEST_SUITE_P(cases, patch_set_form, testing::ValuesIn(patch_cases),
                         [](const testing::TestParamInfo<patch_case> &info) { return std::string(info.param.name); });

// A patch set the driver must not read: a named pipe (whose open would wait for ever), a file
// far over its bound, a crafted one. The driver is pointed at a name that cannot exist.
struct refused_patch_case {
    const char *name;
    void (*make)(const std::string &path);
};
void PrintTo(const refused_patch_case &c, std::ostream *out) { *out << c.name; }

const refused_patch_case refused_patch_cases[] = {
    {"named_pipe", [](const std::string &p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }},
    {"far_over_its_bound", [](const std::string &p) {
         write_text_file(p, patch_set("", 0));
         ASSERT_EQ(truncate(p.c_str(), off_t(2 * patch_set_bound)), 0);
     }},
    {"name_over_512_bytes", [](const std::string &p) {
         write_text_file(p, patch_set(object(pat_type, std::string(600, 'n'), "GF1PATCH110"), 1));
     }},
    {"missing", [](const std::string &) {}},
};

class refused_patch_set : public testing::TestWithParam<refused_patch_case> {};

TEST_P(refused_patch_set, leaves_the_driver_no_patch_set)
{
    const std::string path = make_temp_dir("allegro_patches") + "/patches.dat";
    GetParam().make(path);
    EXPECT_EXIT(
        {
            alarm(30);
            set_config_string("sound", "patches", path.c_str());
            use_checked_patch_set();
            const std::string now = get_config_string("sound", "patches", "");
            struct stat info;
            std::_Exit(now != path && stat(now.c_str(), &info) != 0 ? 0 : 2);
        },
        testing::ExitedWithCode(0), "");
}

INSTANTIATE_TEST_SUITE_P(cases, refused_patch_set, testing::ValuesIn(refused_patch_cases),
                         [](const testing::TestParamInfo<refused_patch_case> &info) { return std::string(info.param.name); });

// A good one is handed over as a copy that holds exactly the bytes that were checked, and stays so
// when the file on disk changes.
TEST(checked_patch_set, is_a_copy_of_the_checked_bytes)
{
    const std::string path = make_temp_dir("allegro_patches") + "/patches.dat";
    const std::string good = patch_set(object(pat_type, "Tone_000/000.pat", "GF1PATCH110"), 1);
    write_text_file(path, good);
    EXPECT_EXIT(
        {
            alarm(30);
            set_config_string("sound", "patches", path.c_str());
            use_checked_patch_set();
            write_text_file(path, "changed");
            std::string copy;
            const int read = read_plain_file(get_config_string("sound", "patches", ""), patch_set_bound, copy);
            std::_Exit(read && copy == good ? 0 : 2);
        },
        testing::ExitedWithCode(0), "");
}

// The link to the copy lies in a directory of its own, named for the process; a run ended by a
// signal leaves one behind, and the next start takes it away, but never one of a living process.
TEST(checked_patch_set, takes_away_the_links_of_ended_runs_only)
{
    const std::string temp = make_temp_dir("allegro_links");
    const std::string patches = temp + "/patches.dat";
    write_text_file(patches, patch_set(object(pat_type, "Tone_000/000.pat", "GF1PATCH110"), 1));
    const pid_t ended = fork();
    if (ended == 0)
        std::_Exit(0);
    ASSERT_EQ(waitpid(ended, nullptr, 0), ended);
    const std::string gone = temp + "/slumberia-patches-" + std::to_string(ended) + "-abcdef";
    const std::string living = temp + "/slumberia-patches-" + std::to_string(getpid()) + "-abcdef";
    for (const std::string &dir : {gone, living}) {
        std::filesystem::create_directory(dir);
        std::filesystem::create_symlink("/proc/self/fd/6", dir + "/patches.dat");
    }
    EXPECT_EXIT(
        {
            alarm(30);
            setenv("TMPDIR", temp.c_str(), 1);
            set_config_string("sound", "patches", patches.c_str());
            use_checked_patch_set();
            std::_Exit(!std::filesystem::exists(gone) && std::filesystem::is_directory(living) ? 0 : 2);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace
