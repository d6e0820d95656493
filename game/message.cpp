// The dialogue box: typing pace, pauses and line breaks, closing on a fresh key press, drawing.
#include "message.h"
#include <cstring>
#include "datafiles.h"
#include "do_drawing.h"
#include "key_latch.h"
#include "player.h"

message the_message;
int close_message_key = 0;
int done_trigger = 0;

namespace {

// d_system entries of the box.
const int arrow_entry = 27;
const int box_entry = 28;
const int frame_entry = 29;
const int font_entry = 30;

// The drawn part of the box and its frame.
const int box_region_w = 530;
const int box_region_h = 146;

// Where the first character of a text goes, and each new line starts.
const int text_margin = 5;

// The portrait stands on the box: left edge and the row just above the box.
const int portrait_x = 53;
const int portrait_base = 316;

const int arrow_x = 546;
const int arrow_top = 450;
const int arrow_bottom = 455;

int close_key_down()
{
    // The action binding may come from a movie or a hand-edited save: outside key[] it is never down.
    return scancode_down(the_player.key_action) || key[KEY_ENTER] ? -1 : 0;
}

void clear_text_image(BITMAP *image)
{
    if (image)
        clear_to_color(image, makecol(255, 0, 255));
}

} // namespace

message::message()
    : active(0), box_x(0), box_y(0), text_x(0), text_y(0), text_pos(0), char_ready(0),
      text(nullptr), finished(0), portrait(-1), arrow_y(0), arrow_dir(1), red(0), green(0),
      blue(0), box_image(nullptr), overlay_image(nullptr), text_image(nullptr),
      text_font(nullptr), type_counter(0), type_delay(3)
{
}

message::~message()
{
    delete[] text;
}

void message::initialize()
{
    active = 0;
    box_x = 53;
    box_y = 317;
    text_x = text_margin;
    text_y = text_margin;
    text_pos = 0;
    char_ready = 0;
    delete[] text;
    text = nullptr;
    finished = 0;
    portrait = -1;
    arrow_y = arrow_top;
    arrow_dir = 1;
    box_image = system_bitmap(box_entry);
    overlay_image = system_bitmap(frame_entry);
    text_font = system_font(font_entry);
    if (text_image)
        destroy_bitmap(text_image);
    // Without a text image the box still opens and closes; only its letters are missing.
    text_image = create_bitmap(box_image->w, box_image->h);
    clear_text_image(text_image);
    type_counter = 0;
    type_delay = 3;
}

void message::set(const char *new_text, int r, int g, int b, int new_portrait)
{
    if (active)
        return;
    delete[] text;
    text = new char[std::strlen(new_text) + 1];
    std::strcpy(text, new_text);
    text_x = text_margin;
    text_y = text_margin;
    red = r;
    green = g;
    blue = b;
    portrait = new_portrait;
    active = -1;
}

void message::calculate()
{
    if (finished) {
        if (close_key_down() && close_message_key == 0) {
            close_message_key = -1;
            done_trigger = -1;
        } else if (!close_key_down()) {
            close_message_key = 0;
            // Only the release of a press that began after the end was reached closes the box.
            if (done_trigger) {
                finished = 0;
                done_trigger = 0;
                text_pos = 0;
                text_x = text_margin;
                text_y = text_margin;
                type_counter = 0;
                char_ready = 0;
                active = 0;
                clear_text_image(text_image);
            }
        }
        arrow_y += arrow_dir;
        if (arrow_y >= arrow_bottom)
            arrow_dir = -arrow_dir;
        else if (arrow_y <= arrow_top)
            arrow_dir = -arrow_dir;
    }
    if (active) {
        if (close_key_down()) {
            // Holding a close key types one character per frame and cuts pauses short.
            close_message_key = -1;
            char_ready = -1;
            type_counter = 0;
        } else if (type_counter >= type_delay) {
            char_ready = -1;
            type_counter = 0;
        } else {
            type_counter++;
        }
    }
}

// Typing happens here, per frame, not per tick: a held close key types one character a frame.
void message::draw()
{
    if (active && char_ready) {
        const char c = text[text_pos];
        if (c == '\0') {
            finished = -1;
        } else if (c == '|') {
            text_y += text_height(text_font);
            text_x = text_margin;
            text_pos++;
        } else if (c == '^') {
            // A pause: the counter has to climb back up before the character after next.
            type_counter = -4 * type_delay;
            text_pos++;
        } else {
            if (text_image)
                textprintf_ex(text_image, text_font, text_x, text_y, makecol(red, green, blue), -1,
                              "%c", c);
            const char glyph[2] = {c, '\0'};
            text_x += text_length(text_font, glyph);
            char_ready = 0;
            text_pos++;
        }
    }
    if (active) {
        set_trans_blender(255, 255, 255, 225);
        draw_trans_sprite(buffer, box_image, box_x, box_y);
        masked_blit(overlay_image, buffer, 0, 0, box_x, box_y, box_region_w, box_region_h);
        if (text_image)
            masked_blit(text_image, buffer, 0, 0, box_x, box_y, box_region_w, box_region_h);
        // An index past the end of the portrait file draws nothing rather than read beyond it.
        if (portrait > -1 && portrait < datafile_count(d_portraits)) {
            BITMAP *picture = static_cast<BITMAP *>(d_portraits[portrait].dat);
            draw_sprite(buffer, picture, portrait_x, portrait_base - picture->h);
        }
    }
    if (finished)
        draw_sprite(buffer, system_bitmap(arrow_entry), arrow_x, arrow_y);
}

int message::active_state()
{
    return active;
}

void message::deactivate()
{
    active = 0;
    box_x = 53;
    box_y = 317;
    text_x = text_margin;
    text_y = text_margin;
    text_pos = 0;
    char_ready = 0;
    delete[] text;
    text = nullptr;
    finished = 0;
    portrait = -1;
    arrow_y = arrow_top;
    arrow_dir = 1;
    clear_text_image(text_image);
    type_counter = 0;
    type_delay = 3;
}

void message::destroy()
{
    if (text_image) {
        destroy_bitmap(text_image);
        text_image = nullptr;
    }
}
