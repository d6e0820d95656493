// Loading a save file into the current level set, the map and the player's key bindings.
#include "load_game.h"
#include <allegro.h>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include "level_set_screen.h"
#include "plain_file.h"
#include "map.h"
#include "player.h"
#include "save_game.h"

namespace {

// Reads one whitespace-separated decimal int as a stream would: optional sign, then digits.
// -1 when one was read; 0 at the end of the file, at anything else, or when it does not fit.
int read_save_int(std::FILE *in, int &into)
{
    int c = std::fgetc(in);
    while (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f')
        c = std::fgetc(in);
    int negative = 0;
    if (c == '-' || c == '+') {
        negative = c == '-';
        c = std::fgetc(in);
    }
    if (c < '0' || c > '9')
        return 0;
    long long value = 0;
    while (c >= '0' && c <= '9') {
        value = value * 10 + (c - '0');
        if (value > 1LL + INT_MAX)
            return 0;
        c = std::fgetc(in);
    }
    if (c != EOF)
        std::ungetc(c, in);
    if (negative)
        value = -value;
    if (value < INT_MIN || value > INT_MAX)
        return 0;
    into = static_cast<int>(value);
    return -1;
}

// The eight bindings in the save file's order.
int *const *binding_fields()
{
    static int *const fields[8] = {&the_player.key_up,     &the_player.key_down,   &the_player.key_left,
                                   &the_player.key_right,  &the_player.key_action, &the_player.key_restart,
                                   &the_player.key_music,  &the_player.key_save};
    return fields;
}

// A binding indexes Allegro's key array; 0 is no key at all, so it could never be pressed.
bool binding_in_range(int scancode)
{
    return scancode > 0 && scancode < KEY_MAX;
}

// Whether the map at directory + file opens; its first line (the map's name) into name.
bool read_map_name(const char *directory, const char *file, char *name, int size)
{
    // The joined path must fit; one that does not is refused rather than cut into another name.
    const std::size_t directory_length = std::strlen(directory);
    const std::size_t file_length = std::strlen(file);
    if (directory_length + file_length > 255)
        return false;
    char path[256];
    std::memcpy(path, directory, directory_length);
    std::memcpy(path + directory_length, file, file_length + 1);
    // Only the first line is wanted: no more of the file is read than that line's field can hold.
    std::string text;
    if (!read_plain_file_start(path, map_file_bound, save_line_limit + 1, text))
        return false;
    std::size_t length = text.find('\n');
    length = std::min({length, text.size(), static_cast<std::size_t>(size - 1),
                       static_cast<std::size_t>(save_line_limit)});
    std::memcpy(name, text.data(), length);
    name[length] = '\0';
    return true;
}

} // namespace

save_state read_save_file(const char *path, save_contents &into)
{
    into = save_contents();
    std::FILE *in = open_plain_stream(path, save_file_bound);
    if (!in)
        return save_unopened;
    char *const lines[5] = {into.loader_directory, into.file_name, into.level_set_name, into.first_level,
                            into.level_set_loader_file};
    const int sizes[5] = {sizeof(into.loader_directory), sizeof(into.file_name), sizeof(into.level_set_name),
                          sizeof(into.first_level), sizeof(into.level_set_loader_file)};
    int whole = -1;
    for (int i = 0; i < 5 && whole; i++)
        whole = read_save_line(in, lines[i], sizes[i]);
    // Bindings that are missing or not numbers are not damage: the keys they would set keep theirs.
    while (whole && into.bindings_read < 8 && read_save_int(in, into.bindings[into.bindings_read]))
        into.bindings_read++;
    std::fclose(in);
    if (!whole || !read_map_name(into.loader_directory, into.file_name, into.map_name, sizeof(into.map_name)))
        return save_damaged;
    return save_whole;
}

int load_game(char *path)
{
    save_contents save;
    const save_state state = read_save_file(path, save);
    if (state != save_whole) {
        // Nothing of a save that cannot be loaded is taken: the game goes on as it was.
        char text[300];
        std::snprintf(text, sizeof(text),
                      state == save_unopened ? "Could Not load save file:\n%s"
                                             : "This save is damaged or its level set is gone:\n%s",
                      path);
        show_save_message(text);
        return 0;
    }

    std::memcpy(loader_directory, save.loader_directory, sizeof(loader_directory));
    std::memcpy(the_map.file_name, save.file_name, sizeof(the_map.file_name));
    std::memcpy(level_set_name, save.level_set_name, sizeof(level_set_name));
    std::memcpy(first_level, save.first_level, sizeof(first_level));
    std::memcpy(level_set_loader_file, save.level_set_loader_file, sizeof(level_set_loader_file));

    // Bindings index the key array, so one outside it becomes the default of its key; one that
    // could not be read keeps the key it had, so a damaged save cannot leave Pim without his keys.
    static const int default_bindings[8] = {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT, KEY_SPACE, KEY_R, KEY_M, KEY_S};
    for (int i = 0; i < save.bindings_read; i++)
        *binding_fields()[i] = binding_in_range(save.bindings[i]) ? save.bindings[i] : default_bindings[i];

    the_player.reset_statistics();
    the_player.step = 0;
    the_player.walking = 0;
    the_player.falling = 0;

    the_map.load_map(the_map.file_name);
    return -1;
}

game_before_load remember_before_load()
{
    game_before_load before;
    std::memcpy(before.loader_directory, loader_directory, sizeof(before.loader_directory));
    std::memcpy(before.first_level, first_level, sizeof(before.first_level));
    std::memcpy(before.level_set_loader_file, level_set_loader_file, sizeof(before.level_set_loader_file));
    std::memcpy(before.level_set_name, level_set_name, sizeof(before.level_set_name));
    for (int i = 0; i < 8; i++)
        before.bindings[i] = *binding_fields()[i];
    return before;
}

void restore_before_load(const game_before_load &before)
{
    std::memcpy(loader_directory, before.loader_directory, sizeof(loader_directory));
    std::memcpy(first_level, before.first_level, sizeof(first_level));
    std::memcpy(level_set_loader_file, before.level_set_loader_file, sizeof(level_set_loader_file));
    std::memcpy(level_set_name, before.level_set_name, sizeof(level_set_name));
    for (int i = 0; i < 8; i++)
        *binding_fields()[i] = before.bindings[i];
}
