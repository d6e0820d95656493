// Builds an Allegro data file object by object and writes it packed under a password.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class canvas;

struct dat_object {
    uint32_t type = 0;
    std::string name;
    std::vector<uint8_t> data;
};

class datafile_builder {
public:
    // A 24-bit BMP object of the canvas (magenta where it is see-through).
    void add_bitmap(const std::string &name, const canvas &c);
    // A monochrome FONT object of printable ASCII from a TrueType file.
    void add_font(const std::string &name, const std::string &ttf, int pixel_size);
    // A SAMPLE object from a WAV file; false when the file cannot be read.
    bool add_sample(const std::string &name, const std::string &wav);
    // A MIDI object from a standard MIDI file; false when it cannot be read.
    bool add_midi(const std::string &name, const std::string &mid);

    size_t count() const { return objects.size(); }
    // Writes the file; false on failure.
    bool write(const std::string &path, const char *password) const;

private:
    std::vector<dat_object> objects;
};

// Raw glyph data of a monochrome font: the object body that add_font stores.
std::vector<uint8_t> mono_font_body(const std::string &ttf, int pixel_size);
