// The map-name banner: the map's name slides in on a framed plate, rests, and slides out.
#pragma once
#include <allegro.h>

extern FONT *map_name_font;       // the name's font
extern FONT *map_name_small_font; // the font of a name too wide for map_name_font
extern BITMAP *map_name_buffer;   // the plate: the name with a margin all round
extern int map_name_width;        // the plate's size
extern int map_name_height;
extern int map_name_x_pos;
extern int map_name_y_pos;
extern int map_name_stopping_point;
extern int map_name_timer;
extern int map_name_switch;
extern int map_name_in_progress;

// Takes the banner fonts; once, after the data files are loaded.
void map_name_pre_init();
// The widest name the plate shows whole: the frame round it and the plate's margins stay on the
// screen.
int map_name_text_room();
// Starts the banner for the name of the current map; an empty name ends any banner at once.
void map_name_init();
// One logic tick of the banner's motion.
void process_map_name();
// Draws the plate and its frame into target.
void draw_map_name(BITMAP *target);
int map_name_showing();
