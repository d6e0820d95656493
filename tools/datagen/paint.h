// A small anti-aliased painter: shapes as distance functions, composited into a float canvas.
#pragma once
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

struct colour {
    float r = 0, g = 0, b = 0;
};

inline colour rgb(float r, float g, float b) { return colour{r, g, b}; }
colour mix(colour a, colour b, float t);
colour lighten(colour c, float t); // towards white
colour darken(colour c, float t);  // towards black

// A shape: signed distance in user units (negative inside) and its bounding box.
struct shape {
    std::function<float(float, float)> dist;
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

shape circle(float cx, float cy, float r);
shape ellipse(float cx, float cy, float rx, float ry);
shape rbox(float x0, float y0, float x1, float y1, float radius);
shape capsule(float ax, float ay, float bx, float by, float r);
shape polygon(std::vector<float> xy);
shape ring(float cx, float cy, float r, float thickness);
shape unite(const shape &a, const shape &b);
shape intersect(const shape &a, const shape &b);
shape subtract(const shape &a, const shape &b);
shape grow(const shape &a, float by);
shape rotate(const shape &a, float cx, float cy, float degrees);

// Paint: the colour at a user-space point.
using paint = std::function<colour(float, float)>;
paint solid(colour c);
paint vgrad(float y0, colour top, float y1, colour bottom);
paint hgrad(float x0, colour left, float x1, colour right);
// Light from the top-left: lit colour near (cx - r/2, cy - r/2), shade at the far side.
paint sphere_light(float cx, float cy, float r, colour lit, colour base, colour shade);

// An 8-bit coverage mask (text, dilated text).
struct mask {
    int w = 0, h = 0;
    std::vector<float> cov;
    float at(int x, int y) const { return (x < 0 || y < 0 || x >= w || y >= h) ? 0.f : cov[y * w + x]; }
};
mask dilate(const mask &m, float radius);

class canvas {
public:
    canvas(int w, int h);
    int width() const { return w; }
    int height() const { return h; }

    // User space: user (ux, uy) lands on pixel (ox + ux * scale, oy + uy * scale), mirrored if flip.
    void set_transform(float ox, float oy, float scale, bool flip_x = false);
    void reset_transform() { set_transform(0, 0, 1, false); }

    void fill(const shape &s, const paint &p, float opacity = 1.f);
    void fill(const shape &s, colour c, float opacity = 1.f) { fill(s, solid(c), opacity); }
    // Shape with an outline of the given width (user units) around it.
    void outlined(const shape &s, const paint &p, colour ink, float width);
    void outlined(const shape &s, colour c, colour ink, float width) { outlined(s, solid(c), ink, width); }
    void fill_all(const paint &p); // whole canvas, pixel coordinates
    void fill_mask(const mask &m, int x, int y, const paint &p, float opacity = 1.f); // pixel coordinates
    void pixel(int x, int y, colour c, float opacity = 1.f);
    void blit_from(const canvas &src, int dx, int dy); // composite src over this
    void erase_where(const std::function<bool(int, int)> &gone); // make pixels transparent
    void clear();
    // Wrap a canvas horizontally/vertically: draw helper for seamless pictures.
    float alpha_at(int x, int y) const { return px[(y * w + x) * 4 + 3]; }
    colour colour_at(int x, int y) const;

    // Final 24-bit pixels: half-covered pixels become opaque with their own colour,
    // the rest magenta; an opaque pixel that happens to be pure magenta is nudged off it.
    std::vector<uint8_t> rgb24() const;

private:
    int w, h;
    std::vector<float> px; // premultiplied r, g, b, coverage
    float ox = 0, oy = 0, sc = 1;
    bool flip = false;
    void composite(int x, int y, colour c, float a);
};

// FreeType is not thread-safe: every use of it holds this lock.
std::recursive_mutex &freetype_lock();

// Text through FreeType, anti-aliased, as a coverage mask; the mask's top is the line top.
struct text_style {
    std::string font_file;
    int pixel_size = 16;
};
mask text_mask(const text_style &st, const std::string &text);
int text_width(const text_style &st, const std::string &text);
int line_height(const text_style &st);
// Pixels from the top of a line to its baseline.
int ascent(const text_style &st);

// Draws text with a halo (outline) at pixel (x, y) of the line top.
void draw_text(canvas &c, const text_style &st, const std::string &text, int x, int y, const paint &fill,
               colour halo, float halo_width);
// Same, centred on x.
void draw_text_centred(canvas &c, const text_style &st, const std::string &text, int cx, int y,
                       const paint &fill, colour halo, float halo_width);

// A small deterministic random source: art must come out the same on every build.
class dice {
public:
    explicit dice(uint32_t seed) : s(seed ? seed : 1) {}
    uint32_t next();
    float unit() { return (next() & 0xffffff) / float(0x1000000); } // 0 .. 1
    float range(float a, float b) { return a + (b - a) * unit(); }
    int below(int n) { return int(next() % uint32_t(n)); }

private:
    uint32_t s;
};

// Smooth noise that repeats every period_x by period_y cells (for seamless pictures).
float periodic_noise(float x, float y, int period_x, int period_y, uint32_t seed);
float periodic_fbm(float x, float y, int period_x, int period_y, int octaves, uint32_t seed);
