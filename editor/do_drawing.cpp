// The editor's frame: backdrop, panel, map field, palette, the texts and the quit confirmation box.
#include "do_drawing.h"
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include "buttons.h"
#include "datafiles.h"
#include "do_logic.h"
#include "game_quit.h"
#include "map.h"
#include "tile_picker.h"
#include "text_mode_message.h"

BITMAP *buffer = nullptr;
BITMAP *field_buffer = nullptr;

namespace {

const int box_w = 300, box_h = 100;

void white_text(int x, int y, const char *format, const char *value)
{
    textprintf_ex(buffer, font, x, y, makecol(255, 255, 255), 1, format, value);
}

// Writes `label` and `value` at (x, y) so that the line ends before x `right`: a value too long
// keeps its beginning and its end, joined by "...".
void fitted_white_text(int x, int y, int right, const char *label, const char *value)
{
    const std::string whole = std::string(label) + value;
    std::string line = whole;
    const std::size_t length = std::strlen(value);
    for (std::size_t kept = length; text_length(font, line.c_str()) > right - x && kept > 0; kept--) {
        const std::size_t head = (kept + 1) / 2, tail = kept - head;
        line = std::string(label) + std::string(value, head) + "..." + std::string(value + length - tail);
    }
    textout_ex(buffer, font, line.c_str(), x, y, makecol(255, 255, 255), 1);
}

void draw_grid_lines()
{
    const int red = makecol(255, 0, 0);
    for (int r = 0; r < map_height; r++)
        hline(field_buffer, 0, r * cell_size, map_width * cell_size, red);
    for (int c = 0; c < map_width; c++)
        vline(field_buffer, c * cell_size, 0, map_height * cell_size, red);
}

void draw_box_frame(int x0, int y0)
{
    BITMAP *left = datafile_bitmap(d_system, 21), *right = datafile_bitmap(d_system, 22);
    BITMAP *top = datafile_bitmap(d_system, 23), *bottom = datafile_bitmap(d_system, 19);
    if (left)
        stretch_blit(left, buffer, 0, 0, left->w, left->h, x0 - left->w, y0, left->w, box_h);
    if (right)
        stretch_blit(right, buffer, 0, 0, right->w, right->h, x0 + box_w, y0, right->w, box_h);
    if (top)
        stretch_blit(top, buffer, 0, 0, top->w, top->h, x0, y0 - top->h, box_w, top->h);
    if (bottom)
        stretch_blit(bottom, buffer, 0, 0, bottom->w, bottom->h, x0, y0 + box_h, box_w, bottom->h);
    struct corner {
        int image;
        bool right, below;
    };
    const corner corners[] = {{24, false, false}, {18, false, true}, {25, true, false}, {20, true, true}};
    for (const corner &c : corners) {
        BITMAP *piece = datafile_bitmap(d_system, c.image);
        if (!piece)
            continue;
        const int x = c.right ? x0 + box_w : x0 - piece->w;
        const int y = c.below ? y0 + box_h : y0 - piece->h;
        draw_sprite(buffer, piece, x, y);
    }
}

void draw_confirm_box()
{
    BITMAP *box = create_bitmap(box_w, box_h);
    if (!box) {
        quit_with_message("Could not create confirmation\nwindow bitmap!");
    }
    // The frame's width and height stand for the screen's: buffer is made at the screen's size.
    const int x0 = buffer->w / 2 - box_w / 2, y0 = buffer->h / 2 - box_h / 2;
    FONT *box_font = font;
    if (datafile_count(d_system) > 8 && d_system[8].type == DAT_FONT)
        box_font = static_cast<FONT *>(d_system[8].dat);
    const int white = makecol(255, 255, 255);

    clear_to_color(box, makecol(141, 147, 197));
    const char *question = "Are You Sure?";
    textout_ex(box, box_font, question, box_w / 2 - text_length(box_font, question) / 2, 5, white, -1);
    draw_box_frame(x0, y0);
    blit(box, buffer, 0, 0, x0, y0, box_w, box_h);
    destroy_bitmap(box);

    BITMAP *plain = datafile_bitmap(d_system, 1), *lit = datafile_bitmap(d_system, 2);
    const int w = lit ? lit->w : 0, h = lit ? lit->h : 0;
    const int line = buffer->h / 2;
    struct box_button {
        const char *label;
        int left;
        bool highlighted;
    };
    const box_button buttons[] = {
        {"Yes", buffer->w / 2 - 75 - w / 2, confirm_selection == 1},
        {"No", buffer->w / 2 + 75 - w / 2, confirm_selection == 0},
    };
    for (const box_button &b : buttons) {
        if (BITMAP *image = b.highlighted ? lit : plain)
            draw_sprite(buffer, image, b.left, line);
        textout_ex(buffer, box_font, b.label, b.left + w / 2 - text_length(box_font, b.label) / 2,
                   line + h / 2 - text_height(box_font) / 2, white, -1);
    }
}

const char *hidden_layer_text()
{
    if (!draw_block_layer && !draw_trans_layer)
        return "Hidden Layer: BOTH";
    if (!draw_block_layer)
        return "Hidden Layer: BLOCK";
    if (!draw_trans_layer)
        return "Hidden Layer: TRANS";
    return nullptr;
}

} // namespace

void draw_frame(int prompt)
{
    clear_to_color(buffer, 0);
    clear_to_color(field_buffer, makecol(255, 100, 100));
    if (BITMAP *backdrop = datafile_bitmap(d_data, 0))
        blit(backdrop, buffer, 0, 0, 0, 0, backdrop->w, backdrop->h);

    draw_buttons();

    the_map.draw(field_buffer);
    if (draw_grid)
        draw_grid_lines();
    blit(field_buffer, buffer, 0, 0, 160, 0, field_buffer->w, field_buffer->h);

    show_tile_picker(buffer);

    white_text(0, 558, "Map Name: %s", the_map.name);
    // Both lines end before the End button beside them.
    fitted_white_text(384, 580, b_last_level.x, "Current Map: ", the_map.file_name);
    fitted_white_text(384, 590, b_last_level.x, "Next Map   : ", the_map.next_map);

    if (prompt == 1)
        textout_ex(buffer, font, "Use RIGHT mouse button to select the teleport desitnation", 160, 470,
                   makecol(255, 255, 255), 1);
    if (const char *hidden = hidden_layer_text())
        textout_ex(buffer, font, hidden, 160, 470, makecol(255, 255, 255), 1);

    if (confirm)
        draw_confirm_box();
}

void do_drawing(int prompt)
{
    acquire_screen();
    draw_frame(prompt);
    show_mouse(buffer);
    // buffer was made at the screen's size.
    blit(buffer, screen, 0, 0, 0, 0, buffer->w, buffer->h);
    show_mouse(nullptr);
    release_screen();
}

void pause_after_frame()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}
