// The once-per-press key latch and the range-checked key read.
#include "key_latch.h"
#include <allegro.h>

int scancode_down(int scancode)
{
    return scancode >= 0 && scancode < KEY_MAX && key[scancode] ? -1 : 0;
}

int fresh_press(int down, int &latch, int may_act)
{
    if (!down) {
        latch = 0;
        return 0;
    }
    if (latch || !may_act)
        return 0;
    latch = -1;
    return -1;
}

int fresh_key_press(int scancode, int &latch, int may_act)
{
    return fresh_press(scancode_down(scancode), latch, may_act);
}
