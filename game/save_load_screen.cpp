// The save, load and erase screens over the list of saves, with their actions and results.
#include "save_load_screen.h"
#include <allegro.h>
#include <cstdio>
#include <cstring>
#include "datafiles.h"
#include "do_drawing.h"
#include "do_logic.h"
#include "key_latch.h"
#include "level_selection_screen.h"
#include "level_set_screen.h"
#include "load_game.h"
#include "map.h"
#include "menu_frame.h"
#include "music.h"
#include "player.h"
#include "save_game.h"
#include "show_map_name.h"
#include "title_screen.h"

int (*load_screen_level_selection)() = level_selection_screen;

namespace {

const char no_saves_text[] = "No Saved Games";
const char new_save_text[] = "New Save";
const char damaged_save_text[] = "Damaged Save";

int saves_count()
{
    return static_cast<int>(game_saves.size());
}

// Lists the saves anew and lets the window know how many rows it now has.
void relist(slot_list &list)
{
    load_saves();
    list.list_rows = saves_count();
}

// The selected row when it is a listed save, else -1.
int selected_save(const slot_list &list)
{
    const int index = slot_selected(list);
    return index >= 0 && index < saves_count() ? index : -1;
}

slot_list start_saves_list(int extra_row)
{
    slot_arrows.deactivate(0);
    slot_arrows.deactivate(1);
    load_saves();
    return start_slot_list(saves_count(), extra_row);
}

// A row of a listed save: its number in the list and map name, and below it the level set.
void draw_save_row(BITMAP *bmp, int index, int x, int y)
{
    char text[300];
    // A save that cannot be loaded says so on its row; it can still be erased or saved over.
    if (game_saves[index].damaged)
        std::snprintf(text, sizeof(text), "%d: %s", index + 1, damaged_save_text);
    else
        std::snprintf(text, sizeof(text), "%d: %s", index + 1, game_saves[index].map_name);
    char set_line[300];
    std::snprintf(set_line, sizeof(set_line), "Level Set: %s", game_saves[index].level_set_name);
    draw_slot_two_lines(bmp, text, set_line, x, y);
}

void draw_new_save_row(BITMAP *bmp, int, int x, int y)
{
    draw_slot_text(bmp, new_save_text, x, y);
}

} // namespace

// ---- Save screen

slot_list start_save_screen()
{
    return start_saves_list(-1);
}

int save_screen_tick(slot_list &list)
{
    if (list.box_open) {
        if (slot_box_tick(list, list.enter_latch) == slot_box_yes) {
            play_game_sound(slot_select_sound);
            const int index = selected_save(list);
            if (index >= 0) {
                // The listing is rebuilt right after, so the path is taken out of it first.
                char path[256];
                std::memcpy(path, game_saves[index].file, sizeof(path));
                save_game_file(path);
            }
            list.box_open = 0;
            relist(list);
        }
    } else {
        slot_advance_slide(list);
        if (fresh_key_press(KEY_ESC, key_esc_down))
            list.done = -1;
        if (slot_enter_pressed(list.enter_latch)) {
            play_game_sound(slot_select_sound);
            if (selected_save(list) >= 0) {
                list.box_open = -1;
            } else {
                // The "New Save" row writes the slot numbered as it is, or the next number not
                // taken by another file, so it never replaces a save.
                save_new_game(saves_count());
                relist(list);
            }
        }
        slot_move_keys(list);
    }
    slot_update_arrows(list);
    slot_frame_tick();
    return slot_go_on;
}

void draw_save_screen(const slot_list &list)
{
    draw_slot_screen_back(buffer, "Save Game", "Save To Which Slot?");
    draw_slot_rows(buffer, list, draw_save_row, draw_new_save_row, nullptr);
    if (list.box_open)
        draw_are_you_sure_box(buffer, list.box_choice);
    draw_slot_arrows();
}

void save_game_screen()
{
    slot_list list = start_save_screen();
    run_slot_screen(list, save_screen_tick, draw_save_screen);
}

// ---- Load screen

slot_list start_load_screen()
{
    return start_saves_list(0);
}

int load_screen_tick(slot_list &list)
{
    slot_advance_slide(list);
    if (fresh_key_press(KEY_ESC, key_esc_down)) {
        list.result = 0;
        return slot_return_now;
    }
    if (slot_enter_pressed(key_enter_pressed)) {
        const int index = selected_save(list);
        if (list.list_rows == 0 || index < 0) {
            list.result = 0;
            return slot_return_now;
        }
        play_game_sound(slot_select_sound);
        char path[256];
        std::memcpy(path, game_saves[index].file, sizeof(path));
        // Backing out of the start-level screen puts the level set and the keys back as they
        // were, so that a later save cannot name the abandoned save's set.
        const game_before_load before = remember_before_load();
        // A save that cannot be loaded (gone since the listing, damaged) is reported and nothing
        // was loaded: the list stays open rather than offering the levels of whatever was in memory.
        if (load_game(path)) {
            get_levels_for_selection(the_map.next_map, loader_directory, first_level);
            const int chosen = load_screen_level_selection();
            if (chosen == -1) {
                the_player.init_in_teleport_anim();
                map_name_init();
                list.result = -1;
                return slot_return_now;
            }
            restore_before_load(before);
            if (chosen == 0) {
                std::memcpy(first_level, first_level_hardcopy, sizeof(first_level));
                std::memcpy(loader_directory, loader_directory_hardcopy, sizeof(loader_directory));
                std::memcpy(level_set_loader_file, level_set_loader_file_hardcopy, sizeof(level_set_loader_file));
                std::memcpy(level_set_name, level_set_name_hardcopy, sizeof(level_set_name));
                game_in_progress = 0;
                key_enter_pressed = -1;
                list.result = 0;
                return slot_return_now;
            }
            // Back from the start-level screen: its slide, if one ran, belongs to its own rows.
            scroll_slots_up = 0;
            scroll_slots_down = 0;
            slot_scroll_amount = 0;
        }
    }
    slot_move_keys(list);
    slot_update_arrows(list);
    slot_frame_tick();
    return slot_go_on;
}

void draw_load_screen(const slot_list &list)
{
    draw_slot_screen_back(buffer, "Load Game", "Load From Which Slot?");
    draw_slot_rows(buffer, list, draw_save_row, nullptr, no_saves_text);
    draw_slot_arrows();
}

int load_game_screen()
{
    slot_list list = start_load_screen();
    return run_slot_screen(list, load_screen_tick, draw_load_screen);
}

// ---- Erase screen

slot_list start_erase_screen()
{
    return start_saves_list(0);
}

int erase_screen_tick(slot_list &list)
{
    if (list.box_open) {
        if (slot_box_tick(list, key_enter_pressed) == slot_box_yes) {
            play_game_sound(slot_select_sound);
            const int index = selected_save(list);
            if (list.list_rows == 0 || index < 0) {
                list.done = -1;
            } else {
                delete_file(game_saves[index].file);
                // Erasing the last row keeps the window full.
                if (index == list.list_rows - 1) {
                    if (list.first_row > 0)
                        list.first_row--;
                    else
                        list.cursor_row--;
                }
                relist(list);
            }
            list.box_open = 0;
        }
    } else {
        slot_advance_slide(list);
        if (key[KEY_ESC])
            list.done = -1;
        if (slot_enter_pressed(key_enter_pressed)) {
            // The "No Saved Games" row ends the screen; after the only save was erased the
            // cursor stands above it, and Enter asks first.
            if (list.list_rows == 0 && slot_selected(list) == 0)
                list.done = -1;
            else
                list.box_open = -1;
        }
        slot_move_keys(list);
    }
    slot_update_arrows(list);
    slot_frame_tick();
    return slot_go_on;
}

void draw_erase_screen(const slot_list &list)
{
    draw_slot_screen_back(buffer, "Erase Saved Game", "Erase Which Slot?");
    draw_slot_rows(buffer, list, draw_save_row, nullptr, no_saves_text);
    if (list.box_open)
        draw_are_you_sure_box(buffer, list.box_choice);
    draw_slot_arrows();
}

void erase_save_screen()
{
    slot_list list = start_erase_screen();
    run_slot_screen(list, erase_screen_tick, draw_erase_screen);
}
