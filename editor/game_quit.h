// The editor's shutdown: frees what start-up made, keeps the screen mode, ends with status 1.
#pragma once

// Writes GAME_SCREEN_MODE into the editor settings file, whole or not at all; a file that cannot be
// written is skipped (the old one stays as it was). -1 when written, else 0.
int write_editor_settings();

[[noreturn]] void game_quit();
