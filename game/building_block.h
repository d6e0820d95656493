// Short block animations where a block is created, destroyed or crumbles, and their frame counts and paces.
#pragma once
#include <allegro.h>
#include <vector>

// One running animation: a strip of 32x32 frames played once at a cell.
class build_block_anim {
public:
    BITMAP *strip = nullptr; // an image of d_build_tiles, not owned
    int x = 0, y = 0;        // the cell where it plays
    int tick = 0;
    int delay = 0;
    int frame_count = 0;
    int frame = 0;

    void initialize(BITMAP *strip, int delay, int frames, int x, int y);
    // One tick of the record at `position` in the_build_block_anim; a finished record removes itself.
    void animate(int position);
    void do_draw(BITMAP *target);
};

// Running animations, in order of creation.
extern std::vector<build_block_anim> the_build_block_anim;

// Frame counts of the animation strips, set at start-up from the strips' widths.
extern int up_create_frames;
extern int up_destroy_frames;
extern int still_create_frames;
extern int still_destroy_frames;
extern int crouch_create_frames;
extern int crouch_destroy_frames;
extern int break_frames;

// Ticks each frame of an animation shows.
const int up_create_frame_delay = 2;
const int up_destroy_frame_delay = 5;
const int still_create_frame_delay = 2;
const int still_destroy_frame_delay = 5;
const int crouch_create_frame_delay = 2;
const int crouch_destroy_frame_delay = 5;
const int break_frame_delay = 5;

// Sets each frame count to its strip's width / 32; needs the data files loaded.
void initialize_building_blocks();
