// Special blocks, their build/break animations, the red exit door and the teleport sparkles.
#include "art.h"
#include "palette.h"
#include <cmath>

namespace {

shape box(float x0, float y0, float x1, float y1) { return rbox(x0, y0, x1, y1, 0); }

struct tone {
    colour lit, base, shade;
};

const tone up_tone{pal::up_lit, pal::up, pal::up_shade};
const tone still_tone{pal::still_lit, pal::still, pal::still_shade};
const tone down_tone{pal::down_lit, pal::down, pal::down_shade};
const tone red_tone{pal::red_lit, pal::red, pal::red_shade};

// A square block filling the cell: ink rim, bevel lit at the top-left and shaded at the bottom-right.
void bevel_block(canvas &c, const tone &t)
{
    c.fill(box(0, 0, 32, 32), pal::ink);
    c.fill(rbox(1, 1, 31, 31, 3), t.shade);
    c.fill(rbox(1, 1, 29.5f, 29.5f, 3), t.lit);
    c.fill(rbox(3, 3, 29, 29, 2.5f), vgrad(3, mix(t.lit, t.base, 0.55f), 29, mix(t.base, t.shade, 0.35f)));
    // A soft shine in the top-left corner.
    c.fill(ellipse(9, 7.5f, 4.5f, 2.2f), t.lit, 0.55f);
}

void stroke(canvas &c, std::vector<float> pts, float r, colour col, float ink_w)
{
    for (size_t i = 0; i + 3 < pts.size(); i += 2)
        c.fill(capsule(pts[i], pts[i + 1], pts[i + 2], pts[i + 3], r + ink_w), pal::ink);
    for (size_t i = 0; i + 3 < pts.size(); i += 2)
        c.fill(capsule(pts[i], pts[i + 1], pts[i + 2], pts[i + 3], r), col);
}

// Block symbols, centred on (cx, cy), size 1 fills about 16 units.
void symbol_up(canvas &c, float cx, float cy, float s, colour col)
{
    for (int i = 0; i < 2; i++) {
        float y = cy - 1.5f * s + i * 6.5f * s;
        stroke(c, {cx - 6.5f * s, y + 4 * s, cx, y - 2.5f * s, cx + 6.5f * s, y + 4 * s}, 1.6f * s, col, 0.9f);
    }
}

void symbol_down(canvas &c, float cx, float cy, float s, colour col)
{
    for (int i = 0; i < 2; i++) {
        float y = cy + 1.5f * s - i * 6.5f * s;
        stroke(c, {cx - 6.5f * s, y - 4 * s, cx, y + 2.5f * s, cx + 6.5f * s, y - 4 * s}, 1.6f * s, col, 0.9f);
    }
}

void symbol_still(canvas &c, float cx, float cy, float s, colour col)
{
    // A level bar with a little Dream Power star above it: standing still, building ahead.
    stroke(c, {cx - 7.5f * s, cy + 6 * s, cx + 7.5f * s, cy + 6 * s}, 1.8f * s, col, 0.9f);
    float r = 6.2f * s, q = 2.0f * s, sy = cy - 2.2f * s;
    shape star = polygon({cx, sy - r, cx + q, sy - q, cx + r, sy, cx + q, sy + q, cx, sy + r,
                          cx - q, sy + q, cx - r, sy, cx - q, sy - q});
    c.outlined(star, col, pal::ink, 0.9f);
}

void restriction(canvas &c, void (*symbol)(canvas &, float, float, float, colour))
{
    bevel_block(c, red_tone);
    if (!symbol) {
        // Against all building: the plain "no" sign.
        c.fill(ring(16, 16, 9.6f, 5.0f), pal::ink);
        c.fill(ring(16, 16, 9.6f, 3.2f), pal::white);
        c.fill(capsule(9.6f, 22.4f, 22.4f, 9.6f, 2.5f), pal::ink);
        c.fill(capsule(9.6f, 22.4f, 22.4f, 9.6f, 1.6f), pal::white);
        return;
    }
    // Against one kind: that block's own symbol, struck through with a thin dark line.
    symbol(c, 16, 16, 1.0f, pal::white);
    c.fill(capsule(4.5f, 27.5f, 27.5f, 4.5f, 1.45f), pal::ink);
}

void crumbling(canvas &c)
{
    // Tired sandstone, a bite out of its top-right corner and a crack from top to bottom.
    shape body = subtract(rbox(0, 0, 32, 32, 2), circle(31, 1, 4.5f));
    c.fill(body, pal::ink);
    shape inner = subtract(rbox(1, 1, 31, 31, 2.5f), circle(31, 1, 5.5f));
    c.fill(inner, vgrad(1, pal::sand_lit, 31, pal::sand_shade));
    c.fill(intersect(inner, rbox(3, 3, 29, 29, 2)), vgrad(3, mix(pal::sand_lit, pal::sand, 0.5f), 29, pal::sand), 0.9f);
    // Mortar speckles.
    dice d(4242);
    for (int i = 0; i < 14; i++)
        c.fill(circle(d.range(4, 28), d.range(4, 28), d.range(0.5f, 0.9f)), pal::sand_shade, 0.7f);
    std::vector<float> crack = {14, 1, 17, 7, 13, 12, 18, 18, 15, 24, 17, 31};
    for (size_t i = 0; i + 3 < crack.size(); i += 2)
        c.fill(capsule(crack[i], crack[i + 1], crack[i + 2], crack[i + 3], 1.05f), pal::ink);
    c.fill(capsule(13, 12, 7, 15, 0.7f), pal::ink);
    c.fill(capsule(18, 18, 25, 21, 0.7f), pal::ink);
    // Lit lip along the crack's left side.
    c.fill(capsule(12.6f, 12.8f, 16.6f, 18.6f, 0.35f), pal::sand_lit, 0.8f);
}

void tunnel(canvas &c, bool horizontal)
{
    // Drawn as the horizontal tunnel; the vertical one swaps x and y in every shape.
    auto B = [&](float x0, float y0, float x1, float y1) {
        return horizontal ? box(x0, y0, x1, y1) : box(y0, x0, y1, x1);
    };
    auto P = [&](std::vector<float> v) {
        if (!horizontal)
            for (size_t i = 0; i + 1 < v.size(); i += 2)
                std::swap(v[i], v[i + 1]);
        return polygon(v);
    };
    auto G = [&](float a, colour ca, float b, colour cb) {
        return horizontal ? vgrad(a, ca, b, cb) : hgrad(a, ca, b, cb);
    };
    c.fill(B(0, 0, 32, 32), pal::night1);
    c.fill(B(0, 8.5f, 32, 23.5f), G(8.5f, pal::night0, 23.5f, pal::night2));
    for (int side = 0; side < 2; side++) {
        float y0 = side ? 23 : 0, y1 = side ? 32 : 9;
        c.fill(B(0, y0, 32, y1), pal::ink);
        c.fill(B(0, y0 + (side ? 1 : 0), 32, y1 - (side ? 0 : 1)), G(y0, pal::stone_lit, y1, pal::stone_shade));
        for (int k = 0; k < 4; k++)
            c.fill(B(k * 8 + 7.2f, y0 + 1, k * 8 + 8, y1 - 1), pal::stone_shade);
    }
    // Arrows both ways along the passage.
    const colour a = pal::spark_lit;
    c.fill(P({2.5f, 16, 8.5f, 11.5f, 8.5f, 20.5f}), a);
    c.fill(P({29.5f, 16, 23.5f, 11.5f, 23.5f, 20.5f}), a);
    c.fill(B(8, 15, 24, 17), a, 0.55f);
}

} // namespace

void draw_sparkle(canvas &c, float cx, float cy, float r, colour col, float opacity)
{
    float q = r * 0.28f;
    shape star = polygon({cx, cy - r, cx + q, cy - q, cx + r, cy, cx + q, cy + q, cx, cy + r, cx - q, cy + q, cx - r, cy, cx - q, cy - q});
    c.fill(star, col, opacity);
    c.fill(circle(cx, cy, r * 0.3f), pal::white, opacity);
}

void draw_block(canvas &c, block_kind k, float x, float y, float scale)
{
    c.set_transform(x, y, scale);
    switch (k) {
    case block_kind::up: bevel_block(c, up_tone); symbol_up(c, 16, 16, 1, pal::white); break;
    case block_kind::still: bevel_block(c, still_tone); symbol_still(c, 16, 15.5f, 1, pal::white); break;
    case block_kind::down: bevel_block(c, down_tone); symbol_down(c, 16, 16, 1, pal::white); break;
    case block_kind::blocked_all: restriction(c, nullptr); break;
    case block_kind::blocked_down: restriction(c, symbol_down); break;
    case block_kind::blocked_still: restriction(c, symbol_still); break;
    case block_kind::blocked_up: restriction(c, symbol_up); break;
    case block_kind::crumble: crumbling(c); break;
    case block_kind::tunnel_h: tunnel(c, true); break;
    case block_kind::tunnel_v: tunnel(c, false); break;
    }
    c.reset_transform();
}

void draw_exit_door(canvas &c, int frame, int frames, float x, float y, float scale)
{
    c.set_transform(x, y, scale);
    float turn = 6.2831853f * frame / frames;
    shape arch = unite(box(6, 13, 26, 32), circle(16, 13, 10));
    shape opening = unite(box(9.5f, 13, 22.5f, 32), circle(16, 13, 6.5f));
    // Rising embers around the door: drawn in the see-through area, so the layered frames trail.
    dice d(31);
    for (int i = 0; i < 6; i++) {
        float ex = i % 2 ? d.range(27, 31) : d.range(1, 5);
        float ey = std::fmod(d.range(0, 32) + 32 - frame * 32.f / frames, 32.f);
        draw_sparkle(c, ex, ey, 1.6f, i % 3 ? pal::orange : pal::gold);
    }
    c.fill(grow(arch, 1), pal::ink);
    c.fill(arch, vgrad(3, pal::red_lit, 32, pal::red_shade));
    c.fill(intersect(arch, box(0, 0, 13, 32)), pal::red_lit, 0.25f);
    // Portal inside: a warm swirl that turns frame by frame.
    c.fill(grow(opening, 0.8f), pal::ink);
    c.fill(opening, vgrad(6, pal::orange, 32, pal::red_shade));
    for (int arm = 0; arm < 3; arm++) {
        for (int s = 0; s < 9; s++) {
            float a = turn + arm * 2.0944f + s * 0.45f;
            float r = 1.2f + s * 0.85f;
            float px = 16 + std::cos(a) * r, py = 19 + std::sin(a) * r * 1.25f;
            c.fill(intersect(circle(px, py, 1.3f - s * 0.06f), opening), s < 4 ? pal::gold : pal::orange, 0.9f);
        }
    }
    c.fill(intersect(circle(16, 19, 2.2f), opening), pal::apricot_lit);
    // Keystone and threshold.
    c.outlined(rbox(14, 1.5f, 18, 5.5f, 1), pal::gold, pal::ink, 0.8f);
    c.fill(box(5, 30.5f, 27, 32), pal::ink);
    c.reset_transform();
}

void draw_teleport_sparks(canvas &c, int frame, int frames, float x, float y, float scale)
{
    c.set_transform(x, y, scale);
    // A glowing pad at the bottom and sparkles that rise and wrap around: the loop is seamless.
    c.fill(ellipse(16, 29.5f, 12, 2.6f), pal::ink);
    c.fill(ellipse(16, 29.2f, 11, 1.9f), hgrad(5, pal::spark, 27, pal::spark_lit));
    dice d(1717);
    for (int i = 0; i < 12; i++) {
        float bx = d.range(6, 26), by = d.range(0, 32), r = d.range(1.9f, 3.2f);
        float yy = std::fmod(by - frame * 32.f / frames + 64, 32.f);
        if (yy > 27.5f)
            continue; // sinks into the pad
        float wob = std::sin(6.2831853f * (frame / float(frames)) + i) * 1.2f;
        colour col = i % 3 == 0 ? pal::white : (i % 3 == 1 ? pal::spark_lit : pal::spark);
        draw_sparkle(c, bx + wob, yy + 2, r, col);
    }
    c.reset_transform();
}

namespace {

// One broken piece of a picture: the part of src inside the polygon `piece`, turned by `angle`
// degrees about its own centre, shrunk by `scale` and moved by (dx, dy), drawn crisp into dst.
// The cut gets the ink outline every solid edge has.
void draw_piece(canvas &dst, const canvas &src, const std::vector<float> &piece, float dx, float dy, float angle,
                float scale)
{
    float cx = 0, cy = 0;
    size_t n = piece.size() / 2;
    for (size_t i = 0; i < n; i++) {
        cx += piece[2 * i];
        cy += piece[2 * i + 1];
    }
    cx /= n;
    cy /= n;
    shape region = polygon(piece);
    float a = angle * 3.14159265f / 180.f, ca = std::cos(a), sa = std::sin(a);
    for (int y = 0; y < dst.height(); y++)
        for (int x = 0; x < dst.width(); x++) {
            // Back from the destination pixel's centre to the source picture.
            float ux = (x + 0.5f - cx - dx) / scale, uy = (y + 0.5f - cy - dy) / scale;
            float sx = cx + ca * ux + sa * uy, sy = cy - sa * ux + ca * uy;
            int ix = int(std::floor(sx)), iy = int(std::floor(sy));
            if (ix < 0 || iy < 0 || ix >= src.width() || iy >= src.height() || src.alpha_at(ix, iy) < 0.5f)
                continue;
            float d = region.dist(sx, sy);
            if (d > 0)
                continue;
            dst.pixel(x, y, d > -1.0f / scale ? pal::ink : src.colour_at(ix, iy));
        }
}

struct broken_piece {
    std::vector<float> outline;
    float dir_x, dir_y; // which way it flies
    float spin;         // degrees per unit of time
};

// A Dream Power block bursts along a jagged cross into four pieces.
const broken_piece block_pieces[] = {
    {{0, 0, 17, 0, 15, 8, 16, 16, 8, 15, 0, 17}, -1, -1, -40},
    {{17, 0, 32, 0, 32, 15, 24, 17, 16, 16, 15, 8}, 1, -1, 45},
    {{32, 15, 32, 32, 15, 32, 17, 24, 16, 16, 24, 17}, 1, 1, -35},
    {{0, 17, 8, 15, 16, 16, 17, 24, 15, 32, 0, 32}, -1, 1, 38},
};

// The crumbling block breaks along its own crack into four chunks.
const broken_piece crumble_pieces[] = {
    {{0, 0, 14, 0, 14, 1, 17, 7, 13, 12, 7, 15, 0, 16}, -0.6f, 0, -30},
    {{0, 16, 7, 15, 13, 12, 18, 18, 15, 24, 17, 32, 0, 32}, -0.4f, 0, -14},
    {{14, 0, 32, 0, 32, 22, 25, 21, 18, 18, 13, 12, 17, 7, 14, 1}, 0.6f, 0, 26},
    {{32, 22, 32, 32, 17, 32, 15, 24, 18, 18, 25, 21}, 0.4f, 0, 12},
};

// Build and break frames of a Dream Power block: it grows out of a swirl of sparkles, or cracks,
// bursts into four pieces that fly apart and shrink, and leaves sparkles behind.
canvas block_strip(block_kind k, bool create, int frames)
{
    canvas strip(32 * frames, 32);
    canvas whole(32, 32);
    draw_block(whole, k, 0, 0, 1);
    for (int f = 0; f < frames; f++) {
        canvas cell(32, 32);
        float t = (f + 1) / float(frames);
        if (create) {
            float s = 0.25f + 0.75f * t;
            draw_block(cell, k, 16 - 16 * s, 16 - 16 * s, s);
            for (int i = 0; i < 6; i++) {
                float a = i * 1.047f + t * 2.5f, r = 15 - 7 * t;
                if (f < frames - 1)
                    draw_sparkle(cell, 16 + std::cos(a) * r, 16 + std::sin(a) * r, 2.2f, i % 2 ? pal::white : pal::spark_lit);
            }
        } else if (f == 0) {
            // The block cracks along the lines it is about to burst on.
            cell.blit_from(whole, 0, 0);
            for (const broken_piece &p : block_pieces)
                for (size_t i = 2; i + 3 < p.outline.size(); i += 2)
                    if (p.outline[i] > 0.5f && p.outline[i] < 31.5f && p.outline[i + 1] > 0.5f && p.outline[i + 1] < 31.5f &&
                        p.outline[i + 2] > 0.5f && p.outline[i + 2] < 31.5f && p.outline[i + 3] > 0.5f && p.outline[i + 3] < 31.5f)
                        cell.fill(capsule(p.outline[i], p.outline[i + 1], p.outline[i + 2], p.outline[i + 3], 0.6f), pal::ink);
        } else {
            float u = (f - 1) / float(frames - 2); // 0 .. 1 over the flight
            // The pieces shrink about their own middles as they part, so they stay in the cell.
            float scale = 0.92f - 0.62f * u, spread = 1.5f + 3.5f * u;
            if (f < frames - 1)
                for (const broken_piece &p : block_pieces)
                    draw_piece(cell, whole, p.outline, p.dir_x * spread, p.dir_y * spread + 3 * u * u, p.spin * u, scale);
            // Dream Power sparkles spread out from the middle and fade to small points.
            for (int i = 0; i < 6; i++) {
                float a = i * 1.047f + 0.5f, r = 4 + 12 * u;
                draw_sparkle(cell, 16 + std::cos(a) * r, 16 + std::sin(a) * r, 2.6f - 1.6f * u,
                             i % 2 ? pal::white : pal::spark_lit);
            }
        }
        strip.blit_from(cell, f * 32, 0);
    }
    return strip;
}

// The crumbling block shakes, splits along its crack and its chunks drop out of the cell in a puff of dust.
canvas crumble_strip(int frames)
{
    canvas strip(32 * frames, 32);
    canvas whole(32, 32);
    draw_block(whole, block_kind::crumble, 0, 0, 1);
    for (int f = 0; f < frames; f++) {
        canvas cell(32, 32);
        float u = f / float(frames - 1); // 0 .. 1
        if (f == 0) {
            cell.blit_from(whole, 0, 0);
            // The crack opens: its branches run on to the edges.
            cell.fill(capsule(7, 15, 0.5f, 16, 0.7f), pal::ink);
            cell.fill(capsule(25, 21, 31.5f, 22, 0.7f), pal::ink);
        } else {
            for (int i = 0; i < 4; i++) {
                const broken_piece &p = crumble_pieces[i];
                // The lower chunks go first; gravity pulls harder every frame.
                float late = (i == 0 || i == 2) ? 0.15f : 0.f;
                float v = std::max(0.f, u - late);
                draw_piece(cell, whole, p.outline, p.dir_x * 5 * v, 36 * v * v + 1, p.spin * v, 1.0f - 0.2f * v);
            }
        }
        // Dust puffs and grit: they appear where the chunks part and drift out and down.
        dice d(90);
        for (int i = 0; i < 6; i++) {
            float bx = d.range(5, 27), by = d.range(8, 26), r = d.range(0.9f, 1.6f);
            if (f == 0 && i > 1)
                continue;
            float x = bx + (bx - 16) * 0.3f * u, y = by + 8 * u;
            float rr = r * (f == frames - 1 ? 0.7f : 1.f);
            if (y - rr > 31)
                continue;
            cell.fill(circle(x, y, rr), i % 2 ? pal::sand_lit : pal::sand);
        }
        strip.blit_from(cell, f * 32, 0);
    }
    return strip;
}

canvas exit_strip(int frames)
{
    canvas strip(32 * frames, 32);
    for (int f = 0; f < frames; f++) {
        canvas cell(32, 32);
        draw_exit_door(cell, f, frames, 0, 0, 1);
        strip.blit_from(cell, f * 32, 0);
    }
    return strip;
}

canvas teleport_strip(int frames)
{
    canvas strip(32 * frames, 32);
    for (int f = 0; f < frames; f++) {
        canvas cell(32, 32);
        draw_teleport_sparks(cell, f, frames, 0, 0, 1);
        strip.blit_from(cell, f * 32, 0);
    }
    return strip;
}

canvas single(block_kind k)
{
    canvas c(32, 32);
    draw_block(c, k, 0, 0, 1);
    return c;
}

const char *const build_names[build_tile_count] = {
    "CRUMBLE",        "CRUMBLE_BREAK",  "DOWN_BLOCK",     "DOWN_CREATE",      "DOWN_DESTROY",
    "BLOCKED_ALL",    "STILL_BLOCK",    "STILL_CREATE",   "STILL_DESTROY",    "UP_BLOCK",
    "UP_CREATE",      "UP_DESTROY",     "EXIT_DOOR",      "BLOCKED_DOWN",     "BLOCKED_STILL",
    "BLOCKED_UP",     "TELEPORT",       "TUNNEL_H",       "TUNNEL_V",
};

} // namespace

canvas build_tile(int index)
{
    const int create_frames = 6, destroy_frames = 6;
    switch (index) {
    case 0: return single(block_kind::crumble);
    case 1: return crumble_strip(6);
    case 2: return single(block_kind::down);
    case 3: return block_strip(block_kind::down, true, create_frames);
    case 4: return block_strip(block_kind::down, false, destroy_frames);
    case 5: return single(block_kind::blocked_all);
    case 6: return single(block_kind::still);
    case 7: return block_strip(block_kind::still, true, create_frames);
    case 8: return block_strip(block_kind::still, false, destroy_frames);
    case 9: return single(block_kind::up);
    case 10: return block_strip(block_kind::up, true, create_frames);
    case 11: return block_strip(block_kind::up, false, destroy_frames);
    case 12: return exit_strip(8);
    case 13: return single(block_kind::blocked_down);
    case 14: return single(block_kind::blocked_still);
    case 15: return single(block_kind::blocked_up);
    case 16: return teleport_strip(8);
    case 17: return single(block_kind::tunnel_h);
    default: return single(block_kind::tunnel_v);
    }
}

const char *build_tile_name(int index) { return build_names[index]; }
