// The current level set, the start-up scan for level-set loader files, and the level-set screen.
#include "level_set_screen.h"
#include <allegro.h>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <utility>
#include "bounded_line.h"
#include "do_drawing.h"
#include "map.h"
#include "menu_frame.h"
#include "music.h"
#include "plain_file.h"
#include "player.h"
#include "show_map_name.h"
#include "title_screen.h"

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

// Directories already entered during this scan, by device and inode, so that a tree that reaches
// itself again (a bind mount) is not walked for ever.
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

// Whether the entry is a symbolic link: the scan stays inside the working directory's tree and
// follows none (a link to "/" would walk the whole file system).
int is_symbolic_link(const char *path)
{
    struct stat info;
    return lstat(path, &info) == 0 && S_ISLNK(info.st_mode) ? -1 : 0;
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
    if (is_symbolic_link(path) || !enter_directory(path))
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
    // A loader file that cannot be read is passed over: one bad file must not stop the game. It is
    // read only when it is a plain file of the tree itself: not a link, and not a device or pipe
    // that could be read for ever or never answer.
    if (is_symbolic_link(path))
        return 0;
    FILE *file = open_plain_stream(path, loader_file_bound);
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
        read_bounded_line(file, set.first_level, sizeof(set.first_level));
        read_bounded_line(file, set.name, sizeof(set.name));
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

// ---- The level-set screen.

namespace {

const char level_set_title[] = "Load Level Set";
const char level_set_subtitle[] = "Load Set From Which Slot?";

// Copies a field of a found set into a current-set global, cut to the global's width.
void copy_set_field(char *global, std::size_t size, const char *field)
{
    const std::size_t length = std::strlen(field);
    const std::size_t kept = length < size ? length : size - 1;
    std::memcpy(global, field, kept);
    global[kept] = '\0';
}

void draw_found_set_row(BITMAP *bmp, int index, int x, int y)
{
    char text[300];
    std::snprintf(text, sizeof(text), "%d: %s", index + 1, level_sets[index].name);
    draw_slot_text(bmp, text, x, y);
}

void draw_built_in_row(BITMAP *bmp, int index, int x, int y)
{
    (void)index;
    draw_slot_text(bmp, level_set_name_hardcopy, x, y);
}

// Makes a found set the current one and loads its first map, as a new game would find it.
void choose_found_set(const level_set_locs &set)
{
    copy_set_field(level_set_loader_file, sizeof(level_set_loader_file), set.loader_file);
    copy_set_field(loader_directory, sizeof(loader_directory), set.directory);
    copy_set_field(first_level, sizeof(first_level), set.first_level);
    the_map.load_map(first_level);
    copy_set_field(level_set_name, sizeof(level_set_name), set.name);
    the_player.init_in_teleport_anim();
    map_name_init();
    game_in_progress = 0;
}

// The built-in row: the set's globals go back to the built-in set; its map is loaded by a new game.
void choose_built_in_set()
{
    std::strcpy(level_set_loader_file, level_set_loader_file_hardcopy);
    std::strcpy(loader_directory, loader_directory_hardcopy);
    std::strcpy(level_set_name, level_set_name_hardcopy);
    game_in_progress = 0;
}

} // namespace

slot_list start_level_set_screen()
{
    return start_slot_list(static_cast<int>(level_sets.size()), -1);
}

int level_set_screen_tick(slot_list &list)
{
    slot_advance_slide(list);

    // Escape needs no fresh press here: held down, it leaves at once, even mid-slide.
    if (key[KEY_ESC]) {
        list.result = 0;
        return slot_return_now;
    }

    if (slot_enter_pressed(key_enter_pressed)) {
        play_game_sound(slot_select_sound);
        // With no set found the one row only names the built-in set: Enter leaves, changing nothing.
        const int chosen = slot_selected(list);
        if (chosen >= 0 && chosen < list.list_rows)
            choose_found_set(level_sets[chosen]);
        else if (chosen == list.list_rows && list.list_rows > 0)
            choose_built_in_set();
        list.result = 0;
        return slot_return_now;
    }

    slot_move_keys(list);
    slot_update_arrows(list);
    slot_frame_tick();
    return slot_go_on;
}

void draw_level_set_screen(const slot_list &list)
{
    draw_slot_screen_back(buffer, level_set_title, level_set_subtitle);
    draw_slot_rows(buffer, list, draw_found_set_row, draw_built_in_row, nullptr);
    draw_slot_arrows();
}

int level_set_screen()
{
    slot_list list = start_level_set_screen();
    return run_slot_screen(list, level_set_screen_tick, draw_level_set_screen);
}
