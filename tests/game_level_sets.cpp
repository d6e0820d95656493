// The start-up scan for level-set loader files, run on small scratch trees.
#include <gtest/gtest.h>
#include <allegro.h>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#include "case_names.h"
#include "headless.h"
#include "level_set_screen.h"

namespace fs = std::filesystem;

namespace {

// The scan skips directories the user may not write to and files it may not read. Root may do
// both, so when the tests run as root the scan runs as "nobody", on a tree that nobody owns.
const uid_t unprivileged_id = 65534;

class scratch_tree {
public:
    scratch_tree() : root(make_temp_dir("level_sets")) {}
    ~scratch_tree()
    {
        // Give every directory its permissions back so that the tree can be removed.
        std::error_code ignored;
        for (auto it = fs::recursive_directory_iterator(root, ignored);
             it != fs::recursive_directory_iterator(); it.increment(ignored))
            if (!it->is_symlink() && it->is_directory(ignored))
                chmod(it->path().c_str(), 0755);
        fs::remove_all(root, ignored);
    }

    void file(const std::string &relative, const std::string &text)
    {
        fs::create_directories(fs::path(root + "/" + relative).parent_path());
        write_text_file(root + "/" + relative, text);
    }
    void dir(const std::string &relative) { fs::create_directories(root + "/" + relative); }
    void link(const std::string &relative, const std::string &target)
    {
        fs::create_directory_symlink(target, root + "/" + relative);
    }
    void mode(const std::string &relative, mode_t bits) { chmod((root + "/" + relative).c_str(), bits); }

    // When the tests run as root, gives the tree to "nobody", as whom the scan runs.
    void hand_over()
    {
        if (geteuid() != 0)
            return;
        lchown(root.c_str(), unprivileged_id, unprivileged_id);
        for (const auto &entry : fs::recursive_directory_iterator(root))
            lchown(entry.path().c_str(), unprivileged_id, unprivileged_id);
    }

    // Runs the scan with the tree as working directory and returns the sets found, in order.
    std::vector<level_set_locs> scan()
    {
        const bool privileged = geteuid() == 0;
        hand_over();
        char saved[1024];
        EXPECT_NE(getcwd(saved, sizeof(saved)), nullptr);
        EXPECT_EQ(chdir(root.c_str()), 0);
        if (privileged) {
            EXPECT_EQ(setegid(unprivileged_id), 0);
            EXPECT_EQ(seteuid(unprivileged_id), 0);
        }
        level_sets.clear();
        load_level_sets();
        if (privileged) {
            EXPECT_EQ(seteuid(0), 0);
            EXPECT_EQ(setegid(0), 0);
        }
        EXPECT_EQ(chdir(saved), 0);
        std::vector<level_set_locs> found = level_sets;
        level_sets.clear();
        return found;
    }

    const std::string root;
};

// A second tree beside the scanned one, open to the scan's user, holding one loader file.
class outside_tree : public scratch_tree {
public:
    explicit outside_tree(const std::string &loader_file)
    {
        file(loader_file, "f.map\nFar\n");
        mode("", 0755);
        hand_over();
    }
};

// Each set as "directory|loader_file", the order kept.
std::vector<std::string> places(const std::vector<level_set_locs> &sets)
{
    std::vector<std::string> out;
    for (const level_set_locs &set : sets)
        out.push_back(std::string(set.directory) + "|" + set.loader_file);
    return out;
}

using strings = std::vector<std::string>;

TEST(level_set_scan, reads_a_loader_file_one_level_down_but_not_one_in_the_working_directory)
{
    scratch_tree tree;
    tree.file("top.qlx", "top.map\nTop\n");
    tree.file("data/levels/my set/myset.qlx", "start.map\nMy Set\n");
    const std::vector<level_set_locs> sets = tree.scan();
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_STREQ(sets[0].name, "My Set");
    EXPECT_STREQ(sets[0].directory, "data/levels/my set/");
    EXPECT_STREQ(sets[0].first_level, "start.map");
    EXPECT_STREQ(sets[0].loader_file, "myset.qlx");
}

struct skipped_case {
    const char *label;
    const char *directory;
    mode_t mode; // 0: left as made
};

// Names the case in test output.
void PrintTo(const skipped_case &c, std::ostream *out) { *out << c.label; }

class level_set_scan_skips : public testing::TestWithParam<skipped_case> {};

TEST_P(level_set_scan_skips, the_directory_and_everything_below_it)
{
    const skipped_case &c = GetParam();
    scratch_tree tree;
    tree.file("plain/plain.qlx", "a.map\nPlain\n");
    tree.file(std::string(c.directory) + "/inside.qlx", "b.map\nInside\n");
    tree.file(std::string(c.directory) + "/below/below.qlx", "c.map\nBelow\n");
    if (c.mode)
        tree.mode(c.directory, c.mode);
    EXPECT_EQ(places(tree.scan()), strings{"plain/|plain.qlx"}) << c.label;
}

const skipped_case skipped_cases[] = {
    {"hidden", ".hidden", 0},
    {"name ending with a dot", "ends.", 0},
    {"read-only", "locked", 0555},
    {"hidden below a plain one", "plain/.hidden", 0},
};

INSTANTIATE_TEST_SUITE_P(cases, level_set_scan_skips, testing::ValuesIn(skipped_cases), label_name());

TEST(level_set_scan, lists_subdirectories_before_their_parents_own_loader_files)
{
    scratch_tree tree;
    tree.file("A/a.qlx", "a.map\nA\n");
    tree.file("A/B/b.qlx", "b.map\nB\n");
    tree.file("A/B/C/c.qlx", "c.map\nC\n");
    EXPECT_EQ(places(tree.scan()), (strings{"A/B/C/|c.qlx", "A/B/|b.qlx", "A/|a.qlx"}));
}

TEST(level_set_scan, gives_two_sets_for_two_loader_files_in_one_directory)
{
    scratch_tree tree;
    tree.file("pair/first.qlx", "one.map\nFirst\n");
    tree.file("pair/second.qlx", "two.map\nSecond\n");
    strings found = places(tree.scan());
    std::sort(found.begin(), found.end()); // the listing's own order within a directory
    EXPECT_EQ(found, (strings{"pair/|first.qlx", "pair/|second.qlx"}));
}

TEST(level_set_scan, takes_only_the_lower_case_extension)
{
    scratch_tree tree;
    tree.file("caps/SET.QLX", "a.map\nCaps\n");
    tree.file("caps/set.Qlx", "a.map\nMixed\n");
    tree.file("caps/set.qlx.bak", "a.map\nBackup\n");
    tree.file("caps/set.qlx", "a.map\nReal\n");
    EXPECT_EQ(places(tree.scan()), strings{"caps/|set.qlx"});
}

struct content_case {
    const char *label;
    std::string contents;
    std::string first_level;
    std::string name;
};

// Names the case in test output.
void PrintTo(const content_case &c, std::ostream *out) { *out << c.label; }

class loader_file_contents : public testing::TestWithParam<content_case> {};

TEST_P(loader_file_contents, are_read_line_by_line_as_they_stand)
{
    const content_case &c = GetParam();
    scratch_tree tree;
    tree.file("set/set.qlx", c.contents);
    const std::vector<level_set_locs> sets = tree.scan();
    ASSERT_EQ(sets.size(), 1u) << c.label;
    EXPECT_EQ(sets[0].first_level, c.first_level) << c.label;
    EXPECT_EQ(sets[0].name, c.name) << c.label;
}

const content_case content_cases[] = {
    {"as the editor writes it", "start.map\nDream Steps\n", "start.map", "Dream Steps"},
    {"single line", "start.map\n", "start.map", ""},
    {"single line without line feed", "start.map", "start.map", ""},
    {"empty file", "", "", ""},
    {"carriage returns kept", "start.map\r\nName\r\n", "start.map\r", "Name\r"},
    {"lines after the second ignored", "a.map\nName\nextra\nmore\n", "a.map", "Name"},
    {"blanks kept", " a.map \n  Spaced Name \n", " a.map ", "  Spaced Name "},
    {"over-long first line cut at 255, second line still read",
     std::string(300, 'x') + "\nAfter\n", std::string(255, 'x'), "After"},
    {"over-long name cut at 255", "a.map\n" + std::string(400, 'n') + "\n", "a.map",
     std::string(255, 'n')},
};

INSTANTIATE_TEST_SUITE_P(cases, loader_file_contents, testing::ValuesIn(content_cases), label_name());

TEST(level_set_scan, passes_over_loader_files_that_cannot_be_read)
{
    scratch_tree tree;
    tree.file("good/good.qlx", "g.map\nGood\n");
    tree.file("bad/unreadable.qlx", "u.map\nUnreadable\n");
    tree.mode("bad/unreadable.qlx", 0);
    tree.dir("bad/directory.qlx"); // listed by the pattern, but cannot be read as a file
    EXPECT_EQ(places(tree.scan()), strings{"good/|good.qlx"});
}

TEST(level_set_scan, ends_in_symbolic_link_loops_and_enters_each_directory_once)
{
    scratch_tree tree;
    tree.file("A/a.qlx", "a.map\nA\n");
    tree.file("A/B/b.qlx", "b.map\nB\n");
    tree.link("A/B/up", "..");
    tree.link("A/top", "..");
    tree.link("A/B/self", ".");
    EXPECT_EQ(places(tree.scan()), (strings{"A/B/|b.qlx", "A/|a.qlx"}));
}

TEST(level_set_scan, follows_no_symbolic_link_out_of_the_tree_or_within_it)
{
    const outside_tree outside("far/far.qlx");
    scratch_tree tree;
    tree.file("A/a.qlx", "a.map\nA\n");
    tree.file("A/B/b.qlx", "b.map\nB\n");
    tree.link("A/out", outside.root + "/far");
    tree.link("alias", "A/B");
    EXPECT_EQ(places(tree.scan()), (strings{"A/B/|b.qlx", "A/|a.qlx"}));
}

TEST(level_set_scan, reads_only_loader_files_that_are_plain_files_of_the_tree)
{
    const outside_tree outside("far.qlx");
    scratch_tree tree;
    tree.file("set/good.qlx", "g.map\nGood\n");
    fs::create_symlink(outside.root + "/far.qlx", tree.root + "/set/far.qlx");
    fs::create_symlink("/dev/zero", tree.root + "/set/zero.qlx");
    ASSERT_EQ(mkfifo((tree.root + "/set/pipe.qlx").c_str(), 0666), 0);
    // A child scans: a pipe with no writer or an endless device would hold it for ever, and the
    // alarm ends it long after any honest scan is over.
    EXPECT_EXIT(
        {
            alarm(60);
            std::_Exit(places(tree.scan()) == strings{"set/|good.qlx"} ? 0 : 3);
        },
        testing::ExitedWithCode(0), "");
}

TEST(level_set_scan, leaves_out_directories_whose_search_pattern_would_not_fit)
{
    // "/*.qlx" and the terminating zero must fit beside the path in 256 characters.
    scratch_tree tree;
    // Two path components each, so that no single name is longer than the file system allows.
    const std::string fits = std::string(120, 'f') + "/" + std::string(128, 'f');     // 249
    const std::string too_long = std::string(120, 'l') + "/" + std::string(129, 'l'); // 250
    tree.file(fits + "/ok.qlx", "a.map\nFits\n");
    tree.file(too_long + "/no.qlx", "a.map\nToo long\n");
    tree.file(too_long + "/deeper/no.qlx", "a.map\nBelow\n");
    const std::vector<level_set_locs> sets = tree.scan();
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_STREQ(sets[0].name, "Fits");
    EXPECT_EQ(std::string(sets[0].directory), fits + "/");
}

struct truncate_case {
    const char *path;
    const char *result;
};

// Names the case in test output.
void PrintTo(const truncate_case &c, std::ostream *out) { *out << c.path; }

class truncate_directory : public testing::TestWithParam<truncate_case> {};

TEST_P(truncate_directory, cuts_after_the_last_slash_in_place)
{
    char path[256];
    std::strcpy(path, GetParam().path);
    EXPECT_EQ(truncate_level_set_directory(path), path);
    EXPECT_STREQ(path, GetParam().result);
}

const truncate_case truncate_cases[] = {
    {"a/b/c.qlx", "a/b/"},
    {"a/b/", "a/b/"},
    {"data/levels/my set/myset.qlx", "data/levels/my set/"},
    {"/loader.qlx", "/"},
    {"no_slash.qlx", ""},
};

std::string case_label(const truncate_case &c) { return c.path; }

INSTANTIATE_TEST_SUITE_P(cases, truncate_directory, testing::ValuesIn(truncate_cases), label_name());

TEST(current_level_set, starts_as_the_built_in_set)
{
    EXPECT_STREQ(loader_directory, "data/levels/original levels/");
    EXPECT_STREQ(first_level, "level1.map");
    EXPECT_STREQ(level_set_loader_file, "original");
    EXPECT_STREQ(level_set_name, "Original Levels");
    EXPECT_STREQ(loader_directory_hardcopy, loader_directory);
    EXPECT_STREQ(first_level_hardcopy, first_level);
    EXPECT_STREQ(level_set_loader_file_hardcopy, level_set_loader_file);
    EXPECT_STREQ(level_set_name_hardcopy, level_set_name);
}

} // namespace
