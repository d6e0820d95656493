// Sealed copies in memory of files that Allegro opens by name, so that it reads exactly the bytes that were checked.
#pragma once
#include <string>

// A sealed in-memory file holding `bytes`: nobody can write, grow or shrink it any more. Gives its
// descriptor, or -1 when it cannot be made. Close it when done.
int sealed_memory_file(const std::string &bytes);

// The name by which this process opens the file behind the descriptor.
std::string memory_file_path(int fd);
