// The title menu with its game-loss confirmation box.
#pragma once
#include <allegro.h>

// A game has been started and can be continued (-1) or not (0).
extern int game_in_progress;

// ---- The title menu.

// Rows of the title menu: item i is drawn and its cursor stands at y = first row + 32 * i.
const int title_item_first_y = 168;
const int title_item_count = 6;
enum { title_new_game = 0, title_continue = 1, title_load_game = 2, title_tutorial = 3,
       title_options = 4, title_quit = 5 };

// The state of one call of the title menu.
struct title_menu {
    int item = 0;         // selected item, 0..5
    int leave = 0;        // -1: play resumes after this pass
    int confirm_open = 0; // -1: the game-loss confirmation box is open for the selected item
    int answer = 0;       // highlighted answer of the box: 1 "Yes", 0 "No"
    int up_latch = 0;     // Up in the menu, Left while the box is open
    int down_latch = 0;   // Down in the menu, Right while the box is open
};

// The screens that the Load Game, Tutorial and Options items open, which live in their own
// modules. Each holds the real screen; a test may swap in its own and puts the real one back.
extern int (*title_load_game_screen)();
extern int (*title_tutorial_screen)();
extern void (*title_options_screen)();

// A fresh call: box closed, "No" highlighted, cursor on New Game (game in progress) or item 1.
title_menu start_title_menu();
// The item the cursor goes to from item on Up or Down, by the rules of the current menu.
int title_item_above(int item);
int title_item_below(int item);
// One logic tick: the menu keys (or the box's keys while it is open), the actions, the frame tick.
void title_menu_tick(title_menu &menu);
// One frame into buffer, without copying it to the screen.
void draw_title_menu(const title_menu &menu);
// The modal title menu; returns when play is to resume, never after Quit.
void title_screen();

// The New Game action: introduction, level set, first map and its banner.
void title_start_new_game(title_menu &menu);
