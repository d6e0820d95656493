// The dialogue box: a text typed out character by character, an optional portrait, a bouncing arrow.
#pragma once
#include <allegro.h>

class message {
public:
    int active;
    int box_x, box_y;
    int text_x, text_y;
    int text_pos;
    int char_ready;
    char *text;
    int finished;
    int portrait;
    int arrow_y;
    int arrow_dir;
    int red, green, blue;
    BITMAP *box_image;
    BITMAP *overlay_image;
    BITMAP *text_image;
    FONT *text_font;
    int type_counter;
    int type_delay;

    message();
    ~message();
    message(const message &) = delete;
    message &operator=(const message &) = delete;

    // Takes the system images and font, creates the text image; once, after the data files load.
    void initialize();
    // Starts showing text ('|' new line, '^' pause) unless a message is already open.
    void set(const char *new_text, int r, int g, int b, int new_portrait);
    // One logic tick: typing pace, the close keys, the arrow.
    void calculate();
    // Types the character that is due and draws the box into buffer.
    void draw();
    int active_state();
    // Closes the box at once and returns every field to its initialized value.
    void deactivate();
    // Frees the text image.
    void destroy();
};

extern message the_message;

// -1 while a close key that was used on the box is still held.
extern int close_message_key;
// -1 once a fresh press arrived after the text was finished; the box closes on its release.
extern int done_trigger;
