// Turns a readable solution ("right 3", "up-block", ...) into a ".qmv" movie by driving the real player logic.
//
// The solution names whole actions; the compiler decides the ticks. It plays the movie while writing it:
// each tick's key states go into the movie store just before playback consumes them, so the keys are
// chosen from the state the game really reaches. Playback runs exactly as in the game (the player's own
// step, then play_script, then the map's animation), so a movie written here replays to the same end
// when loaded from its file.
//
// Two kinds of movie: a level solution starts on the map's start cell facing right and must end on the
// exit; a demonstration (a tutorial lesson's) starts wherever its "from" line puts Pim, must never
// reach the exit, and ends wherever it leaves him, at rest with every key up.
//
// Actions, one a line ('#' starts a comment); each is followed by ticks without keys until Pim has
// come to rest:
//   from column row right|left   first line (a demonstration's must have it): where Pim stands and
//                                which way he faces
//   right [n] / left [n]         walk n steps (turning first if Pim faces the other way), each to rest
//   turn right / turn left        tap the key to face that way without walking
//   stand-block                   action key: build or destroy the Standing Block in front
//   down-block                    down + action: the Down Block diagonally below in front
//   up-block                      up + action: the Up Block (climb), or destroy the one underfoot
//   duck n / look-up n            hold down or up for n ticks
//   wait n                        n ticks with no key down
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

enum movie_kind { level_solution, demonstration };

class solution_compiler {
public:
    // Compiles `text` for the map `map_file` of the set in `directory` and writes the movie to `movie_path`.
    solution_result compile(const std::string &directory, const std::string &map_file, const std::string &text,
                            const std::string &movie_path, movie_kind kind = level_solution)
    {
        solution_result result;
        this->kind = kind;
        won = false;
        bool started = false;
        std::istringstream lines(text);
        std::string line;
        int number = 0;
        while (std::getline(lines, line)) {
            number++;
            std::string::size_type hash = line.find('#');
            if (hash != std::string::npos)
                line.erase(hash);
            std::istringstream words(line);
            std::string verb;
            if (!(words >> verb))
                continue;
            std::string error;
            if (won) {
                error = "Pim is already on the exit";
            } else if (!started) {
                started = true;
                if (verb == "from") {
                    int column = -1, row = -1;
                    std::string facing;
                    if (!(words >> column >> row >> facing) || (facing != "right" && facing != "left"))
                        error = "the first action must be \"from column row right|left\"";
                    else
                        error = start_movie(directory, map_file, movie_path, column, row, facing == "left");
                } else if (kind == demonstration) {
                    error = "the first action must be \"from column row right|left\"";
                } else {
                    error = start_movie(directory, map_file, movie_path, -1, -1, 0);
                    if (error.empty())
                        error = act(verb, words);
                }
            } else {
                error = act(verb, words);
            }
            if (!error.empty()) {
                result.error = "line " + std::to_string(number) + " (" + line + "): " + error;
                return result;
            }
        }
        if (!started) {
            result.error = "no action";
            return result;
        }
        if (kind == level_solution && !won) {
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
    movie_kind kind = level_solution;
    bool won = false;

    // The movie's head: the map as its file gives it and Pim on (column, row), or on the start cell
    // when column is -1.
    std::string start_movie(const std::string &directory, const std::string &map_file, const std::string &movie_path,
                            int column, int row, int facing)
    {
        std::snprintf(loader_directory, sizeof(loader_directory), "%s", directory.c_str());
        char file[256];
        std::snprintf(file, sizeof(file), "%s", map_file.c_str());
        the_map.load_map(file);
        if (column == -1) {
            column = the_map.start_x;
            row = the_map.start_y;
        } else if (column < 0 || column >= map_width || row < 0 || row >= map_height) {
            return "the start cell is off the map";
        } else if (the_map.block_layer[column][row] != empty_cell) {
            return "the start cell is not empty";
        }
        script_player_facing = facing;
        script_player_x = column * cell_size;
        script_player_y = row * cell_size;
        script_player_falling = script_player_ducking = script_player_up = 0;
        std::memcpy(script_tiles, the_map.block_layer, sizeof(script_tiles));
        FILE *head = std::fopen(movie_path.c_str(), "wb");
        if (!head)
            return "cannot write " + movie_path;
        write_auto_script(head, 0);
        std::fclose(head);
        char path[256];
        std::snprintf(path, sizeof(path), "%s", movie_path.c_str());
        load_auto_script_no_dialog(path);
        play_script_time = script_capacity;
        std::memset(script_storage, 0, sizeof(script_storage));
        return "";
    }

    // One action, then rest.
    std::string act(const std::string &verb, std::istringstream &words)
    {
        std::string arg;
        words >> arg;
        std::string error = run_action(verb, arg);
        if (error.empty() && !won)
            error = settle();
        return error;
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
        the_map.animate();
        if (the_player.win_pending) {
            if (kind == demonstration)
                return "Pim walks into the exit, which would end the lesson";
            won = true;
        }
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

    std::string hold(int up, int down, int ticks)
    {
        for (int t = 0; t < ticks && !won; t++) {
            std::string error = tick(up, down, 0, 0, 0);
            if (!error.empty())
                return error;
        }
        return "";
    }

    std::string run_action(const std::string &verb, const std::string &arg)
    {
        int count = 1;
        if (!arg.empty() && (verb == "right" || verb == "left" || verb == "wait" || verb == "duck" || verb == "look-up")) {
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
        if (verb == "duck")
            return hold(0, -1, count);
        if (verb == "look-up")
            return hold(-1, 0, count);
        if (verb == "wait")
            return hold(0, 0, count);
        return "unknown action";
    }
};
