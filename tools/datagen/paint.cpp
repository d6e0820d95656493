// The painter: distance-function shapes, paints, compositing, FreeType text and seamless noise.
#include "paint.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <ft2build.h>
#include FT_FREETYPE_H

colour mix(colour a, colour b, float t)
{
    return colour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
colour lighten(colour c, float t) { return mix(c, rgb(255, 255, 255), t); }
colour darken(colour c, float t) { return mix(c, rgb(0, 0, 0), t); }

static float clampf(float v, float a, float b) { return v < a ? a : (v > b ? b : v); }

shape circle(float cx, float cy, float r)
{
    return shape{[=](float x, float y) { return std::hypot(x - cx, y - cy) - r; }, cx - r, cy - r, cx + r, cy + r};
}

shape ellipse(float cx, float cy, float rx, float ry)
{
    // A close approximation of the true distance, good enough for edges a pixel wide.
    return shape{[=](float x, float y) {
                     float px = (x - cx), py = (y - cy);
                     float k0 = std::hypot(px / rx, py / ry);
                     float k1 = std::hypot(px / (rx * rx), py / (ry * ry));
                     if (k1 < 1e-6f)
                         return -std::min(rx, ry);
                     return k0 * (k0 - 1.f) / k1;
                 },
                 cx - rx, cy - ry, cx + rx, cy + ry};
}

shape rbox(float x0, float y0, float x1, float y1, float radius)
{
    float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    float hx = (x1 - x0) / 2, hy = (y1 - y0) / 2;
    radius = std::min(radius, std::min(hx, hy));
    return shape{[=](float x, float y) {
                     float qx = std::fabs(x - cx) - hx + radius;
                     float qy = std::fabs(y - cy) - hy + radius;
                     float outside = std::hypot(std::max(qx, 0.f), std::max(qy, 0.f));
                     return outside + std::min(std::max(qx, qy), 0.f) - radius;
                 },
                 x0, y0, x1, y1};
}

shape capsule(float ax, float ay, float bx, float by, float r)
{
    return shape{[=](float x, float y) {
                     float pax = x - ax, pay = y - ay, bax = bx - ax, bay = by - ay;
                     float len2 = bax * bax + bay * bay;
                     float h = len2 > 0 ? clampf((pax * bax + pay * bay) / len2, 0, 1) : 0;
                     return std::hypot(pax - bax * h, pay - bay * h) - r;
                 },
                 std::min(ax, bx) - r, std::min(ay, by) - r, std::max(ax, bx) + r, std::max(ay, by) + r};
}

shape polygon(std::vector<float> v)
{
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (size_t i = 0; i + 1 < v.size(); i += 2) {
        x0 = std::min(x0, v[i]);
        x1 = std::max(x1, v[i]);
        y0 = std::min(y0, v[i + 1]);
        y1 = std::max(y1, v[i + 1]);
    }
    return shape{[v](float x, float y) {
                     size_t n = v.size() / 2;
                     float d = 1e9f;
                     float s = 1.f;
                     for (size_t i = 0, j = n - 1; i < n; j = i, i++) {
                         float vix = v[2 * i], viy = v[2 * i + 1], vjx = v[2 * j], vjy = v[2 * j + 1];
                         float ex = vjx - vix, ey = vjy - viy;
                         float wx = x - vix, wy = y - viy;
                         float len2 = ex * ex + ey * ey;
                         float h = len2 > 0 ? clampf((wx * ex + wy * ey) / len2, 0, 1) : 0;
                         float bx = wx - ex * h, by = wy - ey * h;
                         d = std::min(d, bx * bx + by * by);
                         bool c1 = y >= viy, c2 = y < vjy, c3 = ex * wy > ey * wx;
                         if ((c1 && c2 && c3) || (!c1 && !c2 && !c3))
                             s = -s;
                     }
                     return s * std::sqrt(d);
                 },
                 x0, y0, x1, y1};
}

shape ring(float cx, float cy, float r, float t)
{
    return shape{[=](float x, float y) { return std::fabs(std::hypot(x - cx, y - cy) - r) - t / 2; },
                 cx - r - t, cy - r - t, cx + r + t, cy + r + t};
}

shape unite(const shape &a, const shape &b)
{
    auto da = a.dist, db = b.dist;
    return shape{[da, db](float x, float y) { return std::min(da(x, y), db(x, y)); }, std::min(a.x0, b.x0),
                 std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

shape intersect(const shape &a, const shape &b)
{
    auto da = a.dist, db = b.dist;
    return shape{[da, db](float x, float y) { return std::max(da(x, y), db(x, y)); }, std::max(a.x0, b.x0),
                 std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

shape subtract(const shape &a, const shape &b)
{
    auto da = a.dist, db = b.dist;
    return shape{[da, db](float x, float y) { return std::max(da(x, y), -db(x, y)); }, a.x0, a.y0, a.x1, a.y1};
}

shape grow(const shape &a, float by)
{
    auto da = a.dist;
    return shape{[da, by](float x, float y) { return da(x, y) - by; }, a.x0 - by, a.y0 - by, a.x1 + by, a.y1 + by};
}

shape rotate(const shape &a, float cx, float cy, float degrees)
{
    float rad = degrees * 3.14159265f / 180.f;
    float c = std::cos(rad), s = std::sin(rad);
    auto da = a.dist;
    // The box of the rotated box's corners.
    float xs[4] = {a.x0, a.x1, a.x0, a.x1}, ys[4] = {a.y0, a.y0, a.y1, a.y1};
    float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
    for (int i = 0; i < 4; i++) {
        float dx = xs[i] - cx, dy = ys[i] - cy;
        float rx = cx + dx * c - dy * s, ry = cy + dx * s + dy * c;
        x0 = std::min(x0, rx);
        x1 = std::max(x1, rx);
        y0 = std::min(y0, ry);
        y1 = std::max(y1, ry);
    }
    return shape{[=](float x, float y) {
                     float dx = x - cx, dy = y - cy;
                     return da(cx + dx * c + dy * s, cy - dx * s + dy * c);
                 },
                 x0, y0, x1, y1};
}

paint solid(colour c)
{
    return [c](float, float) { return c; };
}

paint vgrad(float y0, colour top, float y1, colour bottom)
{
    return [=](float, float y) { return mix(top, bottom, clampf((y - y0) / (y1 - y0), 0, 1)); };
}

paint hgrad(float x0, colour left, float x1, colour right)
{
    return [=](float x, float) { return mix(left, right, clampf((x - x0) / (x1 - x0), 0, 1)); };
}

paint sphere_light(float cx, float cy, float r, colour lit, colour base, colour shade)
{
    return [=](float x, float y) {
        // Distance from the highlight spot, measured in radii.
        float d = std::hypot(x - (cx - r * 0.4f), y - (cy - r * 0.45f)) / (r * 1.5f);
        d = clampf(d, 0, 1);
        if (d < 0.45f)
            return mix(lit, base, d / 0.45f);
        return mix(base, shade, (d - 0.45f) / 0.55f);
    };
}

mask dilate(const mask &m, float radius)
{
    int pad = int(std::ceil(radius)) + 1;
    mask out;
    out.w = m.w;
    out.h = m.h;
    out.cov.assign(m.cov.size(), 0.f);
    for (int y = 0; y < m.h; y++)
        for (int x = 0; x < m.w; x++) {
            float best = 0;
            for (int dy = -pad; dy <= pad; dy++)
                for (int dx = -pad; dx <= pad; dx++) {
                    float v = m.at(x + dx, y + dy);
                    if (v <= 0)
                        continue;
                    float fall = clampf(radius + 0.5f - std::hypot(float(dx), float(dy)), 0, 1);
                    best = std::max(best, v * fall);
                }
            out.cov[y * m.w + x] = best;
        }
    return out;
}

canvas::canvas(int w_, int h_) : w(w_), h(h_), px(size_t(w_) * h_ * 4, 0.f) {}

void canvas::set_transform(float ox_, float oy_, float scale, bool flip_x)
{
    ox = ox_;
    oy = oy_;
    sc = scale;
    flip = flip_x;
}

void canvas::composite(int x, int y, colour c, float a)
{
    if (x < 0 || y < 0 || x >= w || y >= h || a <= 0)
        return;
    a = std::min(a, 1.f);
    float *p = &px[(size_t(y) * w + x) * 4];
    p[0] = c.r * a + p[0] * (1 - a);
    p[1] = c.g * a + p[1] * (1 - a);
    p[2] = c.b * a + p[2] * (1 - a);
    p[3] = a + p[3] * (1 - a);
}

void canvas::fill(const shape &s, const paint &p, float opacity)
{
    float bx0 = flip ? ox - s.x1 * sc : ox + s.x0 * sc;
    float bx1 = flip ? ox - s.x0 * sc : ox + s.x1 * sc;
    int px0 = std::max(0, int(std::floor(bx0)) - 1), px1 = std::min(w - 1, int(std::ceil(bx1)) + 1);
    int py0 = std::max(0, int(std::floor(oy + s.y0 * sc)) - 1);
    int py1 = std::min(h - 1, int(std::ceil(oy + s.y1 * sc)) + 1);
    for (int y = py0; y <= py1; y++)
        for (int x = px0; x <= px1; x++) {
            float ux = (x + 0.5f - ox) / sc;
            if (flip)
                ux = -ux;
            float uy = (y + 0.5f - oy) / sc;
            float d = s.dist(ux, uy) * sc;
            float cov = clampf(0.5f - d, 0, 1);
            if (cov > 0)
                composite(x, y, p(ux, uy), cov * opacity);
        }
}

void canvas::outlined(const shape &s, const paint &p, colour ink, float width)
{
    fill(grow(s, width), ink);
    fill(s, p);
}

void canvas::fill_all(const paint &p)
{
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            composite(x, y, p(x + 0.5f, y + 0.5f), 1.f);
}

void canvas::fill_mask(const mask &m, int x, int y, const paint &p, float opacity)
{
    for (int j = 0; j < m.h; j++)
        for (int i = 0; i < m.w; i++) {
            float v = m.cov[j * m.w + i];
            if (v > 0)
                composite(x + i, y + j, p(float(x + i), float(y + j)), v * opacity);
        }
}

void canvas::pixel(int x, int y, colour c, float opacity) { composite(x, y, c, opacity); }

void canvas::blit_from(const canvas &src, int dx, int dy)
{
    for (int y = 0; y < src.h; y++)
        for (int x = 0; x < src.w; x++) {
            const float *s = &src.px[(size_t(y) * src.w + x) * 4];
            int tx = x + dx, ty = y + dy;
            if (s[3] <= 0 || tx < 0 || ty < 0 || tx >= w || ty >= h)
                continue;
            float *p = &px[(size_t(ty) * w + tx) * 4];
            // Premultiplied "over".
            for (int k = 0; k < 3; k++)
                p[k] = s[k] + p[k] * (1 - s[3]);
            p[3] = s[3] + p[3] * (1 - s[3]);
        }
}

void canvas::erase_where(const std::function<bool(int, int)> &gone)
{
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            if (gone(x, y))
                std::fill_n(&px[(size_t(y) * w + x) * 4], 4, 0.f);
}

void canvas::clear() { std::fill(px.begin(), px.end(), 0.f); }

colour canvas::colour_at(int x, int y) const
{
    const float *p = &px[(size_t(y) * w + x) * 4];
    if (p[3] <= 0)
        return rgb(0, 0, 0);
    return rgb(p[0] / p[3], p[1] / p[3], p[2] / p[3]);
}

std::vector<uint8_t> canvas::rgb24() const
{
    std::vector<uint8_t> out(size_t(w) * h * 3);
    for (int i = 0; i < w * h; i++) {
        const float *p = &px[size_t(i) * 4];
        uint8_t *o = &out[size_t(i) * 3];
        if (p[3] < 0.5f) {
            o[0] = 255;
            o[1] = 0;
            o[2] = 255;
            continue;
        }
        for (int k = 0; k < 3; k++)
            o[k] = uint8_t(clampf(std::round(p[k] / p[3]), 0, 255));
        // Pure magenta and its 16-bit neighbours would read as see-through.
        if (o[0] >= 248 && o[1] < 4 && o[2] >= 248)
            o[1] = 8;
    }
    return out;
}

namespace {

FT_Library the_ft = nullptr;
std::map<std::pair<std::string, int>, FT_Face> the_faces;

FT_Face face_for(const text_style &st)
{
    if (!the_ft && FT_Init_FreeType(&the_ft)) {
        std::fprintf(stderr, "FreeType did not start\n");
        std::exit(1);
    }
    auto key = std::make_pair(st.font_file, st.pixel_size);
    auto it = the_faces.find(key);
    if (it != the_faces.end())
        return it->second;
    FT_Face face;
    if (FT_New_Face(the_ft, st.font_file.c_str(), 0, &face)) {
        std::fprintf(stderr, "cannot open font %s\n", st.font_file.c_str());
        std::exit(1);
    }
    FT_Set_Pixel_Sizes(face, 0, st.pixel_size);
    the_faces[key] = face;
    return face;
}

} // namespace

std::recursive_mutex &freetype_lock()
{
    static std::recursive_mutex lock;
    return lock;
}

int line_height(const text_style &st)
{
    std::lock_guard<std::recursive_mutex> hold(freetype_lock());
    FT_Face f = face_for(st);
    return int((f->size->metrics.ascender - f->size->metrics.descender) >> 6);
}

int ascent(const text_style &st)
{
    std::lock_guard<std::recursive_mutex> hold(freetype_lock());
    return int(face_for(st)->size->metrics.ascender >> 6);
}

int text_width(const text_style &st, const std::string &text)
{
    std::lock_guard<std::recursive_mutex> hold(freetype_lock());
    FT_Face f = face_for(st);
    int wsum = 0;
    for (unsigned char ch : text) {
        if (FT_Load_Char(f, ch, FT_LOAD_DEFAULT))
            continue;
        wsum += int(f->glyph->advance.x >> 6);
    }
    return wsum;
}

mask text_mask(const text_style &st, const std::string &text)
{
    std::lock_guard<std::recursive_mutex> hold(freetype_lock());
    FT_Face f = face_for(st);
    int asc = int(f->size->metrics.ascender >> 6);
    mask m;
    m.w = text_width(st, text) + 4;
    m.h = line_height(st);
    m.cov.assign(size_t(m.w) * m.h, 0.f);
    int pen = 1;
    for (unsigned char ch : text) {
        if (FT_Load_Char(f, ch, FT_LOAD_RENDER))
            continue;
        FT_GlyphSlot g = f->glyph;
        for (unsigned r = 0; r < g->bitmap.rows; r++)
            for (unsigned c = 0; c < g->bitmap.width; c++) {
                int x = pen + g->bitmap_left + int(c), y = asc - g->bitmap_top + int(r);
                if (x < 0 || y < 0 || x >= m.w || y >= m.h)
                    continue;
                float v = g->bitmap.buffer[r * g->bitmap.pitch + c] / 255.f;
                m.cov[y * m.w + x] = std::max(m.cov[y * m.w + x], v);
            }
        pen += int(g->advance.x >> 6);
    }
    return m;
}

void draw_text(canvas &c, const text_style &st, const std::string &text, int x, int y, const paint &fill,
               colour halo, float halo_width)
{
    mask m = text_mask(st, text);
    if (halo_width > 0) {
        int pad = int(std::ceil(halo_width)) + 1;
        mask big;
        big.w = m.w + 2 * pad;
        big.h = m.h + 2 * pad;
        big.cov.assign(size_t(big.w) * big.h, 0.f);
        for (int j = 0; j < m.h; j++)
            for (int i = 0; i < m.w; i++)
                big.cov[(j + pad) * big.w + i + pad] = m.cov[j * m.w + i];
        c.fill_mask(dilate(big, halo_width), x - 1 - pad, y - pad, solid(halo));
    }
    c.fill_mask(m, x - 1, y, fill);
}

void draw_text_centred(canvas &c, const text_style &st, const std::string &text, int cx, int y,
                       const paint &fill, colour halo, float halo_width)
{
    draw_text(c, st, text, cx - text_width(st, text) / 2, y, fill, halo, halo_width);
}

uint32_t dice::next()
{
    // xorshift32
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    return s;
}

static float lattice(int x, int y, int px, int py, uint32_t seed)
{
    x = ((x % px) + px) % px;
    y = ((y % py) + py) % py;
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xffff) / 65535.f;
}

float periodic_noise(float x, float y, int px, int py, uint32_t seed)
{
    int ix = int(std::floor(x)), iy = int(std::floor(y));
    float fx = x - ix, fy = y - iy;
    float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    float a = lattice(ix, iy, px, py, seed), b = lattice(ix + 1, iy, px, py, seed);
    float c = lattice(ix, iy + 1, px, py, seed), d = lattice(ix + 1, iy + 1, px, py, seed);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

float periodic_fbm(float x, float y, int px, int py, int octaves, uint32_t seed)
{
    float sum = 0, amp = 0.5f, norm = 0;
    for (int o = 0; o < octaves; o++) {
        sum += amp * periodic_noise(x, y, px, py, seed + o * 101);
        norm += amp;
        x *= 2;
        y *= 2;
        px *= 2;
        py *= 2;
        amp *= 0.5f;
    }
    return sum / norm;
}
