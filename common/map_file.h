// The map file, read and written in one place for both programs: its contents as a plain record, a reader and a writer.
#pragma once
#include <iosfwd>
#include <vector>
#include "map_format.h"

const int map_name_size = 32;   // line 1: at most 31 characters
const int map_path_size = 256;  // lines 2 and 3: at most 255 characters
const int max_teleports = 300;  // one a cell at most; a larger count loads only this many

// Everything a map file holds, in the file's own terms (start and exit in cells).
struct map_file {
    char name[map_name_size] = "";
    char file_name[map_path_size] = "";
    char next_map[map_path_size] = "";
    int start_x = 0, start_y = 0;
    int exit_x = 0, exit_y = 0;
    int background = 0;
    int x_velocity = 0;
    int y_velocity = 0;
    int block_layer[map_width][map_height] = {};
    int trans_layer[map_width][map_height] = {};
    int teleport_count = 0; // as read; the list itself is what counts
    std::vector<teleport> teleports;
};

// What becomes of one of the three text lines that a short file does not reach: the game empties
// it, the editor keeps the value its emptied map holds.
enum class unread_lines { emptied, kept };

// Reads a map file's contents over `into`, which holds the caller's defaults.
// Lines 1 to 3 are whole lines (a "\r" before the newline stays part of them); line 1 keeps its
// first 31 characters and the rest of it is skipped; a line 2 or 3 longer than 255 characters keeps
// its first 255 and ends the reading. Then come whitespace-separated decimal integers. Reading stops
// at the first item that cannot be read (end of file, not a number, out of int range): that value and
// all after it keep the defaults, and a line that was not read becomes "" or keeps its default, as
// `unread` says. A positive teleport count appends that many (at most 300) zeroed teleports, then
// fills them in order; none for 0 or below.
void read_map_stream(std::istream &in, map_file &into, unread_lines unread = unread_lines::emptied);

// Opens `path` without newline translation and reads it as above.
// Returns -1 when the file was opened and read, 0 when it cannot be opened (`into` untouched).
int read_map_file(const char *path, map_file &into, unread_lines unread = unread_lines::emptied);

// Writes the editor's format: every value on a line of its own ending "\n", so 611 + 4n lines for
// n teleports; the count written is the size of the teleport list.
void write_map_stream(std::ostream &out, const map_file &from);

// Creates or replaces `path` whole. Returns -1 when written, 0 when the file cannot be written, and
// then an old file of that name is as it was.
int write_map_file(const char *path, const map_file &from);
