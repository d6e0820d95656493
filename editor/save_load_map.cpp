// Saving and loading map files, the next-map link and the level-set compiler's chain walk.
#include "save_load_map.h"
#include <algorithm>
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
int (*the_question)(const char *, const char *, const char *, const char *, const char *, int, int) = ask_yes_no;

namespace {

const int path_size = 256;
const int typed_path_size = 1024;

void screen_text(BITMAP *target, int x, int y, const char *text)
{
    textout_ex(target, font, text, x, y, makecol(255, 255, 255), 1);
}

void banner(const char *text)
{
    clear_to_color(screen, 0);
    screen_text(screen, 0, 0, text);
}

void press_any_key(BITMAP *target, int y)
{
    screen_text(target, 0, y, "Press Any Key");
}

// Writes `text` at (0, y) in lines as wide as the screen, so that a long path shows whole; returns
// the y below it.
int wrapped_screen_text(int y, const char *text)
{
    const int per_line = std::max(1, screen->w / text_length(font, " "));
    const std::size_t length = std::strlen(text);
    std::size_t at = 0;
    do {
        const std::string line(text + at, std::min(length - at, static_cast<std::size_t>(per_line)));
        screen_text(screen, 0, y, line.c_str());
        y += 10;
        at += line.size();
    } while (at < length);
    return y;
}

} // namespace

// Puts a failure on the screen: what went wrong, the path, what it means, and waits for a key.
void report_failure(const char *what, const char *path, const char *meaning)
{
    screen_text(screen, 0, 20, what);
    int y = wrapped_screen_text(30, path);
    if (*meaning) {
        screen_text(screen, 0, y, meaning);
        y += 10;
    }
    press_any_key(screen, y);
    clear_keybuf();
    readkey();
}

namespace {

// The file selector under the banner (drawn first unless `keep_screen`, which leaves a message
// there in view), offering `offered`, until the author chooses a path that fits `chosen` (256
// bytes) or cancels. The selector's own field is far longer than any path the editor keeps, so
// that a path typed too long is refused as a whole rather than silently cut at its end: it is
// offered again to be shortened, under the message that says why. False when cancelled; `chosen`
// is then as it was.
bool choose_path(const char *banner_text, const char *title, const std::string &offered, char *chosen,
                 const char *ext, bool keep_screen = false)
{
    char typed[typed_path_size];
    std::snprintf(typed, sizeof(typed), "%s", offered.c_str());
    if (!keep_screen)
        banner(banner_text);
    for (;;) {
        if (!the_file_selector(title, typed, ext, typed_path_size, -1, -1))
            return false;
        if (path_fits(typed)) {
            copy_path(chosen, typed);
            return true;
        }
        char what[96];
        std::snprintf(what, sizeof(what), "This path is too long: %zu characters, at most %d fit.",
                      std::strlen(typed), path_size - 1);
        banner(banner_text);
        report_failure(what, typed, "Nothing was changed. Shorten it, or press ESC in the selector.");
    }
}

bool select_map_file(const char *banner_text, const char *title)
{
    return choose_path(banner_text, title, filename_buffer, filename_buffer, "map");
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
    report_failure(why, detail, reason);
}

// The loader file's selector, from the maps' directory, until the author picks a place the game
// reads or gives up. Leaves the chosen path in `path`; false when cancelled.
bool choose_loader_path(char *path, const char *maps_directory)
{
    std::string proposed = maps_directory;
    for (bool refused = false;; refused = true) {
        if (!choose_path(" Level Set Creator ", "Save loader as?", proposed, path, "qlx", refused))
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
        proposed = std::string(maps_directory) + get_filename(path);
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

int path_fits(const char *path)
{
    return std::strlen(path) < static_cast<std::size_t>(path_size) ? -1 : 0;
}

void report_write_failure(const char *what, const char *path)
{
    char line[64];
    std::snprintf(line, sizeof(line), "Could not write the %s!", what);
    report_failure(line, path, "");
}

int save_map_as(char *path)
{
    fix_filename_slashes(path);
    // The file states its own name; the map takes it only once the file holds it.
    map_file file = the_map.to_file();
    copy_path(file.file_name, get_filename(path));
    if (write_map_file(path, file)) {
        copy_path(the_map.file_name, file.file_name);
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

int load_map_from(const char *path)
{
    // The file is read over an emptied copy: a file that ends early leaves every field it does not
    // reach as flush leaves it, lines included, and one that cannot be read leaves the map alone.
    map emptied = the_map;
    emptied.flush();
    map_file file = emptied.to_file();
    if (!read_map_file(path, file, unread_lines::kept)) {
        report_failure("Could not load the map file!", path, "The map in the editor is as it was.");
        return 0;
    }
    the_map.flush();
    the_map.from_file(file);
    copy_path(last_filename, path);
    copy_path(the_edited_map_path, path);
    return -1;
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
    // A map that no file holds yet (a new one, or one emptied with R) starts in the last map's
    // folder: ENTER must never offer the file of the map it was made after.
    if (the_edited_map_path[0] == '\0')
        truncate_level_set_directory(filename_buffer);
    if (!select_map_file(" SAVING ", "Save as?"))
        return;
    fix_filename_slashes(filename_buffer);
    if (overwrites_another_map(filename_buffer) && !may_overwrite(filename_buffer))
        return;
    save_map_as(filename_buffer);
}

void load_map()
{
    if (!select_map_file(" LOADING ", "Load?"))
        return;
    load_map_from(filename_buffer);
}

void next_map()
{
    if (!select_map_file(" LOADING ", "Next Map?"))
        return;
    next_map_from(filename_buffer);
}

void level_set_loader()
{
    char loader_path[path_size] = "";
    char maps_directory[path_size];
    if (!select_map_file(" Level Set Creator ", "First map?"))
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
