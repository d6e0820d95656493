// The record the build writes beside each data file (its size and checksum), checked before Allegro reads the file.
#include "datafile_check.h"
#include <cstdio>
#include <string>
#include <unistd.h>
#include "memory_file.h"
#include "plain_file.h"
#include "safe_file.h"

namespace {

// FNV-1a, 64 bits: any damage to a file changes it, and it is quick to work out.
const unsigned long long sum_start = 14695981039346656037ULL;
const unsigned long long sum_prime = 1099511628211ULL;

// Holds the record's path: the data file's path and ".sum".
const int record_path_size = 512;

// The record: one line of two numbers, far shorter than this.
const int record_read_limit = 64;

// How much a data file may unpack to: every background, picture and sound of a file many times over.
const std::size_t unpacked_bound = 256 * 1024 * 1024;

int record_path(const char *path, char *out)
{
    const int length = std::snprintf(out, record_path_size, "%s.sum", path);
    return length > 0 && length < record_path_size ? -1 : 0;
}

unsigned long long checksum(const std::string &bytes)
{
    unsigned long long sum = sum_start;
    for (unsigned char c : bytes)
        sum = (sum ^ c) * sum_prime;
    return sum;
}

int read_record(const char *path, unsigned long long *size, unsigned long long *sum)
{
    char record[record_path_size];
    if (!record_path(path, record))
        return 0;
    std::string text;
    if (!read_plain_file_start(record, datafile_record_bound, record_read_limit, text))
        return 0;
    return std::sscanf(text.c_str(), "%llu %llx", size, sum) == 2 ? -1 : 0;
}

// The data file read once, into bytes, when it has the size and checksum its record gives.
int read_intact_datafile(const char *path, std::string &bytes)
{
    unsigned long long want_size = 0, want_sum = 0;
    if (!read_record(path, &want_size, &want_sum) || want_size > datafile_bound)
        return 0;
    if (!read_plain_file(path, static_cast<std::size_t>(want_size), bytes))
        return 0;
    return bytes.size() == want_size && checksum(bytes) == want_sum ? -1 : 0;
}

// The objects of an unpacked data file, read from its start; each read fails once past the end.
struct object_reader {
    const std::string &bytes;
    std::size_t at = 0;
    bool failed = false;

    bool has(std::size_t n) const { return !failed && bytes.size() - at >= n; }
    unsigned long get(int n)
    {
        if (!has(static_cast<std::size_t>(n))) {
            failed = true;
            return 0;
        }
        unsigned long value = 0;
        for (int i = 0; i < n; i++)
            value = value << 8 | static_cast<unsigned char>(bytes[at++]);
        return value;
    }
    unsigned long word() { return get(2); }
    unsigned long longword() { return get(4); }
    long signed_word() { return static_cast<short>(get(2)); }
    void skip(unsigned long long n)
    {
        if (!has(static_cast<std::size_t>(n)) || n > bytes.size())
            failed = true;
        else
            at += static_cast<std::size_t>(n);
    }
};

// Far beyond any picture, glyph, font or sound the programs use; a larger one is a crafted file.
const unsigned long max_side = 4096;
const unsigned long max_glyph_side = 1024;
const unsigned long max_font_ranges = 256;
const unsigned long max_glyphs = 65536;
const unsigned long max_objects = 100000;
const unsigned long max_property = 1024;

// Each check reads one object's body from the reader (positioned at its start) and says whether
// it has the form Allegro's loader for that kind expects; the caller then compares the bytes read
// with the object's stated size.
bool bitmap_body(object_reader &r)
{
    const long bits = r.signed_word();
    const unsigned long w = r.word(), h = r.word();
    if (bits != 24 || w < 1 || h < 1 || w > max_side || h > max_side)
        return false;
    r.skip(3ULL * w * h);
    return true;
}

bool font_body(object_reader &r)
{
    const unsigned long format = r.word(), ranges = r.word();
    if (format != 0 || ranges < 1 || ranges > max_font_ranges)
        return false;
    for (unsigned long i = 0; i < ranges && !r.failed; i++) {
        const unsigned long mono = r.get(1), first = r.longword(), last = r.longword();
        if (mono != 1 || first > last || last - first >= max_glyphs)
            return false;
        for (unsigned long c = first; c <= last && !r.failed; c++) {
            const unsigned long w = r.word(), h = r.word();
            if (w < 1 || h < 1 || w > max_glyph_side || h > max_glyph_side)
                return false;
            r.skip((w + 7) / 8 * h);
        }
    }
    return true;
}

bool sample_body(object_reader &r)
{
    const long bits = r.signed_word();
    r.word(); // frequency: any
    const unsigned long length = r.longword();
    const unsigned long size = bits < 0 ? -bits : bits;
    if ((size != 8 && size != 16) || length < 1)
        return false;
    r.skip(1ULL * length * (bits < 0 ? 2 : 1) * (size / 8));
    return true;
}

bool midi_body(object_reader &r)
{
    if (r.signed_word() <= 0)
        return false;
    for (int track = 0; track < MIDI_TRACKS && !r.failed; track++)
        r.skip(r.longword());
    return true;
}

// Reads past an object's properties, each of at most `longest` bytes, to the object's own kind,
// which it gives in `type`. False for a longer property.
bool skip_properties(object_reader &r, unsigned long longest, unsigned long &type)
{
    type = r.longword();
    while (!r.failed && type == static_cast<unsigned long>(DAT_PROPERTY)) {
        r.longword(); // the property's kind: any
        const unsigned long size = r.longword();
        if (size > longest)
            return false;
        r.skip(size);
        type = r.longword();
    }
    return true;
}

struct object_kind {
    unsigned long type;
    bool (*body)(object_reader &r);
};

// The kinds the build writes into data files; any other kind is refused.
const object_kind object_kinds[] = {
    {DAT_BITMAP, bitmap_body},
    {DAT_FONT, font_body},
    {DAT_SAMPLE, sample_body},
    {DAT_MIDI, midi_body},
};

bool object_well_formed(object_reader &r)
{
    unsigned long type = 0;
    if (!skip_properties(r, max_property, type))
        return false;
    const unsigned long stored = r.longword(), unpacked = r.longword();
    if (r.failed || stored != unpacked || !r.has(stored))
        return false;
    for (const object_kind &kind : object_kinds) {
        if (kind.type != type)
            continue;
        const std::size_t start = r.at;
        return kind.body(r) && !r.failed && r.at - start == stored;
    }
    return false;
}

// The data file that this process opens as `path`, unpacked and decoded by Allegro under the
// password, holds well-formed objects only.
int well_formed_at(const char *path)
{
    std::string unpacked;
    PACKFILE *file = pack_fopen(path, F_READ_PACKED);
    if (!file)
        return 0;
    char chunk[16384];
    long got = 0;
    while (unpacked.size() <= unpacked_bound && (got = pack_fread(chunk, sizeof(chunk), file)) > 0)
        unpacked.append(chunk, static_cast<std::size_t>(got));
    pack_fclose(file);
    if (unpacked.size() > unpacked_bound)
        return 0;
    object_reader r{unpacked};
    const unsigned long magic = r.longword(), count = r.longword();
    if (r.failed || magic != static_cast<unsigned long>(DAT_MAGIC) || count > max_objects)
        return 0;
    for (unsigned long i = 0; i < count; i++)
        if (!object_well_formed(r))
            return 0;
    return r.at == unpacked.size() ? -1 : 0;
}

// The longest property (an instrument's name) a patch set may hold; the driver reads names into
// a small buffer of its own.
const unsigned long max_patch_property = 255;
const unsigned long max_patches = 1024;

bool patch_object_well_formed(object_reader &r)
{
    unsigned long type = 0;
    if (!skip_properties(r, max_patch_property, type))
        return false;
    const unsigned long stored = r.longword(), unpacked = r.longword();
    if (r.failed || type == static_cast<unsigned long>(DAT_FILE) || stored != unpacked || !r.has(stored))
        return false;
    r.skip(stored);
    return true;
}

} // namespace

int patch_set_well_formed(const std::string &bytes)
{
    object_reader r{bytes};
    const unsigned long unpacked = r.longword(), magic = r.longword(), count = r.longword();
    if (r.failed || unpacked != static_cast<unsigned long>(F_NOPACK_MAGIC) ||
        magic != static_cast<unsigned long>(DAT_MAGIC) || count > max_patches)
        return 0;
    for (unsigned long i = 0; i < count; i++)
        if (!patch_object_well_formed(r))
            return 0;
    return r.at == bytes.size() ? -1 : 0;
}

int write_datafile_record(const char *path)
{
    std::string bytes;
    char record[record_path_size], text[64];
    if (!read_plain_file(path, datafile_bound, bytes) || !record_path(path, record))
        return 0;
    std::snprintf(text, sizeof(text), "%zu %016llx\n", bytes.size(), checksum(bytes));
    return replace_file(record, text);
}

int datafile_intact(const char *path)
{
    std::string bytes;
    return read_intact_datafile(path, bytes);
}

int datafile_well_formed(const std::string &bytes)
{
    const int fd = sealed_memory_file(bytes);
    if (fd < 0)
        return 0;
    const int formed = well_formed_at(memory_file_path(fd).c_str());
    ::close(fd);
    return formed;
}

DATAFILE *load_intact_datafile(const char *path)
{
    std::string bytes;
    if (!read_intact_datafile(path, bytes))
        return nullptr;
    const int fd = sealed_memory_file(bytes);
    if (fd < 0)
        return nullptr;
    const std::string copy = memory_file_path(fd);
    DATAFILE *loaded = well_formed_at(copy.c_str()) ? load_datafile(copy.c_str()) : nullptr;
    ::close(fd);
    return loaded;
}
