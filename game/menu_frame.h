// The menu-screen frame shared by the title, options, key-configuration and tutorial menus: backdrop, fixed images, strip, version, scroller, cursor, sounds, select latch.
#pragma once
#include <allegro.h>

// The menu selection latch of every menu and list screen: -1 from a press that was acted on
// until the selecting keys are seen up, so one press acts in one screen only.
extern int key_enter_pressed;
// Backdrop scroll position (1..640 once running) and the scroller's x; global so that the
// backdrop and the scroller carry on without a jump from one menu screen to the next.
extern int background_scroll;
extern int title_text_scroll;

// The line that runs along the bottom of every menu screen.
extern const char title_scroller_text[];

// Sound entries of the menus in d_sounds.
const int menu_refused_sound = 2;
const int menu_select_sound = 5;
const int menu_move_sound = 6;

// The cursor sprite's column; its row is that of the selected item.
const int menu_cursor_x = 68;

// Once per logic tick of a menu screen, after the screen's own keys: backdrop, scroller, music.
void menu_frame_tick();

// Back layer into buffer: backdrop, corner and top-left images, the screen's heading (none: null),
// then the translucent strip. The screen draws its labels and cursor over this.
void draw_menu_frame_back(BITMAP *heading, int heading_x, int heading_y);
// The cursor sprite at the menu's cursor column and row y.
void draw_menu_cursor(int y);
// Front layer into buffer: the version text and the scroller.
void draw_menu_frame_front();

// Enter or the player's action key under key_enter_pressed: -1 on a fresh press, else 0.
int menu_select_pressed();

