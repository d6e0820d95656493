// Message-box portraits: framed cards of Pim, Tod the dreamer, the keys Pim is steered with, and every block he meets.
#include "art.h"
#include "palette.h"

namespace {

const int card = 112;

canvas card_canvas()
{
    canvas c(card, card);
    c.fill(rbox(0, 0, card, card, 14), pal::ink);
    c.fill(rbox(2, 2, card - 2, card - 2, 12), pal::gold);
    c.fill(rbox(4, 4, card - 4, card - 4, 10), vgrad(4, pal::night3, card - 4, pal::night1));
    draw_sparkle(c, 16, 16, 4, pal::lilac, 0.8f);
    draw_sparkle(c, 96, 22, 3, pal::white, 0.7f);
    return c;
}

void block_card(canvas &c, block_kind k) { draw_block(c, k, 16, 16, 2.5f); }

void pim_card(canvas &c, pim_pose p, bool face_left = false) { draw_pim(c, p, 5, 6, 3.2f, face_left); }

void key_and_pim(canvas &c, int dir, pim_pose p, bool face_left = false)
{
    draw_key_cap(c, 8, 10, 40, 38, "", true, dir);
    draw_pim(c, p, 36, 40, 2.1f, face_left);
}

const char *const names[portrait_count] = {
    "P_ARROW_KEYS", "P_DOWN_BLOCK", "P_STILL_BLOCK", "P_UP_BLOCK", "P_CRUMBLE", "P_DREAMER", "P_KEY_DOWN",
    "P_KEY_LEFT", "P_KEY_RIGHT", "P_KEY_UP", "P_PIM_ENDING", "P_BLOCKED_ALL", "P_BLOCKED_DOWN",
    "P_BLOCKED_STILL", "P_BLOCKED_UP", "P_TELEPORT", "P_TUNNEL_H", "P_TUNNEL_V", "P_EXIT", "P_PIM_TALK",
    "P_PIM_HAPPY",
};

void dreamer(canvas &c)
{
    // Tod, the programmer who dreamt it all, awake now: the same person as in the ending picture,
    // cut off by the card's inner edge.
    const float scale = 0.56f;
    canvas tod(card, card);
    draw_tod(tod, tod_face::talking, 56 - 282 * scale, 52 - 126 * scale, scale);
    shape inner = rbox(4, 4, card - 4, card - 4, 10);
    tod.erase_where([&](int x, int y) { return inner.dist(x + 0.5f, y + 0.5f) > 0; });
    c.blit_from(tod, 0, 0);
}

} // namespace

canvas portrait(int index)
{
    canvas c = card_canvas();
    pim_pose p = pim_standing();
    switch (index) {
    case 0:
        draw_key_cap(c, 38, 12, 36, 34, "", true, 0);
        draw_key_cap(c, 4, 56, 36, 34, "", true, 3);
        draw_key_cap(c, 38, 56, 36, 34, "", true, 2);
        draw_key_cap(c, 72, 56, 36, 34, "", true, 1);
        break;
    case 1:
        draw_block(c, block_kind::down, 52, 54, 1.7f);
        p = pim_ducking();
        draw_pim(c, p, 6, 46, 1.6f);
        c.fill(rbox(4, 96, 52, 108, 3), pal::stone_shade);
        break;
    case 2:
        draw_block(c, block_kind::still, 30, 10, 1.6f);
        draw_key_cap(c, 10, 70, 92, 32, "SPACE", false, 0);
        break;
    case 3:
        draw_block(c, block_kind::up, 28, 50, 1.7f);
        p = pim_looking_up();
        draw_pim(c, p, 38, 12, 1.3f);
        break;
    case 4: block_card(c, block_kind::crumble); break;
    case 5: dreamer(c); break;
    case 6: key_and_pim(c, 2, pim_ducking()); break;
    case 7: key_and_pim(c, 3, pim_standing(), true); break;
    case 8: key_and_pim(c, 1, pim_walking(2, 7)); break;
    case 9: key_and_pim(c, 0, pim_looking_up()); break;
    case 10:
        p.eyes = pim_eyes::bright;
        p.mouth = pim_mouth::open;
        p.cap_tip = 0.5f;
        pim_card(c, p);
        break;
    case 11: block_card(c, block_kind::blocked_all); break;
    case 12: block_card(c, block_kind::blocked_down); break;
    case 13: block_card(c, block_kind::blocked_still); break;
    case 14: block_card(c, block_kind::blocked_up); break;
    case 15: draw_teleport_sparks(c, 2, 8, 8, 8, 3); break;
    case 16: block_card(c, block_kind::tunnel_h); break;
    case 17: block_card(c, block_kind::tunnel_v); break;
    case 18: draw_exit_door(c, 1, 8, 8, 8, 3); break;
    case 19:
        p.eyes = pim_eyes::bright;
        p.mouth = pim_mouth::open;
        pim_card(c, p);
        break;
    default:
        p.eyes = pim_eyes::happy;
        p.mouth = pim_mouth::grin;
        pim_card(c, p);
        break;
    }
    return c;
}

const char *portrait_name(int index) { return names[index]; }
