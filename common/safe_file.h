// Writing a file whole or not at all: the contents go to a temporary file beside it, which then takes its name.
#pragma once
#include <string>

// Writes every byte of contents to fd; false on any write error (a full disk, a size limit).
bool write_all(int fd, const std::string &contents);

// Writes contents to a temporary file in path's directory, flushes it to the disk, checks every
// step, and renames it over path. Returns -1 when path now holds exactly contents; 0 when any step
// failed, and then path is as it was before (or still absent) and no temporary file is left.
int replace_file(const char *path, const std::string &contents);

// The same, but path must not exist yet: the finished file takes the name only if nobody holds it,
// so two writers never replace each other's file. Returns -1 when written, 0 on a failure,
// new_file_taken when a file of that name already exists (nothing was changed).
const int new_file_taken = 1;
int create_new_file(const char *path, const std::string &contents);
