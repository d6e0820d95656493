// Shared by the player tests: a sound driver that records what plays, maps drawn from text, ticks run through the real code.
#pragma once
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>
#include "auto_script.h"
#include "building_block.h"
#include "datafiles.h"
#include "do_drawing.h"
#include "headless.h"
#include "level_set_screen.h"
#include "map.h"
#include "message.h"
#include "player.h"
#include "show_map_name.h"
#include "timer.h"

namespace player_test {

// A digital sound driver that plays nothing and remembers every sample started on it.
inline std::vector<const SAMPLE *> &started_samples()
{
    static std::vector<const SAMPLE *> samples;
    return samples;
}

inline int recorder_detect(int) { return TRUE; }
inline int recorder_init(int, int) { return 0; }
inline void recorder_exit(int) {}
inline void recorder_init_voice(int, const SAMPLE *sample) { started_samples().push_back(sample); }
inline void recorder_voice(int) {}
inline void recorder_voice_value(int, int) {}
inline void recorder_voice_sweep(int, int, int) {}
inline int recorder_voice_get(int) { return 0; }
// Every voice reads as finished, so voices are reused and never run out.
inline int recorder_position(int) { return -1; }

inline void install_sound_recorder()
{
    static DIGI_DRIVER recorder;
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    recorder.id = AL_ID('R', 'E', 'C', 'D');
    recorder.name = recorder.desc = recorder.ascii_name = "recorder";
    recorder.voices = recorder.max_voices = recorder.def_voices = 32;
    recorder.detect = recorder_detect;
    recorder.init = recorder_init;
    recorder.exit = recorder_exit;
    recorder.init_voice = recorder_init_voice;
    recorder.release_voice = recorder_voice;
    recorder.start_voice = recorder_voice;
    recorder.stop_voice = recorder_voice;
    recorder.loop_voice = recorder_voice_value;
    recorder.get_position = recorder_position;
    recorder.set_position = recorder_voice_value;
    recorder.get_volume = recorder_voice_get;
    recorder.set_volume = recorder_voice_value;
    recorder.ramp_volume = recorder_voice_sweep;
    recorder.stop_volume_ramp = recorder_voice;
    recorder.get_frequency = recorder_voice_get;
    recorder.set_frequency = recorder_voice_value;
    recorder.sweep_frequency = recorder_voice_sweep;
    recorder.stop_frequency_sweep = recorder_voice;
    recorder.get_pan = recorder_voice_get;
    recorder.set_pan = recorder_voice_value;
    recorder.sweep_pan = recorder_voice_sweep;
    recorder.stop_pan_sweep = recorder_voice;
    // Allegro's silent driver sets up the voice tables; the recorder then takes its place.
    install_sound(DIGI_NONE, MIDI_NONE, nullptr);
    digi_driver = &recorder;
}

// The d_sounds entries started since the last clear, in order (-1 for any other sample).
inline std::vector<int> sounds_played()
{
    std::vector<int> entries;
    const int count = datafile_count(d_sounds);
    for (const SAMPLE *sample : started_samples()) {
        int entry = -1;
        for (int i = 0; i < count; i++)
            if (d_sounds[i].dat == sample)
                entry = i;
        entries.push_back(entry);
    }
    return entries;
}

inline void clear_sounds() { started_samples().clear(); }

// One character per cell, rows from the top:
//   '.' empty   '#' plain tile 0   'U' Up Block   'S' Standing Block   'D' Down Block
//   'X' all-restriction   's' Standing restriction   'd' Down restriction   'u' Up restriction
//   'C' Crumbling Block   '=' horizontal tunnel   '|' vertical tunnel
inline int code_of(char c)
{
    switch (c) {
    case '#': return 0;
    case 'U': return build_up;
    case 'S': return build_still;
    case 'D': return build_crouch;
    case 'X': return blocked_tile;
    case 's': return blocked_still;
    case 'd': return blocked_crouch;
    case 'u': return blocked_up;
    case 'C': return build_break;
    case '=': return tunnel_h;
    case '|': return tunnel_v;
    default: return empty_cell;
    }
}

inline void set_cells(const std::vector<std::string> &rows)
{
    for (int x = 0; x < map_width; x++)
        for (int y = 0; y < map_height; y++)
            the_map.block_layer[x][y] = empty_cell;
    for (int y = 0; y < map_height && y < static_cast<int>(rows.size()); y++)
        for (int x = 0; x < map_width && x < static_cast<int>(rows[y].size()); x++)
            the_map.block_layer[x][y] = code_of(rows[y][x]);
}

// A map file in the editor's format: name, own file, next file, then one value a line.
inline std::string map_file_text(const char *name, const char *own, const char *next, int start_x, int start_y,
                                 int exit_x, int exit_y, const std::vector<std::string> &rows,
                                 const std::vector<teleport> &teleports = {})
{
    std::string text = std::string(name) + "\n" + own + "\n" + next + "\n";
    for (int v : {start_x, start_y, exit_x, exit_y, 1, 0, 0})
        text += std::to_string(v) + "\n";
    for (int x = 0; x < map_width; x++)
        for (int y = 0; y < map_height; y++) {
            const bool given = y < static_cast<int>(rows.size()) && x < static_cast<int>(rows[y].size());
            text += std::to_string(given ? code_of(rows[y][x]) : empty_cell) + "\n-1\n";
        }
    text += std::to_string(teleports.size()) + "\n";
    for (const teleport &t : teleports)
        for (int v : {t.src_x, t.src_y, t.dst_x, t.dst_y})
            text += std::to_string(v) + "\n";
    return text;
}

// Makes dir the current level set's directory (it must end in '/').
inline void use_level_directory(const std::string &dir)
{
    std::memset(loader_directory, 0, sizeof(loader_directory));
    std::strncpy(loader_directory, dir.c_str(), sizeof(loader_directory) - 1);
}

// Back to the built-in set's directory, and the scratch level directory removed.
inline void leave_level_directory(const std::string &dir)
{
    use_level_directory("data/levels/original levels/");
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

inline void release_all_keys()
{
    for (int i = 0; i < KEY_MAX; i++)
        key[i] = 0;
}

inline void press(int scancode) { key[scancode] = -1; }
inline void release(int scancode) { key[scancode] = 0; }

inline BITMAP *player_entry(int entry) { return static_cast<BITMAP *>(d_player[entry].dat); }

// A fresh map, a fresh Pim and no keys down. The exit lies far off the grid unless a test sets it.
inline void reset_world()
{
    install_sound_recorder();
    static bool started = false;
    if (!started) {
        started = true;
        initialize_building_blocks();
        the_map.initialize();
        map_name_pre_init();
        // The block wipe copies the back buffer to the screen; headless, a memory bitmap stands in.
        if (!screen)
            screen = create_bitmap(640, 480);
    }
    the_map.flush();
    the_map.exit_x = -1000;
    the_map.exit_y = -1000;
    the_player = player();
    the_player.init_sprites();
    build_key_down = 0;
    do_play_script = 0;
    map_name_in_progress = 0;
    release_all_keys();
    clear_sounds();
}

// Pim at rest in cell (column, row), facing 0 right or 1 left.
inline void place(int column, int row, int facing = 0)
{
    the_player.x = column * 32;
    the_player.y = row * 32;
    the_player.facing = facing;
}

// One logic tick of what the player tests need: Pim's step, then the map's (block animations end there).
inline void tick(int count = 1)
{
    for (int i = 0; i < count; i++) {
        the_player.do_logic();
        the_map.animate();
    }
}

class player_test_base : public ::testing::Test {
protected:
    void SetUp() override { reset_world(); }
    void TearDown() override { release_all_keys(); }
};

} // namespace player_test
