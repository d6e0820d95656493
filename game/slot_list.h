// The kit of the five list screens: the four-row window that slides, its cursor keys, the row drawing, the boxes and the "Are You Sure?" box; the scroll arrows are in slot_arrows.h.
#pragma once
#include <allegro.h>
#include "modal_screen.h"
#include "slot_arrows.h"

// ---- The slide of the window, shared by every list screen.

extern int scroll_slots_up;         // -1: the rows slide up (towards the end of the list)
extern int scroll_slots_down;       // -1: the rows slide down (towards the start)
extern int slot_scroll_amount;      // pixel offset of every row while a slide runs, -80..80
extern int slot_scroll_incrementer; // pixels per logic step of a slide (6)

// ---- Layout and assets of the form.

// The game's screen, always 640x480 (SCREEN_W and SCREEN_H read 0 without a graphics mode).
const int slot_screen_w = 640;
const int slot_screen_h = 480;

const int slot_window_rows = 4;     // rows the window shows
const int slot_window_top = 130;    // top of window position 0
const int slot_row_height = 80;     // distance between window positions
const int slot_title_font = 15;     // d_system
// Top of the title's line: its letters start below the frame picture's border round the screen.
const int slot_title_y = 6;
const int slot_row_font = 8;        // d_system
const int slot_small_font = 3;      // d_system, the second line of a save's row
const int slot_text_right_margin = 50; // pixels kept free at a row's right end
const int slot_frame_picture = 16;  // d_system, drawn over the whole screen
const int slot_row_image = 35;      // d_system, a row
const int slot_row_lit_image = 36;  // d_system, the row under the cursor
const int slot_button_image = 1;    // d_system, a box button
const int slot_button_lit_image = 2;// d_system, the chosen box button
const int slot_move_sound = 6;      // d_sounds, the cursor moved
const int slot_select_sound = 5;    // d_sounds, a selection or confirmation

// ---- One visit of a list screen.

struct slot_list {
    int first_row = 0;   // index of the row shown in window position 0
    int cursor_row = 0;  // window position of the cursor, 0..3
    int list_rows = 0;   // rows taken from the screen's list
    int extra_row = 0;   // -1: one extra final row follows the list rows ("New Save", built-in set)
    int done = 0;        // -1: the screen ends after the owed steps and one more frame
    int result = 0;      // what the screen returns
    int down_latch = 0;  // Down; Right while the box is open
    int up_latch = 0;    // Up; Left while the box is open
    int enter_latch = 0; // the screen's own Enter latch, for the screens that keep one
    int box_open = 0;    // -1: the confirmation box is open
    int box_choice = 0;  // 1 "Yes", 0 "No"; kept from one opening of the box to the next
};

// What a list screen's tick tells the loop around it: the modal loop's own outcomes.
const int slot_go_on = modal_go_on;
const int slot_return_now = modal_return_now;

// Hides both arrows, ends any slide a previous screen left running, and gives a fresh visit.
slot_list start_slot_list(int list_rows, int extra_row);
// List rows plus the extra row.
int slot_row_count(const slot_list &list);
// The index under the cursor: first visible row + cursor row.
int slot_selected(const slot_list &list);
// -1 while a slide runs.
int slot_slide_running();

// First in a tick: advances a running slide; at its end the first visible row moves by one.
void slot_advance_slide(slot_list &list);
// Enter (KEY_ENTER only) as a fresh press through latch (fresh_press): -1 on a press while no
// slide runs, which sets the latch; a press held through a slide acts when the slide ends.
int slot_enter_pressed(int &latch);
// After Escape and Enter: Down, then Up (the arrow keys or the player's down and up keys), with
// sound, cursor and slide start.
void slot_move_keys(slot_list &list);
// Then: shows or hides each arrow by whether rows lie beyond the window on its side.
void slot_update_arrows(const slot_list &list);
// Last in a tick: the arrows' bobbing, the backdrop's scroll and the music check.
void slot_frame_tick();

// What the box's keys did in one tick.
const int slot_box_nothing = 0;
const int slot_box_yes = 1; // "Yes" confirmed: the screen runs its action (and closes the box)
const int slot_box_no = 2;  // "No" confirmed: the box has been closed
// One tick while the box is open: Left and Right toggle the choice, Enter under latch confirms.
// Plays nothing; the screen's confirmed action plays its own sound.
int slot_box_tick(slot_list &list, int &enter_latch);

// The modal loop (run_modal_screen) on list until done is set; a tick giving slot_return_now
// returns at once. Gives list.result.
int run_slot_screen(slot_list &list, int (*tick)(slot_list &), void (*draw)(const slot_list &));

// ---- Drawing (into bmp, normally buffer; nothing here changes any state).

// Left edge of the row images, top of window position p, and the text place of a row at p
// (all without the slide offset).
int slot_x();
int slot_position_y(int position);
int slot_text_x();
int slot_text_y(int position);

// Backdrop through the map, the frame picture, the title and the subtitle.
void draw_slot_screen_back(BITMAP *bmp, const char *title, const char *subtitle);
// Draws the texts of row index at the text place (x, y), the slide offset already added.
typedef void (*slot_row_texts)(BITMAP *bmp, int index, int x, int y);
// The visible rows with their images: list rows through list_row, the extra row through
// extra_row; with no list rows, the extra row or else empty_text, highlighted in position 0.
void draw_slot_rows(BITMAP *bmp, const slot_list &list, slot_row_texts list_row,
                    slot_row_texts extra_row, const char *empty_text);
// Right end of the room for a row's texts, clear of the sparkles at the lit row's right end.
int slot_text_right();
// White text in font f with a transparent background at (x, y), cut to end before slot_text_right().
void draw_fitted_text(BITMAP *bmp, FONT *f, const char *text, int x, int y);
// The same in the row font.
void draw_slot_text(BITMAP *bmp, const char *text, int x, int y);
// Tops of the first and the second of two lines in a row whose one-line text place is at text_y.
int slot_first_line_y(int text_y);
int slot_second_line_y(int text_y);
// The two lines of a save's row for the row text place (x, y): first in the row font, second in
// the small font 20 pixels further right, both inside the row and cut to fit it.
void draw_slot_two_lines(BITMAP *bmp, const char *first, const char *second, int x, int y);
// A box of width x 100 pixels centred on the screen, framed, with text at its top. Fatal
// ("Could not create confirmation\nwindow bitmap!") when its bitmap cannot be made.
void draw_slot_box(BITMAP *bmp, int width, const char *text);
// A box button with its label centred on it; lit: the chosen button.
void draw_slot_box_button(BITMAP *bmp, int x, int y, const char *label, int lit);
// The "Are You Sure?" box with "Yes" (choice 1) or "No" (choice 0) chosen.
void draw_are_you_sure_box(BITMAP *bmp, int choice);
// Last in a frame: the arrows into buffer (the modal loop then copies buffer to the screen).
void draw_slot_arrows();
