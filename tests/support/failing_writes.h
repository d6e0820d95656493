// Making file writes fail for real, also for root (a file-size limit), reading stdout through a pipe meanwhile, and what a directory holds afterwards.
#pragma once
#include <csignal>
#include <filesystem>
#include <set>
#include <cstdio>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

// What a file-size limit does to SIGXFSZ, which the kernel sends on a write past it: the test
// ignores it meanwhile, or it is left as the program set it (which a program that did not ignore it
// would die of).
enum class size_signal { ignored_by_the_test, as_the_program_sets_it };

// While it lives, no file this process writes can grow past `bytes`: a write beyond that fails
// (EFBIG, when SIGXFSZ is ignored) as on a full disk. Permissions do not stop root, this does.
class file_size_limit {
public:
    explicit file_size_limit(rlim_t bytes, size_signal handling = size_signal::ignored_by_the_test)
    {
        getrlimit(RLIMIT_FSIZE, &before);
        old_handler = std::signal(SIGXFSZ, SIG_IGN);
        if (handling == size_signal::as_the_program_sets_it)
            std::signal(SIGXFSZ, old_handler);
        rlimit limited = before;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~file_size_limit()
    {
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, old_handler);
    }

private:
    rlimit before{};
    void (*old_handler)(int) = SIG_DFL;
};

// Runs step with stdout going into a pipe and gives what it printed there (headless, a message box
// is printed on stdout). A pipe is no file, so a file-size limit does not cut it.
inline std::string printed_by(const std::function<void()> &step)
{
    std::fflush(stdout);
    int ends[2];
    if (pipe(ends) != 0)
        return "(no pipe)";
    const int saved = dup(1);
    dup2(ends[1], 1);
    close(ends[1]);
    step();
    std::fflush(stdout);
    dup2(saved, 1);
    close(saved);
    std::string printed;
    char chunk[4096];
    for (ssize_t got; (got = read(ends[0], chunk, sizeof(chunk))) > 0;)
        printed.append(chunk, static_cast<std::size_t>(got));
    close(ends[0]);
    return printed;
}

// The names in a directory, so that a temporary file left behind by a write shows.
inline std::set<std::string> names_in(const std::string &dir)
{
    std::set<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}
