// What a user's disk may hold where a program expects one of its files: a named pipe, a link to an endless device, a directory, a file far too large.
#pragma once
#include <gtest/gtest.h>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include "headless.h"

enum class special_file { named_pipe, link_to_dev_zero, directory, far_over_bound };

const special_file all_special_files[] = {special_file::named_pipe, special_file::link_to_dev_zero,
                                          special_file::directory, special_file::far_over_bound};

inline const char *special_file_name(special_file kind)
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

// Runs read in a child process, which an alarm ends should the reader hang; read gives the child's
// exit status (0 when the reader failed in its ordinary way). A reader that ends the program
// instead is expected to end it with `exit_code` and a message matching `message`; what the
// program prints goes to the stream the check reads.
inline void expect_reader_ends_in_child(int (*read)(const std::string &path), const std::string &path,
                                        int exit_code, const char *message)
{
    EXPECT_EXIT(
        {
            alarm(30);
            dup2(fileno(stderr), fileno(stdout));
            std::_Exit(read(path));
        },
        testing::ExitedWithCode(exit_code), message);
}
