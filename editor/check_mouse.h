// Mouse editing of the field: the current tool on a left click, the pick-up on a right click.
#pragma once

// Once per logic step while the quit box is closed: palette, panel buttons, then the field.
void check_mouse();

// The field cell under the pointer; false when the pointer is not over the field.
bool pointer_field_cell(int &cx, int &cy);

// What the left button does on field cell (cx, cy) with the current tool.
void use_tool_on_cell(int cx, int cy);

// What the right button picks from field cell (cx, cy).
void pick_from_cell(int cx, int cy);

// Placing a teleport: the source is appended at once, the destination awaited.
void begin_teleport(int cx, int cy);
// One step of the destination wait: discards owed steps; true once the right button is down
// over the field.
bool teleport_wait_tick();
// Takes the destination from the pointer and counts the teleport.
void finish_teleport();
