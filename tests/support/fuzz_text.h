// Inputs for the deterministic fuzz tests: random bytes, and well-formed text damaged in a few places.
#pragma once
#include <cstddef>
#include <random>
#include <string>

// Fewer than max_size random bytes.
inline std::string random_text(std::mt19937 &rng, std::size_t max_size)
{
    std::string text(rng() % max_size, '\0');
    for (char &c : text)
        c = static_cast<char>(rng() % 256);
    return text;
}

// text with 1 to max_edits edits: a character replaced by one of the first alphabet_size characters
// of alphabet (NULs included), one of them inserted, or up to four characters cut.
inline std::string damaged_text(std::mt19937 &rng, std::string text, int max_edits, const char *alphabet,
                                std::size_t alphabet_size)
{
    const int edits = 1 + rng() % max_edits;
    for (int i = 0; i < edits && !text.empty(); i++) {
        const std::size_t at = rng() % text.size();
        const char c = alphabet[rng() % alphabet_size];
        switch (rng() % 3) {
        case 0: text[at] = c; break;
        case 1: text.insert(at, 1, c); break;
        default: text.erase(at, 1 + rng() % 4); break;
        }
    }
    return text;
}
