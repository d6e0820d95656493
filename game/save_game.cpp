// Save files: writing the current game into a slot, and listing the saves of the saves directory.
#include "save_game.h"
#include <allegro.h>
#include <climits>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include "bounded_line.h"
#include "game_quit.h"
#include "initialization.h"
#include "level_set_screen.h"
#include "load_game.h"
#include "map.h"
#include "options_screen.h"
#include "player.h"
#include "safe_file.h"
#include "timer.h"
#include "text_mode_message.h"

char saves_directory[256] = "data/saves/";
std::vector<save_game_locs> game_saves;

save_game_locs::save_game_locs()
{
    file[0] = '\0';
    map_name[0] = '\0';
    level_set_name[0] = '\0';
    damaged = 0;
}

namespace {

// The thirteen lines of a save of the current game.
std::string save_text()
{
    const char *const lines[5] = {loader_directory, the_map.file_name, level_set_name, first_level,
                                  level_set_loader_file};
    std::string text;
    for (const char *line : lines)
        text += std::string(line) + '\n';
    const int bindings[8] = {the_player.key_up,     the_player.key_down,    the_player.key_left,
                             the_player.key_right,  the_player.key_action,  the_player.key_restart,
                             the_player.key_music,  the_player.key_save};
    for (int binding : bindings)
        text += std::to_string(binding) + '\n';
    return text;
}

void report_unsaved()
{
    show_save_message("Could not save the save file!");
}

} // namespace

int read_save_line(std::FILE *in, char *into, int size)
{
    return read_bounded_line(in, into, size - 1 > save_line_limit ? save_line_limit + 1 : size);
}

void show_save_message(const char *text)
{
    // gfx_driver, not screen: a test may stand a memory bitmap in for the screen.
    const int had_screen = gfx_driver != nullptr;
    show_in_text_mode("%s", text);
    if (!had_screen)
        return;
    // Without a screen nothing could be drawn any more, so the game's mode is set again.
    if (set_game_gfx_mode() != 0)
        quit_with_message("Sorry. You need at least a \n 15bit or 16bit grahpics card");
}

void save_slot_path(int n, char *into, int size)
{
    std::snprintf(into, size, "%sSave_%03d.qsv", saves_directory, n);
}

int free_save_slot(int n)
{
    for (; n < INT_MAX; n++) {
        char path[300];
        save_slot_path(n, path, sizeof(path));
        struct stat info;
        if (stat(path, &info) != 0)
            return n;
    }
    return n;
}

void save_game_file(const char *path)
{
    // A save that did not reach the disk whole is reported, never passed off as saved, and the
    // file it was to replace keeps what it held.
    if (!replace_file(path, save_text()))
        report_unsaved();
    speed_counter = 0;
}

void save_game(int n)
{
    char path[300];
    save_slot_path(n, path, sizeof(path));
    save_game_file(path);
}

int save_new_game(int n)
{
    // A number another file took meanwhile (another game saving at once) is passed by.
    const std::string text = save_text();
    int written = -1;
    for (n = free_save_slot(n); n < INT_MAX; n = free_save_slot(n + 1)) {
        char path[300];
        save_slot_path(n, path, sizeof(path));
        const int made = create_new_file(path, text);
        if (made == new_file_taken)
            continue;
        if (made)
            written = n;
        break;
    }
    if (written < 0)
        report_unsaved();
    speed_counter = 0;
    return written;
}

int add_save(const char *path, int, void *)
{
    game_saves.push_back(save_game_locs());
    save_game_locs &save = game_saves.back();
    std::snprintf(save.file, sizeof(save.file), "%s", path);

    // A save that cannot be read is listed all the same, marked, so that the player sees it and
    // can erase it; it never stops the game.
    save_contents contents;
    save.damaged = read_save_file(path, contents) == save_whole ? 0 : -1;
    std::memcpy(save.map_name, contents.map_name, sizeof(save.map_name));
    std::memcpy(save.level_set_name, contents.level_set_name, sizeof(save.level_set_name));
    return 0;
}

void load_saves()
{
    game_saves.clear();
    char pattern[300];
    std::snprintf(pattern, sizeof(pattern), "%s*.qsv", saves_directory);
    for_each_file_ex(pattern, 0, 0, add_save, nullptr);
}
