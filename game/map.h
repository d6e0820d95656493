// The current map: its two layers, start and exit, background, teleports; loading, animating and drawing it.
#pragma once
#include <allegro.h>
#include <vector>
#include "map_format.h"

class map {
public:
    int block_layer[map_width][map_height];
    int trans_layer[map_width][map_height];
    char file_name[256];
    char next_map[256];
    char name[32];
    int start_x, start_y;
    int exit_x, exit_y;
    int win_last_frame;
    int win_frame;
    int win_tick;
    int win_delay;
    int background;
    int x_velocity;
    int y_velocity;
    int scroll_pos;
    int teleport_delay;
    int teleport_tick;
    int teleport_frame;
    int teleport_last_frame;
    int restart_pending;
    int restart_key_down;
    int teleport_count;
    std::vector<teleport> teleports;

    void flush();
    void load_map(char *file);
    void restart();

    void initialize();
    void animate();
    void animate_win();
    void animate_teleports();
    void scroll_background();
    void draw(BITMAP *target);
    void draw_background(BITMAP *target);
    void draw_win(BITMAP *target);
    void draw_teleports(BITMAP *target);
};

extern map the_map;
