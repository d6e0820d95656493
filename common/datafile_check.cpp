// The record the build writes beside each data file (its size and checksum), checked before Allegro reads the file.
#include "datafile_check.h"
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>
#include <unistd.h>
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

int record_path(const char *path, char *out)
{
    const int length = std::snprintf(out, record_path_size, "%s.sum", path);
    return length > 0 && length < record_path_size ? -1 : 0;
}

// Size and checksum of the file, which must be a plain file of at most `limit` bytes (and never
// more than a data file can be); reading stops within one chunk once it is past `limit` bytes.
int measure_file(const char *path, unsigned long long limit, unsigned long long *size, unsigned long long *sum)
{
    limit = std::min<unsigned long long>(limit, datafile_bound);
    const int fd = open_plain_file(path, static_cast<std::size_t>(limit));
    if (fd < 0)
        return 0;
    unsigned char chunk[16384];
    *size = 0;
    *sum = sum_start;
    ssize_t got = 0;
    while (*size <= limit) {
        got = ::read(fd, chunk, sizeof(chunk));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        *size += static_cast<unsigned long long>(got);
        for (ssize_t i = 0; i < got; i++)
            *sum = (*sum ^ chunk[i]) * sum_prime;
    }
    ::close(fd);
    return got >= 0 ? -1 : 0;
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

} // namespace

int write_datafile_record(const char *path)
{
    unsigned long long size = 0, sum = 0;
    char record[record_path_size], text[64];
    if (!measure_file(path, ~0ULL, &size, &sum) || !record_path(path, record))
        return 0;
    std::snprintf(text, sizeof(text), "%llu %016llx\n", size, sum);
    return replace_file(record, text);
}

int datafile_intact(const char *path)
{
    unsigned long long want_size = 0, want_sum = 0, size = 0, sum = 0;
    if (!read_record(path, &want_size, &want_sum) || !measure_file(path, want_size, &size, &sum))
        return 0;
    return size == want_size && sum == want_sum ? -1 : 0;
}

DATAFILE *load_intact_datafile(const char *path)
{
    return datafile_intact(path) ? load_datafile(path) : nullptr;
}
