// Scratch copies of the run tree's data files, and the kinds of damage a test does to one of them.
#pragma once
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <unistd.h>
#include <vector>
#include "headless.h"

enum class data_damage { removed, cut_to_half, last_byte_cut, bit_flipped_in_the_middle, last_bit_flipped, emptied, record_removed, record_wrong };

struct damage_case {
    const char *label;
    const char *file;    // below data/
    data_damage damage;
    const char *message; // what the program says, as a death-test pattern
};

// Names the case in test output.
inline void PrintTo(const damage_case &c, std::ostream *out) { *out << c.label; }

// A fresh scratch tree whose data/ holds a copy of every data file of the run tree's data/ with
// its record; gives the tree's path.
inline std::string copy_data_files(const char *tag)
{
    namespace fs = std::filesystem;
    const std::string tree = make_temp_dir(tag);
    fs::create_directories(tree + "/data");
    for (const auto &entry : fs::directory_iterator("data")) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(".dat") == name.size() - 4 || name.rfind(".dat.sum") == name.size() - 8)
            fs::copy_file(entry.path(), tree + "/data/" + name);
    }
    return tree;
}

inline void damage_data_file(const std::string &path, data_damage damage)
{
    std::vector<char> bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    switch (damage) {
    case data_damage::removed: std::filesystem::remove(path); return;
    case data_damage::cut_to_half: bytes.resize(bytes.size() / 2); break;
    case data_damage::last_byte_cut: bytes.pop_back(); break;
    case data_damage::bit_flipped_in_the_middle: bytes[bytes.size() / 2] ^= 0x10; break;
    case data_damage::last_bit_flipped: bytes.back() ^= 0x01; break;
    case data_damage::emptied: bytes.clear(); break;
    case data_damage::record_removed: std::filesystem::remove(path + ".sum"); return;
    case data_damage::record_wrong: write_text_file(path + ".sum", "12 0123456789abcdef\n"); return;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Runs the program's data-file load in a child inside the tree: it must end with status 1 and the
// message (allegro_message writes to stdout without a system driver).
inline void expect_load_to_end_with(const std::string &tree, void (*load)(), const char *message)
{
    EXPECT_EXIT(
        {
            dup2(fileno(stderr), fileno(stdout));
            if (chdir(tree.c_str()) != 0)
                std::_Exit(3);
            load();
            std::_Exit(0);
        },
        testing::ExitedWithCode(1), message);
}
