// Reading the files both programs take from disk: only a plain file, never a wait on open, never more than its kind can hold.
#pragma once
#include <cstddef>
#include <cstdio>
#include <string>

// How large a file of each kind may be. Far above what the programs write, and far below what
// would take a noticeable time or memory to read; a larger file is not read at all.
const std::size_t settings_file_bound = 64 * 1024;        // a few short numbers
const std::size_t save_file_bound = 1024 * 1024;          // thirteen lines, each cut to 255 characters
const std::size_t loader_file_bound = 1024 * 1024;        // two lines, each cut to its field
const std::size_t map_file_bound = 1024 * 1024;           // 611 + 4 * 300 numbers and three lines
const std::size_t movie_file_bound = 16 * 1024 * 1024;    // 5000 ticks of five keys, and the map
const std::size_t song_file_bound = 16 * 1024 * 1024;
const std::size_t datafile_record_bound = 4 * 1024;      // the size and checksum of a data file
const std::size_t datafile_bound = 256 * 1024 * 1024;     // every picture and sound of a data file
const std::size_t allegro_config_bound = 64 * 1024;       // Allegro's set-up: a few short lines
const std::size_t patch_set_bound = 128 * 1024 * 1024;    // every General MIDI instrument

// Opens path for reading when it is a regular file of at most `bound` bytes. The open never waits
// (a named pipe with no writer would hold a plain open for ever): it is made non-blocking, the file
// is examined, and only then does it read as usual. A pipe, a device, a directory or a larger file
// is refused. Returns the descriptor, or -1.
int open_plain_file(const char *path, std::size_t bound);

// The whole file into contents, through open_plain_file. -1 when it was read whole; 0 when it was
// refused, could not be read, or turned out larger than `bound` while it was read (contents "").
int read_plain_file(const char *path, std::size_t bound, std::string &contents);

// The same, but only its first `length` bytes (all of a shorter file): for a reader that looks at
// no more than a line or a few bytes at the start.
int read_plain_file_start(const char *path, std::size_t bound, std::size_t length, std::string &contents);

// The whole file, read as by read_plain_file, as a stream for reading ("rb"); it holds its own copy
// and frees it on fclose. nullptr when read_plain_file would fail.
std::FILE *open_plain_stream(const char *path, std::size_t bound);
