// Whole-or-nothing file writes for both programs: a temporary file in the same directory, renamed or linked into place.
#include "safe_file.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool write_all(int fd, const std::string &contents)
{
    const char *at = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        const ssize_t done = ::write(fd, at, left);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        at += done;
        left -= static_cast<std::size_t>(done);
    }
    return true;
}

namespace {

// Makes a temporary file beside path holding contents, its name into temp. The name never ends
// the way the programs' own files do (".qsv", ".map", ...), so no listing takes it for one.
bool write_temporary(const char *path, const std::string &contents, std::string &temp)
{
    // A file being replaced keeps its permissions.
    struct stat old_file;
    const bool replacing = ::stat(path, &old_file) == 0;
    // A name the directory does not hold yet, claimed with O_EXCL so that it is ours alone; the
    // file is made with the usual permissions (0666 less the umask), as fopen would make it.
    int fd = -1;
    for (unsigned attempt = 0; attempt < 1000 && fd < 0; attempt++) {
        char suffix[64];
        std::snprintf(suffix, sizeof(suffix), ".%ld.%u.tmp", static_cast<long>(getpid()), attempt);
        temp = std::string(path) + suffix;
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    if (replacing)
        ::fchmod(fd, old_file.st_mode & 07777);
    bool written = write_all(fd, contents);
    written = ::fsync(fd) == 0 && written;
    written = ::close(fd) == 0 && written;
    if (!written)
        ::unlink(temp.c_str());
    return written;
}

// The directory entry of a finished rename is made lasting too; a failure here loses nothing.
void sync_directory_of(const char *path)
{
    std::string directory(path);
    const std::size_t slash = directory.rfind('/');
    directory = slash == std::string::npos ? "." : directory.substr(0, slash + 1);
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The file a write is to replace: a symbolic link is followed, so that the file it names is
// replaced and the link stays. false when the name holds something other than a regular file (a
// directory, a device), which is never replaced.
bool file_to_replace(const char *path, std::string &target)
{
    target = path;
    struct stat info;
    if (::lstat(path, &info) != 0)
        return errno == ENOENT;
    if (S_ISLNK(info.st_mode)) {
        char *resolved = ::realpath(path, nullptr);
        if (!resolved)
            return false;
        target = resolved;
        std::free(resolved);
        if (::stat(target.c_str(), &info) != 0)
            return false;
    }
    return S_ISREG(info.st_mode);
}

} // namespace

int replace_file(const char *path, const std::string &contents)
{
    std::string target;
    if (!file_to_replace(path, target))
        return 0;
    std::string temp;
    if (!write_temporary(target.c_str(), contents, temp))
        return 0;
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return 0;
    }
    sync_directory_of(target.c_str());
    return -1;
}

int create_new_file(const char *path, const std::string &contents)
{
    std::string temp;
    if (!write_temporary(path, contents, temp))
        return 0;
    // link() gives the finished file the name only when no file holds it; it never replaces one.
    int linked = ::link(temp.c_str(), path) == 0 ? -1 : 0;
    const int link_error = errno;
    ::unlink(temp.c_str());
    if (!linked)
        return link_error == EEXIST ? new_file_taken : 0;
    sync_directory_of(path);
    return -1;
}
