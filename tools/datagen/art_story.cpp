// The story pictures: the dreamer asleep, Pim and his world, Pim lost in it, and the programmer who wakes.
#include "art.h"
#include "palette.h"
#include <algorithm>
#include <cmath>

namespace {

// Tod, the programmer: his skin, teal hoodie and brown curls.
const colour skin_lit = rgb(255, 226, 200), skin = rgb(242, 192, 160), skin_shade = rgb(206, 144, 122);
const colour hoodie_lit = rgb(100, 190, 200), hoodie = rgb(56, 140, 160), hoodie_shade = rgb(30, 86, 112);
const colour hair = rgb(120, 76, 56), hair_lit = rgb(166, 110, 80);

shape box(float x0, float y0, float x1, float y1) { return rbox(x0, y0, x1, y1, 0); }

// A soft glow: many faint discs instead of one hard one.
void glow(canvas &c, float cx, float cy, float r, colour col, float strength = 0.05f)
{
    for (int i = 0; i < 10; i++)
        c.fill(circle(cx, cy, r * (1 - i * 0.09f)), col, strength);
}

// Faint stars printed on the wall paper, in a loose grid.
void wallpaper(canvas &c, float y0, float y1, colour col, uint32_t seed)
{
    dice d(seed);
    for (float y = y0 + 18; y < y1 - 8; y += 44)
        for (float x = 16 + (int(y) / 44 % 2) * 30; x < 640; x += 60)
            draw_sparkle(c, x + d.range(-4, 4), y + d.range(-4, 4), 4, col, 0.35f);
}

// A row of plain tiles of one family: a ledge (ends and middles), or a lone block for one cell.
void ledge(canvas &c, float x, float y, int cells, int family_base)
{
    for (int i = 0; i < cells; i++) {
        int off = cells == 1 ? 3 : (i == 0 ? 7 : (i == cells - 1 ? 15 : 11));
        c.blit_from(plain_tile(family_base + off), int(x) + i * 32, int(y));
    }
}

// A small mass of tiles two cells high.
void mass(canvas &c, float x, float y, int cells, int family_base)
{
    for (int i = 0; i < cells; i++) {
        int top = i == 0 ? 0 : (i == cells - 1 ? 2 : 1);
        c.blit_from(plain_tile(family_base + top), int(x) + i * 32, int(y));
        c.blit_from(plain_tile(family_base + top + 8), int(x) + i * 32, int(y) + 32);
    }
}

// A golden thread of Dream Power between two points, bowing by `bow`, dotted with light.
void dream_thread(canvas &c, float x0, float y0, float x1, float y1, float bow)
{
    float mx = (x0 + x1) / 2, my = (y0 + y1) / 2 + bow;
    int steps = int(std::hypot(x1 - x0, y1 - y0) / 7) + 2;
    for (int i = 0; i <= steps; i++) {
        float t = i / float(steps), u = 1 - t;
        float x = u * u * x0 + 2 * u * t * mx + t * t * x1, y = u * u * y0 + 2 * u * t * my + t * t * y1;
        c.fill(circle(x, y, 3.2f), pal::gold, 0.12f);
        c.fill(circle(x, y, i % 3 == 0 ? 1.6f : 1.0f), i % 3 == 0 ? rgb(255, 246, 200) : pal::gold, 0.9f);
    }
}

void exit_door(canvas &c, float x, float y, float scale, int frame)
{
    draw_exit_door(c, frame, 8, x, y, scale);
}

void draw_curtain(canvas &c, float x0, float x1, float y0, float y1, bool left)
{
    // Gathered cloth: vertical folds, tied back towards the window's side.
    shape cloth{[=](float x, float y) {
                    float t = (y - y0) / (y1 - y0);
                    float pinch = 1 - 0.45f * std::exp(-std::pow((t - 0.62f) * 5, 2.f));
                    float w = (x1 - x0) * pinch;
                    float edge = left ? x0 + w : x1 - w;
                    float d = left ? x - edge : edge - x;
                    return std::max({d, y0 - y, y - y1, left ? x0 - x : x - x1});
                },
                x0, y0, x1, y1};
    c.fill(grow(cloth, 2), pal::ink);
    c.fill(cloth, [=](float x, float y) {
        float fold = 0.5f + 0.5f * std::sin((x - x0) * 0.45f + y * 0.01f);
        return mix(pal::dusk, pal::violet, 0.3f + 0.5f * fold);
    });
    float ty = y0 + (y1 - y0) * 0.62f;
    c.outlined(rbox(left ? x0 : x1 - (x1 - x0) * 0.6f, ty - 4, left ? x0 + (x1 - x0) * 0.6f : x1, ty + 4, 3), pal::gold, pal::ink, 1.5f);
}

void night_window(canvas &c, float x0, float y0, float x1, float y1, uint32_t seed, float moon_at)
{
    c.fill(rbox(x0 - 6, y0 - 6, x1 + 6, y1 + 6, 8), pal::ink);
    c.fill(rbox(x0 - 4, y0 - 4, x1 + 4, y1 + 4, 7), pal::wood_shade);
    c.fill(box(x0, y0, x1, y1), vgrad(y0, pal::night0, y1, pal::night3));
    float mx = x0 + (x1 - x0) * moon_at, my = y0 + (y1 - y0) * 0.32f;
    glow(c, mx, my, 46, pal::lilac, 0.03f);
    draw_moon(c, mx, my, 24);
    dice d(seed);
    for (int i = 0; i < 12; i++)
        draw_sparkle(c, d.range(x0 + 8, x1 - 8), d.range(y0 + 8, y1 - 8), d.range(1.8f, 4), pal::white, 0.9f);
    float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    c.fill(box(cx - 3, y0, cx + 3, y1), pal::wood_shade);
    c.fill(box(x0, cy - 3, x1, cy + 3), pal::wood_shade);
    c.fill(box(cx - 3, y0, cx - 1.5f, y1), pal::ink, 0.6f);
    c.outlined(rbox(x0 - 14, y1 + 4, x1 + 14, y1 + 16, 4), vgrad(y1 + 4, pal::wood_lit, y1 + 16, pal::wood), pal::ink, 2);
}

// Wooden floor boards in the room's shadow.
void floor_boards(canvas &c, float y0)
{
    c.fill(box(0, y0, 640, 480), [=](float x, float y) {
        float row = std::floor((y - y0) / 26);
        colour base = mix(mix(pal::wood, pal::night1, 0.55f), pal::night0, std::min(1.f, (y - y0) / 260) * 0.5f);
        float seam = std::fmod(x + row * 97, 160.f);
        if (std::fmod(y - y0, 26.f) < 2 || seam < 2)
            return mix(base, pal::ink, 0.5f);
        return base;
    });
    c.fill(box(0, y0 - 6, 640, y0), pal::wood_shade);
    c.fill(box(0, y0 - 7, 640, y0 - 6), pal::ink);
}

} // namespace

void story_dreamer_asleep(canvas &c)
{
    // The little dreamer asleep in bed; in the dream bubble above him a world of his own that
    // golden threads of Dream Power hold together.
    c.fill_all(vgrad(0, pal::night1, 300, pal::night2));
    wallpaper(c, 0, 262, pal::lavender, 91);
    floor_boards(c, 268);
    // A round rug under the bed.
    c.fill(ellipse(190, 330, 200, 34), pal::ink, 0.6f);
    c.fill(ellipse(190, 328, 194, 30), vgrad(300, pal::dusk, 360, pal::night3));
    c.fill(subtract(ellipse(190, 328, 178, 24), ellipse(190, 328, 174, 21)), pal::lavender, 0.5f);

    night_window(c, 40, 40, 170, 150, 9, 0.3f);
    draw_curtain(c, 14, 56, 24, 190, true);
    draw_curtain(c, 154, 196, 24, 190, false);

    // His toy blocks on the floor: what he dreams of.
    draw_block(c, block_kind::still, 446, 274, 1.1f);
    draw_block(c, block_kind::up, 484, 274, 1.1f);
    draw_block(c, block_kind::down, 466, 239, 1.1f);
    c.fill(ellipse(482, 311, 50, 5), pal::ink, 0.35f);

    // The bed: headboard, mattress and foot, Pim's head on the pillow under a starry blanket.
    c.outlined(rbox(24, 150, 74, 306, 14), vgrad(150, pal::wood_lit, 306, pal::wood_shade), pal::ink, 3);
    c.fill(rbox(34, 162, 64, 214, 9), pal::wood_shade, 0.5f);
    c.outlined(rbox(40, 246, 336, 292, 8), vgrad(246, pal::wood_lit, 292, pal::wood_shade), pal::ink, 3);
    c.outlined(rbox(310, 214, 346, 306, 10), vgrad(214, pal::wood_lit, 306, pal::wood_shade), pal::ink, 3);
    c.outlined(rbox(66, 196, 170, 242, 20), vgrad(196, pal::white, 242, pal::lilac), pal::ink, 3);
    pim_pose p = pim_ducking();
    p.eyes = pim_eyes::shut;
    p.mouth = pim_mouth::smile;
    draw_pim(c, p, 70, 146, 2.9f);
    shape blanket = rbox(128, 216, 318, 270, 18);
    c.outlined(blanket, vgrad(216, pal::cap_lit, 270, pal::cap_shade), pal::ink, 3);
    c.fill(intersect(blanket, box(120, 210, 330, 230)), pal::cloud, 0.9f); // the turned-down sheet
    c.fill(box(128, 229, 318, 231), pal::ink, 0.5f);
    for (int i = 0; i < 5; i++)
        draw_sparkle(c, 156.f + i * 36, 246.f + (i % 2) * 10, 5, pal::gold);

    // Little bubbles rise from his head into the big one.
    const float trail[4][3] = {{176, 164, 5}, {204, 140, 8}, {234, 114, 11}, {266, 88, 14}};
    for (const auto &b : trail) {
        c.fill(circle(b[0], b[1], b[2] + 2), pal::ink);
        c.fill(circle(b[0], b[1], b[2]), vgrad(b[1] - b[2], pal::white, b[1] + b[2], pal::lilac));
    }
    text_style zs{the_font_bold, 22};
    draw_text(c, zs, "z", 150, 118, solid(pal::white), pal::ink, 2);
    text_style zb{the_font_bold, 30};
    draw_text(c, zb, "Z", 166, 80, solid(pal::white), pal::ink, 2);

    // The dream bubble, with the dream world seen through it.
    shape bubble = ellipse(452, 124, 160, 92);
    for (int i = 0; i < 14; i++) {
        float a = i * 6.2831853f / 14;
        bubble = unite(bubble, circle(452 + std::cos(a) * 146, 124 + std::sin(a) * 80, 28));
    }
    c.fill(grow(bubble, 8), pal::ink);
    c.fill(grow(bubble, 6), vgrad(20, pal::white, 260, pal::lilac));
    canvas dream(640, 480);
    dream.fill_all(vgrad(20, pal::night1, 270, pal::dusk));
    dice d(92);
    for (int i = 0; i < 40; i++)
        draw_sparkle(dream, d.range(270, 630), d.range(20, 260), d.range(1.5f, 3.5f), i % 4 ? pal::white : pal::spark_lit, 0.9f);
    glow(dream, 540, 60, 50, pal::lilac, 0.04f);
    draw_moon(dream, 548, 64, 20);
    glow(dream, 450, 250, 150, pal::violet, 0.04f);
    // Islands of dream stone, wood and crystal, each hanging on a golden thread.
    mass(dream, 312, 150, 4, 0);
    ledge(dream, 478, 104, 3, 16);
    ledge(dream, 528, 168, 2, 32);
    draw_block(dream, block_kind::still, 376, 118, 1);
    draw_block(dream, block_kind::up, 408, 118, 1);
    draw_block(dream, block_kind::up, 408, 86, 1);
    draw_block(dream, block_kind::down, 450, 136, 1);
    exit_door(dream, 542, 72, 1, 0);
    draw_teleport_sparks(dream, 2, 8, 560, 136, 1);
    pim_pose tiny = pim_standing();
    draw_pim(dream, tiny, 336, 118, 1);
    // Dream Power: golden threads that hold the pieces of the world together.
    dream_thread(dream, 442, 134, 480, 120, 12);
    dream_thread(dream, 466, 168, 528, 184, 14);
    dream_thread(dream, 546, 136, 548, 168, 4);
    dream_thread(dream, 340, 214, 318, 240, 6);
    dream_thread(dream, 420, 214, 452, 238, 4);
    dream_thread(dream, 570, 200, 586, 222, 4);
    dream.erase_where([&](int x, int y) { return bubble.dist(x + 0.5f, y + 0.5f) > 0; });
    c.blit_from(dream, 0, 0);
    c.fill(subtract(grow(bubble, 1.5f), bubble), pal::ink);
}

void story_pim_and_his_world(canvas &c)
{
    // "This little creature is Pim. And this is Pim's world": Pim on his cloud, his Slumberia around him.
    c.fill_all(vgrad(0, pal::night1, 480, pal::dusk));
    draw_star_field(c, 10, 150, 3, false, false);
    glow(c, 320, 170, 170, pal::lilac, 0.03f);
    // Distant islands of his world, with the pieces of play on them.
    draw_cloud(c, 90, 292, 210, pal::lavender, pal::dusk, 0.7f);
    draw_cloud(c, 560, 300, 220, pal::lavender, pal::dusk, 0.7f);
    ledge(c, 18, 206, 4, 0);
    draw_block(c, block_kind::up, 50, 174, 1);
    draw_block(c, block_kind::still, 82, 174, 1);
    draw_block(c, block_kind::down, 114, 206, 1);
    ledge(c, 30, 110, 2, 16);
    draw_block(c, block_kind::blocked_all, 62, 78, 1);
    ledge(c, 512, 196, 3, 32);
    exit_door(c, 576, 164, 1, 2);
    draw_block(c, block_kind::crumble, 544, 164, 1);
    ledge(c, 520, 92, 2, 0);
    draw_teleport_sparks(c, 4, 8, 552, 60, 1);
    draw_block(c, block_kind::tunnel_h, 520, 60, 1);
    dream_thread(c, 146, 222, 220, 250, 10);
    dream_thread(c, 510, 212, 440, 250, 10);
    dream_thread(c, 94, 142, 84, 200, 0);
    dream_thread(c, 552, 124, 560, 190, 0);
    // Pim, big and friendly.
    draw_cloud(c, 320, 268, 420, pal::cloud, pal::lavender);
    pim_pose p = pim_standing();
    p.mouth = pim_mouth::grin;
    p.eyes = pim_eyes::happy;
    draw_pim(c, p, 232, 24, 7.5f);
    draw_sparkle(c, 186, 70, 14, pal::gold);
    draw_sparkle(c, 462, 52, 10, pal::white);
    draw_sparkle(c, 478, 150, 12, pal::spark_lit);
}

void story_pim_lost(canvas &c)
{
    // "Pim has trapped himself in his own Slumberia": Pim alone on an island, the red exit, his way
    // out, far off across the cloud sea.
    c.blit_from(background(2), 0, 0);
    // The way out glows warm.
    glow(c, 560, 96, 110, pal::orange, 0.035f);
    ledge(c, 40, 250, 5, 0);
    ledge(c, 250, 190, 3, 16);
    ledge(c, 400, 134, 2, 32);
    ledge(c, 508, 150, 3, 0);
    ledge(c, 590, 250, 2, 32);
    draw_block(c, block_kind::still, 200, 218, 1);
    draw_block(c, block_kind::blocked_all, 298, 158, 1);
    draw_block(c, block_kind::up, 432, 102, 1);
    draw_block(c, block_kind::crumble, 346, 190, 1);
    exit_door(c, 540, 86, 2, 3);
    draw_teleport_sparks(c, 3, 8, 598, 218, 1);
    pim_pose p = pim_looking_up();
    p.eyes = pim_eyes::up;
    draw_pim(c, p, 80, 186, 2);
    text_style st{the_font_bold, 28};
    draw_text(c, st, "?", 152, 150, solid(pal::white), pal::ink, 2.5f);
    text_style st2{the_font_bold, 18};
    draw_text(c, st2, "?", 174, 134, solid(pal::lilac), pal::ink, 2);
}

void draw_tod(canvas &c, tod_face face, float x, float y, float scale)
{
    c.set_transform(x, y, scale);
    // Outlines keep the picture's weight at full size and stay about two pixels wide when small.
    const float k = std::max(1.f, 2.2f / (3 * scale));
    c.outlined(rbox(196, 184, 364, 300, 44), vgrad(184, hoodie_lit, 300, hoodie_shade), pal::ink, 3 * k);
    c.fill(polygon({262, 186, 298, 186, 280, 214}), hoodie_shade); // collar
    c.fill(capsule(268, 204, 266, 236, 1.5f), pal::cloud, 0.9f);     // hood strings
    c.fill(capsule(292, 204, 294, 236, 1.5f), pal::cloud, 0.9f);
    c.outlined(rbox(264, 166, 296, 194, 6), skin_shade, pal::ink, 2.5f * k); // neck
    // Head, turned a little towards the screen.
    c.outlined(ellipse(282, 126, 50, 54), sphere_light(282, 126, 50, skin_lit, skin, skin_shade), pal::ink, 3 * k);
    c.outlined(ellipse(234, 132, 9, 14), skin, pal::ink, 2.5f * k);
    // Messy curls.
    shape curls = ellipse(282, 88, 52, 26);
    dice h(57);
    for (int i = 0; i < 11; i++) {
        float a = 3.3f + i * 0.3f;
        curls = unite(curls, circle(282 + std::cos(a) * 46, 104 + std::sin(a) * 36, h.range(14, 19)));
    }
    curls = unite(curls, circle(318, 64, 10));
    c.fill(grow(curls, 3 * k), pal::ink);
    c.fill(curls, vgrad(50, hair_lit, 120, hair));
    for (int i = 0; i < 6; i++)
        c.fill(ring(250.f + i * 14, 78.f + (i % 2) * 8, 6, 1.4f * k), hair_lit, 0.7f);
    if (face == tod_face::waking) {
        // One eye still shut, the other blinking open; a yawn; sleepy cheeks.
        c.fill(capsule(252, 132, 268, 134, 2.4f), pal::ink);
        c.fill(ellipse(304, 132, 7, 5), pal::white);
        c.fill(ellipse(305, 133, 3.5f, 4), pal::ink);
        c.fill(intersect(ellipse(304, 132, 8, 6), box(294, 124, 314, 131)), skin_shade); // heavy lid
        c.fill(capsule(296, 130, 313, 130, 1.4f), pal::ink);
        c.fill(capsule(296, 118, 312, 116, 2), hair);
        c.fill(ellipse(288, 160, 9, 11), pal::ink);
        c.fill(ellipse(288, 164, 5, 5), pal::cheek);
    } else {
        // Wide awake and talking: both eyes open under raised brows, mouth open on "Oh...".
        for (float ex : {260.f, 304.f}) {
            float lift = ex > 280 ? -1.5f : 0.f; // the far brow a little higher: "Oh...?"
            c.fill(ellipse(ex, 133, 8.5f, 8), pal::ink);
            c.fill(ellipse(ex, 133, 7, 6.5f), pal::white);
            c.fill(circle(ex + 1.5f, 134, 4.6f), pal::ink);
            c.fill(circle(ex + 3, 131.5f, 1.6f), pal::white);
            c.fill(capsule(ex - 8, 119 + lift, ex + 7, 116 + lift, 2.4f), darken(hair, 0.25f));
        }
        c.fill(ellipse(286, 160, 7, 8), pal::ink);
        c.fill(ellipse(286, 163, 4, 3.5f), pal::cheek);
    }
    c.fill(ellipse(252, 150, 9, 5), pal::cheek, 0.55f);
    c.fill(ellipse(318, 150, 8, 5), pal::cheek, 0.55f);
    c.reset_transform();
}

void story_programmer_wakes(canvas &c)
{
    // The ending: Tod lifts his head from his desk at dawn and rubs his eyes; his little game still
    // glows on the screen. The portraits of the dialogue stand at the lower left, so Tod sits to the
    // right of them.
    c.fill_all(vgrad(0, rgb(70, 70, 150), 260, rgb(120, 100, 170)));
    wallpaper(c, 0, 250, pal::lilac, 55);
    // Window at dawn.
    c.fill(rbox(28, 22, 202, 168, 8), pal::ink);
    c.fill(rbox(31, 25, 199, 165, 7), pal::wood_shade);
    canvas dawn(640, 480);
    dawn.fill(box(36, 30, 194, 160), vgrad(30, rgb(110, 130, 220), 160, rgb(255, 186, 150)));
    glow(dawn, 150, 150, 60, rgb(255, 220, 160), 0.06f);
    dawn.fill(circle(150, 156, 18), rgb(255, 236, 180));
    draw_cloud(dawn, 80, 120, 70, rgb(255, 220, 230), rgb(230, 160, 180), 0.9f);
    dawn.erase_where([](int x, int y) { return x < 36 || x >= 194 || y < 30 || y >= 160; });
    c.blit_from(dawn, 0, 0);
    c.fill(box(112, 30, 118, 160), pal::wood_shade);
    c.fill(box(36, 92, 194, 98), pal::wood_shade);
    c.fill(circle(64, 52, 6), rgb(255, 250, 230), 0.7f); // the moon going down
    c.fill(circle(67, 50, 5.5f), rgb(140, 150, 226));
    // Morning light falls across the wall.
    c.fill(polygon({36, 160, 194, 160, 330, 250, 120, 250}), rgb(255, 220, 190), 0.08f);

    // Tod behind the desk.
    draw_tod(c, tod_face::waking, 0, 0, 1);

    // Desk, keyboard, monitor and mug.
    c.outlined(box(-4, 248, 644, 282), vgrad(248, pal::wood_lit, 282, pal::wood_shade), pal::ink, 3);
    c.fill(box(0, 282, 640, 480), vgrad(282, rgb(60, 40, 60), 480, pal::night0));
    c.fill(box(0, 282, 640, 290), pal::ink, 0.5f);
    c.outlined(rbox(396, 46, 612, 206, 10), vgrad(46, pal::lilac, 206, pal::lavender), pal::ink, 3);
    c.fill(box(410, 60, 598, 192), vgrad(60, pal::night1, 192, pal::night3));
    canvas screen(640, 480);
    draw_star_field(screen, 58, 22, 2.2f, false, false);
    for (int i = 0; i < 6; i++)
        screen.blit_from(plain_tile(i == 0 ? 7 : (i == 5 ? 15 : 11)), 410 + i * 32, 160);
    pim_pose tiny = pim_standing();
    draw_pim(screen, tiny, 434, 128, 1);
    draw_block(screen, block_kind::up, 490, 128, 1);
    exit_door(screen, 562, 128, 1, 2);
    screen.erase_where([](int x, int y) { return x < 410 || x >= 598 || y < 60 || y >= 192; });
    c.blit_from(screen, 0, 0);
    c.fill(box(410, 60, 598, 76), pal::white, 0.06f);
    c.outlined(box(488, 206, 522, 236), pal::dusk, pal::ink, 3);
    c.outlined(rbox(446, 232, 566, 250, 4), pal::dusk, pal::ink, 3);
    c.outlined(rbox(348, 250, 480, 264, 4), pal::lilac, pal::ink, 2);
    for (int i = 0; i < 10; i++)
        c.fill(box(356.f + i * 12, 254, 364.f + i * 12, 259), pal::lavender);
    c.outlined(rbox(578, 210, 614, 256, 6), pal::red, pal::ink, 3);
    c.fill(ring(618, 232, 9, 5), pal::ink);
    c.fill(ring(618, 232, 9, 2.5f), pal::red);
    c.fill(box(583, 214, 609, 218), pal::white, 0.3f);
    for (int i = 0; i < 3; i++)
        c.fill(capsule(586.f + i * 10, 202, 590.f + i * 10, 184, 1.8f), pal::white, 0.4f);

    // Arms: one resting on the desk by the keyboard, the other raised to rub an eye.
    c.outlined(capsule(340, 236, 372, 258, 17), vgrad(220, hoodie_lit, 270, hoodie), pal::ink, 3);
    c.outlined(ellipse(382, 260, 15, 11), sphere_light(382, 260, 14, skin_lit, skin, skin_shade), pal::ink, 3);
    c.outlined(capsule(214, 262, 230, 186, 17), vgrad(180, hoodie_lit, 270, hoodie), pal::ink, 3);
    c.outlined(circle(246, 146, 17), sphere_light(246, 146, 17, skin_lit, skin, skin_shade), pal::ink, 3);
    c.fill(capsule(238, 140, 254, 138, 1.3f), skin_shade);
    c.fill(capsule(238, 148, 254, 147, 1.3f), skin_shade);

    // The dream fading out of his head in a few last sparkles.
    draw_sparkle(c, 352, 60, 7, pal::spark_lit, 0.8f);
    draw_sparkle(c, 372, 32, 5, pal::white, 0.6f);
    draw_sparkle(c, 340, 22, 3.5f, pal::gold, 0.5f);
}
