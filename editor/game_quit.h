// The editor's shutdown: frees what start-up made, keeps the screen mode, ends with status 1.
#pragma once

// Writes GAME_SCREEN_MODE into the editor settings file; a file that cannot be opened is skipped.
void write_editor_settings();

[[noreturn]] void game_quit();
