// Draws every picture and font of the game and the editor and writes their eight data files, each
// with the record of its size and checksum that start-up checks.
#include "art.h"
#include "datafile_check.h"
#include "datafile_table.h"
#include "datafile_writer.h"
#include <allegro.h>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

std::string the_font_regular;
std::string the_font_bold;

namespace {

struct system_font {
    int index;
    bool bold;
    int pixel_size;
};

// Fonts of the system file by entry: sizes chosen so every text the screens print fits its place.
const system_font system_fonts[] = {
    {3, false, 15},  // credits, at most 22 pixels a line
    {8, true, 23},   // intermission, lists and boxes
    {12, true, key_name_pixel_size}, // key names
    {15, true, 36},  // list titles and the map-name banner
    {30, false, 19}, // message box text: four lines in the box
    {43, true, 17},  // the map-name banner's name too wide for the title font: 29 of the widest glyphs
};

const int system_count = 44;
const int story_music_index = 26;

struct job {
    const char *file;
    std::function<bool(datafile_builder &)> fill;
    bool reads_files; // reads sounds or music through Allegro: stays on the main thread
};

bool pictures(datafile_builder &b, int count, canvas (*draw)(int), const char *(*name)(int))
{
    for (int i = 0; i < count; i++)
        b.add_bitmap(name(i), draw(i));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR AUDIO_DIR REGULAR_TTF BOLD_TTF\n", argv[0]);
        return 2;
    }
    std::string out = argv[1], audio = argv[2];
    the_font_regular = argv[3];
    the_font_bold = argv[4];
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "Allegro did not start\n");
        return 1;
    }

    std::vector<job> jobs = {
        {"d_player.dat", [](datafile_builder &b) { return pictures(b, player_sprite_count, player_sprite, player_sprite_name); }, false},
        {"d_tiles.dat", [](datafile_builder &b) { return pictures(b, plain_tile_count, plain_tile, plain_tile_name); }, false},
        {"d_build_tiles.dat", [](datafile_builder &b) { return pictures(b, build_tile_count, build_tile, build_tile_name); }, false},
        {"d_sounds.dat",
         [&](datafile_builder &b) {
             for (int i = 0; i < 7; i++) {
                 std::string wav = audio + "/sound_" + std::to_string(i) + ".wav";
                 if (!b.add_sample("SOUND_" + std::to_string(i), wav)) {
                     std::fprintf(stderr, "cannot read %s\n", wav.c_str());
                     return false;
                 }
             }
             return true;
         },
         true},
        {"d_backgrounds.dat", [](datafile_builder &b) { return pictures(b, background_count, background, background_name); }, false},
        {"d_system.dat",
         [&](datafile_builder &b) {
             for (int i = 0; i < system_count; i++) {
                 const system_font *font = nullptr;
                 for (const system_font &f : system_fonts)
                     if (f.index == i)
                         font = &f;
                 if (font)
                     b.add_font(system_picture_name(i), font->bold ? the_font_bold : the_font_regular, font->pixel_size);
                 else if (i == story_music_index) {
                     std::string mid = audio + "/story.mid";
                     if (!b.add_midi(system_picture_name(i), mid)) {
                         std::fprintf(stderr, "cannot read %s\n", mid.c_str());
                         return false;
                     }
                 } else
                     b.add_bitmap(system_picture_name(i), system_picture(i));
             }
             return true;
         },
         true},
        {"d_portraits.dat", [](datafile_builder &b) { return pictures(b, portrait_count, portrait, portrait_name); }, false},
        {"d_data.dat", [](datafile_builder &b) { return pictures(b, editor_picture_count, editor_picture, editor_picture_name); }, false},
    };

    // Drawing is pure and per file, so the files are drawn side by side; writing stays on this thread
    // because the packfile password is global.
    std::vector<datafile_builder> built(jobs.size());
    std::vector<char> ok(jobs.size(), 0);
    std::vector<std::thread> workers;
    for (size_t i = 0; i < jobs.size(); i++)
        if (!jobs[i].reads_files)
            workers.emplace_back([&, i] { ok[i] = jobs[i].fill(built[i]) ? 1 : 0; });
    for (size_t i = 0; i < jobs.size(); i++)
        if (jobs[i].reads_files)
            ok[i] = jobs[i].fill(built[i]) ? 1 : 0;
    for (std::thread &t : workers)
        t.join();
    for (size_t i = 0; i < jobs.size(); i++) {
        std::string path = out + "/" + jobs[i].file;
        if (!ok[i] || !built[i].write(path, datafile_password) || !write_datafile_record(path.c_str())) {
            std::fprintf(stderr, "could not make %s\n", path.c_str());
            std::remove(path.c_str());
            return 1;
        }
        std::printf("%s: %zu objects\n", path.c_str(), built[i].count());
    }
    return 0;
}
