// Checks the generated sounds and songs: samples load, are short and never clip; songs are valid and long enough.
#include <gtest/gtest.h>
#include <allegro.h>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>
#include "case_names.h"
#include "datafiles.h"

namespace fs = std::filesystem;

namespace {

// The generator writes its scratch output beside the run tree.
std::string gen_audio_dir() { return std::string(RUN_DIR) + "/../gen/audio"; }

struct sound_case {
    int entry;
    const char *role;
    double min_seconds, max_seconds;
};

const sound_case sound_cases[] = {
    {0, "block built", 0.2, 0.6},
    {1, "block destroyed", 0.2, 0.6},
    {2, "building refused", 0.15, 0.5},
    {3, "teleport in", 0.4, 0.8},
    {4, "teleport out", 0.4, 0.8},
    {5, "menu select", 0.15, 0.5},
    {6, "menu cursor move", 0.1, 0.25},
};

void PrintTo(const sound_case &c, std::ostream *os) { *os << c.role; }

// Peak and loudest-50-ms RMS of a sample, as fractions of full scale.
struct level {
    double peak = 0, loud_rms = 0;
};

level measure(const SAMPLE *s)
{
    std::vector<double> v((size_t)s->len * (s->stereo ? 2 : 1));
    for (size_t i = 0; i < v.size(); i++) {
        if (s->bits == 16)
            v[i] = ((int)((const uint16_t *)s->data)[i] - 32768) / 32768.0;  // Allegro keeps 16-bit samples unsigned
        else
            v[i] = ((int)((const uint8_t *)s->data)[i] - 128) / 128.0;
    }
    level l;
    for (double x : v)
        l.peak = std::max(l.peak, std::fabs(x));
    size_t w = std::min(v.size(), (size_t)(s->freq / 20));
    double sum = 0, best = 0;
    for (size_t i = 0; i < v.size(); i++) {
        sum += v[i] * v[i];
        if (i >= w)
            sum -= v[i - w] * v[i - w];
        if (i + 1 >= w)
            best = std::max(best, sum);
    }
    l.loud_rms = w ? std::sqrt(std::max(best, 0.0) / w) : 0;
    return l;
}

double to_db(double x) { return 20.0 * std::log10(std::max(x, 1e-9)); }

class sample_file : public ::testing::TestWithParam<sound_case> {};

TEST_P(sample_file, loads_is_short_and_stays_under_full_scale)
{
    const sound_case &c = GetParam();
    std::string path = gen_audio_dir() + "/sound_" + std::to_string(c.entry) + ".wav";
    SAMPLE *s = load_sample(path.c_str());
    ASSERT_NE(s, nullptr) << path;
    EXPECT_EQ(s->stereo, 0) << c.role << ": mono";
    EXPECT_TRUE(s->freq == 22050 || s->freq == 44100) << c.role;
    double seconds = s->len / (double)s->freq;
    EXPECT_GE(seconds, c.min_seconds) << c.role;
    EXPECT_LE(seconds, c.max_seconds) << c.role;
    level l = measure(s);
    EXPECT_LT(to_db(l.peak), -3.0) << c.role << ": peak must leave headroom";
    EXPECT_GT(to_db(l.peak), -12.0) << c.role << ": too quiet to hear over the music";
    destroy_sample(s);
}

std::string case_label(const sound_case &c) { return c.role; }

INSTANTIATE_TEST_SUITE_P(sounds, sample_file, ::testing::ValuesIn(sound_cases), label_name());

TEST(sample_files, share_one_loudness)
{
    std::vector<double> rms;
    for (const sound_case &c : sound_cases) {
        SAMPLE *s = load_sample((gen_audio_dir() + "/sound_" + std::to_string(c.entry) + ".wav").c_str());
        ASSERT_NE(s, nullptr) << c.role;
        rms.push_back(to_db(measure(s).loud_rms));
        destroy_sample(s);
    }
    auto [lo, hi] = std::minmax_element(rms.begin(), rms.end());
    EXPECT_LT(*hi - *lo, 1.5) << "loudest and quietest sound differ by " << *hi - *lo << " dB";
}

TEST(sound_datafile, holds_the_generated_samples_in_role_order)
{
    ASSERT_NE(d_sounds, nullptr);
    ASSERT_GE(datafile_count(d_sounds), 7);
    for (const sound_case &c : sound_cases) {
        ASSERT_EQ(d_sounds[c.entry].type, DAT_SAMPLE) << c.role;
        SAMPLE *packed = (SAMPLE *)d_sounds[c.entry].dat;
        SAMPLE *made = load_sample((gen_audio_dir() + "/sound_" + std::to_string(c.entry) + ".wav").c_str());
        ASSERT_NE(made, nullptr) << c.role;
        EXPECT_EQ(packed->len, made->len) << "entry " << c.entry << " is not the " << c.role << " sound";
        EXPECT_EQ(packed->freq, made->freq) << c.role;
        destroy_sample(made);
    }
}

// ---- Songs: a small Standard MIDI File reader, independent of Allegro's ----

struct midi_facts {
    bool ok = false;
    std::string error;
    double seconds = 0;
    long last_note_off = 0, end_tick = 0;
    int division = 0;
    int notes = 0;
    uint32_t first_tempo = 500000;  // microseconds per quarter at tick 0
    std::set<int> programs;  // programs in force at the notes of melodic channels (not channel 10)
};

uint32_t be(const std::vector<uint8_t> &b, size_t at, int n)
{
    uint32_t v = 0;
    for (int i = 0; i < n; i++)
        v = (v << 8) | b[at + i];
    return v;
}

midi_facts read_midi(const std::string &path)
{
    midi_facts f;
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> b;
    char buf[4096];
    while (in && b.size() < (1u << 20)) {
        in.read(buf, sizeof buf);
        b.insert(b.end(), buf, buf + in.gcount());
    }
    if (b.size() >= (1u << 20)) {
        f.error = "file too large";
        return f;
    }
    if (b.size() < 14 || std::memcmp(b.data(), "MThd", 4) != 0 || be(b, 4, 4) != 6) {
        f.error = "no MThd header";
        return f;
    }
    int format = (int)be(b, 8, 2), ntracks = (int)be(b, 10, 2);
    f.division = (int)be(b, 12, 2);
    if (format > 1 || ntracks < 1 || f.division <= 0 || (f.division & 0x8000)) {
        f.error = "unsupported header";
        return f;
    }
    std::map<long, uint32_t> tempo;  // tick -> microseconds per quarter
    tempo[0] = 500000;
    size_t at = 14;
    int program_of[16];
    for (int &p : program_of)
        p = 0;
    struct hit { long tick; int channel; };
    std::vector<hit> note_ons;
    std::vector<std::pair<long, std::pair<int, int>>> program_changes;  // tick, channel, program
    for (int t = 0; t < ntracks; t++) {
        if (at + 8 > b.size() || std::memcmp(&b[at], "MTrk", 4) != 0) {
            f.error = "missing MTrk " + std::to_string(t);
            return f;
        }
        size_t len = be(b, at + 4, 4), p = at + 8, end = p + len;
        if (end > b.size()) {
            f.error = "track runs past the file";
            return f;
        }
        long tick = 0;
        int status = 0;
        bool ended = false;
        auto var = [&](uint32_t &v) {
            v = 0;
            for (int i = 0; i < 4; i++) {
                if (p >= end)
                    return false;
                uint8_t c = b[p++];
                v = (v << 7) | (c & 0x7f);
                if (!(c & 0x80))
                    return true;
            }
            return false;
        };
        while (p < end && !ended) {
            uint32_t delta;
            if (!var(delta)) {
                f.error = "bad delta time";
                return f;
            }
            tick += delta;
            if (p >= end) {
                f.error = "event cut off";
                return f;
            }
            uint8_t c = b[p];
            if (c == 0xff || c == 0xf0 || c == 0xf7) {
                p++;
                uint8_t type = 0;
                if (c == 0xff) {
                    if (p >= end) { f.error = "meta cut off"; return f; }
                    type = b[p++];
                }
                uint32_t mlen;
                if (!var(mlen) || p + mlen > end) {
                    f.error = "meta or sysex runs past its track";
                    return f;
                }
                if (c == 0xff && type == 0x51 && mlen == 3)
                    tempo[tick] = be(b, p, 3);
                if (c == 0xff && type == 0x2f)
                    ended = true;
                p += mlen;
                continue;
            }
            if (c & 0x80) {
                status = c;
                p++;
            } else if (!status) {
                f.error = "running status with no status";
                return f;
            }
            int kind = status & 0xf0, ch = status & 0x0f;
            int data_len = (kind == 0xc0 || kind == 0xd0) ? 1 : 2;
            if (p + data_len > end) {
                f.error = "channel event cut off";
                return f;
            }
            int d1 = b[p], d2 = data_len > 1 ? b[p + 1] : 0;
            p += data_len;
            if (kind == 0xc0)
                program_changes.push_back({tick, {ch, d1}});
            else if (kind == 0x90 && d2 > 0)
                note_ons.push_back({tick, ch});
            else if (kind == 0x80 || (kind == 0x90 && d2 == 0))
                f.last_note_off = std::max(f.last_note_off, tick);
        }
        if (!ended) {
            f.error = "track " + std::to_string(t) + " has no end";
            return f;
        }
        f.end_tick = std::max(f.end_tick, tick);
        at = end;
    }
    // Programs in force at each note: apply the changes in time order.
    std::stable_sort(program_changes.begin(), program_changes.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    std::stable_sort(note_ons.begin(), note_ons.end(), [](const hit &a, const hit &b) { return a.tick < b.tick; });
    size_t next = 0;
    for (const hit &h : note_ons) {
        while (next < program_changes.size() && program_changes[next].first <= h.tick) {
            program_of[program_changes[next].second.first] = program_changes[next].second.second;
            next++;
        }
        if (h.channel != 9)
            f.programs.insert(program_of[h.channel]);
    }
    f.notes = (int)note_ons.size();
    f.first_tempo = tempo[0];
    // Length in seconds along the tempo map.
    long prev_tick = 0;
    uint32_t us = 500000;
    for (const auto &tc : tempo) {
        if (tc.first > f.end_tick)
            break;
        f.seconds += (tc.first - prev_tick) * (double)us / f.division / 1e6;
        prev_tick = tc.first;
        us = tc.second;
    }
    f.seconds += (f.end_tick - prev_tick) * (double)us / f.division / 1e6;
    f.ok = true;
    return f;
}

std::vector<std::string> music_files()
{
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto &e : fs::directory_iterator("data/music", ec))
        if (e.path().extension() == ".mid")
            out.push_back(e.path().string());
    std::sort(out.begin(), out.end());
    return out;
}

TEST(songs, at_least_four_in_the_music_directory)
{
    EXPECT_GE(music_files().size(), 4u);
}

TEST(songs, each_loads_in_allegro_and_lasts_a_minute)
{
    for (const std::string &path : music_files()) {
        SCOPED_TRACE(path);
        midi_facts f = read_midi(path);
        ASSERT_TRUE(f.ok) << f.error;
        EXPECT_GE(f.seconds, 60.0);
        EXPECT_GT(f.notes, 200) << "hardly any notes";
        // (Allegro's get_midi_length needs its timer, which headless tests cannot start.)
        MIDI *m = load_midi(path.c_str());
        ASSERT_NE(m, nullptr);
        destroy_midi(m);
    }
}

TEST(songs, differ_from_each_other)
{
    std::vector<std::string> files = music_files();
    std::set<std::set<int>> palettes;
    std::set<uint32_t> tempos;
    for (const std::string &path : files) {
        midi_facts f = read_midi(path);
        ASSERT_TRUE(f.ok) << path << ": " << f.error;
        palettes.insert(f.programs);
        tempos.insert(f.first_tempo);
    }
    EXPECT_EQ(palettes.size(), files.size()) << "two songs use the very same instruments";
    EXPECT_EQ(tempos.size(), files.size()) << "two songs start at the same tempo";
}

TEST(story_song, is_a_loopable_minute)
{
    std::string path = gen_audio_dir() + "/story.mid";
    midi_facts f = read_midi(path);
    ASSERT_TRUE(f.ok) << f.error;
    EXPECT_GE(f.seconds, 60.0);
    // It loops under the dialogues: no long silence before the loop point.
    EXPECT_GE(f.last_note_off, f.end_tick - f.division) << "more than a beat of silence at the end";
    MIDI *m = load_midi(path.c_str());
    ASSERT_NE(m, nullptr);
    destroy_midi(m);
}

TEST(story_song, is_entry_26_of_the_system_datafile)
{
    ASSERT_NE(d_system, nullptr);
    ASSERT_GT(datafile_count(d_system), 26);
    ASSERT_EQ(d_system[26].type, DAT_MIDI);
    MIDI *made = load_midi((gen_audio_dir() + "/story.mid").c_str());
    ASSERT_NE(made, nullptr);
    MIDI *packed = (MIDI *)d_system[26].dat;
    EXPECT_EQ(packed->divisions, made->divisions);
    for (int t = 0; t < MIDI_TRACKS; t++)
        EXPECT_EQ(packed->track[t].len, made->track[t].len) << "track " << t;
    destroy_midi(made);
}

// ---- The wavetable set-up: allegro.cfg selects DIGMID with a patch set that has our instruments ----

// Program numbers (0-based) and drum keys present in patches.dat, read from its index object.
struct patch_index {
    bool loaded = false;
    std::set<int> programs, drums;
};

patch_index read_patch_index(const char *datafile)
{
    patch_index pi;
    DATAFILE *cfg = load_datafile_object(datafile, "default_cfg");
    if (!cfg)
        return pi;
    std::string text((const char *)cfg->dat, (size_t)cfg->size);
    unload_datafile_object(cfg);
    pi.loaded = true;
    std::istringstream in(text);
    std::string line;
    bool in_drums = false;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string first, second;
        if (!(words >> first) || first[0] == '#')
            continue;
        words >> second;
        if (second == "begin_multipatch") {
            in_drums = true;
        } else if (first == "end_multipatch") {
            in_drums = false;
        } else if (std::isdigit((unsigned char)first[0]) && !second.empty()) {
            int n = std::atoi(first.c_str());
            if (in_drums)
                pi.drums.insert(n);
            else
                pi.programs.insert(n - 1);  // the index counts programs from 1
        }
    }
    return pi;
}

TEST(wavetable, config_selects_digmid_with_the_patches_beside_the_game)
{
    if (!exists("patches.dat"))
        GTEST_SKIP() << "built without freepats: music is silent by design";
    ASSERT_TRUE(exists("allegro.cfg"));  // the run tree is the program's directory
    push_config_state();
    set_config_file("allegro.cfg");
    EXPECT_EQ(get_config_id("sound", "midi_card", MIDI_AUTODETECT), MIDI_DIGMID);
    EXPECT_EQ(get_config_id("sound", "digi_card", DIGI_AUTODETECT), DIGI_AUTODETECT);
    // Left unset, Allegro takes patches.dat from the program's directory; a relative name here
    // is found at start-up but not when a song loads its instruments, and the music is silent.
    EXPECT_STREQ(get_config_string("sound", "patches", ""), "");
    pop_config_state();
}

TEST(wavetable, patch_set_has_every_instrument_the_songs_play)
{
    if (!exists("patches.dat"))
        GTEST_SKIP() << "built without freepats: music is silent by design";
    patch_index pi = read_patch_index("patches.dat");
    ASSERT_TRUE(pi.loaded) << "patches.dat has no index";
    std::vector<std::string> files = music_files();
    files.push_back(gen_audio_dir() + "/story.mid");
    for (const std::string &path : files) {
        midi_facts f = read_midi(path);
        ASSERT_TRUE(f.ok) << path << ": " << f.error;
        for (int program : f.programs)
            EXPECT_TRUE(pi.programs.count(program)) << path << " plays program " << program << ", which has no patch";
    }
}

} // namespace
