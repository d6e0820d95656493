// Helpers for headless tests: Allegro without a display, and scratch directories.
#pragma once
#include <string>

// A fresh empty directory under the system's temporary directory.
std::string make_temp_dir(const char *tag);

// Writes text to a file, creating or truncating it.
void write_text_file(const std::string &path, const std::string &text);

// Reads a whole file as text ("" when it cannot be opened).
std::string read_text_file(const std::string &path);
