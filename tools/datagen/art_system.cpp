// The system pictures: menu labels and headings, buttons, frame pieces, boxes and the story pictures.
#include "art.h"
#include "palette.h"
#include <cmath>
#include <vector>

namespace {

shape box(float x0, float y0, float x1, float y1) { return rbox(x0, y0, x1, y1, 0); }

// Menu labels, one per 32-pixel row: white with an ink halo, readable on any backdrop. Centred in
// their rows, or with their baseline that many pixels below each row's top.
canvas label_rows(const std::vector<std::string> &labels, int width, int pixel_size = 22, int baseline = -1)
{
    canvas c(width, 32 * int(labels.size()));
    text_style st{the_font_bold, pixel_size};
    int lh = line_height(st);
    const int offset = baseline < 0 ? (32 - lh) / 2 : baseline - ascent(st);
    for (size_t i = 0; i < labels.size(); i++) {
        int y = int(i) * 32 + offset;
        draw_text(c, st, labels[i], 4, y, vgrad(float(y + 4), pal::white, float(y + lh), pal::lilac), pal::ink, 2.2f);
    }
    return c;
}

// Screen headings: big warm letters with a trail of stars, text starting at x 100.
canvas heading(const std::string &text, int height)
{
    canvas c(640, height);
    text_style st{the_font_bold, 44};
    int lh = line_height(st);
    int y = (height - lh) / 2 - 4;
    int tw = text_width(st, text);
    c.fill(capsule(96, float(y + lh + 2), float(100 + tw + 40), float(y + lh + 2), 2), pal::ink, 0.9f);
    c.fill(capsule(96, float(y + lh + 2), float(100 + tw + 40), float(y + lh + 2), 1), pal::gold);
    draw_text(c, st, text, 100, y, vgrad(float(y + 8), pal::apricot_lit, float(y + lh - 6), pal::orange), pal::ink, 3);
    draw_sparkle(c, float(100 + tw + 22), float(y + 14), 7, pal::gold);
    draw_sparkle(c, float(100 + tw + 44), float(y + lh + 2), 4, pal::white);
    draw_sparkle(c, 80, float(y + lh / 2 + 4), 5, pal::spark_lit);
    return c;
}

canvas bottom_strip()
{
    canvas c(640, 10);
    c.fill_all(vgrad(0, pal::night2, 10, pal::night0));
    return c;
}

canvas box_button(bool lit)
{
    canvas c(112, 48);
    shape pill = rbox(1.5f, 1.5f, 110.5f, 46.5f, 16);
    if (lit) {
        c.fill(grow(pill, 1), pal::gold);
        c.fill(pill, vgrad(2, rgb(236, 128, 70), 46, rgb(168, 46, 70)));
        c.fill(rbox(8, 4, 104, 16, 7), pal::apricot_lit, 0.35f);
    } else {
        c.fill(grow(pill, 1), pal::ink);
        c.fill(pill, vgrad(2, pal::dusk, 46, pal::night2));
        c.fill(rbox(8, 4, 104, 16, 7), pal::lavender, 0.3f);
    }
    return c;
}

// Pim, small enough to keep to the top 24 pixels of a menu row (on the key configuration's last
// row the version text stands just below), with a crisp ink rim so that he reads at that size.
canvas menu_cursor()
{
    canvas pim(32, 32);
    pim_pose p = pim_standing();
    p.eyes = pim_eyes::happy;
    const float scale = 0.68f;
    draw_pim(pim, p, (32 - 32 * scale) / 2, 22.5f - 32 * scale, scale);
    canvas c(32, 32);
    auto solid_at = [&](int x, int y) { return x >= 0 && y >= 0 && x < 32 && y < 32 && pim.alpha_at(x, y) >= 0.5f; };
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++)
            if (!solid_at(x, y) && (solid_at(x - 1, y) || solid_at(x + 1, y) || solid_at(x, y - 1) || solid_at(x, y + 1)))
                c.pixel(x, y, pal::ink);
    c.blit_from(pim, 0, 0);
    return c;
}

canvas volume_icon()
{
    canvas c(28, 28);
    c.outlined(circle(14, 14, 12.5f), sphere_light(14, 14, 12.5f, pal::apricot_lit, pal::apricot, pal::apricot_shade), pal::ink, 1);
    // A music note.
    c.fill(ellipse(10.5f, 18.5f, 3.4f, 2.6f), pal::ink);
    c.fill(box(12.6f, 6.5f, 14.4f, 18.5f), pal::ink);
    c.fill(polygon({14.4f, 6.5f, 19.5f, 9.5f, 19.5f, 12.5f, 14.4f, 10}), pal::ink);
    return c;
}

canvas screen_mode_icon(bool full)
{
    canvas c(32, 32);
    c.outlined(rbox(2, 4, 30, 24, 2), pal::lavender, pal::ink, 1);
    c.fill(box(5, 7, 27, 21), vgrad(7, pal::night3, 21, pal::night1));
    c.outlined(box(13, 24, 19, 28), pal::dusk, pal::ink, 1);
    c.outlined(rbox(8, 27.5f, 24, 30.5f, 1), pal::dusk, pal::ink, 1);
    if (full) {
        // Arrows to all four corners: the picture fills the screen.
        c.fill(box(6, 8, 26, 20), vgrad(8, pal::spark_lit, 20, pal::spark));
        const float corners[4][2] = {{7, 9}, {25, 9}, {7, 19}, {25, 19}};
        for (auto &k : corners) {
            float dx = k[0] < 16 ? 1 : -1, dy = k[1] < 14 ? 1 : -1;
            c.fill(polygon({k[0], k[1], k[0] + dx * 5, k[1], k[0], k[1] + dy * 4}), pal::ink);
        }
        draw_sparkle(c, 16, 14, 3, pal::white);
    } else {
        // A small window with its title bar.
        c.outlined(box(9, 10, 23, 19), pal::cloud, pal::ink, 1);
        c.fill(box(9, 10, 23, 12.5f), pal::apricot);
        c.fill(box(19.5f, 10.5f, 22, 12), pal::red);
    }
    return c;
}

canvas scroll_arrow()
{
    canvas c(24, 16);
    c.outlined(polygon({3, 3, 21, 3, 12, 14}), vgrad(3, pal::apricot_lit, 14, pal::orange), pal::ink, 1.2f);
    return c;
}

// Frame pieces: a band of ink, lit lavender, violet and dusk with a gold thread, 20 pixels thick,
// so that a box framed over a menu covers the labels beside it (they start 20 pixels left of the
// title's box).
const int frame_t = 20;
colour frame_band(float d) // d: 0 at the outer rim .. frame_t at the inner rim
{
    if (d < 1.2f || d > frame_t - 1.2f)
        return pal::ink;
    if (d < 4.f)
        return pal::lavender;
    if (d > frame_t - 5.f && d < frame_t - 3.5f)
        return pal::gold;
    if (d > frame_t - 3.5f)
        return pal::night2;
    return mix(pal::violet, pal::dusk, (d - 4.f) / (frame_t - 9.f));
}

canvas frame_edge(int which) // 19 bottom, 21 left, 22 right, 23 top
{
    bool horizontal = which == 19 || which == 23;
    canvas c(horizontal ? 32 : frame_t, horizontal ? frame_t : 32);
    for (int y = 0; y < c.height(); y++)
        for (int x = 0; x < c.width(); x++) {
            float d;
            switch (which) {
            case 23: d = y + 0.5f; break;             // outer side up
            case 19: d = frame_t - (y + 0.5f); break; // outer side down
            case 21: d = x + 0.5f; break;
            default: d = frame_t - (x + 0.5f); break;
            }
            c.pixel(x, y, frame_band(d));
        }
    return c;
}

canvas frame_corner(int which) // 18 bottom-left, 20 bottom-right, 24 top-left, 25 top-right
{
    canvas c(frame_t, frame_t);
    // The rounding's centre is the corner of the box itself (the inner corner of the piece).
    float cx = (which == 18 || which == 24) ? frame_t : 0, cy = (which == 24 || which == 25) ? frame_t : 0;
    shape quarter{[=](float x, float y) { return std::hypot(x - cx, y - cy) - frame_t; }, 0, 0, float(frame_t), float(frame_t)};
    c.fill(quarter, [=](float x, float y) { return frame_band(frame_t - std::hypot(x - cx, y - cy)); });
    // A gold stud on each corner.
    const float near = frame_t * 0.62f, far = frame_t * 0.38f;
    float sx = (which == 18 || which == 24) ? near : far, sy = (which == 24 || which == 25) ? near : far;
    c.outlined(circle(sx, sy, 2.8f), pal::gold, pal::ink, 0.8f);
    return c;
}

// The message box: a slim rim with small corners, so that the text, typed from (5, 5), stands clear
// of it; no studs where the text runs.
const float message_corner = 4.f;

canvas message_background()
{
    canvas c(530, 146);
    c.fill(rbox(0, 0, 530, 146, message_corner), vgrad(0, rgb(252, 248, 255), 146, rgb(222, 214, 246)));
    // Faint stars in the corners; the text area stays calm.
    for (int i = 0; i < 4; i++)
        draw_sparkle(c, 500.f - i * 16, 18.f + (i % 2) * 10, 3.5f, pal::lilac);
    return c;
}

canvas message_frame()
{
    canvas c(530, 146);
    shape outer = rbox(0, 0, 530, 146, message_corner);
    shape middle = rbox(1.2f, 1.2f, 528.8f, 144.8f, message_corner - 1.2f);
    shape inner = rbox(2.6f, 2.6f, 527.4f, 143.4f, message_corner - 2.6f);
    c.fill(subtract(outer, middle), pal::ink);
    c.fill(subtract(middle, inner), pal::violet);
    return c;
}

canvas list_row(bool under_cursor)
{
    canvas c(600, 72);
    shape row = rbox(2, 2, 598, 70, 14);
    c.fill(grow(row, 1.5f), under_cursor ? pal::gold : pal::ink);
    c.fill(row, under_cursor ? vgrad(2, rgb(130, 74, 170), 70, rgb(70, 34, 110)) : vgrad(2, pal::night3, 70, pal::night1));
    c.fill(rbox(10, 5, 590, 22, 8), under_cursor ? pal::down_lit : pal::lavender, 0.18f);
    if (under_cursor) {
        draw_sparkle(c, 572, 20, 6, pal::gold);
        draw_sparkle(c, 556, 46, 3.5f, pal::white);
    }
    return c;
}

canvas list_frame()
{
    // Masked overlay of the list screens: a dark band for the white title and subtitle, a rim round
    // the screen, and nothing over the rows.
    canvas c(640, 480);
    c.fill(rbox(60, -20, 580, 90, 24), vgrad(0, pal::night1, 90, pal::night2), 0.97f);
    c.fill(subtract(rbox(60, -20, 580, 90, 24), rbox(62.5f, -20, 577.5f, 87.5f, 22)), pal::gold);
    shape rim = subtract(box(0, 0, 640, 480), rbox(10, 10, 630, 470, 18));
    c.fill(rim, pal::ink);
    c.fill(subtract(box(0, 0, 640, 480), rbox(7, 7, 633, 473, 18)), pal::dusk);
    c.fill(subtract(rbox(7, 7, 633, 473, 18), rbox(9, 9, 631, 471, 18)), pal::lavender);
    for (int i = 0; i < 6; i++) {
        draw_sparkle(c, 20.f + i * 5, 110.f + i * 60, 4, pal::gold);
        draw_sparkle(c, 620.f - i * 5, 140.f + i * 55, 4, pal::spark_lit);
    }
    draw_moon(c, 40, 40, 16);
    draw_moon(c, 600, 40, 16);
    return c;
}

canvas intermission_overlay()
{
    // Dark plates behind the white text lines at y 0, 40 and 190 .. 440; the map shows around them.
    canvas c(640, 480);
    shape top = rbox(90, -20, 550, 84, 22);
    shape stats = rbox(120, 176, 520, 476, 24);
    for (const shape &s : {top, stats}) {
        c.fill(grow(s, 3), pal::gold);
        c.fill(grow(s, 1.5f), pal::ink);
        c.fill(s, vgrad(s.y0, pal::night2, s.y1, pal::night1));
    }
    c.fill(capsule(200, 222, 440, 222, 1.2f), pal::lavender);
    c.fill(capsule(200, 432, 440, 432, 1.2f), pal::lavender);
    // A sleeping Pim and a trophy star to the sides.
    pim_pose p = pim_standing();
    p.eyes = pim_eyes::happy;
    p.mouth = pim_mouth::grin;
    draw_pim(c, p, 28, 330, 3);
    draw_sparkle(c, 560, 380, 30, pal::gold);
    draw_sparkle(c, 560, 380, 14, pal::white);
    draw_sparkle(c, 596, 330, 10, pal::spark_lit);
    draw_sparkle(c, 66, 240, 10, pal::spark_lit);
    return c;
}

canvas corner_image()
{
    // Top right of the menus: Pim asleep in the crook of the moon.
    canvas c(170, 140);
    c.fill(circle(96, 66, 62), pal::gold, 0.12f);
    shape crescent = subtract(circle(92, 70, 56), circle(122, 48, 50));
    c.fill(grow(crescent, 2), pal::ink);
    c.fill(crescent, vgrad(14, rgb(255, 250, 222), 126, pal::gold));
    pim_pose p = pim_ducking();
    p.eyes = pim_eyes::shut;
    p.mouth = pim_mouth::smile;
    draw_pim(c, p, 40, 54, 2.2f);
    text_style st{the_font_bold, 16};
    draw_text(c, st, "z", 118, 52, solid(pal::white), pal::ink, 1.5f);
    text_style st2{the_font_bold, 22};
    draw_text(c, st2, "z", 130, 28, solid(pal::white), pal::ink, 1.5f);
    text_style st3{the_font_bold, 28};
    draw_text(c, st3, "Z", 146, 0, solid(pal::white), pal::ink, 1.8f);
    return c;
}

canvas title_image()
{
    canvas c(456, 88);
    text_style st{the_font_bold, 48};
    int lh = line_height(st);
    int y = (88 - lh) / 2 - 2;
    draw_text(c, st, "Pim's Slumberia", 8, y, vgrad(float(y + 10), pal::apricot_lit, float(y + lh - 10), pal::orange), pal::ink, 3.5f);
    draw_sparkle(c, 10, 14, 8, pal::gold);
    draw_sparkle(c, 446, 70, 6, pal::white);
    draw_sparkle(c, 440, 12, 4, pal::spark_lit);
    return c;
}

canvas logo()
{
    canvas c(640, 480);
    c.fill_all(vgrad(0, pal::night0, 480, pal::night1));
    const char *title = "Pim's Slumberia", *tagline = "a puzzle built from dreams";
    text_style st{the_font_bold, 52};
    text_style sub{the_font_regular, 22};
    const int title_y = 330, tagline_y = 400;
    // The sky stays clear of the title and tagline: no star within a sparkle's reach of their lines.
    const float margin = 12;
    const float tw = text_width(st, title) / 2.f + margin, sw = text_width(sub, tagline) / 2.f + margin;
    auto under_text = [&](float x, float y) {
        return (std::fabs(x - 320) < tw && y > title_y - margin && y < title_y + line_height(st) + margin) ||
               (std::fabs(x - 320) < sw && y > tagline_y - margin && y < tagline_y + line_height(sub) + margin);
    };
    draw_star_field(c, 170, 160, 3, false, false, under_text);
    for (int i = 0; i < 10; i++)
        c.fill(circle(320, 190, 170 - i * 12), pal::dusk, 0.045f);
    shape crescent = subtract(circle(320, 190, 110), circle(372, 148, 98));
    c.fill(grow(crescent, 3), pal::ink);
    c.fill(crescent, vgrad(80, rgb(255, 250, 222), 300, pal::gold));
    pim_pose p = pim_ducking();
    p.eyes = pim_eyes::shut;
    draw_pim(c, p, 226, 150, 4);
    draw_text_centred(c, st, title, 320, title_y, vgrad(340, pal::apricot_lit, 380, pal::orange), pal::ink, 3.5f);
    draw_text_centred(c, sub, tagline, 320, tagline_y, solid(pal::lilac), pal::ink, 0);
    return c;
}

canvas full(void (*fn)(canvas &))
{
    canvas c(640, 480);
    fn(c);
    return c;
}

const char *const system_names[44] = {
    "MENU_STRIP",      "BUTTON",          "BUTTON_LIT",     "FONT_CREDITS",   "MENU_CURSOR",     "ENDING_PICTURE",
    "VOLUME_ICON",     "INTERMISSION",    "FONT_BOX",       "INTRO_1",        "INTRO_2",         "INTRO_3",
    "FONT_KEYS",       "KEY_LABELS",      "KEY_HEADING",    "FONT_TITLE",     "LIST_FRAME",      "LOGO",
    "FRAME_BOTTOM_LEFT", "FRAME_BOTTOM",  "FRAME_BOTTOM_RIGHT", "FRAME_LEFT", "FRAME_RIGHT",     "FRAME_TOP",
    "FRAME_TOP_LEFT",  "FRAME_TOP_RIGHT", "STORY_MUSIC",    "SCROLL_ARROW",   "MESSAGE_BACK",    "MESSAGE_FRAME",
    "FONT_MESSAGE",    "MODE_FULL",       "OPTION_LABELS",  "MODE_WINDOW",    "OPTIONS_HEADING", "LIST_ROW",
    "LIST_ROW_LIT",    "TITLE_LABELS",    "TITLE_LABELS_GAME", "MENU_CORNER", "MENU_TITLE",      "TUTORIAL_LABELS",
    "TUTORIAL_HEADING", "FONT_BANNER",
};

} // namespace

canvas system_picture(int index)
{
    switch (index) {
    case 0: return bottom_strip();
    case 1: return box_button(false);
    case 2: return box_button(true);
    case 4: return menu_cursor();
    case 5: return full(story_programmer_wakes);
    case 6: return volume_icon();
    case 7: return intermission_overlay();
    case 9: return full(story_dreamer_asleep);
    case 10: return full(story_pim_and_his_world);
    case 11: return full(story_pim_lost);
    case 13:
        // The key names are printed with their line's top at the row's top.
        return label_rows({"Up", "Down", "Left", "Right", "Action", "Restart", "Music", "Save", "Back"}, 92,
                          key_name_pixel_size, ascent(text_style{the_font_bold, key_name_pixel_size}));
    case 14: return heading("Configure Keys", 76);
    case 16: return list_frame();
    case 17: return logo();
    case 18: case 20: case 24: case 25: return frame_corner(index);
    case 19: case 21: case 22: case 23: return frame_edge(index);
    case 27: return scroll_arrow();
    case 28: return message_background();
    case 29: return message_frame();
    case 31: return screen_mode_icon(true);
    case 32: return label_rows({"Sound Volume", "Music Volume", "Screen Mode", "Configure Keys", "Level Set", "Erase Save", "Back"}, 220);
    case 33: return screen_mode_icon(false);
    case 34: return heading("Options", 76);
    case 35: return list_row(false);
    case 36: return list_row(true);
    case 37: return label_rows({"New Game", "Load Game", "Tutorial", "Options", "Quit"}, 180);
    case 38: return label_rows({"New Game", "Continue", "Load Game", "Tutorial", "Options", "Quit"}, 180);
    case 39: return corner_image();
    case 40: return title_image();
    case 41: return label_rows({"Lesson 1", "Lesson 2", "Lesson 3", "Lesson 4", "Back"}, 180);
    case 42: return heading("Tutorial", 76);
    default: return canvas(1, 1);
    }
}

const char *system_picture_name(int index) { return system_names[index]; }

void draw_frame_around(canvas &c, int x, int y, int w, int h)
{
    for (int j = 0; j < h; j++)
        for (int i = 0; i < frame_t; i++) {
            c.pixel(x - frame_t + i, y + j, frame_band(i + 0.5f));
            c.pixel(x + w + i, y + j, frame_band(frame_t - i - 0.5f));
        }
    for (int i = 0; i < w; i++)
        for (int j = 0; j < frame_t; j++) {
            c.pixel(x + i, y - frame_t + j, frame_band(j + 0.5f));
            c.pixel(x + i, y + h + j, frame_band(frame_t - j - 0.5f));
        }
    c.blit_from(frame_corner(24), x - frame_t, y - frame_t);
    c.blit_from(frame_corner(25), x + w, y - frame_t);
    c.blit_from(frame_corner(18), x - frame_t, y + h);
    c.blit_from(frame_corner(20), x + w, y + h);
}
