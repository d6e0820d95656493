// The editor's own dialogs: the map-name and level-set-name fields (black on white), and the yes/no question.
#include "input_dialog.h"
#include <algorithm>
#include <cstring>
#include "map.h"
#include "save_load_map.h"

namespace {

// The field edits a scratch copy large enough for any 29 characters in any encoding; the result is
// then cut to what the map's name holds.
char map_name_scratch[(typed_name_length + 1) * 6];

} // namespace

DIALOG input[2] = {
    {d_edit_proc, 160, 470, 260, 48, 0, 0, 0, D_EXIT, typed_name_length, 0, map_name_scratch, nullptr, nullptr},
    {nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
};

int (*the_dialog_runner)(DIALOG *dialog, int focus) = do_dialog;
int (*the_dialog_popup)(DIALOG *dialog, int focus) = popup_dialog;

// Below its prompt " Name your level set " at (0,20), which it would otherwise cover.
DIALOG input_loader_name[2] = {
    {d_edit_proc, 0, 32, 260, 48, 0, 0, 0, D_EXIT, typed_name_length, 0, level_set_name, nullptr, nullptr},
    {nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
};

void edit_map_name()
{
    ustrzcpy(map_name_scratch, sizeof(map_name_scratch), the_map.name);
    input[0].d2 = ustrlen(map_name_scratch);
    input[0].bg = makecol(255, 255, 255);
    input[0].fg = makecol(0, 0, 0);
    the_dialog_runner(input, 0);
    ustrzcpy(the_map.name, sizeof(the_map.name), map_name_scratch);
}

void edit_level_set_name()
{
    // level_set_name holds 256 bytes: 29 characters fit in any encoding.
    input_loader_name[0].d2 = ustrlen(level_set_name);
    input_loader_name[0].bg = makecol(255, 255, 255);
    input_loader_name[0].fg = makecol(0, 0, 0);
    the_dialog_runner(input_loader_name, 0);
}

int ask_yes_no(const char *s1, const char *s2, const char *s3, const char *yes, const char *no, int yes_key,
               int no_key)
{
    const int line_h = text_height(font) + 4, margin = 16;
    int text_w = 0;
    for (const char *line : {s1, s2, s3})
        text_w = std::max(text_w, text_length(font, line));
    const int button_w = std::max(text_length(font, yes), text_length(font, no)) + 2 * margin;
    const int button_h = line_h + 6;
    const int w = std::max(text_w, 2 * button_w + margin) + 2 * margin;
    const int button_y = margin + 4 * line_h;
    const int h = button_y + button_h + margin;
    enum { yes_button = 4, no_button = 5 };
    DIALOG dialog[] = {
        {d_shadow_box_proc, 0, 0, w, h, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
        {d_ctext_proc, w / 2, margin, 0, line_h, 0, 0, 0, 0, 0, 0, const_cast<char *>(s1), nullptr, nullptr},
        {d_ctext_proc, w / 2, margin + line_h, 0, line_h, 0, 0, 0, 0, 0, 0, const_cast<char *>(s2), nullptr, nullptr},
        {d_ctext_proc, w / 2, margin + 2 * line_h, 0, line_h, 0, 0, 0, 0, 0, 0, const_cast<char *>(s3), nullptr,
         nullptr},
        {d_button_proc, w / 2 - margin / 2 - button_w, button_y, button_w, button_h, 0, 0, yes_key, D_EXIT, 0, 0,
         const_cast<char *>(yes), nullptr, nullptr},
        {d_button_proc, w / 2 + margin / 2, button_y, button_w, button_h, 0, 0, no_key, D_EXIT, 0, 0,
         const_cast<char *>(no), nullptr, nullptr},
        {nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr},
    };
    centre_dialog(dialog);
    set_dialog_color(dialog, gui_fg_color, gui_bg_color);
    // The focus starts on the second answer: ENTER takes it, as the quit box's does.
    return the_dialog_popup(dialog, no_button) == yes_button ? 1 : 2;
}
