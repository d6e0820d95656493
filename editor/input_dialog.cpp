// The map-name and level-set-name dialogs: one edit field each, black on white.
#include "input_dialog.h"
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
