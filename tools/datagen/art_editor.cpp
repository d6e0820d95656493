// The editor's own pictures: its backdrop, panel buttons with their labels, and the map markers.
#include "art.h"
#include "palette.h"
#include <cmath>

namespace {

shape box(float x0, float y0, float x1, float y1) { return rbox(x0, y0, x1, y1, 0); }

canvas backdrop()
{
    canvas c(800, 600);
    c.fill_all(vgrad(0, pal::lilac, 600, pal::lavender));
    // The palette column and the band beside it are dark, so tiles stand out against them.
    c.fill(box(0, 0, 128, 480), pal::night1);
    for (int y = 0; y < 15; y++)
        for (int x = 0; x < 4; x++)
            if ((x + y) % 2)
                c.fill(box(x * 32.f, y * 32.f, x * 32.f + 32, y * 32.f + 32), pal::night2);
    c.fill(box(128, 0, 160, 480), vgrad(0, pal::dusk, 480, pal::night2));
    dice d(5);
    for (int i = 0; i < 14; i++)
        draw_sparkle(c, d.range(134, 154), d.range(8, 472), d.range(2, 4), i % 2 ? pal::gold : pal::white);
    c.fill(box(0, 480, 800, 482), pal::ink);
    c.fill(box(0, 556, 800, 557), pal::dusk, 0.6f);
    // The caption sits in the free strip between the Level Set and End buttons: below the map-name
    // line's reach (x 328), above the current and next map lines (y 580) and clear of the tool row.
    text_style st{the_font_bold, 16};
    const char *caption = "Pim's Slumberia Editor";
    const int centre = 540, top = 568 - line_height(st) / 2;
    draw_text_centred(c, st, caption, centre, top, solid(pal::ink), pal::white, 0);
    draw_sparkle(c, centre - text_width(st, caption) / 2 - 12.f, 568, 5, pal::gold);
    return c;
}

void button_base(canvas &c, bool lit)
{
    float w = float(c.width()), h = float(c.height());
    shape b = rbox(0.5f, 0.5f, w - 0.5f, h - 0.5f, std::min(w, h) * 0.3f);
    c.fill(b, lit ? pal::gold : pal::ink);
    c.fill(rbox(1.5f, 1.5f, w - 1.5f, h - 1.5f, std::min(w, h) * 0.28f),
           lit ? vgrad(1, rgb(240, 140, 74), h, rgb(178, 56, 70)) : vgrad(1, pal::violet, h, pal::night2));
    c.fill(rbox(4, 2.5f, w - 4, h * 0.4f, 4), lit ? pal::apricot_lit : pal::lavender, 0.3f);
}

canvas text_button(const std::string &label, bool lit)
{
    canvas c(64, 32);
    button_base(c, lit);
    // The largest size up to 14 that leaves the rounded ends clear.
    text_style st{the_font_bold, 14};
    while (st.pixel_size > 9 && text_width(st, label) > 52)
        st.pixel_size--;
    draw_text_centred(c, st, label, 32, (32 - line_height(st)) / 2, solid(pal::white), pal::ink, 1.4f);
    return c;
}

canvas sign_button(bool plus, bool lit)
{
    canvas c(32, 16);
    button_base(c, lit);
    c.fill(box(10, 7, 22, 9.5f), pal::white);
    if (plus)
        c.fill(box(14.75f, 2.5f, 17.25f, 13.5f), pal::white);
    return c;
}

canvas arrow_button(bool right, bool lit)
{
    canvas c(32, 32);
    button_base(c, lit);
    if (right)
        c.outlined(polygon({11, 8, 23, 16, 11, 24}), pal::white, pal::ink, 1);
    else
        c.outlined(polygon({21, 8, 9, 16, 21, 24}), pal::white, pal::ink, 1);
    return c;
}

canvas delete_button(bool lit)
{
    canvas c(32, 32);
    button_base(c, lit);
    // An eraser crossing out a cell.
    c.fill(capsule(9, 9, 23, 23, 3.2f), pal::ink);
    c.fill(capsule(23, 9, 9, 23, 3.2f), pal::ink);
    c.fill(capsule(9, 9, 23, 23, 2), lit ? pal::white : pal::red_lit);
    c.fill(capsule(23, 9, 9, 23, 2), lit ? pal::white : pal::red_lit);
    return c;
}

canvas start_marker()
{
    canvas c(32, 32);
    c.fill(box(0, 0, 32, 32), pal::ink);
    c.fill(box(1, 1, 31, 31), vgrad(1, pal::up_shade, 31, pal::night1));
    pim_pose p = pim_standing();
    draw_pim(c, p, 3, 4, 0.82f);
    text_style st{the_font_bold, 11};
    draw_text(c, st, "S", 2, 0, solid(pal::gold), pal::ink, 1.2f);
    return c;
}

canvas teleport_marker()
{
    // Upright at the entrance; the arrow and the pad tell the flipped exit apart at a glance.
    canvas c(32, 32);
    c.fill(ellipse(16, 27, 13, 4.5f), pal::ink);
    c.fill(ellipse(16, 26.6f, 12, 3.4f), hgrad(4, pal::spark, 28, pal::spark_lit));
    c.outlined(polygon({16, 4, 25, 14, 20, 14, 20, 23, 12, 23, 12, 14, 7, 14}), vgrad(4, pal::spark_lit, 23, pal::spark), pal::ink, 1.2f);
    draw_sparkle(c, 27, 7, 3.5f, pal::white);
    return c;
}

canvas exit_marker()
{
    canvas c(32, 32);
    c.fill(box(0, 0, 32, 32), pal::night1);
    draw_exit_door(c, 0, 8, 0, 0, 1);
    return c;
}

const char *const names[editor_picture_count] = {
    "ED_BACKDROP", "ED_DELETE", "ED_DELETE_LIT", "ED_MINUS", "ED_MINUS_LIT", "ED_LEFT", "ED_LEFT_LIT",
    "ED_END", "ED_END_LIT", "ED_LAYER", "ED_LAYER_LIT", "ED_LEVEL_SET", "ED_LEVEL_SET_LIT", "ED_LOAD",
    "ED_LOAD_LIT", "ED_NAME", "ED_NAME_LIT", "ED_NEXT", "ED_NEXT_LIT", "ED_PLUS", "ED_PLUS_LIT",
    "ED_RIGHT", "ED_RIGHT_LIT", "ED_SAVE", "ED_SAVE_LIT", "ED_START", "ED_TELEPORT", "ED_EXIT",
};

} // namespace

canvas editor_picture(int index)
{
    bool lit = index % 2 == 0;
    switch (index) {
    case 0: return backdrop();
    case 1: case 2: return delete_button(lit);
    case 3: case 4: return sign_button(false, lit);
    case 5: case 6: return arrow_button(false, lit);
    case 7: case 8: return text_button("End", lit);
    case 9: case 10: return text_button("Layer", lit);
    case 11: case 12: return text_button("Level Set", lit);
    case 13: case 14: return text_button("Load", lit);
    case 15: case 16: return text_button("Name", lit);
    case 17: case 18: return text_button("Next", lit);
    case 19: case 20: return sign_button(true, lit);
    case 21: case 22: return arrow_button(true, lit);
    case 23: case 24: return text_button("Save", lit);
    case 25: return start_marker();
    case 26: return teleport_marker();
    default: return exit_marker();
    }
}

const char *editor_picture_name(int index) { return names[index]; }
