// Rewrites a TiMidity patch-set index (freepats.cfg) as the default.cfg index that pat2dat reads.
//
// Usage: make_patch_index <timidity .cfg> <output directory>
// Writes <output directory>/default.cfg and links the patch directories it names beside it,
// because pat2dat resolves patch paths only relative to the index file.
// The two formats differ: TiMidity numbers programs from 0 under "bank 0" and lists drums
// under "drumset 0"; the GUS index numbers programs from 1 and lists drums by key inside a
// "begin_multipatch" block. Other banks and drum sets are left out (General MIDI uses none).
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_patch_index <timidity .cfg> <output directory>\n");
        return 1;
    }
    fs::path source = argv[1];
    std::ifstream in(source);
    if (!in) {
        std::fprintf(stderr, "make_patch_index: cannot open %s\n", argv[1]);
        return 1;
    }
    fs::path base = source.parent_path();
    enum { none, tones, drums } part = none;
    std::vector<std::pair<int, std::string>> tone_list, drum_list;
    std::string text;
    while (std::getline(in, text)) {
        size_t hash = text.find('#');
        if (hash != std::string::npos)
            text.erase(hash);
        std::istringstream line(text);
        std::string first;
        if (!(line >> first))
            continue;
        if (first == "dir") {
            std::string d;
            line >> d;
            base = d;
        } else if (first == "bank" || first == "drumset") {
            int n = -1;
            line >> n;
            part = n != 0 ? none : first == "bank" ? tones : drums;
        } else if (std::isdigit((unsigned char)first[0]) && part != none) {
            int n = std::stoi(first);
            std::string file;
            if (!(line >> file) || n < 0 || n > 127)
                continue;
            if (file.size() < 4 || file.compare(file.size() - 4, 4, ".pat") != 0)
                file += ".pat";
            if (!fs::exists(base / file))
                continue;  // an index may name patches that the package does not ship
            (part == tones ? tone_list : drum_list).push_back({n, file});
        }
    }
    if (tone_list.empty()) {
        std::fprintf(stderr, "make_patch_index: no instruments found in %s\n", argv[1]);
        return 1;
    }

    fs::path out_dir = argv[2];
    fs::create_directories(out_dir);
    std::set<std::string> tops;
    for (const auto *list : {&tone_list, &drum_list})
        for (const auto &e : *list)
            tops.insert(fs::path(e.second).begin()->string());
    for (const std::string &top : tops) {
        fs::path link = out_dir / top;
        std::error_code ec;
        fs::remove(link, ec);
        fs::create_directory_symlink(fs::absolute(base / top), link, ec);
        if (ec) {
            std::fprintf(stderr, "make_patch_index: cannot link %s: %s\n", link.c_str(), ec.message().c_str());
            return 1;
        }
    }
    std::ofstream out(out_dir / "default.cfg", std::ios::trunc);
    out << "# Patch index for the DIGMID driver, made from " << source.string() << "\n";
    for (const auto &e : tone_list)
        out << e.first + 1 << " " << e.second << "\n";
    out << "129-256 begin_multipatch default blank\n";
    for (const auto &e : drum_list)
        out << e.first << " " << e.second << "\n";
    out << "end_multipatch\n";
    if (!out) {
        std::fprintf(stderr, "make_patch_index: cannot write %s\n", (out_dir / "default.cfg").c_str());
        return 1;
    }
    std::printf("patch index: %zu instruments, %zu drums\n", tone_list.size(), drum_list.size());
    return 0;
}
