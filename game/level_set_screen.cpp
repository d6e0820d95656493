// The current level set and the start-up scan for level-set loader files.
#include "level_set_screen.h"
#include <allegro.h>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <utility>

char loader_directory[255] = "data/levels/original levels/";
char first_level[255] = "level1.map";
char level_set_loader_file[256] = "original";
char level_set_name[256] = "Original Levels";

const char loader_directory_hardcopy[255] = "data/levels/original levels/";
const char first_level_hardcopy[255] = "level1.map";
const char level_set_loader_file_hardcopy[256] = "original";
const char level_set_name_hardcopy[256] = "Original Levels";

std::vector<level_set_locs> level_sets;

level_set_locs::level_set_locs()
{
    name[0] = '\0';
    directory[0] = '\0';
    first_level[0] = '\0';
    loader_file[0] = '\0';
}

namespace {

// Room for a directory path plus "/*.qlx" and its terminating zero.
const int scan_buffer_size = 256;

// Directories already entered during this scan, by device and inode, so that
// symbolic links that lead back up the tree do not walk it for ever.
std::vector<std::pair<dev_t, ino_t>> entered_directories;

// Records the directory as entered; returns 0 if it had been entered before (or cannot be examined).
int enter_directory(const char *path)
{
    struct stat info;
    if (stat(path, &info) != 0)
        return 0;
    for (const auto &seen : entered_directories)
        if (seen.first == info.st_dev && seen.second == info.st_ino)
            return 0;
    entered_directories.emplace_back(info.st_dev, info.st_ino);
    return -1;
}

// Reads one line up to its line feed into out (at most size - 1 characters kept, the rest of
// the line skipped). Nothing is trimmed: a carriage return stays part of the value.
void read_loader_line(FILE *file, char *out, int size)
{
    int length = 0;
    int c;
    while ((c = std::fgetc(file)) != EOF && c != '\n')
        if (length < size - 1)
            out[length++] = static_cast<char>(c);
    out[length] = '\0';
}

// Copies text into a fixed field; returns 0 (and leaves the field empty) if it does not fit.
int copy_field(char *field, int size, const char *text)
{
    if (static_cast<int>(std::strlen(text)) >= size) {
        field[0] = '\0';
        return 0;
    }
    std::strcpy(field, text);
    return -1;
}

} // namespace

void load_level_sets()
{
    entered_directories.clear();
    enter_directory(".");
    for_each_file_ex("*", 0, 0, check_directories_recursive, nullptr);
    entered_directories.clear();
}

int check_directories_recursive(const char *path, int attrib, void *param)
{
    (void)param;
    // Only plain directories: hidden (leading '.') and read-only ones carry further attributes.
    if (attrib != FA_DIREC)
        return 0;
    const size_t length = std::strlen(path);
    if (length == 0 || path[length - 1] == '.')
        return 0;
    // A path too long for the pattern buffer is left out rather than cut.
    if (length + std::strlen("/*.qlx") >= static_cast<size_t>(scan_buffer_size))
        return 0;
    if (!enter_directory(path))
        return 0;

    char pattern[scan_buffer_size];
    std::snprintf(pattern, sizeof(pattern), "%s/*", path);
    for_each_file_ex(pattern, 0, 0, check_directories_recursive, nullptr);
    std::snprintf(pattern, sizeof(pattern), "%s/*.qlx", path);
    for_each_file_ex(pattern, 0, 0, add_level_set, nullptr);
    return 0;
}

int add_level_set(const char *path, int attrib, void *param)
{
    (void)attrib;
    (void)param;
    // A loader file that cannot be read is passed over: one bad file must not stop the game.
    FILE *file = std::fopen(path, "rb");
    if (!file)
        return 0;
    level_set_locs set;
    // The listing hands over paths up to Allegro's own limit; a set whose directory or file name
    // does not fit its record is left out rather than cut.
    char directory[1024];
    int usable = copy_field(directory, sizeof(directory), path) &&
                 copy_field(set.loader_file, sizeof(set.loader_file), get_filename(path)) &&
                 copy_field(set.directory, sizeof(set.directory), truncate_level_set_directory(directory));
    if (usable) {
        read_loader_line(file, set.first_level, sizeof(set.first_level));
        read_loader_line(file, set.name, sizeof(set.name));
        usable = !std::ferror(file);
    }
    std::fclose(file);
    if (usable)
        level_sets.push_back(set);
    return 0;
}

char *truncate_level_set_directory(char *path)
{
    char *end = path + std::strlen(path);
    while (end > path && end[-1] != '/')
        --end;
    *end = '\0';
    return path;
}
