// Loading a save file into the current level set, the map and the player's key bindings.
#include "load_game.h"
#include <allegro.h>
#include <climits>
#include <cstdio>
#include "level_set_screen.h"
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

} // namespace

int load_game(char *path)
{
    std::FILE *in = std::fopen(path, "rb");
    if (!in) {
        char text[300];
        std::snprintf(text, sizeof(text), "Could Not load save file:\n%s", path);
        show_save_message(text);
        return 0;
    }

    read_save_line(in, loader_directory, sizeof(loader_directory));
    read_save_line(in, the_map.file_name, sizeof(the_map.file_name));
    read_save_line(in, level_set_name, sizeof(level_set_name));
    read_save_line(in, first_level, sizeof(first_level));
    read_save_line(in, level_set_loader_file, sizeof(level_set_loader_file));

    // A binding that is missing or not a number keeps the value it had, and so do those after it,
    // so a damaged save cannot leave Pim without his keys.
    int *const bindings[8] = {&the_player.key_up,     &the_player.key_down,   &the_player.key_left,
                              &the_player.key_right,  &the_player.key_action, &the_player.key_restart,
                              &the_player.key_music,  &the_player.key_save};
    for (int *binding : bindings) {
        if (!read_save_int(in, *binding))
            break;
    }

    the_player.blocks_created = 0;
    the_player.blocks_destroyed = 0;
    the_player.steps_taken = 0;
    the_player.time_ticks = 0;
    the_player.time_seconds = 0;
    the_player.time_minutes = 0;
    the_player.time_hours = 0;
    the_player.restarts = 0;
    the_player.step = 0;
    the_player.walking = 0;
    the_player.falling = 0;

    std::fclose(in);

    the_map.load_map(the_map.file_name);
    return -1;
}
