// Every picture of the data files, drawn by code from shared shapes and the shared palette.
#pragma once
#include "paint.h"
#include <functional>
#include <string>

// Fonts used for crisp text (data-file fonts and text inside pictures).
extern std::string the_font_regular;
extern std::string the_font_bold;
// The key configuration's key names (d_system entry 12) and the labels beside them: one size, one
// baseline, so that each name stands level with its label.
const int key_name_pixel_size = 18;

// ---- Pim ----
enum class pim_eyes { open, bright, shut, up, up_shut, wide, happy };
enum class pim_mouth { none, smile, open, o, grin };
struct pim_pose {
    float body_cx = 16, body_cy = 19.5f, body_rx = 11, body_ry = 10;
    float tilt = 0;                    // degrees, positive leans forward (to the right)
    float foot_back_x = 11, foot_back_y = 29.6f, foot_front_x = 21, foot_front_y = 29.6f;
    bool arms_up = false;              // falling
    float arm_x = 26.8f, arm_y = 27.4f; // front hand, low at his front, clear of the mouth
    float back_hand_dx = 0, back_hand_dy = 0; // back hand, moved from its rest behind him
    bool reach = false;                // climbing: the front arm reaches up and forward
    float cap_dx = 0, cap_dy = 0, cap_tip = 0; // cap offset and tip swing (-1 .. 1)
    pim_eyes eyes = pim_eyes::open;
    pim_mouth mouth = pim_mouth::smile;
};
// Draws Pim facing right with his 32x32 design box at pixel (x, y), magnified by scale.
void draw_pim(canvas &c, const pim_pose &p, float x, float y, float scale, bool face_left = false);
pim_pose pim_standing();
pim_pose pim_ducking();
pim_pose pim_falling();
pim_pose pim_climbing();
pim_pose pim_looking_up();
pim_pose pim_walking(int frame, int frames);
// The 22 player sprites in data-file order.
canvas player_sprite(int index);
const char *player_sprite_name(int index);
const int player_sprite_count = 22;

// ---- Blocks (32x32 design box, any scale) ----
enum class block_kind { up, still, down, blocked_all, blocked_down, blocked_still, blocked_up, crumble, tunnel_h, tunnel_v };
void draw_block(canvas &c, block_kind k, float x, float y, float scale);
// Teleport door frame f of n (the exit) and sparkle frame f of n (teleports).
void draw_exit_door(canvas &c, int frame, int frames, float x, float y, float scale);
void draw_teleport_sparks(canvas &c, int frame, int frames, float x, float y, float scale);
void draw_sparkle(canvas &c, float cx, float cy, float r, colour col, float opacity = 1);
// The 19 build-tile objects in data-file order.
canvas build_tile(int index);
const char *build_tile_name(int index);
const int build_tile_count = 19;

// ---- Plain tiles ----
canvas plain_tile(int index);
const char *plain_tile_name(int index);
const int plain_tile_count = 60;

// ---- Backgrounds ----
canvas background(int index);
const char *background_name(int index);
const int background_count = 8;

// ---- System pictures (non-font entries of the system file) ----
canvas system_picture(int index);
const char *system_picture_name(int index);
// Frame pieces drawn around any box (used by pictures that show a framed box).
void draw_frame_around(canvas &c, int x, int y, int w, int h);

// ---- Story pictures (full screen, 640x480) ----
void story_dreamer_asleep(canvas &c);     // introduction, first picture
void story_pim_and_his_world(canvas &c);  // introduction, second picture
void story_pim_lost(canvas &c);           // introduction, third picture
void story_programmer_wakes(canvas &c);   // the ending
// Tod, who dreamt it all: hoodie, head and curls in the ending picture's coordinates (head centre
// 282,126), moved by (x, y) and magnified by scale; the ending picture and his portrait share him.
enum class tod_face { waking, talking };
void draw_tod(canvas &c, tod_face face, float x, float y, float scale);

// ---- Portraits ----
canvas portrait(int index);
const char *portrait_name(int index);
const int portrait_count = 21;

// ---- Editor pictures ----
canvas editor_picture(int index);
const char *editor_picture_name(int index);
const int editor_picture_count = 28;

// ---- Shared scenery pieces ----
// Stars whose centre lands where keep_out(x, y) holds are left out (text drawn over the sky).
void draw_star_field(canvas &c, uint32_t seed, int count, float max_r, bool wrap_x, bool wrap_y,
                     const std::function<bool(float, float)> &keep_out = nullptr);
void draw_moon(canvas &c, float cx, float cy, float r);
void draw_cloud(canvas &c, float cx, float cy, float w, colour lit, colour shade, float opacity = 1);
void draw_key_cap(canvas &c, float x, float y, float w, float h, const std::string &label, bool arrow, int arrow_dir);
