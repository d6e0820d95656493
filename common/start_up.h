// What both programs set up at start, and the words they end with when Allegro cannot start.
#pragma once
#include <string>

// A write past a file-size limit (ulimit -f) would otherwise kill the program with SIGXFSZ, with no
// message and a temporary file left behind; ignored, the write fails (EFBIG) like a full disk.
void ignore_file_size_signal();

// Why Allegro could not start, for a player: Allegro's own reason when it gives one, otherwise
// (it gives none when there is no X display) that no X display could be opened, naming DISPLAY as
// `display` holds it (nullptr when it is not set).
std::string allegro_start_failure(const char *display, const char *allegro_reason);

// Prints allegro_start_failure for this process on stderr and ends it with status 1.
[[noreturn]] void end_without_allegro();

// Makes the directory that holds the program's executable the working directory, so that every
// relative file name is the program's own. With no directory part in the program's name, or one
// that cannot be entered, the program stays where it was started.
void change_to_executable_directory();
