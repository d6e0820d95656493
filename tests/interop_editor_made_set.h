// The level set that the editor-side interop program makes and the game-side one scans and loads:
// where it lies and what each of its maps holds, so that both sides hold the same expectations.
#pragma once
#include <vector>
#include "map_format.h"

namespace editor_made_set {

// The game's working directory for the scan (made afresh by the editor side, removed by the
// fixture's cleanup); the set lies below it, where an author would save it.
const char *const root = EDITOR_MADE_SET_ROOT;
const char *const folder = "data/levels/moonlit trio";
const char *const loader_file = "moonlit.qlx";
const char *const set_name = "Moonlit Trio";

struct map_recipe {
    const char *file;
    const char *name;
    int start_x, start_y, exit_x, exit_y;
    int background, x_velocity, y_velocity;
    int floor_row;         // tile floor_tile across the whole row
    int floor_tile;
    int special_x;         // special_code stands on the floor in this column
    int special_code;
    int trans_tile;        // on the trans layer one column right of the special block
    std::vector<teleport> teleports;
};

// In chain order: each map leads to the next, the last to "end".
inline const std::vector<map_recipe> &maps()
{
    static const std::vector<map_recipe> recipes = {
        {"start.map", "Moonlit Steps", 1, 11, 18, 11, 2, 1, 0, 12, 3, 6, build_up, 48, {{4, 11, 9, 4}}},
        {"middle.map", "Lantern Bridge", 2, 8, 17, 8, 3, 0, -2, 9, 19, 10, build_break, 53,
         {{5, 8, 12, 2}, {14, 8, 3, 3}}},
        {"last.map", "Almost Morning", 0, 13, 19, 13, 0, -1, 0, 14, 35, 15, tunnel_h, 57, {}},
    };
    return recipes;
}

} // namespace editor_made_set
