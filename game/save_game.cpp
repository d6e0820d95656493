// Save files: writing the current game into a slot, and listing the saves of the saves directory.
#include "save_game.h"
#include <allegro.h>
#include <climits>
#include <cstring>
#include <sys/stat.h>
#include "game_quit.h"
#include "initialization.h"
#include "level_set_screen.h"
#include "map.h"
#include "options_screen.h"
#include "player.h"
#include "timer.h"

char saves_directory[256] = "data/saves/";
std::vector<save_game_locs> game_saves;

save_game_locs::save_game_locs()
{
    file[0] = '\0';
    map_name[0] = '\0';
    level_set_name[0] = '\0';
}

namespace {

// Lines are read with a limit of 255 characters, whatever the field could hold.
const int line_limit = 255;

[[noreturn]] void fail(const char *text)
{
    set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
    allegro_message("%s", text);
    game_quit();
}

// Writes the thirteen lines; -1 when every byte reached the file.
int write_save(std::FILE *out)
{
    std::fprintf(out, "%s\n", loader_directory);
    std::fprintf(out, "%s\n", the_map.file_name);
    std::fprintf(out, "%s\n", level_set_name);
    std::fprintf(out, "%s\n", first_level);
    std::fprintf(out, "%s\n", level_set_loader_file);
    const int bindings[8] = {the_player.key_up,     the_player.key_down,    the_player.key_left,
                             the_player.key_right,  the_player.key_action,  the_player.key_restart,
                             the_player.key_music,  the_player.key_save};
    for (int binding : bindings)
        std::fprintf(out, "%d\n", binding);
    return std::ferror(out) ? 0 : -1;
}

} // namespace

int read_save_line(std::FILE *in, char *into, int size)
{
    int keep = size - 1;
    if (keep > line_limit)
        keep = line_limit;
    int length = 0;
    int c = std::fgetc(in);
    if (c == EOF) {
        into[0] = '\0';
        return 0;
    }
    while (c != EOF && c != '\n') {
        if (length < keep)
            into[length++] = static_cast<char>(c);
        c = std::fgetc(in);
    }
    into[length] = '\0';
    return -1;
}

void show_save_message(const char *text)
{
    // gfx_driver, not screen: a test may stand a memory bitmap in for the screen.
    const int had_screen = gfx_driver != nullptr;
    set_gfx_mode(GFX_TEXT, 0, 0, 0, 0);
    allegro_message("%s", text);
    if (!had_screen)
        return;
    // Without a screen nothing could be drawn any more, so the game's mode is set again.
    set_color_depth(16);
    if (set_game_gfx_mode(current_screen_mode) != 0)
        fail("Sorry. You need at least a \n 15bit or 16bit grahpics card");
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
    std::FILE *out = std::fopen(path, "wb");
    int written = 0;
    if (out) {
        written = write_save(out);
        if (std::fclose(out) != 0)
            written = 0;
    }
    // A save that did not reach the disk is reported, never passed off as saved.
    if (!written)
        show_save_message("Could not save the save file!");
    speed_counter = 0;
}

void save_game(int n)
{
    char path[300];
    save_slot_path(n, path, sizeof(path));
    save_game_file(path);
}

int add_save(const char *path, int, void *)
{
    game_saves.push_back(save_game_locs());
    save_game_locs &save = game_saves.back();
    std::snprintf(save.file, sizeof(save.file), "%s", path);

    std::FILE *in = std::fopen(path, "rb");
    if (!in) {
        char text[300];
        std::snprintf(text, sizeof(text), "Could Not load save!\n%s", path);
        fail(text);
    }
    char directory[256];
    char map_file[256];
    read_save_line(in, directory, sizeof(directory));
    read_save_line(in, map_file, sizeof(map_file));
    read_save_line(in, save.level_set_name, sizeof(save.level_set_name));
    std::fclose(in);

    // The joined path must fit; one that does not is refused rather than cut into another name.
    char map_path[256];
    const std::size_t directory_length = std::strlen(directory);
    const std::size_t map_file_length = std::strlen(map_file);
    std::FILE *map = nullptr;
    if (directory_length + map_file_length <= 255) {
        std::memcpy(map_path, directory, directory_length);
        std::memcpy(map_path + directory_length, map_file, map_file_length + 1);
        map = std::fopen(map_path, "rb");
    }
    if (!map) {
        char text[600];
        std::snprintf(text, sizeof(text), "Could Not load map name from!\n%s%s", directory, map_file);
        fail(text);
    }
    read_save_line(map, save.map_name, sizeof(save.map_name));
    std::fclose(map);
    return 0;
}

void load_saves()
{
    game_saves.clear();
    char pattern[300];
    std::snprintf(pattern, sizeof(pattern), "%s*.qsv", saves_directory);
    for_each_file_ex(pattern, 0, 0, add_save, nullptr);
}
