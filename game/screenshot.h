// The screenshot key's writer: the first free "shots/screenshotNNN.bmp".
#pragma once
#include <allegro.h>

// Saves bmp as a BMP under the first screenshot name not yet taken. Without a "shots" directory
// nothing is written and nothing is reported.
void screenshot(BITMAP *bmp);
