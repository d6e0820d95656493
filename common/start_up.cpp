// What both programs set up at start, and the words they end with when Allegro cannot start.
#include "start_up.h"
#include <allegro.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

void ignore_file_size_signal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

std::string allegro_start_failure(const char *display, const char *allegro_reason)
{
    std::string text = "Could not start Allegro: ";
    if (allegro_reason && *allegro_reason)
        return text + allegro_reason;
    if (!display || !*display)
        return text + "no X display could be opened, because DISPLAY is not set. "
                      "Start the program from a desktop session, or set DISPLAY to your X display.";
    // A variable can hold anything; only so much of it is shown.
    return text + "no X display could be opened at DISPLAY=\"" + std::string(display).substr(0, 200) +
           "\". Is the X server running, and may you use it?";
}

void end_without_allegro()
{
    std::fprintf(stderr, "%s\n", allegro_start_failure(std::getenv("DISPLAY"), allegro_error).c_str());
    std::exit(1);
}

void change_to_executable_directory()
{
    char path[256];
    get_executable_name(path, sizeof(path));
    char *slash = std::strrchr(path, '/');
    if (!slash)
        return;
    slash[1] = '\0';
    if (chdir(path) != 0) {
        // Relative names then resolve against the directory the program was started in.
    }
}
