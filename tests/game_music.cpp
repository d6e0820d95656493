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
#include "datafile_table.h"
#include "headless.h"
#include "do_logic.h"
#include "load_music.h"
#include "midi_check.h"
#include "midi_songs.h"
#include "music.h"
#include "player.h"

namespace fs = std::filesystem;

namespace {

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
    folder.song("calm.mid", midi_song_of_quarter_notes(3));
    folder.song("dreamy.mid", midi_song_of_quarter_notes(5));
    folder.song("notes.txt", "not a song");
    folder.song("loud.MID", midi_song_of_quarter_notes(2));
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

// A one-track song around the given events.
std::string one_track(const std::string &events) { return midi_file(0, 1, 96, midi_track(events)); }

std::string bytes(const char *text, std::size_t n) { return midi_bytes(text, n); }

struct song_case {
    const char *name; // also the song's file name
    std::string file;
};

void PrintTo(const song_case &c, std::ostream *out) { *out << c.name; }

const std::string note_on = bytes("\x00\x90\x3c\x50", 4);
const std::string note_off = bytes("\x60\x80\x3c\x00", 4);
const std::string a_note = note_on + note_off;
const std::string good_track = midi_track(a_note + midi_end_of_track);

// n good track chunks.
std::string good_tracks(int n)
{
    std::string chunks;
    for (int i = 0; i < n; i++)
        chunks += good_track;
    return chunks;
}

// n note-offs, each after the longest delta time there is (0x0fffffff ticks).
std::string longest_rests(int n)
{
    std::string events;
    for (int i = 0; i < n; i++)
        events += bytes("\xff\xff\xff\x7f\x80\x3c\x00", 7);
    return events;
}

// Damaged songs: each would crash Allegro's player, make it read outside the song, or cannot be
// loaded at all.
const song_case bad_songs[] = {
    {"empty_file", ""},
    {"not_a_midi_file", "RIFF this is no MIDI file"},
    {"header_cut_short", bytes("MThd\x00\x00\x00\x06\x00\x00\x00", 11)},
    {"header_only", midi_file(0, 1, 96, "")},
    {"header_longer_than_six_bytes", "MThd" + midi_number(8, 4) + bytes("\x00\x00\x00\x01\x00\x60\x00\x00", 8) + good_track},
    {"zero_divisions", midi_file(0, 1, 0, good_track)},
    {"format_2", midi_file(2, 1, 96, good_track)},
    {"no_tracks", midi_file(1, 0, 96, "")},
    {"more_tracks_than_the_player_has", midi_file(1, 33, 96, good_tracks(33))},
    {"fewer_tracks_than_the_header_says", midi_file(1, 3, 96, good_tracks(2))},
    {"another_chunk_in_place_of_a_track", midi_file(0, 1, 96, "XTRA" + midi_number(2, 4) + "ab" + good_track)},
    {"cut_in_the_middle", midi_song_of_quarter_notes(4).substr(0, 40)},
    {"track_longer_than_the_file", one_track(a_note + midi_end_of_track).substr(0, 30)},
    {"no_end_of_track_event", one_track(a_note + a_note)},
    {"track_cut_inside_an_event", one_track(a_note + bytes("\x00\x90\x3c", 3))},
    {"track_cut_inside_a_delta_time", one_track(a_note + bytes("\x81\x80", 2))},
    {"delta_time_of_five_bytes", one_track(bytes("\x80\x80\x80\x80\x00", 5) + a_note + midi_end_of_track)},
    {"running_status_with_no_first_status", one_track(bytes("\x00\x3c\x50", 3) + midi_end_of_track)},
    {"note_velocity_over_127", one_track(bytes("\x00\x90\x3c\xff", 4) + note_off + midi_end_of_track)},
    {"note_number_over_127", one_track(bytes("\x00\x90\x80\x50", 4) + note_off + midi_end_of_track)},
    {"program_over_127", one_track(bytes("\x00\xc0\xf0", 3) + a_note + midi_end_of_track)},
    {"meta_length_past_the_track", one_track(a_note + bytes("\x00\xff\x01\x7f", 4) + midi_end_of_track)},
    {"meta_length_cut_off", one_track(a_note + bytes("\x00\xff\x01\x81", 4))},
    {"sysex_length_past_the_track", one_track(bytes("\x00\xf0\x81\x00", 4) + midi_end_of_track)},
    {"tempo_of_one_byte", one_track(bytes("\x00\xff\x51\x01\x07", 5) + a_note + midi_end_of_track)},
    {"tempo_of_zero", one_track(bytes("\x00\xff\x51\x03\x00\x00\x00", 7) + a_note + midi_end_of_track)},
    {"system_common_message", one_track(bytes("\x00\xf1\x00", 3) + a_note + midi_end_of_track)},
    {"real_time_message", one_track(bytes("\x00\xfe", 2) + a_note + midi_end_of_track)},
    {"bytes_after_the_end_of_track", one_track(a_note + midi_end_of_track + bytes("\x00\xcf", 2))},
    {"end_of_track_with_a_length", one_track(a_note + bytes("\x00\xff\x2f\x05", 4))},
    {"longer_than_the_tick_counter", one_track(note_on + longest_rests(9) + midi_end_of_track)},
    {"an_empty_track", one_track("")},
    {"an_empty_track_beside_a_good_one", midi_file(1, 2, 96, good_track + midi_track(""))},
    {"a_bad_track_after_a_good_one", midi_file(1, 2, 96, good_track + midi_track(a_note))},
};

class unplayable_song : public testing::TestWithParam<song_case> {};

TEST_P(unplayable_song, is_refused_by_the_check)
{
    EXPECT_FALSE(midi_playable(GetParam().file));
}

TEST_P(unplayable_song, is_left_out_and_the_good_songs_beside_it_stay_in)
{
    music_folder folder;
    folder.song("a_good.mid", midi_song_of_quarter_notes(3));
    folder.song(std::string(GetParam().name) + ".mid", GetParam().file);
    folder.song("z_good.mid", midi_song_of_quarter_notes(5));
    const child_result result = run_in_child([] {
        load_music();
        std::printf("%zu", music.size());
    });
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.output, "2");
}

INSTANTIATE_TEST_SUITE_P(cases, unplayable_song, testing::ValuesIn(bad_songs), label_name());

TEST(load_music, with_no_playable_song_the_game_stays_silent)
{
    music_folder folder;
    for (const song_case &c : bad_songs)
        folder.song(std::string(c.name) + ".mid", c.file);
    load_music();
    EXPECT_TRUE(music.empty());
    midi_pos = -1;
    current_music = 0;
    check_change_music();
    EXPECT_EQ(midi_pos, -1);
    EXPECT_EQ(current_music, 0);
}

// Well-formed songs with what other MIDI writers put in them.
const song_case good_songs[] = {
    {"one_note", one_track(a_note + midi_end_of_track)},
    {"running_status_meta_and_system_exclusive",
     one_track(bytes("\x00\x90\x3c\x50\x10\x3e\x50\x00\xff\x51\x03\x07\xa1\x20"
                     "\x00\xf0\x02\x7e\xf7\x00\xc0\x05\x81\x00\x80\x3c\x00",
                     27) +
               midi_end_of_track)},
    {"running_status_across_a_meta_event", one_track(note_on + bytes("\x00\xff\x01\x01x\x60\x3c\x00", 8) + midi_end_of_track)},
    {"every_channel_message", one_track(bytes("\x00\x80\x3c\x00\x00\xa0\x3c\x7f\x00\xb0\x07\x64\x00\xc0\x7f"
                                              "\x00\xd0\x40\x00\xe0\x00\x40",
                                              22) +
                                        midi_end_of_track)},
    {"smpte_divisions", midi_file(0, 1, 0xe728, good_track)},
    {"largest_divisions", midi_file(0, 1, 0xffff, good_track)},
    {"as_many_tracks_as_the_player_has", midi_file(1, 32, 96, good_tracks(32))},
    {"longest_delta_times", one_track(note_on + longest_rests(8) + midi_end_of_track)},
    {"bytes_after_the_last_track", midi_file(0, 1, 96, good_track) + "padding"},
    {"empty_meta_text", one_track(bytes("\x00\xff\x03\x00", 4) + a_note + midi_end_of_track)},
};

class playable_song : public testing::TestWithParam<song_case> {};

TEST_P(playable_song, passes_the_check_and_joins_the_list)
{
    EXPECT_TRUE(midi_playable(GetParam().file));
    music_folder folder;
    folder.song(std::string(GetParam().name) + ".mid", GetParam().file);
    load_music();
    EXPECT_EQ(music.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(cases, playable_song, testing::ValuesIn(good_songs), label_name());

TEST(midi_playable, takes_the_games_own_songs)
{
    int songs = 0;
    for (const auto &entry : fs::directory_iterator(std::string(RUN_DIR) + "/data/music")) {
        EXPECT_TRUE(midi_playable(read_text_file(entry.path().string()))) << entry.path();
        songs++;
    }
    EXPECT_GT(songs, 0);
}

// Whether a file's header and track chunks are whole: Allegro's loader trusts their lengths (it
// asks for memory by them), so only such files are given to it here.
bool chunks_whole(const std::string &file)
{
    const auto number = [&](std::size_t at, int n) {
        unsigned long value = 0;
        for (int i = 0; i < n; i++)
            value = value << 8 | static_cast<unsigned char>(file[at + static_cast<std::size_t>(i)]);
        return value;
    };
    if (file.size() < 14 || file.compare(0, 4, "MThd") != 0 || number(4, 4) != 6)
        return false;
    std::size_t at = 14;
    for (unsigned long t = number(10, 2); t > 0; t--) {
        if (file.size() - at < 8 || file.compare(at, 4, "MTrk") != 0 || number(at + 4, 4) > file.size() - at - 8)
            return false;
        at += 8 + number(at + 4, 4);
    }
    return true;
}

// A song as Allegro's own loader makes it from the bytes of a file whose chunks are whole;
// nullptr when it cannot.
MIDI *loaded_by_allegro(const song_case &c)
{
    if (!chunks_whole(c.file))
        return nullptr;
    const std::string path = make_temp_dir("loaded_song") + "/song.mid";
    write_text_file(path, c.file);
    MIDI *song = load_midi(path.c_str());
    fs::remove_all(fs::path(path).parent_path());
    return song;
}

// Every song Allegro's own loader takes, good or damaged, is judged the same once loaded (as a
// data file's song is) as from its file.
TEST(midi_song_playable, judges_a_loaded_song_as_its_file)
{
    std::vector<song_case> songs(std::begin(good_songs), std::end(good_songs));
    songs.insert(songs.end(), std::begin(bad_songs), std::end(bad_songs));
    int loaded = 0;
    for (const song_case &c : songs) {
        MIDI *song = loaded_by_allegro(c);
        if (!song)
            continue;
        loaded++;
        EXPECT_EQ(midi_song_playable(song), midi_playable(c.file)) << c.name;
        destroy_midi(song);
    }
    EXPECT_GT(loaded, 20);
}

TEST(midi_song_playable, takes_the_story_song_of_the_system_data_file)
{
    packfile_password(datafile_password);
    DATAFILE *system = load_datafile_object((std::string(RUN_DIR) + "/data/d_system.dat").c_str(), "STORY_MUSIC");
    packfile_password(nullptr);
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(system->type, DAT_MIDI);
    EXPECT_TRUE(midi_song_playable(static_cast<MIDI *>(system->dat)));
    unload_datafile_object(system);
}

TEST(midi_song_playable, refuses_a_song_with_no_divisions_or_a_track_without_its_data)
{
    MIDI song = {};
    static unsigned char track[] = {0x00, 0x90, 0x3c, 0x50, 0x60, 0x80, 0x3c, 0x00, 0x00, 0xff, 0x2f, 0x00};
    song.divisions = 96;
    song.track[0].data = track;
    song.track[0].len = sizeof(track);
    EXPECT_TRUE(midi_song_playable(&song));
    song.divisions = 0;
    EXPECT_FALSE(midi_song_playable(&song));
    song.divisions = 96;
    song.track[1].len = 12;
    EXPECT_FALSE(midi_song_playable(&song));
    song.track[1].len = 0;
    song.track[1].data = track;
    EXPECT_FALSE(midi_song_playable(&song));
    EXPECT_FALSE(midi_song_playable(nullptr));
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
