// What both programs set up at start, and the words they end with when Allegro cannot start.
#pragma once
#include <string>

// A write past a file-size limit (ulimit -f) would otherwise kill the program with SIGXFSZ, with no
// message and a temporary file left behind; ignored, the write fails (EFBIG) like a full disk.
void ignore_file_size_signal();

// Hands Allegro its configuration from a sealed copy in memory, so that it never reads allegro.cfg itself: the
// first of the files Allegro would take (allegro.cfg beside the program, then allegro.cfg and
// .allegrorc in the home directory, then /etc/allegro.cfg and /etc/allegrorc) that exists, read as
// a plain file of at most allegro_config_bound bytes. One that is no plain file or too large gives
// Allegro's defaults. Call before allegro_init.
void use_checked_allegro_config();

// Points the wavetable MIDI driver at a sealed copy in memory of its patch set (the one the
// configuration names, or else the first patches.dat of the places the driver searches), once
// that file has been read as a plain file and found well formed. Otherwise at a name that cannot
// exist, so that the driver finds no patch set and the sound system starts or fails as it does
// without one. Call after allegro_init and before install_sound.
void use_checked_patch_set();

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

// The start both programs share: Allegro's window icon, the file-size signal ignored, plain text,
// the checked configuration, Allegro itself (or the end, with its reason), the keyboard and the
// timers, and the executable's directory as the working directory.
void start_allegro();
