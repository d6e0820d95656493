// Pim: position, pose and movement, building, teleports, blinking, key bindings and level statistics.
#pragma once
#include <allegro.h>

class player {
public:
    int x = 0;
    int y = 0;
    int hold_ticks = 0;
    int hold_threshold = 6;
    int step = 0;
    int climbing = 0;
    int facing = 0;
    int ducking = 0;
    int up = 0;
    int walking = 0;
    int falling = 0;
    int walk_tick = 0;
    int walk_frame = 0;
    int walk_delay = 6;
    int teleport_tick = 0;
    int teleport_frame = 0;
    int teleport_delay = 7;
    int teleport_frames = 0;
    int teleport_out = 0;
    int teleport_in = 0;
    int teleport_anim = 0;
    int blink_tick = 0;
    int blink_duration = 10;
    int blink_interval = 300;
    int blinking = 0;
    int bbox_x1 = 0, bbox_x2 = 0, bbox_y1 = 0, bbox_y2 = 0;
    int speed = 2;
    BITMAP *sprites[19] = {};
    int teleporting = 0;
    int teleport_x = 0, teleport_y = 0;
    int alpha = 255;
    int alpha_step = 6;
    int teleport_out_started = 0;
    int win_pending = 0;
    int level_complete = 0;
    int break_pending = 0;
    int break_x = 0, break_y = 0;
    int key_up = KEY_UP;
    int key_right = KEY_RIGHT;
    int key_left = KEY_LEFT;
    int key_down = KEY_DOWN;
    int key_action = KEY_SPACE;
    int key_restart = KEY_R;
    int key_music = KEY_M;
    int key_save = KEY_S;
    int blocks_created = 0;
    int blocks_destroyed = 0;
    int time_ticks = 0;
    int time_seconds = 0;
    int time_minutes = 0;
    int time_hours = 0;
    int steps_taken = 0;
    int restarts = 0;
    int controls = -1;
    BITMAP *temp_bitmap = nullptr;

    void init_sprites();
    void flush();
    // The level statistics back to nothing: time, blocks, steps and restarts.
    void reset_statistics();
    void do_logic();
    void process_keys();
    void draw(BITMAP *target);
    int teleport_anim_in_progress();
    void init_in_teleport_anim();
    void init_out_teleport_anim();

    // The parts of one tick, in the order do_logic runs them.
    void process_teleport_anim();
    void process_out_teleport_anim();
    void process_in_teleport_anim();
    void update_bbox();
    void check_teleport();
    int on_teleport();
    void process_teleport();
    void check_fall();
    void check_break_block();
    void do_move();
    int check_blocked();
    void do_blink();
    void animate();
    void update_time_played();
    void check_die();
    void check_win();

private:
    void process_direction_key(int direction);
    void count_step(int direction);
    void process_action_key();
    void set_blink_sprites(int blink);
};

// Latch of the action key: -1 once a press has been used, 0 once the key was seen up.
extern int build_key_down;

extern player the_player;
