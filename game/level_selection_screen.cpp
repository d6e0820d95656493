// Start-level selection: the walk along a set's chain of map files, and the screen that picks the map to start from.
#include "level_selection_screen.h"
#include <allegro.h>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include "bounded_line.h"
#include "datafiles.h"
#include "do_drawing.h"
#include "do_logic.h"
#include "key_latch.h"
#include "level_set_screen.h"
#include "map.h"
#include "menu_frame.h"
#include "music.h"
#include "plain_file.h"

std::vector<level_selection_locs> level_selections;
int level_set_exists = -1;

level_selection_locs::level_selection_locs()
{
    name[0] = '\0';
    file[0] = '\0';
}

namespace {

const int chain_name_size = 256;

const char selection_title[] = "Select Start Level";
const char selection_subtitle[] = "Pick a level to start from";
const char broken_set_text[] = "Set Does Not Exist";
const int broken_set_box_width = 350;

// Reads one line as read_bounded_line does. Returns -1 when the whole line fitted, 0 when it was cut.
int read_chain_line(FILE *file, char *out, int size)
{
    int cut = 0;
    read_bounded_line(file, out, size, &cut);
    return cut ? 0 : -1;
}

// Reads lines 1 to 3 of the map file dir + current into record, and line 3 over current.
// Returns 0 when the map cannot serve as a link of the chain: no name, a path too long for the
// game's path buffers, a file that cannot be opened or read (the set's directory itself, when
// the name is empty), or a next-map name too long to be a name at all (cutting it could name
// some other file).
int read_chain_link(const char *dir, char *current, level_selection_locs &record)
{
    if (current[0] == '\0')
        return 0;
    char path[chain_name_size];
    const int length = std::snprintf(path, sizeof(path), "%s%s", dir, current);
    if (length < 0 || length > chain_name_size - 1)
        return 0;
    FILE *file = open_plain_stream(path, map_file_bound);
    if (!file)
        return 0;
    read_chain_line(file, record.name, sizeof(record.name));
    read_chain_line(file, record.file, sizeof(record.file));
    const int next_fitted = read_chain_line(file, current, chain_name_size);
    const int read_failed = std::ferror(file);
    std::fclose(file);
    return next_fitted && !read_failed;
}

} // namespace

void get_levels_for_selection(char *target, char *dir, char *first)
{
    std::vector<level_selection_locs> walked;
    level_selections.clear();
    level_set_exists = -1;

    char current[chain_name_size];
    std::snprintf(current, sizeof(current), "%s", first);

    // Each next name is line 3 of the file the current name opens, so a name met a second time
    // means the chain runs round in a loop that never reaches the target: the set is broken.
    std::set<std::string> visited;
    while (std::strcmp(current, target) != 0) {
        if (!visited.insert(current).second) {
            level_set_exists = 0;
            break;
        }
        level_selection_locs record;
        if (!read_chain_link(dir, current, record)) {
            level_set_exists = 0;
            break;
        }
        walked.push_back(record);
    }

    if (level_set_exists)
        level_selections.assign(walked.rbegin(), walked.rend());
}

// ---- The start-level screen.

namespace {

void draw_selection_row(BITMAP *bmp, int index, int x, int y)
{
    draw_slot_text(bmp, level_selections[index].name, x, y);
}

// The notice over the empty list of a broken set, with its one button lit: Enter acts on it.
void draw_broken_set_box(BITMAP *bmp)
{
    draw_slot_box(bmp, broken_set_box_width, broken_set_text);
    BITMAP *button = system_bitmap(slot_button_lit_image);
    draw_slot_box_button(bmp, SCREEN_W / 2 - button->w / 2, SCREEN_H / 2, "Ok", -1);
}

} // namespace

slot_list start_level_selection()
{
    return start_slot_list(static_cast<int>(level_selections.size()), 0);
}

int level_selection_tick(slot_list &list)
{
    slot_advance_slide(list);

    if (fresh_key_press(KEY_ESC, key_esc_down)) {
        list.result = level_selection_escaped;
        return slot_return_now;
    }

    if (slot_enter_pressed(key_enter_pressed)) {
        play_game_sound(slot_select_sound);
        if (!level_set_exists) {
            list.result = level_selection_broken;
            return slot_return_now;
        }
        // A chain that reaches its target before any map (the saved map leads back to the set's
        // first one) offers no row: the saved map, already in the_map, is where play starts.
        const int chosen = slot_selected(list);
        if (chosen >= 0 && chosen < list.list_rows)
            the_map.load_map(level_selections[chosen].file);
        list.result = level_selection_loaded;
        return slot_return_now;
    }

    slot_move_keys(list);
    slot_update_arrows(list);
    slot_frame_tick();
    return slot_go_on;
}

void draw_level_selection(const slot_list &list)
{
    draw_slot_screen_back(buffer, selection_title, selection_subtitle);
    // The empty list of an intact set stands for the saved map alone, which Enter starts; a
    // broken set has no row at all, only its notice.
    if (level_set_exists)
        draw_slot_rows(buffer, list, draw_selection_row, nullptr, the_map.name);
    else
        draw_broken_set_box(buffer);
    draw_slot_arrows();
}

int level_selection_screen()
{
    slot_list list = start_level_selection();
    return run_slot_screen(list, level_selection_tick, draw_level_selection);
}
