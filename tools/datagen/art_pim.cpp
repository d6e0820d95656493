// Pim, the round sleepy dreamer in his nightcap: one drawing, posed for every sprite and portrait.
#include "art.h"
#include "palette.h"
#include <algorithm>
#include <cmath>

namespace {

shape box(float x0, float y0, float x1, float y1) { return rbox(x0, y0, x1, y1, 0); }

// Lower half of a ring: a closed, content eye or a smile.
shape lower_arc(float cx, float cy, float r, float t)
{
    return intersect(ring(cx, cy, r, t), box(cx - r - t, cy + 0.1f, cx + r + t, cy + r + t));
}

shape upper_arc(float cx, float cy, float r, float t)
{
    return intersect(ring(cx, cy, r, t), box(cx - r - t, cy - r - t, cx + r + t, cy - 0.1f));
}

struct pim_painter {
    canvas &c;
    const pim_pose &p;
    float iw; // outline width in design units
    float px, py; // tilt pivot

    shape T(const shape &s) const { return p.tilt != 0 ? rotate(s, px, py, p.tilt) : s; }
    void part(const shape &s, const paint &fill) { c.outlined(T(s), fill, pal::ink, iw); }
    void plain(const shape &s, const paint &fill, float opacity = 1) { c.fill(T(s), fill, opacity); }

    void foot(float x, float y)
    {
        part(ellipse(x, y, 3.5f, 2.1f), vgrad(y - 2, pal::apricot, y + 2, pal::apricot_shade));
    }

    void hand(float x, float y)
    {
        part(ellipse(x, y, 2.0f, 1.6f), sphere_light(x, y, 2.2f, pal::apricot_lit, pal::apricot, pal::apricot_shade));
    }

    void eye(float ex, float ey)
    {
        switch (p.eyes) {
        case pim_eyes::open:
            // Half-lidded: sleepy even when awake.
            plain(ellipse(ex, ey, 1.5f, 1.9f), solid(pal::ink));
            plain(box(ex - 2.2f, ey - 2.6f, ex + 2.2f, ey - 0.5f), solid(pal::apricot));
            plain(capsule(ex - 1.7f, ey - 0.5f, ex + 1.7f, ey - 0.7f, 0.45f), solid(pal::ink));
            plain(circle(ex + 0.5f, ey + 0.2f, 0.45f), solid(pal::white));
            break;
        case pim_eyes::bright:
            // Wide awake and chatty: round eyes with a big catch-light.
            plain(ellipse(ex, ey, 1.5f, 2.0f), solid(pal::ink));
            plain(circle(ex + 0.45f, ey - 0.7f, 0.6f), solid(pal::white));
            break;
        case pim_eyes::up:
            plain(ellipse(ex, ey, 1.5f, 1.9f), solid(pal::ink));
            plain(circle(ex + 0.4f, ey - 0.9f, 0.5f), solid(pal::white));
            break;
        case pim_eyes::wide:
            plain(ellipse(ex, ey, 1.7f, 2.3f), solid(pal::ink));
            plain(circle(ex + 0.5f, ey - 0.8f, 0.6f), solid(pal::white));
            break;
        case pim_eyes::shut:
        case pim_eyes::up_shut:
            plain(lower_arc(ex, ey - 1.0f, 1.7f, 0.9f), solid(pal::ink));
            break;
        case pim_eyes::happy:
            plain(upper_arc(ex, ey + 0.8f, 1.7f, 0.9f), solid(pal::ink));
            break;
        }
    }

    void mouth(float mx, float my)
    {
        switch (p.mouth) {
        case pim_mouth::none:
            break;
        case pim_mouth::smile:
            plain(lower_arc(mx, my - 0.6f, 1.5f, 0.75f), solid(pal::ink));
            break;
        case pim_mouth::open:
            plain(ellipse(mx, my, 1.6f, 1.3f), solid(pal::ink));
            plain(ellipse(mx, my + 0.6f, 0.9f, 0.5f), solid(pal::cheek));
            break;
        case pim_mouth::o:
            plain(ellipse(mx, my, 1.1f, 1.3f), solid(pal::ink));
            break;
        case pim_mouth::grin:
            plain(intersect(ellipse(mx, my - 0.4f, 2.2f, 2.0f), box(mx - 3, my - 0.4f, mx + 3, my + 3)), solid(pal::ink));
            plain(ellipse(mx, my + 0.9f, 1.1f, 0.55f), solid(pal::cheek));
            break;
        }
    }

    void cap()
    {
        float hx = p.body_cx + p.cap_dx, hy = p.body_cy - p.body_ry + 0.3f + p.cap_dy;
        float sw = p.cap_tip; // tip swing: -1 hangs lower, +1 flies up
        float tipx = hx - 11.8f + sw * 1.5f, tipy = hy - 2.4f - sw * 5.0f;
        std::vector<float> cone = {hx + 7.8f, hy + 1.2f, hx + 5.2f, hy - 4.4f, hx, hy - 7.0f,
                                   hx - 5.5f, hy - 6.6f - sw * 1.5f, tipx, tipy,
                                   tipx + 2.6f, tipy + 1.4f, hx - 7.6f, hy - 1.6f, hx - 8.2f, hy + 1.2f};
        part(polygon(cone), vgrad(hy - 7, pal::cap_lit, hy + 1, pal::cap_shade));
        // Two little gold stars on the cap.
        plain(circle(hx + 1.5f, hy - 3.6f, 0.7f), solid(pal::gold));
        plain(circle(hx - 4.6f, hy - 3.0f - sw, 0.55f), solid(pal::gold));
        // Fluffy band and pompom.
        part(ellipse(hx, hy + 1.2f, 7.9f, 2.0f), vgrad(hy - 1, pal::white, hy + 3.5f, pal::pompom));
        part(circle(tipx, tipy, 2.4f), sphere_light(tipx, tipy, 2.4f, pal::white, pal::pompom, darken(pal::pompom, 0.2f)));
    }

    void draw()
    {
        float bx = p.body_cx, by = p.body_cy, rx = p.body_rx, ry = p.body_ry;
        // Back limbs, then the body over them, then the face, cap and front limbs.
        if (p.arms_up)
            hand(bx - rx + 0.5f, by - ry + 1.5f);
        else
            hand(bx - rx + 0.8f + p.back_hand_dx, by + ry * 0.45f + p.back_hand_dy); // back hand, peeking out behind
        foot(p.foot_back_x, p.foot_back_y);
        foot(p.foot_front_x, p.foot_front_y);
        part(ellipse(bx, by, rx, ry), sphere_light(bx, by, rx, pal::apricot_lit, pal::apricot, pal::apricot_shade));
        // A soft belly light.
        plain(ellipse(bx + 1.5f, by + ry * 0.45f, rx * 0.55f, ry * 0.35f), solid(pal::apricot_lit), 0.45f);
        float lift = (p.eyes == pim_eyes::up || p.eyes == pim_eyes::up_shut) ? 2.5f : 0.f;
        float ey = by - ry * 0.15f - lift;
        eye(bx + 3.2f, ey);
        eye(bx + 8.4f, ey);
        plain(ellipse(bx + 2.2f, by + ry * 0.3f - lift * 0.5f, 1.8f, 1.1f), solid(pal::cheek), 0.7f);
        plain(ellipse(bx + 9.4f, by + ry * 0.3f - lift * 0.5f, 1.3f, 1.0f), solid(pal::cheek), 0.7f);
        mouth(bx + 6.2f, by + ry * 0.36f - lift * 0.6f);
        cap();
        if (p.arms_up)
            hand(bx + rx - 0.5f, by - ry + 1.5f);
        else if (p.reach)
            hand(bx + rx - 0.5f, by - ry * 0.6f);
        else
            hand(p.arm_x, p.arm_y);
    }
};

} // namespace

void draw_pim(canvas &c, const pim_pose &p, float x, float y, float scale, bool face_left)
{
    c.set_transform(face_left ? x + 32 * scale : x, y, scale, face_left);
    pim_painter painter{c, p, scale <= 1.5f ? 1.0f : 2.2f / scale, p.body_cx, p.body_cy + p.body_ry};
    painter.draw();
    c.reset_transform();
}

pim_pose pim_standing() { return pim_pose{}; }

pim_pose pim_ducking()
{
    pim_pose p;
    p.body_cy = 23.2f;
    p.body_rx = 12.6f;
    p.body_ry = 6.9f;
    p.foot_back_x = 9.5f;
    p.foot_front_x = 22.5f;
    p.foot_back_y = p.foot_front_y = 29.8f;
    p.arm_x = 28.5f;
    p.arm_y = 27.8f;
    p.cap_dy = 0.8f;
    p.cap_tip = -0.6f;
    return p;
}

pim_pose pim_falling()
{
    pim_pose p;
    p.body_cy = 17.5f;
    p.body_ry = 10.2f;
    p.arms_up = true;
    p.foot_back_x = 10.5f;
    p.foot_back_y = 28.0f;
    p.foot_front_x = 21.5f;
    p.foot_front_y = 28.8f;
    p.cap_dy = -0.2f;
    p.cap_tip = 0.75f; // flies up, but stays inside the sprite
    p.eyes = pim_eyes::wide;
    p.mouth = pim_mouth::o;
    return p;
}

pim_pose pim_climbing()
{
    pim_pose p;
    p.body_cx = 16.5f;
    p.body_cy = 18.5f;
    p.tilt = 12;
    p.foot_back_x = 10.0f;
    p.foot_back_y = 29.6f;
    p.foot_front_x = 23.5f;
    p.foot_front_y = 26.0f;
    p.reach = true;
    p.cap_tip = -0.3f;
    p.mouth = pim_mouth::open;
    return p;
}

pim_pose pim_looking_up()
{
    pim_pose p;
    p.eyes = pim_eyes::up;
    p.mouth = pim_mouth::o;
    p.cap_dx = -0.6f;
    p.cap_dy = -1.2f;
    p.cap_tip = -0.8f;
    p.tilt = -6;
    return p;
}

pim_pose pim_walking(int frame, int frames)
{
    // One stride per foot in a cycle: the feet swap front and back, the lifted foot swings forward,
    // the body rides highest while the feet pass each other and sinks a little as a foot lands.
    const float two_pi = 6.2831853f;
    float t = two_pi * frame / frames;
    float s = std::sin(t);
    float pass = std::cos(2 * t); // 1 while the feet pass, -1 at the widest stride
    pim_pose p;
    // The feet reach out past the round body, where they show; the lifted one peaks as it swings out.
    p.foot_front_x = 16.5f + 8.2f * s;
    p.foot_back_x = 15.5f - 8.2f * s;
    p.foot_front_y = 29.6f - std::max(0.f, std::cos(t - 0.7f)) * 3.2f;
    p.foot_back_y = 29.6f - std::max(0.f, -std::cos(t - 0.7f)) * 3.2f;
    p.body_cy = 18.9f - 0.9f * pass;
    p.body_rx = 11 + 0.35f * (1 - pass) * 0.5f;
    p.body_ry = 10 - 0.3f * (1 - pass) * 0.5f;
    p.tilt = 6 + 1.5f * pass;
    // Arms swing against the feet. Pim's mouth sits just above his front hand, so that hand swings
    // back only a little, and low, and never covers the mouth; most of its swing is forward.
    float back = std::max(0.f, s), forth = std::max(0.f, -s);
    p.arm_x = 27.0f + 2.2f * forth - 1.0f * back;
    p.arm_y = 27.2f - 0.8f * std::fabs(s) - 0.5f * pass + 0.5f * back;
    p.back_hand_dx = 2.2f * s;
    p.back_hand_dy = -0.6f * std::fabs(s);
    // The cap's tip trails the bounce.
    p.cap_tip = 0.45f * std::cos(2 * t + 1.2f);
    return p;
}

namespace {

// A teleport fade frame: Pim dissolving from the feet up into blue sparkles.
canvas fade_frame(int k)
{
    canvas c(32, 32);
    pim_pose p = pim_standing();
    p.eyes = pim_eyes::shut;
    p.mouth = pim_mouth::smile;
    draw_pim(c, p, 0, 0, 1);
    float gone = 0.1f + 0.135f * k; // share of Pim already turned to sparkles
    c.erase_where([&](int x, int y) {
        uint32_t h = uint32_t(x) * 73856093u ^ uint32_t(y) * 19349663u ^ 0x5bd1e995u;
        h = (h ^ (h >> 13)) * 0x27d4eb2du;
        float noise = ((h >> 8) & 0xffff) / 65535.f;
        float v = 0.6f * noise + 0.4f * (1.f - y / 32.f);
        return v < gone;
    });
    // What is left glows blue.
    canvas tint(32, 32);
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++)
            if (c.alpha_at(x, y) >= 0.5f)
                tint.pixel(x, y, mix(c.colour_at(x, y), pal::spark_lit, 0.12f + 0.09f * k));
    dice d(977);
    for (int j = 0; j < 14; j++) {
        float bx = d.range(5, 27), by = d.range(12, 30), r = d.range(1.4f, 2.4f);
        int born = j / 2;
        if (k < born)
            continue;
        float yy = by - (k - born) * 2.6f;
        if (yy < 1.5f)
            continue;
        draw_sparkle(tint, bx, yy, r, j % 3 == 0 ? pal::white : (j % 3 == 1 ? pal::spark_lit : pal::spark));
    }
    return tint;
}

struct sprite_entry {
    const char *name;
    int kind; // 0 pose, 1 fade, 2 walk
    int arg;
};

const sprite_entry sprite_table[player_sprite_count] = {
    {"PIM_STAND_BLINK", 0, 0},  {"PIM_DUCK", 0, 1},       {"PIM_DUCK_BLINK", 0, 2},  {"PIM_FALL", 0, 3},
    {"PIM_CLIMB", 0, 4},        {"PIM_STAND", 0, 5},      {"PIM_FADE_0", 1, 0},      {"PIM_FADE_1", 1, 1},
    {"PIM_FADE_2", 1, 2},       {"PIM_FADE_3", 1, 3},     {"PIM_FADE_4", 1, 4},      {"PIM_FADE_5", 1, 5},
    {"PIM_FADE_6", 1, 6},       {"PIM_LOOK_UP", 0, 13},   {"PIM_LOOK_UP_BLINK", 0, 14}, {"PIM_WALK_0", 2, 0},
    {"PIM_WALK_1", 2, 1},       {"PIM_WALK_2", 2, 2},     {"PIM_WALK_3", 2, 3},      {"PIM_WALK_4", 2, 4},
    {"PIM_WALK_5", 2, 5},       {"PIM_WALK_6", 2, 6},
};

pim_pose pose_for(int index)
{
    pim_pose p;
    switch (index) {
    case 0: p = pim_standing(); p.eyes = pim_eyes::shut; break;
    case 1: p = pim_ducking(); break;
    case 2: p = pim_ducking(); p.eyes = pim_eyes::shut; break;
    case 3: p = pim_falling(); break;
    case 4: p = pim_climbing(); break;
    case 13: p = pim_looking_up(); break;
    case 14: p = pim_looking_up(); p.eyes = pim_eyes::up_shut; break;
    default: p = pim_standing(); break;
    }
    return p;
}

} // namespace

canvas player_sprite(int index)
{
    const sprite_entry &e = sprite_table[index];
    if (e.kind == 1)
        return fade_frame(e.arg);
    canvas c(32, 32);
    pim_pose p = e.kind == 2 ? pim_walking(e.arg, 7) : pose_for(e.arg);
    draw_pim(c, p, 0, 0, 1);
    return c;
}

const char *player_sprite_name(int index) { return sprite_table[index].name; }
