// The star field: 1000 stars that drift right and are replaced at the left edge once they pass the right.
#include "stars.h"
#include "randomize.h"

std::vector<bg_stars> the_bg_stars;

bg_stars::bg_stars()
{
    // The random values are drawn in this order, so a seeded run gives the same field.
    x = -5;
    y = randomize(0, 480);
    speed = randomize(1, 3);
    size = randomize(1, 2);
    r = randomize(0, 255);
    g = randomize(0, 255);
    b = randomize(0, 255);
}

void bg_stars_do_logic()
{
    // Only the stars present when the tick began move; a replacement starts moving next tick.
    std::size_t to_move = the_bg_stars.size();
    std::size_t i = 0;
    while (to_move-- > 0) {
        bg_stars &star = the_bg_stars[i];
        star.x += star.speed;
        if (star.x > 645) {
            the_bg_stars.erase(the_bg_stars.begin() + i);
            the_bg_stars.push_back(bg_stars());
        } else {
            i++;
        }
    }
}

void bg_stars_do_drawing(BITMAP *bmp)
{
    const int depth = bitmap_color_depth(bmp);
    for (const bg_stars &star : the_bg_stars) {
        const int colour = makecol_depth(depth, star.r, star.g, star.b);
        for (int dy = 0; dy < star.size; dy++)
            for (int dx = 0; dx < star.size; dx++)
                putpixel(bmp, star.x + dx, star.y + dy, colour);
    }
}
