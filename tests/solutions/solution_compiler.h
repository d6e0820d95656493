// Turns a readable solution ("right 3", "up-block", ...) into a ".qmv" movie by driving the real player logic.
//
// The solution names whole actions; the compiler decides the ticks. It plays the movie while writing it:
// each tick's key states go into the movie store just before playback consumes them, so the keys are
// chosen from the state the game really reaches. Playback runs exactly as in the game (the player's own
// step, then play_script), so a movie written here replays to the same end when loaded from its file.
//
// Actions, one a line ('#' starts a comment):
//   right [n] / left [n]   walk n steps (turning first if Pim faces the other way), each to rest
//   turn right / turn left  tap the key to face that way without walking
//   stand-block             action key: build or destroy the Standing Block in front
//   down-block              down + action: the Down Block diagonally below in front
//   up-block                up + action: the Up Block (climb), or destroy the one underfoot
//   wait n                  n ticks with no key down
#pragma once
#include <allegro.h>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include "auto_script.h"
#include "level_set_screen.h"
#include "map.h"
#include "player.h"

struct solution_result {
    bool ok = false;
    std::string error;  // what went wrong, with the line it went wrong on
    int ticks = 0;      // the movie's length
};

class solution_compiler {
public:
    // Compiles `text` for the map `map_file` of the set in `directory` and writes the movie to `movie_path`.
    solution_result compile(const std::string &directory, const std::string &map_file, const std::string &text,
                            const std::string &movie_path)
    {
        solution_result result;
        if (!start_movie(directory, map_file, movie_path, result))
            return result;
        std::istringstream lines(text);
        std::string line;
        int number = 0;
        while (std::getline(lines, line)) {
            number++;
            std::string::size_type hash = line.find('#');
            if (hash != std::string::npos)
                line.erase(hash);
            std::istringstream words(line);
            std::string verb, arg;
            if (!(words >> verb))
                continue;
            words >> arg;
            if (won) {
                result.error = "line " + std::to_string(number) + ": Pim is already on the exit";
                return result;
            }
            std::string error = run_action(verb, arg);
            if (error.empty() && !won)
                error = settle();
            if (!error.empty()) {
                result.error = "line " + std::to_string(number) + " (" + verb + " " + arg + "): " + error;
                return result;
            }
        }
        if (!won) {
            result.error = "the solution ends before Pim reaches the exit";
            return result;
        }
        result.ticks = script_time;
        FILE *file = std::fopen(movie_path.c_str(), "wb");
        if (!file || write_auto_script(file, script_time) != 0) {
            if (file)
                std::fclose(file);
            result.error = "cannot write " + movie_path;
            return result;
        }
        std::fclose(file);
        result.ok = true;
        return result;
    }

private:
    bool won = false;

    enum { k_up, k_down, k_left, k_right, k_action };

    // The movie's head: the map as its file gives it and Pim on the start cell facing right.
    bool start_movie(const std::string &directory, const std::string &map_file, const std::string &movie_path,
                     solution_result &result)
    {
        std::snprintf(loader_directory, sizeof(loader_directory), "%s", directory.c_str());
        char file[256];
        std::snprintf(file, sizeof(file), "%s", map_file.c_str());
        the_map.load_map(file);
        script_player_facing = 0;
        script_player_x = the_map.start_x * 32;
        script_player_y = the_map.start_y * 32;
        script_player_falling = script_player_ducking = script_player_up = 0;
        std::memcpy(script_tiles, the_map.block_layer, sizeof(script_tiles));
        FILE *head = std::fopen(movie_path.c_str(), "wb");
        if (!head) {
            result.error = "cannot write " + movie_path;
            return false;
        }
        write_auto_script(head, 0);
        std::fclose(head);
        char path[256];
        std::snprintf(path, sizeof(path), "%s", movie_path.c_str());
        load_auto_script_no_dialog(path);
        play_script_time = script_capacity;
        std::memset(script_storage, 0, sizeof(script_storage));
        won = false;
        return true;
    }

    // One logic tick with these keys down, run as the game runs it while a movie plays.
    std::string tick(int up, int down, int left, int right, int action)
    {
        if (script_time >= script_capacity)
            return "the movie is longer than the store";
        const int states[5] = {up, down, left, right, action};
        for (int row = 0; row < 5; row++)
            script_storage[row][script_time] = states[row] ? -1 : 0;
        the_player.do_logic();
        play_script();
        if (the_player.win_pending)
            won = true;
        if (the_player.y > 448)
            return "Pim falls off the bottom of the screen";
        return "";
    }

    bool at_rest() const
    {
        const player &p = the_player;
        return !p.walking && !p.falling && !p.climbing && !p.teleporting && !p.teleport_anim && p.step == 0;
    }

    // No keys until Pim has been at rest for two ticks running (a step that ends over a gap or on a
    // teleport entrance only shows its fall or teleport in the tick after).
    std::string settle()
    {
        int quiet = 0;
        for (int t = 0; t < 1200 && !won; t++) {
            std::string error = tick(0, 0, 0, 0, 0);
            if (!error.empty())
                return error;
            quiet = at_rest() ? quiet + 1 : 0;
            if (quiet >= 2)
                return "";
        }
        return won ? "" : "Pim never comes to rest";
    }

    std::string where() const
    {
        return " at cell (" + std::to_string(the_player.x / 32) + ", " + std::to_string(the_player.y / 32) + ")";
    }

    std::string walk(int direction, int steps)
    {
        for (int i = 0; i < steps; i++) {
            if (i > 0) {
                std::string error = settle();
                if (!error.empty() || won)
                    return error;
            }
            bool started = false;
            for (int t = 0; t < 12 && !started; t++) {
                std::string error = tick(0, 0, direction == 1, direction == 0, 0);
                if (!error.empty())
                    return error;
                started = the_player.walking != 0;
            }
            if (!started)
                return std::string("cannot walk ") + (direction ? "left" : "right") + where();
        }
        return "";
    }

    std::string turn(int direction)
    {
        if (the_player.facing == direction)
            return "";
        std::string error = tick(0, 0, direction == 1, direction == 0, 0);
        if (error.empty() && the_player.facing != direction)
            error = "did not turn" + where();
        return error;
    }

    std::string block(int up, int down)
    {
        const int before = the_player.blocks_created + the_player.blocks_destroyed;
        std::string error = tick(up, down, 0, 0, -1);
        if (error.empty() && the_player.blocks_created + the_player.blocks_destroyed == before)
            error = "the block was refused" + where();
        return error;
    }

    std::string run_action(const std::string &verb, const std::string &arg)
    {
        int count = 1;
        if (!arg.empty() && (verb == "right" || verb == "left" || verb == "wait")) {
            count = std::atoi(arg.c_str());
            if (count < 1)
                return "bad count";
        }
        if (verb == "right")
            return walk(0, count);
        if (verb == "left")
            return walk(1, count);
        if (verb == "turn" && (arg == "right" || arg == "left"))
            return turn(arg == "left" ? 1 : 0);
        if (verb == "stand-block")
            return block(0, 0);
        if (verb == "down-block")
            return block(0, -1);
        if (verb == "up-block")
            return block(-1, 0);
        if (verb == "wait") {
            for (int t = 0; t < count && !won; t++) {
                std::string error = tick(0, 0, 0, 0, 0);
                if (!error.empty())
                    return error;
            }
            return "";
        }
        return "unknown action";
    }
};
