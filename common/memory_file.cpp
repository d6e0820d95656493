// Sealed copies in memory of files that Allegro opens by name, so that it reads exactly the bytes that were checked.
#include "memory_file.h"
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#include "safe_file.h"

int sealed_memory_file(const std::string &bytes)
{
    const int fd = memfd_create("slumberia", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (fd < 0)
        return -1;
    if (!write_all(fd, bytes) || ::fcntl(fd, F_ADD_SEALS, F_SEAL_WRITE | F_SEAL_GROW | F_SEAL_SHRINK | F_SEAL_SEAL) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::string memory_file_path(int fd)
{
    return "/proc/self/fd/" + std::to_string(fd);
}
