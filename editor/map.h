// The editor's map: exactly what a map file holds, kept in cells, and its drawing.
#pragma once
#include <allegro.h>
#include <vector>
#include "map_file.h"
#include "map_format.h"

class map {
public:
    int block_layer[map_width][map_height];
    int trans_layer[map_width][map_height];
    int start_x, start_y;
    int exit_x, exit_y;
    int background;
    int x_velocity, y_velocity;
    int teleport_count;
    char next_map[map_path_size];
    char file_name[map_path_size];
    char name[map_name_size];
    std::vector<teleport> teleports;

    map();
    ~map();

    // Empties the map; the next map's name and the own file name stay.
    void flush();

    // Draws the background, both layers, teleports, start and exit into a 640x480 bitmap.
    void draw(BITMAP *target);

    // The map in the file's terms, and back.
    map_file to_file() const;
    void from_file(const map_file &file);
};

extern map the_map;

// Whether a cell lies on the 20x15 field.
bool cell_on_field(int x, int y);
