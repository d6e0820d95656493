// The song list: finding and loading data/music/*.mid, and what happens without songs.
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
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

TEST(load_music, stops_the_game_naming_a_mid_file_that_is_not_a_song)
{
    music_folder folder;
    folder.song("good.mid", tiny_midi(3));
    folder.song("broken.mid", "RIFF this is no MIDI file");
    const child_result result = run_in_child([] { load_music(); });
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.output, "Could not load midi file\ndata/music/broken.mid.");
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
