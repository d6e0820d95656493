// The credits: a column of text rising over the right half of the play screen while a movie walks Pim across the credits map.
#pragma once
#include <allegro.h>
#include <string>

// -1 while the credits run (from the end of the last map until the title menu reopens).
extern int credits_active;
// -1 once the text has stopped and the movie has ended: the credits wait for Pim's fade-out.
extern int credits_done;
// Top of the first text line and left edge of every line, in pixels.
extern int credits_y_pos;
extern int credits_x_pos;

// Where the credits map and its movie lie; the directory becomes the level set's when they start.
inline constexpr char credits_location[256] = "data/levels/original levels/";
inline constexpr char credits_name[256] = "credits.map";
inline constexpr char credits_auto_script_name[256] = "credits.qmv";

// They are copied into the level set's directory (255 bytes) and joined into a 256-byte path.
static_assert(std::char_traits<char>::length(credits_location) < 255, "credits directory too long");
static_assert(std::char_traits<char>::length(credits_location) +
                  std::char_traits<char>::length(credits_auto_script_name) < 256,
              "credits movie path too long");

const int credits_start_y = 600;   // the first line enters from below the 480-pixel screen
const int credits_start_x = 325;   // just right of the middle of the screen
const int credits_stop_y = -2200;  // the text rises one pixel a tick until here
const int credits_font = 3;        // d_system entry of the credits font
const int credits_line_count = 97;

// One line of the credits text and its colour.
struct credits_line {
    char text[256];
    int red, green, blue;
};

extern const credits_line credits_lines[credits_line_count];

// One logic step: the text rises; once it has stopped and the movie has ended Pim fades out,
// and when he has gone the title menu opens.
void process_credits();
// Draws the credits column into bmp while the credits run; nothing otherwise.
void draw_credits(BITMAP *bmp);
// Switches the credits off and puts the text back at its start, so they can run again later.
void reset_credits();
