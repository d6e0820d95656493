// The map file, read and written in one place for both programs: its contents as a plain record, a reader and a writer.
#pragma once
#include <cstring>
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

// Reads the file at `path` as above: a plain file of at most map_file_bound bytes (plain_file.h).
// Returns -1 when the file was read, 0 when it cannot be opened, is no plain file or is larger
// (`into` untouched).
int read_map_file(const char *path, map_file &into, unread_lines unread = unread_lines::emptied);

// The one copy between the record and a program's map, either way round: the game's and the
// editor's maps are classes of their own, which hold these fields under the same names and sizes.
// The teleport count goes across as it stands (the game keeps the count as read).
template <class from_map, class to_map>
void copy_map_file(const from_map &from, to_map &to)
{
    static_assert(sizeof(to.name) == sizeof(from.name) && sizeof(to.file_name) == sizeof(from.file_name) &&
                      sizeof(to.next_map) == sizeof(from.next_map) && sizeof(to.block_layer) == sizeof(from.block_layer) &&
                      sizeof(to.trans_layer) == sizeof(from.trans_layer),
                  "a map holds what its file holds");
    std::memcpy(to.name, from.name, sizeof(to.name));
    std::memcpy(to.file_name, from.file_name, sizeof(to.file_name));
    std::memcpy(to.next_map, from.next_map, sizeof(to.next_map));
    to.name[sizeof(to.name) - 1] = '\0';
    to.file_name[sizeof(to.file_name) - 1] = '\0';
    to.next_map[sizeof(to.next_map) - 1] = '\0';
    to.start_x = from.start_x;
    to.start_y = from.start_y;
    to.exit_x = from.exit_x;
    to.exit_y = from.exit_y;
    to.background = from.background;
    to.x_velocity = from.x_velocity;
    to.y_velocity = from.y_velocity;
    std::memcpy(to.block_layer, from.block_layer, sizeof(to.block_layer));
    std::memcpy(to.trans_layer, from.trans_layer, sizeof(to.trans_layer));
    to.teleport_count = from.teleport_count;
    to.teleports = from.teleports;
}

// The record of a program's map, by the same copy the other way round.
template <class program_map>
map_file map_file_of(const program_map &from)
{
    map_file to;
    copy_map_file(from, to);
    return to;
}

// Writes the editor's format: every value on a line of its own ending "\n", so 611 + 4n lines for
// n teleports; the count written is the size of the teleport list.
void write_map_stream(std::ostream &out, const map_file &from);

// Creates or replaces `path` whole. Returns -1 when written, 0 when the file cannot be written, and
// then an old file of that name is as it was.
int write_map_file(const char *path, const map_file &from);
