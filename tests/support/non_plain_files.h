// What a user's disk may hold where a program expects one of its files: a named pipe, a link to an endless device, a directory, a file far too large.
#pragma once
#include <gtest/gtest.h>
#include <cstdio>
#include <filesystem>
#include <string>
#include <tuple>
#include <sys/stat.h>
#include <unistd.h>
#include "case_names.h"
#include "headless.h"

enum class special_file { named_pipe, link_to_dev_zero, directory, far_over_bound };

const special_file all_special_files[] = {special_file::named_pipe, special_file::link_to_dev_zero,
                                          special_file::directory, special_file::far_over_bound};

// Names the kind in test names.
inline const char *case_label(special_file kind)
{
    static const char *const names[] = {"named_pipe", "link_to_dev_zero", "directory", "far_over_bound"};
    return names[static_cast<int>(kind)];
}

// Makes path into a file of that kind. The one far over its bound begins with `start` (a good file
// of its kind, which a reader with no bound would take) and is then stretched, as a sparse file
// costing no disk, to twice `bound` bytes of zeros.
inline void make_special_file(const std::string &path, special_file kind, const std::string &start, std::size_t bound)
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
    switch (kind) {
    case special_file::named_pipe:
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0) << path;
        break;
    case special_file::link_to_dev_zero:
        std::filesystem::create_symlink("/dev/zero", path);
        break;
    case special_file::directory:
        std::filesystem::create_directory(path);
        write_text_file(path + "/inside", start);
        break;
    case special_file::far_over_bound:
        write_text_file(path, start);
        ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(2 * bound)), 0) << path;
        break;
    }
}

// One reader of a program: where its file lies, how large its kind may be, a good file of its kind
// (also the start of the one far over its bound), and the read, run in a child. The read gives 0
// when the reader failed its ordinary way and 3 when it read the file; a reader that ends the
// program instead is expected to end it with exit_code and a message matching `message`.
struct reader_case {
    const char *name;
    const char *file; // in the scratch directory the test gives
    std::size_t bound;
    std::string (*good_start)(const std::string &dir);
    int (*read)(const std::string &path);
    int exit_code;
    const char *message;
};

// Names the case in test output.
inline void PrintTo(const reader_case &c, std::ostream *out) { *out << c.name; }

inline std::string directory_of(const std::string &path) { return path.substr(0, path.rfind('/') + 1); }
inline std::string name_of(const std::string &path) { return path.substr(path.rfind('/') + 1); }

// Runs the reader on a special file of that kind in dir, in a child process that an alarm ends
// should the reader hang. What the program prints goes to the stream the check reads.
inline void expect_ordinary_failure(const reader_case &reader, special_file kind, const std::string &dir)
{
    const std::string path = dir + reader.file;
    std::filesystem::create_directories(directory_of(path));
    make_special_file(path, kind, reader.good_start(dir), reader.bound);
    EXPECT_EXIT(
        {
            alarm(30);
            dup2(fileno(stderr), fileno(stdout));
            std::_Exit(reader.read(path));
        },
        testing::ExitedWithCode(reader.exit_code), reader.message);
}

// The same reader takes the good file of its kind, so that each failure is the special file's doing.
inline void expect_good_file_read(const reader_case &reader, const std::string &dir)
{
    const std::string path = dir + reader.file;
    std::filesystem::create_directories(directory_of(path));
    write_text_file(path, reader.good_start(dir));
    EXPECT_EXIT(
        {
            alarm(30);
            dup2(fileno(stderr), fileno(stdout));
            std::_Exit(reader.read(path) == 3 ? 0 : 5);
        },
        testing::ExitedWithCode(0), "");
}

