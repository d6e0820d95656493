// Names that are not valid UTF-8, for tests that feed them through the programs' text drawing.
#pragma once
#include <ostream>

struct bad_name {
    const char *label;
    const char *bytes;
};

// Names the case in test output.
inline void PrintTo(const bad_name &n, std::ostream *out) { *out << n.label; }

// Each fits a map's 31-character name. The first two make Allegro's UTF-8 writer loop for ever
// (a six-byte form of a 31-bit value); the rest are cut-off or unused forms.
inline const bad_name bad_names[] = {
    {"six_byte_form", "\xFD\x80\x80\x80\x80\x80"},
    {"six_byte_form_in_a_name", "Dream \xFD\xBF\xBF\xBF\xBF\xBF End"},
    {"lead_byte_FF_at_the_end", "Pim\xFF"},
    {"lead_bytes_F8_to_FE", "\xF8\xF9\xFA\xFB\xFC\xFD\xFE"},
    {"five_byte_form", "\xF8\x88\x80\x80\x80"},
    {"three_byte_form_cut_off", "Star\xE2\x82"},
    {"lone_continuation_bytes", "\x80\xBF\x80"},
};
