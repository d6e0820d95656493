// One logic step of play and the global in-play keys, in their fixed order.
#include "do_logic.h"
#include <allegro.h>

int key_esc_down = 0;
int key_m_down = 0;
int key_f1_down = 0;

void do_logic()
{
    process_keys();
}

void process_keys()
{
}
