// Screenshots: numbered from 000 upwards, never overwriting one that exists.
#include "screenshot.h"
#include <climits>
#include <cstdio>

void screenshot(BITMAP *bmp)
{
    char name[256];
    for (int number = 0; number < INT_MAX; number++) {
        std::snprintf(name, sizeof(name), "shots/screenshot%03d.bmp", number);
        if (!exists(name)) {
            save_bmp(name, bmp, nullptr);
            return;
        }
    }
}
