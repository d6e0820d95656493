// The one reader and writer of map files, used by the game's map loading and by the editor's save and load.
#include "map_file.h"
#include <algorithm>
#include <cstring>
#include <sstream>
#include <istream>
#include <ostream>
#include "bounded_line.h"
#include "plain_file.h"
#include "safe_file.h"

namespace {

enum class long_line { skip_rest, stop };

// Reads one whole line into buf (size bytes, always terminated). Returns false when nothing could be
// read, or when the line does not fit and `too_long` says to stop; a line that was not read is "".
bool read_whole_line(std::istream &in, char *buf, int size, long_line too_long)
{
    buf[0] = '\0';
    if (!in.good()) {
        in.setstate(std::ios::failbit);
        return false;
    }
    int cut = 0;
    if (!read_bounded_line([&in] { return in.get(); }, buf, size, &cut))
        return false;
    if (cut && too_long == long_line::stop) {
        in.setstate(std::ios::failbit);
        return false;
    }
    // get() marked the stream failed at the end too; a partial last line still counts as read.
    if (in.eof())
        in.clear(std::ios::eofbit);
    return true;
}

// Reads one of the three text lines over `field`, which keeps its value when nothing of the line
// could be read. Returns false when the reading ends here.
bool read_text_line(std::istream &in, char *field, int size, long_line too_long)
{
    char line[map_path_size];
    const bool whole = read_whole_line(in, line, size, too_long);
    // A line cut at its size limit was read in part: that part is taken.
    if (whole || line[0] != '\0')
        std::memcpy(field, line, std::strlen(line) + 1);
    return whole;
}

// One whitespace-separated decimal integer; false (and `value` untouched) when none can be read.
bool read_int(std::istream &in, int &value)
{
    int read = 0;
    if (!(in >> read))
        return false;
    value = read;
    return true;
}

// Writes a fixed buffer up to its terminator, never past the buffer's end.
void write_line(std::ostream &out, const char *text, int size)
{
    out.write(text, static_cast<std::streamsize>(strnlen(text, size)));
    out << '\n';
}

} // namespace

void read_map_stream(std::istream &in, map_file &into, unread_lines unread)
{
    if (unread == unread_lines::emptied) {
        into.name[0] = '\0';
        into.file_name[0] = '\0';
        into.next_map[0] = '\0';
    }
    if (!read_text_line(in, into.name, map_name_size, long_line::skip_rest))
        return;
    if (!read_text_line(in, into.file_name, map_path_size, long_line::stop))
        return;
    if (!read_text_line(in, into.next_map, map_path_size, long_line::stop))
        return;

    int *const header[] = {&into.start_x, &into.start_y, &into.exit_x, &into.exit_y,
                           &into.background, &into.x_velocity, &into.y_velocity};
    for (int *value : header)
        if (!read_int(in, *value))
            return;

    for (int x = 0; x < map_width; x++)
        for (int y = 0; y < map_height; y++) {
            if (!read_int(in, into.block_layer[x][y]))
                return;
            if (!read_int(in, into.trans_layer[x][y]))
                return;
        }

    if (!read_int(in, into.teleport_count))
        return;
    if (into.teleport_count <= 0)
        return;
    const std::size_t first = into.teleports.size();
    into.teleports.resize(first + std::min(into.teleport_count, max_teleports));
    for (std::size_t i = first; i < into.teleports.size(); i++) {
        teleport &t = into.teleports[i];
        int *const fields[] = {&t.src_x, &t.src_y, &t.dst_x, &t.dst_y};
        for (int *value : fields)
            if (!read_int(in, *value))
                return;
    }
}

int read_map_file(const char *path, map_file &into, unread_lines unread)
{
    std::string text;
    if (!read_plain_file(path, map_file_bound, text))
        return 0;
    std::istringstream in(text, std::ios::in | std::ios::binary);
    read_map_stream(in, into, unread);
    return -1;
}

void write_map_stream(std::ostream &out, const map_file &from)
{
    write_line(out, from.name, map_name_size);
    write_line(out, from.file_name, map_path_size);
    write_line(out, from.next_map, map_path_size);
    const int header[] = {from.start_x, from.start_y, from.exit_x, from.exit_y,
                          from.background, from.x_velocity, from.y_velocity};
    for (int value : header)
        out << value << '\n';
    for (int x = 0; x < map_width; x++)
        for (int y = 0; y < map_height; y++)
            out << from.block_layer[x][y] << '\n' << from.trans_layer[x][y] << '\n';
    out << from.teleports.size() << '\n';
    for (const teleport &t : from.teleports)
        out << t.src_x << '\n' << t.src_y << '\n' << t.dst_x << '\n' << t.dst_y << '\n';
}

int write_map_file(const char *path, const map_file &from)
{
    // The whole file is made in memory and then replaces the old one in one step, so a write that
    // fails part-way (a full disk) leaves the old map as it was.
    std::ostringstream out;
    write_map_stream(out, from);
    return replace_file(path, out.str());
}
