// Reading the files both programs take from disk: only a plain file, never a wait on open, never more than its kind can hold.
#include "plain_file.h"
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Reads from fd until `wanted` bytes are in, or the file ends. false on a read error.
bool read_up_to(int fd, std::size_t wanted, std::string &into)
{
    char chunk[16384];
    while (into.size() < wanted) {
        const std::size_t ask = wanted - into.size() < sizeof(chunk) ? wanted - into.size() : sizeof(chunk);
        const ssize_t got = ::read(fd, chunk, ask);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        into.append(chunk, static_cast<std::size_t>(got));
    }
    return true;
}

// A stream over a string it owns.
struct held_text {
    std::string text;
    std::size_t at = 0;
};

ssize_t held_read(void *cookie, char *buf, std::size_t size)
{
    held_text *held = static_cast<held_text *>(cookie);
    const std::size_t left = held->text.size() - held->at;
    const std::size_t n = size < left ? size : left;
    std::memcpy(buf, held->text.data() + held->at, n);
    held->at += n;
    return static_cast<ssize_t>(n);
}

int held_close(void *cookie)
{
    delete static_cast<held_text *>(cookie);
    return 0;
}

} // namespace

int open_plain_file(const char *path, std::size_t bound)
{
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return -1;
    struct stat info;
    const bool plain = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0 &&
                       static_cast<unsigned long long>(info.st_size) <= bound;
    const int flags = plain ? ::fcntl(fd, F_GETFL) : -1;
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int read_plain_file_start(const char *path, std::size_t bound, std::size_t length, std::string &contents)
{
    contents.clear();
    const int fd = open_plain_file(path, bound);
    if (fd < 0)
        return 0;
    // One byte past the bound shows a file that grew since it was examined.
    const std::size_t wanted = length < bound ? length : bound + 1;
    const bool read = read_up_to(fd, wanted, contents);
    ::close(fd);
    if (!read || contents.size() > bound) {
        contents.clear();
        return 0;
    }
    return -1;
}

int read_plain_file(const char *path, std::size_t bound, std::string &contents)
{
    return read_plain_file_start(path, bound, bound + 1, contents);
}

std::FILE *open_plain_stream(const char *path, std::size_t bound)
{
    held_text *held = new held_text;
    if (!read_plain_file(path, bound, held->text)) {
        delete held;
        return nullptr;
    }
    cookie_io_functions_t functions = {};
    functions.read = held_read;
    functions.close = held_close;
    std::FILE *stream = fopencookie(held, "rb", functions);
    if (!stream)
        delete held;
    return stream;
}
