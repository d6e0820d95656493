// Plain tiles: three block families cut into edge and corner pieces, and trans-layer decorations.
#include "art.h"
#include "palette.h"
#include <cmath>

namespace {

shape box(float x0, float y0, float x1, float y1) { return rbox(x0, y0, x1, y1, 0); }

// Which sides of a piece face open air; the others continue into the next cell.
struct sides {
    bool top, bottom, left, right;
};

// Exposure of the 16 pieces of a family, by offset (see TILES.md).
const sides piece_sides[16] = {
    {1, 0, 1, 0}, {1, 0, 0, 0}, {1, 0, 0, 1}, {1, 1, 1, 1},
    {0, 0, 1, 0}, {0, 0, 0, 0}, {0, 0, 0, 1}, {1, 1, 1, 0},
    {0, 1, 1, 0}, {0, 1, 0, 0}, {0, 1, 0, 1}, {1, 1, 0, 0},
    {1, 0, 1, 1}, {0, 0, 1, 1}, {0, 1, 1, 1}, {1, 1, 0, 1},
};

const char *const piece_names[16] = {
    "TOP_LEFT", "TOP", "TOP_RIGHT", "SINGLE", "LEFT", "CENTRE", "RIGHT", "LEDGE_LEFT",
    "BOTTOM_LEFT", "BOTTOM", "BOTTOM_RIGHT", "LEDGE_MIDDLE", "PILLAR_TOP", "PILLAR_MIDDLE", "PILLAR_BOTTOM", "LEDGE_RIGHT",
};

float wrap32(float v) { return v - 32 * std::floor(v / 32); }

// Material textures repeat every 32 pixels, so neighbouring pieces meet without a seam.
colour stone_texture(float x, float y)
{
    float n = periodic_fbm(x / 8, y / 8, 4, 4, 3, 11);
    // Stones of 16 x 8 in staggered rows, each with a shade of its own.
    float row = std::floor(wrap32(y) / 8);
    float bx = wrap32(x + (int(row) % 2 ? 8 : 0));
    float by = wrap32(y) - row * 8;
    int id = int(row) * 2 + int(bx / 16);
    float own = ((id * 37 + 11) % 7) / 7.f;
    colour base = mix(lighten(pal::stone, 0.3f), pal::stone_shade, 0.05f + 0.3f * n + 0.3f * own);
    float in_x = std::fmod(bx, 16.f);
    if (by < 1.0f || in_x < 1.0f)
        return mix(pal::stone_shade, pal::ink, 0.25f);
    if (by < 2.0f || in_x < 2.0f)
        return lighten(base, 0.3f);
    if (by > 7.0f || in_x > 15.0f)
        return mix(base, pal::stone_shade, 0.5f);
    return base;
}

colour wood_texture(float x, float y)
{
    float yy = wrap32(y);
    float plank = std::floor(yy / 8);
    float inrow = yy - plank * 8;
    float grain = std::sin((x + plank * 13) * 0.35f + periodic_noise(x / 8, yy / 4, 4, 8, 5) * 4) * 0.5f + 0.5f;
    colour base = mix(pal::wood, pal::wood_lit, 0.25f + 0.3f * grain);
    if (inrow < 1.0f)
        return pal::wood_shade;
    if (inrow < 2.0f)
        return lighten(base, 0.15f);
    // Plank ends and a nail on each.
    float seam = wrap32(x + plank * 11);
    if (seam < 1.0f)
        return pal::wood_shade;
    if (std::hypot(seam - 4, inrow - 4.5f) < 1.0f)
        return pal::gold;
    return base;
}

// Crystal: large flat facets around five points that repeat every 32 pixels, so neighbouring pieces
// join up. Each facet leans its own way and catches more or less of the light from the top-left;
// a thin bright line runs along each facet edge and a diagonal glint crosses the face.
colour crystal_texture(float x, float y)
{
    struct facet_seed {
        float x, y, light;
    };
    static const facet_seed seeds[5] = {{6, 7, 0.9f}, {22, 4, 0.45f}, {13, 19, 0.62f}, {28, 21, 0.2f}, {4, 28, 0.35f}};
    float xx = wrap32(x), yy = wrap32(y);
    float d1 = 1e9f, d2 = 1e9f;
    int best = 0;
    for (int i = 0; i < 5; i++)
        for (int ox = -1; ox <= 1; ox++)
            for (int oy = -1; oy <= 1; oy++) {
                // Stretched along the diagonal: facets lean like shards.
                float dx = xx - (seeds[i].x + 32 * ox), dy = yy - (seeds[i].y + 32 * oy);
                float u = (dx + dy) * 0.7071f, v = (dx - dy) * 0.7071f;
                float d = std::sqrt(u * u * 0.55f + v * v);
                if (d < d1) {
                    d2 = d1;
                    d1 = d;
                    best = i;
                } else if (d < d2)
                    d2 = d;
            }
    float l = seeds[best].light;
    colour base = l > 0.5f ? mix(pal::crystal, pal::crystal_lit, (l - 0.5f) * 1.2f) : mix(pal::crystal_shade, pal::crystal, l * 2);
    // Inside each facet the light falls off towards the bottom-right.
    float across = ((xx - seeds[best].x) + (yy - seeds[best].y)) * 0.018f;
    base = across < 0 ? mix(base, pal::crystal_lit, std::min(0.25f, -across)) : mix(base, pal::crystal_shade, std::min(0.3f, across));
    float edge = d2 - d1;
    if (edge < 0.7f)
        return mix(base, pal::crystal_lit, 0.55f);
    return base;
}

using texture = colour (*)(float, float);

// One piece: material filling the cell, an ink outline and a bevel on the open sides.
void family_piece(canvas &c, int family, int offset)
{
    const sides s = piece_sides[offset];
    const float out = 7, r = 5;
    float x0 = s.left ? 1.3f : -out, x1 = s.right ? 30.7f : 32 + out;
    float y0 = s.top ? (family == 0 ? 4.3f : 1.3f) : -out, y1 = s.bottom ? 30.7f : 32 + out;
    shape body = rbox(x0, y0, x1, y1, r);
    texture tex = family == 0 ? stone_texture : (family == 1 ? wood_texture : crystal_texture);
    colour lit = family == 0 ? pal::stone_lit : (family == 1 ? pal::wood_lit : pal::crystal_lit);
    colour shade = family == 0 ? pal::stone_shade : (family == 1 ? pal::wood_shade : pal::crystal_shade);
    paint p = [=](float x, float y) {
        colour t = tex(x, y);
        // Bevel: light on open top and left sides, shade on open bottom and right sides.
        float dt = s.top ? y - y0 : 99, db = s.bottom ? y1 - y : 99;
        float dl = s.left ? x - x0 : 99, dr = s.right ? x1 - x : 99;
        if (db < 3 || dr < 3)
            t = mix(t, shade, 0.55f * (1 - std::min(db, dr) / 3));
        else if (dt < 3 || dl < 3)
            t = mix(t, lit, 0.6f * (1 - std::min(dt, dl) / 3));
        return t;
    };
    c.fill(grow(body, 1.3f), pal::ink);
    c.fill(body, p);
    if (!s.top)
        return;
    if (family == 0) {
        // Cloud fluff along the top: the same puffs in every cell, so pieces join up.
        const float puffs[5][3] = {{2, 6, 3.6f}, {8.5f, 4.6f, 4.4f}, {16, 5.8f, 3.4f}, {22.5f, 4.4f, 4.6f}, {29, 5.6f, 3.8f}};
        shape fluff = circle(-100, -100, 1);
        for (int k = -1; k <= 1; k++)
            for (const auto &p : puffs)
                fluff = unite(fluff, circle(p[0] + k * 32, p[1], p[2]));
        fluff = intersect(fluff, box(x0 + 0.3f, -4, x1 - 0.3f, 12));
        c.fill(grow(fluff, 1.2f), pal::ink);
        c.fill(fluff, vgrad(1, pal::white, 9.5f, pal::lavender));
        for (const auto &p : puffs)
            if (p[0] > x0 + 1 && p[0] < x1 - 1)
                c.fill(circle(p[0] - 1, p[1] - 1.4f, p[2] * 0.45f), pal::white, 0.8f);
    } else if (family == 1) {
        // Violet moss on top, with a few drips.
        shape moss = intersect(box(x0, y0 - 1, x1, y0 + 4.5f), rbox(x0, y0, x1, y1, r));
        c.fill(moss, vgrad(y0, pal::moss_lit, y0 + 4.5f, pal::moss));
        for (int i = 0; i < 4; i++) {
            float dx = i * 8 + 3 + (i % 2) * 2;
            if (dx < x0 + 2 || dx > x1 - 2)
                continue;
            c.fill(ellipse(dx, y0 + 4.5f, 1.6f, 2.2f + (i % 2)), pal::moss);
        }
    } else {
        // Bright rim where the light catches the crystal's top.
        c.fill(intersect(box(x0, y0, x1, y0 + 1.6f), rbox(x0, y0, x1, y1, r)), pal::crystal_lit);
        for (int i = 0; i < 2; i++) {
            float sx = 9 + i * 14;
            if (sx > x0 + 2 && sx < x1 - 2)
                draw_sparkle(c, sx, y0 + 4, 2.2f, pal::white, 0.9f);
        }
    }
}

void decoration(canvas &c, int which)
{
    dice d(700 + which);
    switch (which) {
    case 0: // small stars
        draw_sparkle(c, 9, 9, 5, pal::white);
        draw_sparkle(c, 23, 14, 3.5f, pal::lilac);
        draw_sparkle(c, 12, 24, 3, pal::spark_lit);
        draw_sparkle(c, 26, 27, 2.5f, pal::white);
        break;
    case 1: // one big twinkling star
        c.fill(circle(16, 16, 7), pal::spark_lit, 0.25f);
        draw_sparkle(c, 16, 16, 11, pal::gold);
        draw_sparkle(c, 16, 16, 6, pal::white);
        break;
    case 2: // crescent moon
        c.fill(circle(16, 16, 13), pal::gold, 0.15f);
        c.fill(grow(subtract(circle(15, 16, 10), circle(20, 12, 8.5f)), 1), pal::ink);
        c.fill(subtract(circle(15, 16, 10), circle(20, 12, 8.5f)), vgrad(6, rgb(255, 246, 200), 26, pal::gold));
        break;
    case 3: // cloud, left half: its right side continues in the next cell
    case 4: {
        float off = which == 3 ? 0 : -32;
        canvas t(64, 32);
        draw_cloud(t, 32, 18, 56, pal::cloud, pal::lavender);
        c.blit_from(t, int(off), 0);
        break;
    }
    case 5: // hanging lantern
        c.fill(box(15.3f, 0, 16.7f, 9), pal::ink);
        c.fill(circle(16, 19, 10), pal::gold, 0.18f);
        c.outlined(rbox(11, 9, 21, 12, 1), pal::wood, pal::ink, 1);
        c.outlined(rbox(10, 12, 22, 25, 4), vgrad(12, rgb(255, 240, 170), 25, pal::orange), pal::ink, 1);
        c.fill(box(15.4f, 12.5f, 16.6f, 24.5f), pal::wood_shade, 0.6f);
        c.outlined(rbox(12, 25, 20, 27.5f, 1), pal::wood, pal::ink, 1);
        break;
    case 6: // glowing dream mushroom
        c.fill(ellipse(16, 16, 13, 10), pal::spark, 0.18f);
        c.outlined(rbox(13.5f, 16, 18.5f, 31, 2), vgrad(16, pal::cloud, 31, pal::lilac), pal::ink, 1);
        c.outlined(intersect(ellipse(16, 17, 11, 9), box(0, 0, 32, 17)), vgrad(8, pal::spark_lit, 17, pal::spark), pal::ink, 1);
        c.fill(circle(11, 13, 1.6f), pal::white);
        c.fill(circle(18, 11, 1.3f), pal::white);
        c.fill(circle(22, 14.5f, 1.1f), pal::white);
        break;
    case 7: // grass tuft
        for (int i = 0; i < 7; i++) {
            float bx = 5 + i * 3.6f, h = 8 + (i % 3) * 4, lean = (i - 3) * 1.2f;
            c.outlined(polygon({bx - 1.6f, 32, bx + lean, 32 - h, bx + 1.6f, 32}), vgrad(32 - h, pal::moss_lit, 32, pal::moss), pal::ink, 0.8f);
        }
        break;
    case 8: // hanging vine
        for (int strand = 0; strand < 2; strand++) {
            float bx = 10 + strand * 12, len = strand ? 22 : 28;
            for (float y = 0; y < len; y += 1)
                c.fill(circle(bx + std::sin(y * 0.3f + strand) * 2, y, 1.1f), pal::ink);
            for (float y = 0; y < len; y += 1)
                c.fill(circle(bx + std::sin(y * 0.3f + strand) * 2, y, 0.55f), pal::moss);
            for (float y = 4; y < len; y += 6) {
                float lx = bx + std::sin(y * 0.3f + strand) * 2;
                float side = (int(y) / 6) % 2 ? 1 : -1;
                c.outlined(ellipse(lx + side * 2.6f, y + 1, 2.4f, 1.4f), pal::moss_lit, pal::ink, 0.8f);
            }
        }
        break;
    case 9: { // floating z z z
        text_style st{the_font_bold, 10};
        draw_text(c, st, "z", 4, 18, solid(pal::lilac), pal::ink, 1.2f);
        text_style mid{the_font_bold, 13};
        draw_text(c, mid, "z", 12, 9, solid(pal::cloud), pal::ink, 1.2f);
        text_style big{the_font_bold, 16};
        draw_text(c, big, "z", 20, -1, solid(pal::white), pal::ink, 1.2f);
        break;
    }
    default: { // back wall, dim stone: scenery behind the path
        c.fill_all([](float x, float y) { return mix(stone_texture(x, y), pal::night2, 0.62f); });
        break;
    }
    }
}

} // namespace

canvas plain_tile(int index)
{
    canvas c(32, 32);
    if (index < 48)
        family_piece(c, index / 16, index % 16);
    else if (index < 59)
        decoration(c, index - 48);
    else
        // The spare: a dim dream-wood back wall, never offered by the editor.
        c.fill_all([](float x, float y) { return mix(wood_texture(x, y), pal::night2, 0.6f); });
    return c;
}

const char *plain_tile_name(int index)
{
    static std::string name;
    static const char *const families[3] = {"STONE_", "WOOD_", "CRYSTAL_"};
    static const char *const decor[11] = {"STARS", "BIG_STAR", "MOON", "CLOUD_LEFT", "CLOUD_RIGHT", "LANTERN",
                                          "MUSHROOM", "GRASS", "VINE", "ZZZ", "BACK_WALL"};
    if (index < 48)
        name = std::string(families[index / 16]) + piece_names[index % 16];
    else if (index < 59)
        name = decor[index - 48];
    else
        name = "SPARE";
    return name.c_str();
}
