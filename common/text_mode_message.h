// What a failure says: a message in text mode, and the end of a failure a program cannot go on from.
#pragma once

// Each program's own shutdown: frees what it made and ends the process with status 1.
[[noreturn]] void game_quit();

// Switches to text mode and shows the message (a printf format) in Allegro's message box.
void show_in_text_mode(const char *format, ...) __attribute__((format(printf, 1, 2)));

// show_in_text_mode, then game_quit.
[[noreturn]] void quit_with_message(const char *format, ...) __attribute__((format(printf, 1, 2)));
