// What both programs set up at start, and the words they end with when Allegro cannot start.
#include "start_up.h"
#include <allegro.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#include "allegico.h"
#include "datafile_check.h"
#include "memory_file.h"
#include "plain_file.h"
#include "plain_text.h"

void ignore_file_size_signal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

std::string allegro_start_failure(const char *display, const char *allegro_reason)
{
    std::string text = "Could not start Allegro: ";
    if (allegro_reason && *allegro_reason)
        return text + allegro_reason;
    if (!display || !*display)
        return text + "no X display could be opened, because DISPLAY is not set. "
                      "Start the program from a desktop session, or set DISPLAY to your X display.";
    // A variable can hold anything; only so much of it is shown.
    return text + "no X display could be opened at DISPLAY=\"" + std::string(display).substr(0, 200) +
           "\". Is the X server running, and may you use it?";
}

void end_without_allegro()
{
    std::fprintf(stderr, "%s\n", allegro_start_failure(std::getenv("DISPLAY"), allegro_error).c_str());
    std::exit(1);
}

namespace {

std::string executable_directory()
{
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0)
        return "./";
    const std::string whole(path, static_cast<std::size_t>(length));
    return whole.substr(0, whole.rfind('/') + 1);
}

std::string home_directory()
{
    const char *home = std::getenv("HOME");
    return home && *home ? std::string(home) + "/" : std::string();
}

// The first of the paths that exists, as anything at all; "" for none.
std::string first_existing(const std::vector<std::string> &paths)
{
    for (const std::string &path : paths) {
        struct stat info;
        if (!path.empty() && ::lstat(path.c_str(), &info) == 0)
            return path;
    }
    return "";
}

// A path no file can ever have: the driver looking there finds nothing.
const char no_patch_set[] = "/proc/self/fd/-1/patches.dat";

// The sealed copy and the link by which the driver opens it (its reader wants a name ending
// in ".dat"); the link and its directory go at exit.
int the_patch_copy = -1;
std::string the_patch_link_dir;

// The link's directory is named for the process: "slumberia-patches-<pid>-XXXXXX".
const char patch_link_prefix[] = "slumberia-patches-";

void remove_link_dir(const std::string &dir)
{
    ::unlink((dir + "/patches.dat").c_str());
    ::rmdir(dir.c_str());
}

void remove_patch_link()
{
    if (!the_patch_link_dir.empty())
        remove_link_dir(the_patch_link_dir);
}

// A program ended by a signal leaves its link behind; the next start takes away those of our
// own whose process is gone.
void remove_links_of_ended_runs(const std::string &temp)
{
    DIR *listing = ::opendir(temp.c_str());
    if (!listing)
        return;
    const std::size_t prefix = sizeof(patch_link_prefix) - 1;
    while (const dirent *entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix, patch_link_prefix) != 0)
            continue;
        const long pid = std::strtol(name.c_str() + prefix, nullptr, 10);
        const std::string dir = temp + "/" + name;
        struct stat info;
        if (pid <= 0 || ::lstat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
            continue;
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            remove_link_dir(dir);
    }
    ::closedir(listing);
}

} // namespace

void change_to_executable_directory()
{
    if (::chdir(executable_directory().c_str()) != 0) {
        // Relative names then resolve against the directory the program was started in.
    }
}

void use_checked_allegro_config()
{
    const std::string home = home_directory();
    std::vector<std::string> places = {executable_directory() + "allegro.cfg"};
    if (!home.empty()) {
        places.push_back(home + "allegro.cfg");
        places.push_back(home + ".allegrorc");
    }
    places.push_back("/etc/allegro.cfg");
    places.push_back("/etc/allegrorc");
    std::string text;
    const std::string found = first_existing(places);
    if (found.empty() || !read_plain_file(found.c_str(), allegro_config_bound, text))
        text.clear();
    // Allegro reads its configuration again by name as it starts, and writes back what the
    // program changes in it: a sealed copy gives it the checked text, and takes no writes.
    static int copy = -1;
    copy = sealed_memory_file(text);
    if (copy >= 0)
        set_config_file(memory_file_path(copy).c_str());
}

void use_checked_patch_set()
{
    std::string path = get_config_string("sound", "patches", "");
    if (path.empty()) {
        const std::string home = home_directory();
        path = first_existing({executable_directory() + "patches.dat", home.empty() ? "" : home + "patches.dat",
                               "/etc/patches.dat", "/usr/share/allegro/patches.dat",
                               "/usr/local/share/allegro/patches.dat"});
    }
    std::string bytes;
    if (path.empty() || !read_plain_file(path.c_str(), patch_set_bound, bytes) || !patch_set_well_formed(bytes)) {
        set_config_string("sound", "patches", no_patch_set);
        return;
    }
    const char *temp = std::getenv("TMPDIR");
    const std::string temp_dir = temp && *temp ? temp : "/tmp";
    remove_links_of_ended_runs(temp_dir);
    std::string dir = temp_dir + "/" + patch_link_prefix + std::to_string(::getpid()) + "-XXXXXX";
    the_patch_copy = sealed_memory_file(bytes);
    if (the_patch_copy < 0 || !::mkdtemp(&dir[0])) {
        set_config_string("sound", "patches", no_patch_set);
        return;
    }
    the_patch_link_dir = dir;
    std::atexit(remove_patch_link);
    const std::string link = dir + "/patches.dat";
    if (::symlink(memory_file_path(the_patch_copy).c_str(), link.c_str()) != 0) {
        set_config_string("sound", "patches", no_patch_set);
        return;
    }
    set_config_string("sound", "patches", link.c_str());
}

void start_allegro()
{
    allegro_icon = allegico_xpm;
    ignore_file_size_signal();
    use_plain_text();
    use_checked_allegro_config();
    if (allegro_init() != 0)
        end_without_allegro();
    install_keyboard();
    install_timer();
    change_to_executable_directory();
}
