// Look at one map as the game plays it: the game's start-up, then the given map, then the play loop.
// Usage: show_map "data/levels/original levels/" level1.map  (paths relative to the run tree)
#include <allegro.h>
#include <cstdio>
#include "do_drawing.h"
#include "do_logic.h"
#include "initialization.h"
#include "level_set_screen.h"
#include "map.h"
#include "timer.h"

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: show_map <level-set directory ending in /> <map file>\n");
        return 2;
    }
    initialization();
    std::snprintf(loader_directory, sizeof(loader_directory), "%s", argv[1]);
    char file[256];
    std::snprintf(file, sizeof(file), "%s", argv[2]);
    the_map.load_map(file);
    for (;;) {
        if (speed_counter > 0) {
            do_logic();
            speed_counter--;
        } else {
            do_drawing();
        }
    }
}
END_OF_MAIN()
