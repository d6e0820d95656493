// Saving and loading map files, the next-map link and the level-set compiler's chain walk.
#include "save_load_map.h"
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>
#include "input_dialog.h"
#include "map.h"
#include "map_file.h"
#include "safe_file.h"

char filename_buffer[256] = "";
char last_filename[256] = "";
char level_set_name[256] = "Level Set Name";
char the_edited_map_path[256] = "";

int (*the_file_selector)(const char *, char *, const char *, int, int, int) = file_select_ex;
int (*the_question)(const char *, const char *, const char *, const char *, const char *, int, int) = alert;

namespace {

const int path_size = 256;

void screen_text(BITMAP *target, int x, int y, const char *text)
{
    textout_ex(target, font, text, x, y, makecol(255, 255, 255), 1);
}

void banner(const char *text)
{
    clear_to_color(screen, 0);
    screen_text(screen, 0, 0, text);
}

bool select_map_file(const char *title)
{
    return the_file_selector(title, filename_buffer, "map", path_size, -1, -1) != 0;
}

void press_any_key(BITMAP *target, int y)
{
    screen_text(target, 0, y, "Press Any Key");
}

// A file name as the question shows it: plain ASCII only (the name comes from the file system, not
// from the editor), and cut to fit the box.
void shown_name(char *dest, int size, const char *name)
{
    const int longest = 40;
    int n = 0;
    for (const char *c = name; *c && n < size - 1; c++, n++) {
        if (n == longest) {
            std::snprintf(dest + n - 3, size - n + 3, "...");
            return;
        }
        dest[n] = *c >= 32 && *c < 127 ? *c : '?';
    }
    dest[n] = '\0';
}

// Asks before a save replaces a file holding another map; anything but "Yes" keeps the file.
bool may_overwrite(const char *path)
{
    char name[64];
    shown_name(name, sizeof(name), get_filename(path));
    return the_question(name, "already holds another map.", "Overwrite it with this one?", "Yes", "No", 'y',
                        'n') == 1;
}

// Shows why the loader file was not saved, and waits for a key.
void refuse_loader(const char *why, const char *detail, const char *reason)
{
    banner(" Level Set Creator ");
    screen_text(screen, 0, 20, why);
    screen_text(screen, 0, 30, detail);
    screen_text(screen, 0, 40, reason);
    press_any_key(screen, 50);
    clear_keybuf();
    readkey();
}

// The loader file's selector, from the maps' directory, until the author picks a place the game
// reads or gives up. Leaves the chosen path in `path`; false when cancelled.
bool choose_loader_path(char *path, const char *maps_directory)
{
    char proposed[path_size];
    copy_path(proposed, maps_directory);
    for (;;) {
        copy_path(path, proposed);
        if (!the_file_selector("Save loader as?", path, "qlx", path_size, -1, -1))
            return false;
        fix_filename_slashes(path);
        if (!add_loader_extension(path)) {
            refuse_loader("Not saved! With \".qlx\" added this path is too long:", path, "");
        } else if (!loader_beside_maps(path, maps_directory)) {
            refuse_loader("Not saved! The loader file must be in the folder of its maps:",
                          maps_directory[0] ? maps_directory : "./",
                          "the game opens a set's maps from its loader file's own folder.");
        } else {
            return true;
        }
        // Back to the maps' folder, keeping the name that was typed.
        copy_path(proposed, (std::string(maps_directory) + get_filename(path)).c_str());
    }
}

} // namespace

char *truncate_level_set_directory(char *path)
{
    char *end = path + std::strlen(path);
    while (end > path && end[-1] != '/')
        end--;
    *end = '\0';
    return path;
}

void copy_path(char *dest, const char *src)
{
    std::snprintf(dest, path_size, "%s", src);
}

void report_write_failure(const char *what, const char *path)
{
    char line[path_size + 64];
    std::snprintf(line, sizeof(line), "Could not write the %s!", what);
    screen_text(screen, 0, 20, line);
    screen_text(screen, 0, 30, path);
    press_any_key(screen, 40);
    clear_keybuf();
    readkey();
}

int save_map_as(char *path)
{
    fix_filename_slashes(path);
    copy_path(the_map.file_name, get_filename(path));
    if (write_map_file(path, the_map.to_file())) {
        copy_path(last_filename, path);
        copy_path(the_edited_map_path, path);
        return -1;
    }
    report_write_failure("map file", path);
    return 0;
}

bool overwrites_another_map(const char *path)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return false;
    if (the_edited_map_path[0] == '\0')
        return true;
    // Both names are resolved now, so links and renamed-over files compare as the files they are.
    return !std::filesystem::equivalent(path, the_edited_map_path, error);
}

void load_map_from(const char *path)
{
    the_map.flush();
    copy_path(last_filename, path);
    the_edited_map_path[0] = '\0';
    // A file that ends early leaves every field it does not reach as flush left it, lines included.
    map_file file = the_map.to_file();
    if (!read_map_file(path, file, unread_lines::kept))
        return;
    the_map.from_file(file);
    copy_path(the_edited_map_path, path);
}

void next_map_from(const char *path)
{
    map_file file;
    if (read_map_file(path, file))
        copy_path(the_map.next_map, file.file_name);
}

void maps_directory_of(char *dest, const char *path)
{
    copy_path(dest, path);
    truncate_level_set_directory(dest);
    fix_filename_slashes(dest);
}

chain_result walk_level_chain(const char *first_path, BITMAP *target, char *first_name)
{
    char directory[path_size];
    char current_name[path_size];
    char current[path_size];
    copy_path(first_name, get_filename(first_path));
    copy_path(current_name, first_name);
    maps_directory_of(directory, first_path);

    // Every map read so far: a name that leads back to one of them closes a loop.
    std::vector<std::string> visited;
    while (std::strcmp(current_name, "end") != 0) {
        copy_path(current, (std::string(directory) + current_name).c_str());
        for (const std::string &seen : visited) {
            if (seen == current) {
                char line[path_size + 64];
                screen_text(target, 0, 20, "Level Set Did Not Compile! Aborting!");
                std::snprintf(line, sizeof(line), "The chain loops at: %s", visited.back().c_str());
                screen_text(target, 0, 30, line);
                press_any_key(target, 40);
                return chain_loops;
            }
        }

        char line[path_size + 64];
        std::snprintf(line, sizeof(line), "Processing: %s               ", current);
        screen_text(target, 0, 10, line);

        map_file file;
        if (!read_map_file(current, file)) {
            screen_text(target, 0, 20, "Level Set Did Not Compile! Aborting!");
            press_any_key(target, 30);
            return chain_missing_map;
        }
        visited.push_back(current);
        copy_path(current_name, file.next_map);

        if (key[KEY_ESC])
            return chain_aborted;
    }
    return chain_complete;
}

int add_loader_extension(char *path)
{
    const char extension[] = ".qlx";
    const std::size_t length = std::strlen(path), extension_length = std::strlen(extension);
    if (length >= extension_length && std::strcmp(path + length - extension_length, extension) == 0)
        return -1;
    if (length + extension_length >= static_cast<std::size_t>(path_size))
        return 0;
    std::strcat(path, extension);
    return -1;
}

bool loader_beside_maps(const char *loader_path, const char *maps_directory)
{
    char loader_directory[path_size];
    copy_path(loader_directory, loader_path);
    truncate_level_set_directory(loader_directory);
    // An empty directory is the working directory.
    std::error_code error;
    return std::filesystem::equivalent(loader_directory[0] ? loader_directory : ".",
                                       maps_directory[0] ? maps_directory : ".", error);
}

int save_loader_as(const char *path, const char *first_name)
{
    if (replace_file(path, std::string(first_name) + '\n' + level_set_name + '\n'))
        return -1;
    report_write_failure("loader file", path);
    return 0;
}

void save_map()
{
    copy_path(filename_buffer, last_filename);
    banner(" SAVING ");
    if (!select_map_file("Save as?"))
        return;
    fix_filename_slashes(filename_buffer);
    if (overwrites_another_map(filename_buffer) && !may_overwrite(filename_buffer))
        return;
    save_map_as(filename_buffer);
}

void load_map()
{
    banner(" LOADING ");
    if (!select_map_file("Load?"))
        return;
    load_map_from(filename_buffer);
}

void next_map()
{
    banner(" LOADING ");
    if (!select_map_file("Next Map?"))
        return;
    next_map_from(filename_buffer);
}

void level_set_loader()
{
    char loader_path[path_size] = "";
    char maps_directory[path_size];
    banner(" Level Set Creator ");
    if (!select_map_file("First map?"))
        return;

    char first_name[path_size];
    const chain_result walked = walk_level_chain(filename_buffer, screen, first_name);
    if (walked == chain_missing_map || walked == chain_loops) {
        readkey();
        return;
    }
    if (walked == chain_aborted) {
        while (key[KEY_ESC])
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return;
    }

    screen_text(screen, 0, 20, " Name your level set ");
    edit_level_set_name();

    maps_directory_of(maps_directory, filename_buffer);
    if (!choose_loader_path(loader_path, maps_directory))
        return;
    save_loader_as(loader_path, first_name);
}
