// The song list: finding and loading data/music/*.mid, and what happens without songs.
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include "case_names.h"
#include "headless.h"
#include "do_logic.h"
#include "load_music.h"
#include "music.h"
#include "player.h"

namespace fs = std::filesystem;

namespace {

// A valid one-track MIDI file: a few quarter notes of a C major scale.
std::string tiny_midi(int notes)
{
    std::string track;
    for (int i = 0; i < notes; i++) {
        const char note = static_cast<char>(60 + i);
        track += std::string("\x00\x90", 2) + note + '\x50';
        track += std::string("\x60\x80", 2) + note + '\x00';
    }
    track += std::string("\x00\xff\x2f\x00", 4);
    std::string file("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60", 14);
    file += "MTrk";
    const size_t n = track.size();
    file += static_cast<char>(n >> 24);
    file += static_cast<char>(n >> 16);
    file += static_cast<char>(n >> 8);
    file += static_cast<char>(n);
    return file + track;
}

// A scratch game directory holding data/music, made the working directory while it lives.
class music_folder {
public:
    music_folder() : root(make_temp_dir("music"))
    {
        fs::create_directories(root + "/data/music");
        getcwd(saved, sizeof(saved));
        chdir(root.c_str());
        clear_songs();
    }
    ~music_folder()
    {
        clear_songs();
        chdir(saved);
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    void song(const std::string &name, const std::string &bytes)
    {
        write_text_file(root + "/data/music/" + name, bytes);
    }
    static void clear_songs()
    {
        for (MIDI *song : music)
            if (song)
                destroy_midi(song);
        music.clear();
        current_music = 0;
    }

    const std::string root;
    char saved[1024] = {};
};

// Runs fn in a child process; gives its exit status and what it printed on standard output.
struct child_result {
    int exit_code;
    std::string output;
};

template <typename F> child_result run_in_child(F fn)
{
    int pipe_ends[2];
    EXPECT_EQ(pipe(pipe_ends), 0);
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipe_ends[1], STDOUT_FILENO);
        close(pipe_ends[0]);
        fn();
        std::fflush(nullptr);
        _exit(0);
    }
    close(pipe_ends[1]);
    std::string output;
    char chunk[256];
    ssize_t got;
    while ((got = read(pipe_ends[0], chunk, sizeof(chunk))) > 0)
        output.append(chunk, static_cast<size_t>(got));
    close(pipe_ends[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(load_music, loads_every_mid_file_of_the_music_folder_and_nothing_else)
{
    music_folder folder;
    folder.song("calm.mid", tiny_midi(3));
    folder.song("dreamy.mid", tiny_midi(5));
    folder.song("notes.txt", "not a song");
    folder.song("loud.MID", tiny_midi(2));
    load_music();
    ASSERT_EQ(music.size(), 2u);
    EXPECT_NE(music[0], nullptr);
    EXPECT_NE(music[1], nullptr);
}

TEST(load_music, with_an_empty_folder_leaves_the_list_empty_and_songs_never_start)
{
    music_folder folder;
    load_music();
    EXPECT_TRUE(music.empty());
    // With no songs nothing may reach the MIDI player (which would need a running timer).
    midi_pos = -1;
    current_music = 0;
    change_music();
    check_change_music();
    EXPECT_EQ(current_music, 0);
    EXPECT_EQ(midi_pos, -1);
}

TEST(load_music, without_songs_the_music_key_does_nothing)
{
    music_folder folder;
    load_music();
    midi_pos = -1;
    key_m_down = 0;
    key[the_player.key_music] = 1;
    process_keys(); // a song start here would need the timer that this process does not have
    key[the_player.key_music] = 0;
    EXPECT_EQ(key_m_down, -1);
    EXPECT_EQ(midi_pos, -1);
    EXPECT_EQ(current_music, 0);
    process_keys();
    EXPECT_EQ(key_m_down, 0);
}

// A one-track MIDI file around the given track bytes; a track length to claim other than theirs.
std::string midi_with_track(const std::string &track, long claimed = -1)
{
    const unsigned long n = claimed < 0 ? track.size() : static_cast<unsigned long>(claimed);
    std::string file("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60MTrk", 18);
    for (int shift = 24; shift >= 0; shift -= 8)
        file += static_cast<char>((n >> shift) & 0xff);
    return file + track;
}

std::string bytes(const char *text, std::size_t n) { return std::string(text, n); }

struct bad_song {
    const char *label;
    std::string file;
};

// Names the case in test output.
void PrintTo(const bad_song &c, std::ostream *out) { *out << c.label; }

const std::string note_on = bytes("\x00\x90\x3c\x50", 4);
const std::string end_of_track = bytes("\x00\xff\x2f\x00", 4);

const bad_song bad_songs[] = {
    {"empty file", ""},
    {"not a MIDI file", "RIFF this is no MIDI file"},
    {"header only", bytes("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60", 14)},
    {"cut in the middle", tiny_midi(4).substr(0, 40)},
    {"track longer than the file", midi_with_track(note_on + end_of_track, 4000)},
    {"no end-of-track event", midi_with_track(note_on + note_on)},
    {"a note cut off", midi_with_track(note_on + bytes("\x00\x90\x3c", 3))},
    {"a data byte before any status", midi_with_track(bytes("\x00\x3c\x50", 3) + end_of_track)},
    {"a meta event longer than the track", midi_with_track(note_on + bytes("\x00\xff\x01\x7f", 4) + end_of_track)},
    {"a system message longer than the track", midi_with_track(bytes("\x00\xf0\x81\x00", 4) + end_of_track)},
    {"a time that never ends", midi_with_track(bytes("\xff\xff\xff\xff\x00\x90\x3c\x50", 8) + end_of_track)},
    {"an empty track", midi_with_track("")},
};

class unplayable_song : public testing::TestWithParam<bad_song> {};

TEST_P(unplayable_song, is_left_out_and_the_game_goes_on)
{
    music_folder folder;
    folder.song("good.mid", tiny_midi(3));
    folder.song("broken.mid", GetParam().file);
    const child_result result = run_in_child([] {
        load_music();
        std::printf("%zu", music.size());
    });
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.output, "1");
}

INSTANTIATE_TEST_SUITE_P(cases, unplayable_song, testing::ValuesIn(bad_songs), label_name());

TEST(load_music, with_no_playable_song_the_game_stays_silent)
{
    music_folder folder;
    for (const bad_song &c : bad_songs)
        folder.song(std::string(c.label) + ".mid", c.file);
    load_music();
    EXPECT_TRUE(music.empty());
    midi_pos = -1;
    current_music = 0;
    check_change_music();
    EXPECT_EQ(midi_pos, -1);
    EXPECT_EQ(current_music, 0);
}

TEST(song_playable, takes_running_status_meta_and_system_events_that_fit)
{
    const std::string track = bytes("\x00\x90\x3c\x50\x10\x3e\x50\x00\xff\x51\x03\x07\xa1\x20"
                                    "\x00\xf0\x02\x7e\xf7\x00\xc0\x05\x81\x00\x80\x3c\x00",
                                    27) +
                              end_of_track;
    music_folder folder;
    folder.song("varied.mid", midi_with_track(track));
    load_music();
    EXPECT_EQ(music.size(), 1u);
}

TEST(song_playable, takes_the_games_own_songs)
{
    int songs = 0;
    for (const auto &entry : fs::directory_iterator(std::string(RUN_DIR) + "/data/music")) {
        MIDI *song = load_midi(entry.path().c_str());
        EXPECT_TRUE(song_playable(song)) << entry.path();
        if (song)
            destroy_midi(song);
        songs++;
    }
    EXPECT_GT(songs, 0);
}

TEST(play_music, stops_the_game_when_the_song_is_empty)
{
    music_folder folder;
    music.push_back(nullptr);
    const child_result result = run_in_child([] { play_music(0); });
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.output, "Could not play MIDI file.");
    music.clear();
}

} // namespace
