// The title menu with its game-loss confirmation box.
#include "title_screen.h"
#include <cstring>
#include "box_frame.h"
#include "datafiles.h"
#include "do_drawing.h"
#include "game_quit.h"
#include "introduction_screen.h"
#include "key_latch.h"
#include "level_set_screen.h"
#include "map.h"
#include "menu_frame.h"
#include "message.h"
#include "modal_screen.h"
#include "music.h"
#include "options_screen.h"
#include "player.h"
#include "save_load_screen.h"
#include "show_map_name.h"
#include "timer.h"
#include "tutorial.h"
#include "tutorial_screen.h"
#include "text_mode_message.h"

int game_in_progress = 0;
int (*title_load_game_screen)() = load_game_screen;
int (*title_tutorial_screen)() = tutorial_screen;
void (*title_options_screen)() = options_screen;

namespace {

// Title images: the labels without and with a game in progress; the box's parts.
const int labels_no_game = 37;
const int labels_in_game = 38;
const int box_button = 1;
const int box_button_lit = 2;
const int box_font = 8;

const int box_w = 400;
const int box_h = 200;

// The action key binding comes from a save file; one outside the key array counts as never down.
int action_key_in_range()
{
    return the_player.key_action >= 0 && the_player.key_action < KEY_MAX;
}

int first_title_item()
{
    return game_in_progress ? title_new_game : title_continue;
}

// The load step of the Load Game item: the load screen over the menu backdrop, then either the
// loaded game or, when abandoned, the built-in level set and no game in progress.
void run_load_step(title_menu &menu)
{
    the_map.background = 1;
    the_map.x_velocity = 1;
    const int loaded = title_load_game_screen();
    tutorial_number = -1;
    the_message.deactivate();
    if (loaded) {
        game_in_progress = -1;
        menu.leave = -1;
        return;
    }
    // All four, so that the set a later save names is the one that is played.
    std::strcpy(loader_directory, loader_directory_hardcopy);
    std::strcpy(first_level, first_level_hardcopy);
    std::strcpy(level_set_loader_file, level_set_loader_file_hardcopy);
    std::strcpy(level_set_name, level_set_name_hardcopy);
    game_in_progress = 0;
}

void select_new_game(title_menu &menu)
{
    title_start_new_game(menu);
}

void select_new_game_or_continue(title_menu &menu)
{
    if (!game_in_progress) {
        title_start_new_game(menu);
        return;
    }
    // The press that chose Continue must not act in play as well.
    if (action_key_in_range())
        key[the_player.key_action] = 0;
    menu.leave = -1;
}

void select_load_game(title_menu &menu)
{
    if (game_in_progress) {
        menu.confirm_open = -1;
        return;
    }
    run_load_step(menu);
}

void select_tutorial(title_menu &menu)
{
    if (game_in_progress) {
        menu.confirm_open = -1;
        return;
    }
    if (title_tutorial_screen())
        menu.leave = -1;
}

void select_options(title_menu &)
{
    title_options_screen();
    // Ticks owed while the options were open are dropped.
    speed_counter = 0;
}

void select_quit(title_menu &)
{
    game_quit();
}

void (*const title_actions[title_item_count])(title_menu &) = {
    select_new_game, select_new_game_or_continue, select_load_game,
    select_tutorial, select_options, select_quit,
};

// "Yes" in the box: the confirmed item's step, with the game in progress given up.
void confirm_game_loss(title_menu &menu)
{
    if (menu.item == title_load_game) {
        run_load_step(menu);
        return;
    }
    const int started = title_tutorial_screen();
    game_in_progress = 0;
    if (started)
        menu.leave = -1;
}

void process_menu_keys(title_menu &menu)
{
    if (fresh_key_press(KEY_UP, menu.up_latch)) {
        play_game_sound(menu_move_sound);
        menu.item = title_item_above(menu.item);
    }
    if (fresh_key_press(KEY_DOWN, menu.down_latch)) {
        play_game_sound(menu_move_sound);
        menu.item = title_item_below(menu.item);
    }
    if (menu_select_pressed()) {
        play_game_sound(menu_select_sound);
        title_actions[menu.item](menu);
    }
}

// While the box is open only Left, Right and Enter count; the action key does not confirm.
void process_box_keys(title_menu &menu)
{
    if (fresh_key_press(KEY_LEFT, menu.up_latch))
        menu.answer = menu.answer ? 0 : 1;
    if (fresh_key_press(KEY_RIGHT, menu.down_latch))
        menu.answer = menu.answer ? 0 : 1;
    if (!fresh_press(key[KEY_ENTER], key_enter_pressed))
        return;
    menu.confirm_open = 0;
    if (menu.answer)
        confirm_game_loss(menu);
}

void draw_confirmation_box(const title_menu &menu)
{
    const int bx = buffer->w / 2 - box_w / 2;
    const int by = buffer->h / 2 - box_h / 2;
    BITMAP *box = create_bitmap(box_w, box_h);
    if (!box)
        quit_with_message("Could not create confirmation\nwindow bitmap!");
    clear_to_color(box, makecol(141, 147, 197));

    FONT *box_text_font = system_font(box_font);
    const int line_h = text_height(box_text_font);
    const int white = makecol(255, 255, 255);
    const char *lines[] = {"The current game in", "progress will be lost!", "Are you sure?"};
    const int line_y[] = {5, line_h + 5, 2 * line_h + 10};
    for (int i = 0; i < 3; i++)
        textprintf_ex(box, box_text_font, box_w / 2 - text_length(box_text_font, lines[i]) / 2,
                      line_y[i], white, -1, "%s", lines[i]);

    draw_box_frame(buffer, bx, by, box_w, box_h);

    blit(box, buffer, 0, 0, bx, by, box_w, box_h);

    BITMAP *button = system_bitmap(box_button_lit);
    const int bw = button->w;
    const int bh = button->h;
    const int yes_x = buffer->w / 2 - box_w / 4 - bw / 2;
    const int no_x = buffer->w / 2 + box_w / 4 - bw / 2;
    const int button_y = buffer->h / 2 + 50;
    draw_sprite(buffer, system_bitmap(menu.answer ? box_button_lit : box_button), yes_x, button_y);
    draw_sprite(buffer, system_bitmap(menu.answer ? box_button : box_button_lit), no_x, button_y);
    textprintf_ex(buffer, box_text_font, yes_x + bw / 2 - text_length(box_text_font, "Yes") / 2,
                  button_y + bh / 2 - line_h / 2, white, -1, "Yes");
    textprintf_ex(buffer, box_text_font, no_x + bw / 2 - text_length(box_text_font, "No") / 2,
                  button_y + bh / 2 - line_h / 2, white, -1, "No");

    destroy_bitmap(box);
}

} // namespace

// ---- Title menu

title_menu start_title_menu()
{
    title_menu menu;
    menu.item = first_title_item();
    return menu;
}

int title_item_above(int item)
{
    return item == first_title_item() ? title_quit : item - 1;
}

int title_item_below(int item)
{
    return item == title_quit ? first_title_item() : item + 1;
}

void title_start_new_game(title_menu &menu)
{
    the_message.deactivate();
    the_player.reset_statistics();

    introduction_screen();

    // The built-in set starts from its first map, and so does a game after a lesson (the lesson
    // left its own directory behind); a set chosen in the options keeps its own.
    if (std::strcmp(loader_directory, loader_directory_hardcopy) == 0 || tutorial_number > 0) {
        tutorial_number = -1;
        tutorial_switch = 0;
        std::strcpy(loader_directory, loader_directory_hardcopy);
        std::strcpy(first_level, first_level_hardcopy);
    }
    the_map.load_map(first_level);
    map_name_init();

    the_player.walking = 0;
    the_player.step = 0;
    game_in_progress = -1;
    menu.leave = -1;
}

void title_menu_tick(title_menu &menu)
{
    if (menu.confirm_open)
        process_box_keys(menu);
    else
        process_menu_keys(menu);
    menu_frame_tick();
}

void draw_title_menu(const title_menu &menu)
{
    draw_menu_frame_back(nullptr, 0, 0);
    if (game_in_progress)
        draw_sprite(buffer, system_bitmap(labels_in_game), 100, title_item_first_y);
    else
        draw_sprite(buffer, system_bitmap(labels_no_game), 100, title_item_first_y + 32);
    draw_menu_cursor(title_item_first_y + 32 * menu.item);
    draw_menu_frame_front();
    if (menu.confirm_open)
        draw_confirmation_box(menu);
}

void title_screen()
{
    title_menu menu = start_title_menu();
    run_modal_screen(menu, menu.leave, title_menu_tick, draw_title_menu);
}
