// Block creation, destruction and crumbling animations: their list, their ticks and their drawing.
#include "building_block.h"
#include "datafiles.h"

std::vector<build_block_anim> the_build_block_anim;

int up_create_frames = 0;
int up_destroy_frames = 0;
int still_create_frames = 0;
int still_destroy_frames = 0;
int crouch_create_frames = 0;
int crouch_destroy_frames = 0;
int break_frames = 0;

namespace {

struct strip_count {
    int *frames;
    int entry; // in d_build_tiles
};

const strip_count strip_counts[] = {
    {&up_create_frames, 10},     {&up_destroy_frames, 11},    {&still_create_frames, 7},
    {&still_destroy_frames, 8},  {&crouch_create_frames, 3},  {&crouch_destroy_frames, 4},
    {&break_frames, 1},
};

} // namespace

void initialize_building_blocks()
{
    for (const strip_count &s : strip_counts)
        *s.frames = static_cast<BITMAP *>(d_build_tiles[s.entry].dat)->w / 32;
}

void build_block_anim::initialize(BITMAP *strip_, int delay_, int frames, int x_, int y_)
{
    strip = strip_;
    delay = delay_;
    frame_count = frames;
    x = x_;
    y = y_;
}

void build_block_anim::animate(int position)
{
    tick++;
    if (tick >= delay) {
        frame++;
        tick = 0;
    }
    // Erasing destroys this record, so it is the very last thing done here.
    if (frame >= frame_count)
        the_build_block_anim.erase(the_build_block_anim.begin() + position);
}

void build_block_anim::do_draw(BITMAP *target)
{
    if (strip)
        masked_blit(strip, target, frame * 32, 0, x * 32, y * 32, 32, 32);
}
