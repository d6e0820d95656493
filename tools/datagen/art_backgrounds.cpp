// Scenery pieces (stars, moon, clouds, key caps) and the 640x480 backgrounds, seamless where they scroll.
#include "art.h"
#include "palette.h"
#include <algorithm>
#include <cmath>

namespace {

const float two_pi = 6.2831853f;

shape box(float x0, float y0, float x1, float y1) { return rbox(x0, y0, x1, y1, 0); }

// Draws fn three times side by side (and/or above each other) so shapes cross the seam cleanly.
template <class F>
void wrapped(canvas &c, bool wrap_x, bool wrap_y, F fn)
{
    for (int j = wrap_y ? -1 : 0; j <= (wrap_y ? 1 : 0); j++)
        for (int i = wrap_x ? -1 : 0; i <= (wrap_x ? 1 : 0); i++) {
            c.set_transform(float(i * c.width()), float(j * c.height()), 1);
            fn();
        }
    c.reset_transform();
}

shape cloud_shape(float cx, float cy, float w)
{
    float u = w / 56;
    shape s = rbox(cx - 26 * u, cy - 2 * u, cx + 26 * u, cy + 9 * u, 5.5f * u);
    s = unite(s, circle(cx - 14 * u, cy - 1 * u, 9 * u));
    s = unite(s, circle(cx + 1 * u, cy - 6 * u, 12 * u));
    s = unite(s, circle(cx + 15 * u, cy - 1 * u, 8.5f * u));
    return s;
}

// A contour that repeats every 640 pixels: sum of sines of whole periods.
float rolling(float x, float base, const std::vector<std::pair<int, float>> &waves, float phase)
{
    float y = base;
    for (size_t i = 0; i < waves.size(); i++)
        y += waves[i].second * std::sin(two_pi * waves[i].first * x / 640.f + phase * (i + 1) * 1.7f);
    return y;
}

void sky(canvas &c, colour top, colour mid, colour bottom)
{
    float h = float(c.height());
    c.fill_all([=](float, float y) {
        float t = y / h;
        return t < 0.5f ? mix(top, mid, t * 2) : mix(mid, bottom, (t - 0.5f) * 2);
    });
}

void nebula(canvas &c, colour tint, float strength, uint32_t seed)
{
    canvas &cc = c;
    int w = c.width(), h = c.height();
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            float n = periodic_fbm(x / 80.f, y / 80.f, w / 80, h / 80, 4, seed);
            float v = std::max(0.f, n - 0.45f) * 2.2f;
            if (v > 0)
                cc.pixel(x, y, tint, std::min(1.f, v * strength));
        }
}

canvas placeholder_sky()
{
    canvas c(640, 480);
    sky(c, pal::night0, pal::night2, pal::night0);
    draw_star_field(c, 5, 260, 2.2f, true, true);
    return c;
}

canvas menu_backdrop()
{
    // Light twilight: black key names and labels stay readable anywhere it scrolls.
    canvas c(640, 480);
    sky(c, rgb(150, 136, 214), rgb(214, 204, 244), rgb(236, 214, 236));
    nebula(c, pal::white, 0.35f, 71);
    draw_star_field(c, 17, 60, 2.6f, true, false);
    dice d(88);
    for (int i = 0; i < 9; i++) {
        float cx = d.range(0, 640), cy = d.range(60, 460), w = d.range(90, 170);
        wrapped(c, true, false, [&] { c.fill(cloud_shape(cx, cy, w), vgrad(cy - w * 0.3f, pal::white, cy + w * 0.2f, pal::lilac), 0.55f); });
    }
    return c;
}

canvas cloud_sea()
{
    canvas c(640, 480);
    sky(c, pal::night0, pal::night2, pal::dusk);
    draw_star_field(c, 23, 220, 2.4f, true, false);
    // Moon glow high on the left.
    c.fill(circle(150, 110, 90), pal::lavender, 0.08f);
    c.fill(circle(150, 110, 55), pal::lavender, 0.12f);
    draw_moon(c, 150, 110, 34);
    const colour banks[4][2] = {{pal::night3, pal::night2},
                                {pal::dusk, pal::night3},
                                {pal::violet, pal::dusk},
                                {pal::lavender, pal::violet}};
    for (int layer = 0; layer < 4; layer++) {
        float base = 250 + layer * 55;
        std::vector<std::pair<int, float>> waves = {{2 + layer, 14.f}, {5 + layer, 7.f}, {11 + layer * 2, 3.f}};
        colour lit = banks[layer][0], deep = banks[layer][1];
        float phase = layer * 0.9f;
        shape bank{[=](float x, float y) {
                       // Puffy top: bumps every 40 pixels on the rolling line.
                       float top = rolling(x, base, waves, phase) - 10 * std::fabs(std::sin(two_pi * 16 * x / 640.f + layer));
                       return top - y;
                   },
                   -10, base - 40, 650, 480};
        c.fill(bank, vgrad(base - 30, lighten(lit, 0.25f), base + 80, deep));
    }
    return c;
}

canvas crystal_cavern()
{
    canvas c(640, 480);
    for (int y = 0; y < 480; y++)
        for (int x = 0; x < 640; x++) {
            float n = periodic_fbm(x / 80.f, y / 80.f, 8, 6, 5, 301);
            float m = periodic_fbm(x / 32.f, y / 24.f, 20, 20, 3, 302);
            colour rock = mix(pal::night0, pal::dusk, n * 0.75f);
            if (m > 0.62f)
                rock = mix(rock, pal::night3, (m - 0.62f) * 2.5f);
            c.pixel(x, y, rock);
        }
    dice d(303);
    // Crystal clusters on a jittered 5 x 3 grid, so they spread over the whole wall: each grows from
    // a lump of rock, most upwards from a ledge, some down from an overhang.
    for (int cluster = 0; cluster < 15; cluster++) {
        float cx = (cluster % 5 + d.range(0.2f, 0.8f)) * 128, cy = (cluster / 5 + d.range(0.3f, 0.8f)) * 160;
        float s = d.range(0.85f, 1.5f);
        bool hanging = d.unit() < 0.3f;
        float up = hanging ? 1.5708f : -1.5708f;
        bool violet = d.unit() < 0.4f;
        colour lit = violet ? pal::down_lit : pal::crystal_lit;
        colour base = violet ? pal::down : pal::crystal;
        colour shade = violet ? pal::down_shade : pal::crystal_shade;
        struct prism {
            float angle, length, width;
        };
        std::vector<prism> prisms;
        int count = 3 + d.below(3);
        for (int k = 0; k < count; k++)
            prisms.push_back({up + d.range(-0.65f, 0.65f), d.range(22, 46) * s, d.range(7, 12) * s});
        // Longest first, so the short ones stand in front.
        std::sort(prisms.begin(), prisms.end(), [](const prism &a, const prism &b) { return a.length > b.length; });
        std::vector<float> lump_dx;
        for (int k = 0; k < 4; k++)
            lump_dx.push_back(d.range(-22, 22) * s);
        wrapped(c, true, true, [&] {
            // A soft glow: many faint rings rather than one hard disc.
            float gy = cy + std::sin(up) * 22 * s;
            for (int g = 0; g < 8; g++)
                c.fill(circle(cx, gy, (52 - g * 5.5f) * s), g < 4 ? base : lit, 0.035f);
            for (const prism &p : prisms) {
                float ax = std::cos(p.angle), ay = std::sin(p.angle), nx = -ay * p.width / 2, ny = ax * p.width / 2;
                float body = p.length - p.width * 0.9f;
                float bx = cx - ax * 6 * s, by = cy - ay * 6 * s; // roots sit inside the rock
                float tx = bx + ax * p.length, ty = by + ay * p.length;
                float mx = bx + ax * body, my = by + ay * body;
                shape whole = polygon({bx + nx, by + ny, mx + nx, my + ny, tx, ty, mx - nx, my - ny, bx - nx, by - ny});
                c.fill(grow(whole, 1.4f), pal::ink, 0.9f);
                // Two faces: the one towards the top-left light is lit, the other in shade; a bright ridge between.
                bool left_lit = (nx + ny) < 0;
                shape face_a = polygon({bx + nx, by + ny, mx + nx, my + ny, tx, ty, mx, my, bx, by});
                shape face_b = polygon({bx - nx, by - ny, mx - nx, my - ny, tx, ty, mx, my, bx, by});
                c.fill(face_a, vgrad(std::min(by, ty), left_lit ? base : lit, std::max(by, ty), left_lit ? shade : base));
                c.fill(face_b, vgrad(std::min(by, ty), left_lit ? lit : base, std::max(by, ty), left_lit ? base : shade));
                c.fill(capsule(bx, by, mx, my, 0.6f), lighten(lit, 0.4f), 0.8f);
                c.fill(capsule(mx, my, tx, ty, 0.5f), pal::white, 0.7f);
            }
            // The rock they grow from.
            for (size_t k = 0; k < lump_dx.size(); k++) {
                float lx = cx + lump_dx[k], ly = cy + (k % 2) * 3 * s;
                c.fill(ellipse(lx, ly, 15 * s, 8 * s), pal::ink);
            }
            for (size_t k = 0; k < lump_dx.size(); k++) {
                float lx = cx + lump_dx[k], ly = cy + (k % 2) * 3 * s;
                c.fill(ellipse(lx, ly, 13.8f * s, 6.8f * s),
                       vgrad(ly - 7 * s, hanging ? pal::night1 : pal::night3, ly + 7 * s, hanging ? pal::night3 : pal::night1));
            }
        });
    }
    draw_star_field(c, 304, 70, 2.0f, true, true);
    return c;
}

canvas dream_forest()
{
    canvas c(640, 480);
    sky(c, pal::night1, pal::night3, pal::dusk);
    draw_star_field(c, 41, 170, 2.4f, true, false);
    c.fill(circle(460, 150, 120), pal::lilac, 0.07f);
    c.fill(circle(460, 150, 80), pal::lilac, 0.1f);
    draw_moon(c, 460, 150, 48);
    const colour rows[3] = {pal::night3, pal::night2, pal::night1};
    for (int row = 0; row < 3; row++) {
        dice d(42 + row);
        float ground = 330 + row * 50;
        int trees = 9 + row * 3;
        colour col = rows[row];
        c.fill(box(0, ground, 640, 480), col);
        for (int t = 0; t < trees; t++) {
            float x = (t + d.range(0, 0.6f)) * 640.f / trees, h = d.range(90, 160) - row * 10, r = d.range(26, 40);
            wrapped(c, true, false, [&] {
                c.fill(box(x - 4, ground - h * 0.5f, x + 4, ground + 2), col);
                c.fill(circle(x, ground - h, r), col);
                c.fill(circle(x - r * 0.6f, ground - h + r * 0.6f, r * 0.75f), col);
                c.fill(circle(x + r * 0.6f, ground - h + r * 0.5f, r * 0.8f), col);
                // Moonlight on the rims of the nearest trees.
                if (row == 0)
                    c.fill(subtract(circle(x, ground - h, r), circle(x - 4, ground - h + 4, r)), pal::violet, 0.7f);
            });
        }
    }
    dice f(45);
    for (int i = 0; i < 26; i++) {
        float x = f.range(0, 640), y = f.range(300, 470);
        wrapped(c, true, false, [&] {
            c.fill(circle(x, y, 5), pal::gold, 0.15f);
            c.fill(circle(x, y, 1.6f), rgb(255, 246, 190));
        });
    }
    return c;
}

canvas starfall()
{
    canvas c(640, 480);
    sky(c, pal::night0, pal::night1, pal::night0);
    nebula(c, pal::dusk, 0.9f, 51);
    nebula(c, pal::night3, 0.7f, 52);
    draw_star_field(c, 53, 320, 2.8f, true, true);
    dice d(54);
    for (int i = 0; i < 12; i++) {
        float x = d.range(0, 640), y = d.range(0, 480), len = d.range(40, 90);
        wrapped(c, true, true, [&] {
            for (int k = 0; k < 12; k++) {
                float t = k / 12.f;
                c.fill(capsule(x - len * t * 0.5f, y - len * t, x - len * (t + 0.08f) * 0.5f, y - len * (t + 0.08f), 1.4f * (1 - t)),
                       pal::spark_lit, 0.7f * (1 - t));
            }
            draw_sparkle(c, x, y, 4.5f, pal::white);
        });
    }
    return c;
}

canvas pillow_hills()
{
    canvas c(640, 480);
    sky(c, pal::night2, pal::violet, rgb(226, 160, 190));
    draw_star_field(c, 61, 120, 2.2f, true, false);
    dice d(62);
    for (int i = 0; i < 5; i++) {
        float cx = d.range(0, 640), cy = d.range(70, 200), w = d.range(80, 140);
        wrapped(c, true, false, [&] { c.fill(cloud_shape(cx, cy, w), vgrad(cy - 30, pal::lilac, cy + 20, pal::lavender), 0.5f); });
    }
    const colour hills[4][2] = {{pal::lavender, pal::violet},
                                {pal::violet, pal::dusk},
                                {pal::dusk, pal::night3},
                                {pal::night3, pal::night2}};
    for (int layer = 0; layer < 4; layer++) {
        float base = 280 + layer * 50;
        std::vector<std::pair<int, float>> waves = {{1 + layer, 26.f}, {3 + layer, 12.f}};
        colour lit = hills[layer][0], deep = hills[layer][1];
        float phase = layer * 1.3f;
        shape hill{[=](float x, float y) { return rolling(x, base, waves, phase) - y; }, -10, base - 60, 650, 480};
        c.fill(hill, vgrad(base - 40, lit, base + 90, deep));
        // Seams like pillow stitching along each hill's crest.
        for (int k = 0; k < 32; k++) {
            float x = k * 20 + layer * 7;
            c.fill(circle(x, rolling(x, base, waves, phase) + 7, 1.4f), lighten(lit, 0.4f), 0.6f);
        }
    }
    return c;
}

canvas spare_sky()
{
    canvas c(640, 480);
    sky(c, pal::night1, pal::night2, pal::night1);
    draw_star_field(c, 77, 200, 2.0f, true, true);
    return c;
}

const char *const bg_names[background_count] = {"BG_PLACEHOLDER", "BG_MENU", "BG_CLOUD_SEA", "BG_CRYSTAL_CAVERN",
                                                 "BG_DREAM_FOREST", "BG_STARFALL", "BG_PILLOW_HILLS", "BG_SPARE"};

} // namespace

void draw_star_field(canvas &c, uint32_t seed, int count, float max_r, bool wrap_x, bool wrap_y,
                     const std::function<bool(float, float)> &keep_out)
{
    dice d(seed);
    for (int i = 0; i < count; i++) {
        float x = d.range(0, float(c.width())), y = d.range(0, float(c.height()));
        float r = d.range(0.4f, 1.0f);
        r = r * r * max_r;
        float tw = d.unit();
        if (keep_out && keep_out(x, y))
            continue;
        wrapped(c, wrap_x, wrap_y, [&] {
            if (r > max_r * 0.6f)
                draw_sparkle(c, x, y, r * 2.2f, tw < 0.5f ? pal::white : pal::spark_lit, 0.9f);
            else
                c.fill(circle(x, y, std::max(0.6f, r)), tw < 0.3f ? pal::lilac : pal::white, 0.5f + 0.5f * tw);
        });
    }
}

void draw_moon(canvas &c, float cx, float cy, float r)
{
    c.fill(circle(cx, cy, r * 1.25f), rgb(255, 246, 210), 0.12f);
    shape crescent = subtract(circle(cx, cy, r), circle(cx + r * 0.45f, cy - r * 0.3f, r * 0.85f));
    c.fill(crescent, vgrad(cy - r, rgb(255, 250, 224), cy + r, pal::gold));
}

void draw_cloud(canvas &c, float cx, float cy, float w, colour lit, colour shade, float opacity)
{
    shape s = cloud_shape(cx, cy, w);
    c.fill(grow(s, 1), pal::ink, opacity);
    c.fill(s, vgrad(cy - w * 0.3f, lit, cy + w * 0.2f, shade), opacity);
}

void draw_key_cap(canvas &c, float x, float y, float w, float h, const std::string &label, bool arrow, int dir)
{
    // A chunky keyboard key: light top face over a darker skirt.
    c.fill(rbox(x - 1, y - 1, x + w + 1, y + h + 1, 7), pal::ink);
    c.fill(rbox(x, y, x + w, y + h, 6), vgrad(y, pal::lavender, y + h, pal::dusk));
    c.fill(rbox(x + 3, y + 2, x + w - 3, y + h - 7, 5), vgrad(y, pal::cloud, y + h, pal::lilac));
    float cx = x + w / 2, cy = y + (h - 5) / 2;
    if (arrow) {
        float s = std::min(w, h) * 0.22f;
        // dir: 0 up, 1 right, 2 down, 3 left
        float ax[3], ay[3];
        const float base[3][2] = {{0, -1.2f}, {1, 0.8f}, {-1, 0.8f}};
        for (int i = 0; i < 3; i++) {
            float bx = base[i][0] * s, by = base[i][1] * s;
            for (int k = 0; k < dir; k++) {
                float t = bx;
                bx = -by;
                by = t;
            }
            ax[i] = cx + bx;
            ay[i] = cy + by;
        }
        c.fill(polygon({ax[0], ay[0], ax[1], ay[1], ax[2], ay[2]}), pal::ink);
    } else if (!label.empty()) {
        text_style st{the_font_bold, int(std::max(9.f, h * 0.32f))};
        int tw = text_width(st, label);
        int th = line_height(st);
        draw_text(c, st, label, int(cx - tw / 2), int(cy - th / 2), solid(pal::ink), pal::white, 0);
    }
}

canvas background(int index)
{
    switch (index) {
    case 0: return placeholder_sky();
    case 1: return menu_backdrop();
    case 2: return cloud_sea();
    case 3: return crystal_cavern();
    case 4: return dream_forest();
    case 5: return starfall();
    case 6: return pillow_hills();
    default: return spare_sky();
    }
}

const char *background_name(int index) { return bg_names[index]; }
