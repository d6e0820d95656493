// What a failure says: a message in text mode, and the end of a failure a program cannot go on from.
#include "text_mode_message.h"
#include <allegro.h>
#include <cstdarg>
#include <cstdio>
#include "graphics_mode.h"

namespace {

// As much as Allegro's message box shows.
const int message_size = 4096;

void show_formatted(const char *format, std::va_list arguments)
{
    char text[message_size];
    std::vsnprintf(text, sizeof(text), format, arguments);
    the_screen_mode_calls.set_mode(GFX_TEXT, 0, 0, 0, 0);
    the_screen_mode_calls.report(text);
}

} // namespace

void show_in_text_mode(const char *format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    show_formatted(format, arguments);
    va_end(arguments);
}

void quit_with_message(const char *format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    show_formatted(format, arguments);
    va_end(arguments);
    game_quit();
}
