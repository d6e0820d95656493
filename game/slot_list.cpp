// The kit of the list screens: window slide, cursor keys, rows, boxes and the "Are You Sure?" box.
#include "slot_list.h"
#include "box_frame.h"
#include "datafiles.h"
#include "do_drawing.h"
#include "fit_text.h"
#include "key_latch.h"
#include "map.h"
#include "music.h"
#include "player.h"
#include "text_mode_message.h"
#include "timer.h"

int scroll_slots_up = 0;
int scroll_slots_down = 0;
int slot_scroll_amount = 0;
int slot_scroll_incrementer = 6;

namespace {

// The slide length: a row is this many pixels below the one above it.
const int slide_distance = 80;

const int box_height = 100;
const int are_you_sure_width = 300;

} // namespace

// ---- The list window

slot_list start_slot_list(int list_rows, int extra_row)
{
    slot_arrows.deactivate(0);
    slot_arrows.deactivate(1);
    // A slide that a screen left running when it ended would otherwise move this screen's window
    // on its own rows, possibly outside them.
    scroll_slots_up = 0;
    scroll_slots_down = 0;
    slot_scroll_amount = 0;
    slot_list list;
    list.list_rows = list_rows;
    list.extra_row = extra_row;
    return list;
}

int slot_row_count(const slot_list &list)
{
    return list.list_rows + (list.extra_row ? 1 : 0);
}

int slot_selected(const slot_list &list)
{
    return list.first_row + list.cursor_row;
}

int slot_slide_running()
{
    return (scroll_slots_up || scroll_slots_down) ? -1 : 0;
}

void slot_advance_slide(slot_list &list)
{
    if (scroll_slots_up) {
        slot_scroll_amount -= slot_scroll_incrementer;
        if (slot_scroll_amount <= -slide_distance) {
            scroll_slots_up = 0;
            slot_scroll_amount = 0;
            list.first_row++;
        }
    }
    if (scroll_slots_down) {
        slot_scroll_amount += slot_scroll_incrementer;
        if (slot_scroll_amount > slide_distance - 1) {
            scroll_slots_down = 0;
            slot_scroll_amount = 0;
            list.first_row--;
        }
    }
}

int slot_enter_pressed(int &latch)
{
    return fresh_press(key[KEY_ENTER], latch, slot_slide_running() ? 0 : -1);
}

void slot_move_keys(slot_list &list)
{
    const int last_row = slot_row_count(list) - 1;

    // A press is used up whether or not it acts: one held through a slide does not act after it.
    const int down = key[KEY_DOWN] || scancode_down(the_player.key_down);
    if (fresh_press(down, list.down_latch)) {
        if (list.list_rows > 0 && !slot_slide_running() && slot_selected(list) < last_row) {
            play_game_sound(slot_move_sound);
            list.cursor_row++;
            if (list.cursor_row > slot_window_rows - 1) {
                list.cursor_row = slot_window_rows - 1;
                scroll_slots_up = -1;
                slot_scroll_amount = 0;
            }
        }
    }

    const int up = key[KEY_UP] || scancode_down(the_player.key_up);
    if (fresh_press(up, list.up_latch)) {
        if (list.list_rows > 0 && !slot_slide_running() && slot_selected(list) > 0) {
            play_game_sound(slot_move_sound);
            list.cursor_row--;
            if (list.cursor_row < 0) {
                list.cursor_row = 0;
                scroll_slots_down = -1;
                slot_scroll_amount = 0;
            }
        }
    }
}

void slot_update_arrows(const slot_list &list)
{
    if (slot_row_count(list) - list.first_row > slot_window_rows) {
        if (!slot_arrows.down_active_state())
            slot_arrows.init(0);
    } else {
        slot_arrows.deactivate(0);
    }
    if (list.first_row > 0) {
        if (!slot_arrows.up_active_state())
            slot_arrows.init(1);
    } else {
        slot_arrows.deactivate(1);
    }
}

void slot_frame_tick()
{
    slot_arrows.calculate();
    the_map.scroll_background();
    check_change_music();
}

int slot_box_tick(slot_list &list, int &enter_latch)
{
    if (fresh_press(key[KEY_RIGHT], list.down_latch))
        list.box_choice = list.box_choice ? 0 : 1;
    if (fresh_press(key[KEY_LEFT], list.up_latch))
        list.box_choice = list.box_choice ? 0 : 1;

    if (!fresh_press(key[KEY_ENTER], enter_latch))
        return slot_box_nothing;
    if (list.box_choice == 1)
        return slot_box_yes;
    list.box_open = 0;
    return slot_box_no;
}

int run_slot_screen(slot_list &list, int (*tick)(slot_list &), void (*draw)(const slot_list &))
{
    run_modal_screen(list, list.done, tick, draw);
    return list.result;
}

// ---- Drawing

int slot_x()
{
    return slot_screen_w / 2 - system_bitmap(slot_row_image)->w / 2;
}

int slot_position_y(int position)
{
    return slot_window_top + slot_row_height * position;
}

int slot_text_x()
{
    return slot_x() + 10;
}

int slot_text_y(int position)
{
    return slot_position_y(position) + system_bitmap(slot_row_image)->h / 2 -
           text_height(system_font(slot_row_font)) / 2;
}

int slot_text_right()
{
    return slot_x() + system_bitmap(slot_row_image)->w - slot_text_right_margin;
}

void draw_fitted_text(BITMAP *bmp, FONT *f, const char *text, int x, int y)
{
    char fitted[320];
    fit_text(f, text, slot_text_right() - x, fitted, sizeof(fitted));
    textout_ex(bmp, f, fitted, x, y, makecol(255, 255, 255), -1);
}

void draw_slot_text(BITMAP *bmp, const char *text, int x, int y)
{
    draw_fitted_text(bmp, system_font(slot_row_font), text, x, y);
}

int slot_first_line_y(int text_y)
{
    // Both lines stand together in the middle of the row, whose top lies as far above the text
    // place as in window position 0.
    const int row_top = text_y - (slot_text_y(0) - slot_position_y(0));
    const int lines_h = text_height(system_font(slot_row_font)) + text_height(system_font(slot_small_font));
    return row_top + (system_bitmap(slot_row_image)->h - lines_h) / 2;
}

int slot_second_line_y(int text_y)
{
    return slot_first_line_y(text_y) + text_height(system_font(slot_row_font));
}

void draw_slot_two_lines(BITMAP *bmp, const char *first, const char *second, int x, int y)
{
    draw_fitted_text(bmp, system_font(slot_row_font), first, x, slot_first_line_y(y));
    draw_fitted_text(bmp, system_font(slot_small_font), second, x + 20, slot_second_line_y(y));
}

void draw_slot_screen_back(BITMAP *bmp, const char *title, const char *subtitle)
{
    clear_bitmap(bmp);
    the_map.draw_background(bmp);
    BITMAP *frame = system_bitmap(slot_frame_picture);
    masked_blit(frame, bmp, 0, 0, 0, 0, frame->w, frame->h);
    const int white = makecol(255, 255, 255);
    textout_centre_ex(bmp, system_font(slot_title_font), title, slot_screen_w / 2, slot_title_y, white, -1);
    textout_centre_ex(bmp, system_font(slot_row_font), subtitle, slot_screen_w / 2, 50, white, -1);
}

namespace {

void draw_row_at(BITMAP *bmp, const slot_list &list, int position, int index, slot_row_texts texts)
{
    const int lit = position == list.cursor_row || list.list_rows == 0;
    draw_sprite(bmp, system_bitmap(lit ? slot_row_lit_image : slot_row_image), slot_x(),
                slot_position_y(position) + slot_scroll_amount);
    if (texts)
        texts(bmp, index, slot_text_x(), slot_text_y(position) + slot_scroll_amount);
}

void draw_empty_text(BITMAP *bmp, const char *text)
{
    draw_sprite(bmp, system_bitmap(slot_row_lit_image), slot_x(), slot_position_y(0) + slot_scroll_amount);
    if (text)
        draw_slot_text(bmp, text, slot_text_x(), slot_text_y(0) + slot_scroll_amount);
}

} // namespace

void draw_slot_rows(BITMAP *bmp, const slot_list &list, slot_row_texts list_row, slot_row_texts extra_row,
                    const char *empty_text)
{
    // The list row leaving the window disappears when the slide starts; the one entering it
    // appears when the slide ends.
    const int first_position = scroll_slots_up ? 1 : 0;
    const int last_position = scroll_slots_down ? slot_window_rows - 2 : slot_window_rows - 1;

    if (list.list_rows == 0) {
        if (list.extra_row)
            draw_row_at(bmp, list, 0, 0, extra_row);
        else
            draw_empty_text(bmp, empty_text);
        return;
    }

    for (int position = first_position; position <= last_position; position++) {
        const int index = list.first_row + position;
        if (index >= 0 && index < list.list_rows)
            draw_row_at(bmp, list, position, index, list_row);
    }
    // The extra row stands after the last list row whenever it lies in the window, through every
    // frame of a slide as well.
    const int extra_position = list.list_rows - list.first_row;
    if (list.extra_row && extra_position >= 0 && extra_position < slot_window_rows)
        draw_row_at(bmp, list, extra_position, list.list_rows, extra_row);
}

void draw_slot_box(BITMAP *bmp, int width, const char *text)
{
    BITMAP *box = create_bitmap(width, box_height);
    if (!box) {
        quit_with_message("Could not create confirmation\nwindow bitmap!");
    }
    const int bx = slot_screen_w / 2 - width / 2;
    const int by = slot_screen_h / 2 - box_height / 2;
    clear_to_color(box, makecol(141, 147, 197));
    FONT *f = system_font(slot_row_font);
    textout_ex(box, f, text, width / 2 - text_length(f, text) / 2, 5, makecol(255, 255, 255), -1);

    draw_box_frame(bmp, bx, by, width, box_height);
    blit(box, bmp, 0, 0, bx, by, width, box_height);
    destroy_bitmap(box);
}

void draw_slot_box_button(BITMAP *bmp, int x, int y, const char *label, int lit)
{
    BITMAP *button = system_bitmap(lit ? slot_button_lit_image : slot_button_image);
    BITMAP *size = system_bitmap(slot_button_lit_image);
    draw_sprite(bmp, button, x, y);
    FONT *f = system_font(slot_row_font);
    textout_ex(bmp, f, label, x + size->w / 2 - text_length(f, label) / 2, y + size->h / 2 - text_height(f) / 2,
               makecol(255, 255, 255), -1);
}

void draw_are_you_sure_box(BITMAP *bmp, int choice)
{
    draw_slot_box(bmp, are_you_sure_width, "Are You Sure?");
    const int half_button = system_bitmap(slot_button_lit_image)->w / 2;
    const int quarter = are_you_sure_width / 4;
    const int y = slot_screen_h / 2;
    draw_slot_box_button(bmp, slot_screen_w / 2 - quarter - half_button, y, "Yes", choice == 1);
    draw_slot_box_button(bmp, slot_screen_w / 2 + quarter - half_button, y, "No", choice != 1);
}

void draw_slot_arrows()
{
    slot_arrows.draw(buffer);
}
