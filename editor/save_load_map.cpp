// Saving and loading map files, the next-map link and the level-set compiler's chain walk.
#include "save_load_map.h"
#include <chrono>
#include <cstdio>
#include <cstring>
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
    return file_select_ex(title, filename_buffer, "map", path_size, -1, -1) != 0;
}

void press_any_key(BITMAP *target, int y)
{
    screen_text(target, 0, y, "Press Any Key");
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
    if (write_map_file(path, the_map.to_file()))
        return -1;
    report_write_failure("map file", path);
    return 0;
}

void load_map_from(const char *path)
{
    the_map.flush();
    copy_path(last_filename, path);
    // A file that ends early leaves every field it does not reach as flush left it, lines included.
    map_file file = the_map.to_file();
    if (!read_map_file(path, file, unread_lines::kept))
        return;
    the_map.from_file(file);
}

void next_map_from(const char *path)
{
    map_file file;
    if (read_map_file(path, file))
        copy_path(the_map.next_map, file.file_name);
}

chain_result walk_level_chain(const char *first_path, BITMAP *target, char *first_name)
{
    char directory[path_size];
    char current_name[path_size];
    char current[path_size];
    copy_path(first_name, get_filename(first_path));
    copy_path(current_name, first_name);
    copy_path(directory, first_path);
    truncate_level_set_directory(directory);
    fix_filename_slashes(directory);

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

    if (!file_select_ex("Save loader as?", loader_path, "qlx", path_size, -1, -1))
        return;
    save_loader_as(loader_path, first_name);
}
