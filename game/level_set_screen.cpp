// The current level set and the start-up scan for level-set loader files.
#include "level_set_screen.h"
#include <allegro.h>
#include <cstring>

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
