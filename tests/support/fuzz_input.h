// Deterministic random input for the fuzz tests: edge numbers, random bytes, damaged and cut texts.
#pragma once
#include <climits>
#include <cstddef>
#include <random>
#include <string>
#include <utility>
#include "fuzz_text.h"

class fuzz_input {
public:
    explicit fuzz_input(unsigned seed) : rng(seed) {}

    unsigned next() { return static_cast<unsigned>(rng()); }

    // A number, often at an edge: the ends of int, just past a range, small, or anything at all.
    long long any_value()
    {
        static const long long edges[] = {INT_MIN, INT_MAX, -1, 0, 1, 2, 3, 14, 15, 19, 20, 255, 256, -256,
                                          4999, 5000, 5001, 9999, 640, 481, 1LL << 40, -(1LL << 40)};
        switch (next() % 4) {
        case 0: return edges[next() % (sizeof(edges) / sizeof(edges[0]))];
        case 1: return static_cast<int>(next());
        default: return static_cast<long long>(next() % 80) - 20;
        }
    }

    std::string random_bytes(std::size_t max_size) { return random_text(rng, max_size + 1); }

    // One to ten edits of text with characters of alphabet (see damaged_text).
    std::string mutated(std::string text, const std::string &alphabet)
    {
        return damaged_text(rng, std::move(text), 10, alphabet.data(), alphabet.size());
    }

    // The text cut at any place, from nothing to all of it.
    std::string truncated(const std::string &text) { return text.substr(0, next() % (text.size() + 1)); }

    // The characters that matter to readers of numbers and lines.
    static std::string number_alphabet() { return std::string("0123456789-+ \t\r\n\v\fxZ.\0", 23); }

private:
    std::mt19937 rng;
};
