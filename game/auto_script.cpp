// Movies: the ".qmv" reader and writer, playback into key[] and the recorder.
#include "auto_script.h"
#include <allegro.h>
#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "bounded_line.h"
#include "game_quit.h"
#include "key_latch.h"
#include "level_set_screen.h"
#include "map.h"
#include "plain_file.h"
#include "player.h"
#include "safe_file.h"
#include "timer.h"
#include "tutorial.h"
#include "text_mode_message.h"

int script_storage[script_key_count][script_capacity];
int script_tiles[20][15];
int script_time = 0;
int script_time_max = script_capacity;
int play_script_time = script_capacity;
int do_play_script = 0;
int do_record_script = 0;
int script_player_facing = 0;
int script_player_x = 0;
int script_player_y = 0;
int script_player_falling = 0;
int script_player_ducking = 0;
int script_player_up = 0;
int key_F3_down = 0;

namespace {

// The player's bindings in the order a movie stores them: up, down, left, right, action.
int *movie_key_binding(int row)
{
    int *const bindings[script_key_count] = {&the_player.key_up, &the_player.key_down, &the_player.key_left,
                                             &the_player.key_right, &the_player.key_action};
    return bindings[row];
}

// A binding outside key[] (a damaged save) is never written or read.
void set_movie_key(int row, int state)
{
    int scancode = *movie_key_binding(row);
    if (scancode >= 0 && scancode < KEY_MAX)
        key[scancode] = static_cast<char>(state & 0xff);
}

int movie_key_state(int row)
{
    int scancode = *movie_key_binding(row);
    if (scancode < 0 || scancode >= KEY_MAX)
        return 0;
    return static_cast<signed char>(key[scancode]);
}

// The six start values in the file's order, with the range each is kept to. Pim starts on the
// screen or within a screen of it (a teleport can leave him off the grid); far outside, Allegro's
// clipping of his sprite overflows.
struct movie_start_value {
    int *value;
    int low, high;
};

const movie_start_value movie_start_values[6] = {
    {&script_player_facing, INT_MIN, INT_MAX},  {&script_player_x, -640, 2 * 640},
    {&script_player_y, -480, 2 * 480},          {&script_player_falling, INT_MIN, INT_MAX},
    {&script_player_ducking, INT_MIN, INT_MAX}, {&script_player_up, INT_MIN, INT_MAX},
};

// Reads one whitespace-separated decimal integer; returns 0 (and leaves *value) if none can be read.
int read_int(FILE *file, int *value)
{
    int c = std::fgetc(file);
    while (c != EOF && std::isspace(c))
        c = std::fgetc(file);
    int negative = 0;
    if (c == '-') {
        negative = -1;
        c = std::fgetc(file);
    }
    if (c == EOF || !std::isdigit(c)) {
        if (c != EOF)
            std::ungetc(c, file);
        return 0;
    }
    long long number = 0;
    while (c != EOF && std::isdigit(c)) {
        number = number * 10 + (c - '0');
        if (number > static_cast<long long>(INT_MAX) + 1)
            return 0;
        c = std::fgetc(file);
    }
    if (c != EOF)
        std::ungetc(c, file);
    if (negative)
        number = -number;
    if (number > INT_MAX || number < INT_MIN)
        return 0;
    *value = static_cast<int>(number);
    return -1;
}

// The end of a load: the movie's map is started again and playback begins at once.
void start_playback()
{
    speed_counter = 0;
    the_map.restart();
    // The arrival fade would hold the movie back; the player is drawn in his normal pose instead.
    // Its direction flag goes too: left set, it would take over the next fade (a teleport's fade-out
    // would run as the remains of this fade-in and end after a few ticks).
    the_player.teleport_anim = 0;
    the_player.teleport_in = 0;
    do_play_script = -1;
    script_time = 0;
}

} // namespace

void read_auto_script(FILE *file)
{
    char line[256];
    if (!read_bounded_line(file, line, 255))
        return;
    std::strcpy(loader_directory, line);
    if (!read_bounded_line(file, line, 256))
        return;
    std::strcpy(the_map.file_name, line);
    if (!read_int(file, &play_script_time))
        return;
    // A count beyond the store is cut to the store; its surplus ticks are read past below.
    int file_ticks = play_script_time;
    if (play_script_time > script_capacity)
        play_script_time = script_capacity;
    if (play_script_time < 0)
        play_script_time = 0;
    for (const movie_start_value &start : movie_start_values) {
        if (!read_int(file, start.value))
            return;
        *start.value = std::clamp(*start.value, start.low, start.high);
    }
    for (script_time = 0; script_time < file_ticks; script_time++) {
        for (int row = 0; row < script_key_count; row++) {
            int state = 0;
            if (!read_int(file, &state))
                return;
            if (script_time < script_capacity)
                script_storage[row][script_time] = state;
        }
    }
    for (int x = 0; x < 20; x++)
        for (int y = 0; y < 15; y++)
            if (!read_int(file, &script_tiles[x][y]))
                return;
}

int write_auto_script(FILE *file, int ticks)
{
    if (ticks < 0)
        ticks = 0;
    if (ticks > script_capacity)
        ticks = script_capacity;
    int ok = std::fprintf(file, "%s\n%s\n%d\n", loader_directory, the_map.file_name, ticks) >= 0;
    const int start_values[6] = {script_player_facing,  script_player_x,       script_player_y,
                                 script_player_falling, script_player_ducking, script_player_up};
    for (int value : start_values)
        ok = ok && std::fprintf(file, "%d\n", value) >= 0;
    for (int t = 0; t < ticks && ok; t++)
        for (int row = 0; row < script_key_count; row++)
            ok = ok && std::fprintf(file, "%d\n", script_storage[row][t]) >= 0;
    for (int x = 0; x < 20 && ok; x++)
        for (int y = 0; y < 15; y++)
            ok = ok && std::fprintf(file, "%d\n", script_tiles[x][y]) >= 0;
    return ok ? 0 : -1;
}

void load_auto_script_no_dialog(char *path)
{
    FILE *file = open_plain_stream(path, movie_file_bound);
    if (!file) {
        quit_with_message("Could not load\n%s\nautoscript!", path);
    }
    read_auto_script(file);
    std::fclose(file);
    start_playback();
}

namespace {

// One tick of playback past the stop key: the start state on the first tick, then one stored tick
// through Pim's key handling, or the end of the movie.
void advance_playback()
{
    if (script_time == 0) {
        the_player.x = script_player_x;
        the_player.y = script_player_y;
        the_player.falling = script_player_falling;
        the_player.ducking = script_player_ducking;
        the_player.up = script_player_up;
        the_player.facing = script_player_facing;
        std::memcpy(the_map.block_layer, script_tiles, sizeof(script_tiles));
    }
    if (script_time < play_script_time) {
        for (int row = 0; row < script_key_count; row++)
            set_movie_key(row, script_storage[row][script_time]);
        script_time++;
        the_player.process_keys();
    } else {
        do_play_script = 0;
        the_player.controls = -1;
    }
}

// A lesson goes on from where its demonstration leaves Pim and the map, and its tasks count on that
// (lesson 2 waits for a Down Block in the gap that its movie walks him to). So a demonstration stopped
// with F3 is not cut short but run to its end at once, unseen: the rest of its ticks go through the
// same logic steps as when it is watched (Pim's step, playback, the map's animations), only nothing is
// drawn. A fade that never ends cannot hold it: past its length and the longest fade the movie just stops.
void finish_movie_unseen()
{
    const int bound = play_script_time + 2 * script_capacity;
    advance_playback();
    for (int t = 0; t < bound && do_play_script; t++) {
        the_map.animate();
        the_player.do_logic();
        if (!the_player.teleport_anim)
            advance_playback();
    }
    do_play_script = 0;
}

} // namespace

void play_script()
{
    if (!do_play_script || the_player.teleport_anim)
        return;
    if (fresh_key_press(KEY_F3, key_F3_down)) {
        // The credits' movie only walks Pim about: stopping it ends it where he is.
        if (tutorial_number > 0)
            finish_movie_unseen();
        do_play_script = 0;
        script_time = 0;
        script_time_max = script_capacity;
        for (int row = 0; row < script_key_count; row++)
            set_movie_key(row, 0);
        the_player.controls = -1;
        return;
    }
    advance_playback();
}

void record_script()
{
    if (!do_record_script)
        return;
    if (script_time == 0) {
        script_player_facing = the_player.facing;
        script_player_x = the_player.x;
        script_player_y = the_player.y;
        script_player_falling = the_player.falling;
        script_player_ducking = the_player.ducking;
        script_player_up = the_player.up;
        std::memcpy(script_tiles, the_map.block_layer, sizeof(script_tiles));
    }
    if (script_time < script_time_max) {
        for (int row = 0; row < script_key_count; row++)
            script_storage[row][script_time] = movie_key_state(row);
        script_time++;
    }
}

void save_auto_script()
{
    char path[256] = "";
    if (!file_select_ex("Save File As?", path, "qmv", sizeof(path), 0, 0)) {
        speed_counter = 0;
        return;
    }
    fix_filename_slashes(path);
    clear_bitmap(screen);
    textout_ex(screen, font, "Saving Movie", 0, 0, makecol(255, 255, 255), -1);
    // The movie is made in memory first, so that a failed write leaves an older file as it was.
    char *text = nullptr;
    std::size_t size = 0;
    FILE *file = open_memstream(&text, &size);
    int ok = file && write_auto_script(file, play_script_time) == 0;
    if (file)
        ok = std::fclose(file) == 0 && ok;
    if (!ok || !replace_file(path, std::string(text ? text : "", size)))
        allegro_message("Could not save the save file!");
    std::free(text);
}

void load_auto_script()
{
    char path[256] = "";
    if (file_select_ex("Load Which File?", path, "qmv", sizeof(path), 0, 0)) {
        clear_bitmap(screen);
        textout_ex(screen, font, "Loading Movie", 0, 0, makecol(255, 255, 255), -1);
        FILE *file = open_plain_stream(path, movie_file_bound);
        if (file) {
            read_auto_script(file);
            std::fclose(file);
        } else {
            allegro_message("Could not load the save file!");
        }
    } else {
        speed_counter = 0;
    }
    start_playback();
}
