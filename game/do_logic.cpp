// One logic step of play and the global in-play keys, in their fixed order.
#include "do_logic.h"
#include <allegro.h>
#include "player.h"
#include "title_screen.h"

int key_esc_down = 0;
int key_m_down = 0;
int key_f1_down = 0;

void do_logic()
{
    process_keys();
}

void process_keys()
{
    if (key[KEY_ESC] && !key_esc_down && the_player.controls) {
        key_esc_down = -1;
        title_screen();
    } else if (!key[KEY_ESC]) {
        key_esc_down = 0;
    }
}
