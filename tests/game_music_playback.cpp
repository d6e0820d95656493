// Songs and samples through a real sound system: wavetable MIDI on a null ALSA output, and no sound.
//
// Playing a song needs Allegro's timer, and the timer cannot run under the display-less system
// driver of the other tests. So each test here forks a child that restarts Allegro with the X11
// system driver on a private Xvfb and drives the game's music code with a running timer; the
// child writes what it saw as "name value" lines into a pipe and the parent checks them. ALSA is
// given a test-only configuration (ALSA_CONFIG_PATH) whose default output is a "file" plugin in
// front of a "null" device: no hardware is touched, and the mixed sound lands in a file that the
// test reads back to hear whether the songs actually sound.
#include <gtest/gtest.h>
#include <allegro.h>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <sys/mman.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>
#include "do_logic.h"
#include "headless.h"
#include "fuzz_text.h"
#include "load_music.h"
#include "midi_check.h"
#include "midi_songs.h"
#include "music.h"
#include "options_screen.h"
#include "player.h"

namespace fs = std::filesystem;

namespace {

std::string run_dir()
{
    const char *dir = std::getenv("SLUMBERIA_RUN_DIR");
    return dir ? dir : RUN_DIR;
}

// A private X server for the whole file; Xvfb picks a free display number itself. It never resets:
// an X server resets when its last client leaves, and turns away a client that connects meanwhile,
// as the next test's program could.
class private_display : public testing::Environment {
public:
    void SetUp() override
    {
        int ends[2];
        ASSERT_EQ(pipe(ends), 0);
        pid = fork();
        if (pid == 0) {
            close(ends[0]);
            const std::string fd = std::to_string(ends[1]);
            const int quiet = ::open("/dev/null", O_WRONLY);
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "640x480x16", "-nolisten",
                   "tcp", "-noreset", static_cast<char *>(nullptr));
            _exit(127);
        }
        close(ends[1]);
        std::string number;
        char c;
        while (read(ends[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(ends[0]);
        ASSERT_FALSE(number.empty()) << "Xvfb did not start";
        name = ":" + number;
    }
    void TearDown() override
    {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
    static std::string name;
    pid_t pid = -1;
};
std::string private_display::name;

testing::Environment *const display_environment = testing::AddGlobalTestEnvironment(new private_display);

using report = std::map<std::string, long>;

// Runs body in a child process with Allegro restarted on the private display and its timer
// running; the child reports through say(name, value). The child's exit code is report["exit"].
template <typename F> report run_with_timer(const std::map<std::string, std::string> &env, F body)
{
    int ends[2];
    EXPECT_EQ(pipe(ends), 0);
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        close(ends[0]);
        FILE *out = fdopen(ends[1], "w");
        auto say = [out](const char *what, long value) {
            std::fprintf(out, "%s %ld\n", what, value);
            std::fflush(out);
        };
        allegro_exit();
        setenv("DISPLAY", private_display::name.c_str(), 1);
        for (const auto &kv : env)
            setenv(kv.first.c_str(), kv.second.c_str(), 1);
        if (install_allegro(SYSTEM_AUTODETECT, &errno, atexit) != 0 || install_timer() != 0) {
            say("no_allegro", 1);
            _exit(3);
        }
        body(say);
        // Closing the sound system flushes what the ALSA output plugin still holds.
        remove_sound();
        std::fclose(out);
        _exit(0);
    }
    close(ends[1]);
    report seen;
    FILE *in = fdopen(ends[0], "r");
    char what[64];
    long value;
    while (std::fscanf(in, "%63s %ld", what, &value) == 2)
        seen[what] = value;
    std::fclose(in);
    int status = 0;
    waitpid(pid, &status, 0);
    seen["exit"] = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return seen;
}

// A scratch directory for the ALSA configuration, the captured sound and other test files.
class scratch {
public:
    scratch() : dir(make_temp_dir("playback")) {}
    ~scratch()
    {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
    std::string path(const std::string &name) const { return dir + "/" + name; }

    // ALSA's default output writes everything played into a file and passes it on to nothing.
    std::string null_output_config(const std::string &capture)
    {
        const std::string config = path("alsa_null.conf");
        write_text_file(config, "pcm.!default {\n"
                                "    type file\n"
                                "    slave.pcm \"null_device\"\n"
                                "    file \"" + capture + "\"\n"
                                "    format \"raw\"\n"
                                "}\n"
                                "pcm.null_device {\n"
                                "    type null\n"
                                "}\n");
        return config;
    }

    // An ALSA configuration without any device: there is no sound at all.
    std::string no_device_config()
    {
        const std::string config = path("alsa_none.conf");
        write_text_file(config, "# no sound devices\n");
        return config;
    }

    const std::string dir;
};

// Silence in the captured stream is one repeated value; a sounding stretch holds many.
int distinct_words(const std::string &capture, long from, long to)
{
    std::ifstream in(capture, std::ios::binary);
    in.seekg(from);
    std::vector<char> bytes(static_cast<size_t>(to > from ? to - from : 0));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    std::set<int> words;
    for (size_t i = 0; i + 1 < static_cast<size_t>(in.gcount()); i += 2)
        words.insert((static_cast<unsigned char>(bytes[i]) << 8) | static_cast<unsigned char>(bytes[i + 1]));
    return static_cast<int>(words.size());
}

long file_size(const std::string &path)
{
    std::error_code ignored;
    const auto size = fs::file_size(path, ignored);
    return ignored ? 0 : static_cast<long>(size);
}

void free_songs()
{
    for (MIDI *song : music)
        if (song)
            destroy_midi(song);
    music.clear();
}

// The tracks of a loaded song moved between two pages that cannot be read, each track ending just
// where the page after it begins: a player that reads one byte outside a track faults at once.
class guarded_song {
public:
    explicit guarded_song(MIDI *song) : song(song)
    {
        const long page = sysconf(_SC_PAGESIZE);
        for (int t = 0; t < MIDI_TRACKS; t++) {
            if (!song->track[t].data)
                continue;
            const long len = song->track[t].len;
            const std::size_t size = static_cast<std::size_t>(((len + page - 1) / page + 2) * page);
            void *base = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (base == MAP_FAILED)
                std::abort();
            unsigned char *start = static_cast<unsigned char *>(base);
            mprotect(start, static_cast<std::size_t>(page), PROT_NONE);
            mprotect(start + size - page, static_cast<std::size_t>(page), PROT_NONE);
            unsigned char *moved = start + size - page - len;
            std::memcpy(moved, song->track[t].data, static_cast<std::size_t>(len));
            pages.push_back({t, song->track[t].data, base, size});
            song->track[t].data = moved;
        }
    }
    ~guarded_song()
    {
        for (const moved_track &m : pages) {
            song->track[m.track].data = m.own_data;
            munmap(m.base, m.size);
        }
    }

private:
    struct moved_track {
        int track;
        unsigned char *own_data;
        void *base;
        std::size_t size;
    };
    MIDI *song;
    std::vector<moved_track> pages;
};

void wait_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Waits until `seen()` holds, looking every 10 ms, for at most `longest_ms`; whether it came.
// Sound is mixed and songs are played on Allegro's own threads, which a busy machine may hold
// back for a while: the tests wait for what they expect instead of for a fixed time.
template <typename F> bool wait_until(F seen, int longest_ms = 20000)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(longest_ms);
    while (!seen()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        wait_ms(10);
    }
    return true;
}

TEST(wavetable_music, every_song_of_the_music_folder_sounds_through_digmid_on_a_null_output)
{
    scratch s;
    const std::string capture = s.path("capture.raw");
    // ALLEGRO points Allegro at the run tree, where the game's own allegro.cfg lies (the test
    // program itself lives elsewhere); the songs are read from the run tree too.
    const report r = run_with_timer(
        {{"ALSA_CONFIG_PATH", s.null_output_config(capture)}, {"ALLEGRO", run_dir()}},
        [&capture](auto say) {
            const int started = install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr);
            say("install_sound", started);
            if (started != 0)
                return;
            say("digi_is_none", digi_driver->id == DIGI_NONE);
            say("midi_is_digmid", midi_driver->id == MIDI_DIGMID);
            reserve_voices(64, -1);
            set_volume_per_voice(2);
            set_volume(-1, 255);
            load_music();
            say("songs", static_cast<long>(music.size()));
            for (size_t i = 0; i < music.size(); i++) {
                const std::string n = std::to_string(i);
                const long before = file_size(capture);
                play_music(static_cast<int>(i));
                wait_until([] { return midi_pos >= 0; });
                const long early = midi_pos;
                // Long enough to hear the instruments, and until the song has moved on.
                wait_ms(2000);
                wait_until([early] { return midi_pos > early; });
                say(("early_pos_" + n).c_str(), early);
                say(("late_pos_" + n).c_str(), midi_pos);
                stop_music(static_cast<int>(i));
                say(("from_" + n).c_str(), before);
                say(("to_" + n).c_str(), file_size(capture));
            }
            free_songs();
        });
    ASSERT_EQ(r.count("no_allegro"), 0u);
    ASSERT_EQ(r.at("install_sound"), 0) << "sound must start on the null output";
    EXPECT_EQ(r.at("digi_is_none"), 0);
    EXPECT_EQ(r.at("midi_is_digmid"), 1) << "allegro.cfg beside the game must select DIGMID";
    ASSERT_GE(r.at("songs"), 1);
    for (long i = 0; i < r.at("songs"); i++) {
        const std::string n = std::to_string(i);
        EXPECT_GE(r.at("early_pos_" + n), 0) << "song " << i;
        EXPECT_GT(r.at("late_pos_" + n), r.at("early_pos_" + n)) << "song " << i << " must advance";
        EXPECT_GT(distinct_words(capture, r.at("from_" + n), r.at("to_" + n)), 16)
            << "song " << i << " is silent: its instruments did not load";
    }
    EXPECT_EQ(r.at("exit"), 0);
}

TEST(wavetable_music, samples_play_at_the_sample_volume_centred_at_their_own_pitch_once)
{
    scratch s;
    const std::string capture = s.path("capture.raw");
    const report r = run_with_timer(
        {{"ALSA_CONFIG_PATH", s.null_output_config(capture)}, {"ALLEGRO", run_dir()}}, [](auto say) {
            if (install_sound(DIGI_AUTODETECT, MIDI_NONE, nullptr) != 0)
                return;
            SAMPLE *beep = create_sample(16, 0, 11025, 2205); // a fifth of a second
            for (int i = 0; i < 2205; i++)
                static_cast<unsigned short *>(beep->data)[i] = static_cast<unsigned short>(0x8000 + (i % 50) * 400);
            sound_vol = 77;
            const int voice = play_game_sample(beep);
            say("voice", voice);
            if (voice < 0)
                return;
            say("volume", voice_get_volume(voice));
            say("pan", voice_get_pan(voice));
            say("frequency", voice_get_frequency(voice));
            say("still_playing", !wait_until([voice, beep] { return voice_check(voice) != beep; }));
            destroy_sample(beep);
        });
    ASSERT_GE(r.at("voice"), 0);
    EXPECT_EQ(r.at("volume"), 77);
    EXPECT_EQ(r.at("pan"), 127);
    EXPECT_EQ(r.at("frequency"), 11025);
    EXPECT_EQ(r.at("still_playing"), 0) << "a sample plays once, without looping";
    EXPECT_EQ(r.at("exit"), 0);
}

// The song-end check and the music key, with a song folder of the test's own.
class song_folder {
public:
    explicit song_folder(int quarter_notes) : dir(make_temp_dir("songs"))
    {
        fs::create_directories(dir + "/data/music");
        write_text_file(dir + "/data/music/only.mid", midi_song_of_quarter_notes(quarter_notes));
    }
    ~song_folder()
    {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
    const std::string dir;
};

// The environment of a child that plays through the game's instruments into a null output.
std::map<std::string, std::string> null_output_with_instruments(scratch &s)
{
    return {{"ALSA_CONFIG_PATH", s.null_output_config(s.path("capture.raw"))}, {"ALLEGRO", run_dir()}};
}

// In a child of run_with_timer: sound started as the game starts it, and the songs of the game
// directory dir loaded and counted as "songs"; false when dir cannot be entered.
template <typename Say> bool load_songs_with_sound(const std::string &dir, Say say)
{
    install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr);
    if (chdir(dir.c_str()) != 0)
        return false;
    load_music();
    say("songs", static_cast<long>(music.size()));
    return true;
}

TEST(song_changes, the_only_song_starts_again_each_time_it_ends)
{
    scratch s;
    song_folder folder(1); // half a second
    const report r = run_with_timer(
        null_output_with_instruments(s), [&folder](auto say) {
            if (!load_songs_with_sound(folder.dir, say))
                return;
            int starts = 0;
            int other_song = 0;
            // Logic steps until the song has started three times (or a long while has passed).
            wait_until([&] {
                const bool was_silent = midi_pos < 0;
                check_change_music();
                if (was_silent && midi_pos >= 0)
                    starts++;
                other_song |= current_music != 0;
                return starts >= 3;
            });
            say("starts", starts);

            say("other_song", other_song);
            free_songs();
        });
    ASSERT_EQ(r.at("songs"), 1);
    EXPECT_GE(r.at("starts"), 3) << "a half-second song, restarted whenever it has ended";
    EXPECT_EQ(r.at("other_song"), 0);
    EXPECT_EQ(r.at("exit"), 0);
}

TEST(song_changes, a_rebound_music_key_restarts_the_song_once_per_press)
{
    scratch s;
    song_folder folder(16); // eight seconds
    const report r = run_with_timer(
        {{"ALSA_CONFIG_PATH", s.null_output_config(s.path("capture.raw"))}, {"ALLEGRO", run_dir()}},
        [&folder](auto say) {
            install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr);
            if (chdir(folder.dir.c_str()) != 0)
                return;
            load_music();
            the_player.key_music = KEY_N;
            auto hold = [](int ms) {
                for (int t = 0; t < ms / 16; t++) {
                    process_keys();
                    wait_ms(16);
                }
            };
            play_music(0);
            wait_until([] { return midi_pos >= 2; });
            say("before_press", midi_pos);
            key[KEY_M] = 1; // the default key does nothing once another is bound
            hold(200);
            key[KEY_M] = 0;
            say("after_default_key", midi_pos);
            key[KEY_N] = 1;
            process_keys();
            say("after_press", midi_pos);
            hold(200);
            // Held on: the song plays on from its start, never started again.
            wait_until([] {
                process_keys();
                return midi_pos >= 2;
            });
            say("while_held", midi_pos);
            key[KEY_N] = 0;
            process_keys();
            key[KEY_N] = 1;
            process_keys();
            say("after_second_press", midi_pos);
            key[KEY_N] = 0;
            process_keys();
            free_songs();
        });
    ASSERT_GE(r.at("before_press"), 2);
    EXPECT_GE(r.at("after_default_key"), r.at("before_press"));
    EXPECT_LE(r.at("after_press"), 0) << "the press starts the song again";
    EXPECT_GE(r.at("while_held"), 2) << "holding the key does not restart it again";
    EXPECT_LE(r.at("after_second_press"), 0);
    EXPECT_EQ(r.at("exit"), 0);
}

// Within a child of run_with_timer: whether Allegro's player walks the whole song (it plays it
// silently to its end to measure it) without a fault; a fault ends the child.
long walked_length(MIDI *song)
{
    guarded_song guarded(song);
    return get_midi_length(song);
}

TEST(guarded_playback, every_song_of_the_music_folder_is_walked_whole_within_its_tracks)
{
    scratch s;
    const report r = run_with_timer(
        {{"ALSA_CONFIG_PATH", s.null_output_config(s.path("capture.raw"))}, {"ALLEGRO", run_dir()}}, [](auto say) {
            install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr);
            load_music();
            say("songs", static_cast<long>(music.size()));
            for (size_t i = 0; i < music.size(); i++)
                say(("seconds_" + std::to_string(i)).c_str(), walked_length(music[i]));
            free_songs();
        });
    ASSERT_GE(r.at("songs"), 1);
    for (long i = 0; i < r.at("songs"); i++)
        EXPECT_GT(r.at("seconds_" + std::to_string(i)), 10) << "song " << i;
    EXPECT_EQ(r.at("exit"), 0);
}

TEST(guarded_playback, a_good_song_beside_a_damaged_one_plays_to_its_end_again_and_looped)
{
    scratch s;
    song_folder folder(2); // a second
    write_text_file(folder.dir + "/data/music/zero_divisions.mid",
                    midi_file(0, 1, 0, midi_track(midi_quarter_notes(2) + midi_end_of_track)));
    const report r = run_with_timer(
        null_output_with_instruments(s), [&folder](auto say) {
            if (!load_songs_with_sound(folder.dir, say))
                return;
            if (music.size() != 1)
                return;
            auto guarded = std::make_unique<guarded_song>(music[0]);
            // Twice through as the game plays it: started, heard to its end, started again.
            for (int round = 0; round < 2; round++) {
                const bool started = wait_until([] {
                    check_change_music();
                    return midi_pos >= 0;
                });
                long furthest = -1;
                const bool ended = wait_until([&furthest] {
                    if (midi_pos >= 0)
                        furthest = midi_pos;
                    return midi_pos < 0;
                });
                say(("started_" + std::to_string(round)).c_str(), started);
                say(("ended_" + std::to_string(round)).c_str(), ended);
                say(("furthest_" + std::to_string(round)).c_str(), furthest);
            }
            // Looped: past its end it begins again from its start.
            play_midi(music[0], TRUE);
            long furthest = 0;
            const bool looped = wait_until([&furthest] {
                const long now = midi_pos;
                if (now > furthest)
                    furthest = now;
                return now >= 0 && now < furthest;
            });
            say("looped", looped);
            stop_midi();
            guarded.reset();
            free_songs();
        });
    ASSERT_EQ(r.at("songs"), 1) << "the song without divisions is left out, the good one stays";
    for (int round = 0; round < 2; round++) {
        const std::string n = std::to_string(round);
        EXPECT_EQ(r.at("started_" + n), 1) << "round " << round;
        EXPECT_EQ(r.at("ended_" + n), 1) << "round " << round;
        EXPECT_GE(r.at("furthest_" + n), 1) << "two beats: the player went past the first";
    }
    EXPECT_EQ(r.at("looped"), 1);
    EXPECT_EQ(r.at("exit"), 0) << "a fault reading outside the song ends the child";
}

// A song with something of each kind the check looks at: several tracks, meta events, a tempo
// change, a system-exclusive message, running status and each channel message.
std::string varied_song()
{
    const std::string conductor = midi_bytes("\x00\xff\x03\x04Song\x00\xff\x58\x04\x04\x02\x18\x08"
                                             "\x00\xff\x51\x03\x07\xa1\x20\x83\x00\xff\x2f\x00",
                                             28);
    const std::string notes = midi_bytes("\x00\xc0\x05\x00\xb0\x07\x64\x00\xf0\x03\x7e\x7f\xf7"
                                         "\x00\x90\x3c\x50\x60\x3c\x00\x00\x3e\x50\x60\x3e\x00"
                                         "\x00\xa0\x3e\x20\x00\xd0\x30\x00\xe0\x00\x40\x60\x80\x40\x00",
                                         41) +
                              midi_end_of_track;
    return midi_file(1, 2, 96, midi_track(conductor) + midi_track(notes));
}

TEST(guarded_playback, damaged_copies_of_a_song_that_pass_the_check_are_walked_whole)
{
    scratch s;
    const std::string song_path = s.path("damaged.mid");
    const report r = run_with_timer(
        {{"ALSA_CONFIG_PATH", s.null_output_config(s.path("capture.raw"))}, {"ALLEGRO", run_dir()}},
        [&song_path](auto say) {
            install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr);
            std::string every_byte;
            for (int c = 0; c < 256; c++)
                every_byte += static_cast<char>(c);
            // Mostly one or two edits with data bytes, which leave more copies that pass.
            const std::string data_bytes = every_byte.substr(0, 128);
            std::mt19937 rng(30);
            const std::string original = varied_song();
            say("original_taken", midi_playable(original) ? 1 : 0);
            long taken = 0;
            for (int i = 0; i < 3000; i++) {
                const std::string &alphabet = rng() % 4 ? data_bytes : every_byte;
                const std::string damaged = rng() % 8 ? damaged_text(rng, original, 2, alphabet.data(), alphabet.size())
                                                      : original.substr(0, rng() % original.size());
                write_text_file(song_path, damaged);
                add_music(song_path.c_str(), 0, nullptr);
                if (music.empty())
                    continue;
                walked_length(music[0]);
                free_songs();
                taken++;
            }
            say("taken", taken);
        });
    EXPECT_EQ(r.at("original_taken"), 1);
    EXPECT_GT(r.at("taken"), 100) << "too few damaged copies pass the check to show anything";
    EXPECT_EQ(r.at("exit"), 0) << "a damaged copy that passed the check faulted in the player";
}

TEST(no_sound, songs_are_still_chosen_and_samples_pass_silently)
{
    scratch s;
    // Allegro may only try ALSA here, which has no device: the sound system cannot start.
    write_text_file(s.path("allegro.cfg"), "[sound]\ndigi_card = ALSA\nmidi_card = DIGI\n");
    const report r = run_with_timer({{"ALSA_CONFIG_PATH", s.no_device_config()}, {"ALLEGRO", s.dir}},
                                    [](auto say) {
                                        say("install_sound", install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr));
                                        load_music();
                                        say("songs", static_cast<long>(music.size()));
                                        long started = 0;
                                        for (int tick = 0; tick < 60; tick++) {
                                            check_change_music();
                                            started |= midi_pos >= 0;
                                            wait_ms(16);
                                        }
                                        say("song_started", started);
                                        SAMPLE *beep = create_sample(8, 0, 11025, 100);
                                        play_game_sample(beep);
                                        destroy_sample(beep);
                                        change_music();
                                        say("survived", 1);
                                        free_songs();
                                    });
    EXPECT_NE(r.at("install_sound"), 0);
    EXPECT_GE(r.at("songs"), 1);
    EXPECT_EQ(r.at("song_started"), 1);
    EXPECT_EQ(r.at("survived"), 1);
    EXPECT_EQ(r.at("exit"), 0);
}

TEST(no_sound, the_game_reports_it_and_runs_on)
{
    // A copy of the game beside the run tree's data, with a configuration that offers only ALSA,
    // and an ALSA without devices. allegro_message would run xmessage and wait for a click: a
    // stub records the text instead.
    scratch s;
    fs::copy_file(run_dir() + "/game", s.path("game"));
    fs::permissions(s.path("game"), fs::perms::owner_all);
    fs::create_directory_symlink(run_dir() + "/data", s.path("data"));
    fs::create_directory(s.path("shots"));
    write_text_file(s.path("allegro.cfg"), "[sound]\ndigi_card = ALSA\nmidi_card = DIGI\n");
    fs::create_directory(s.path("bin"));
    write_text_file(s.path("bin/xmessage"), "#!/bin/sh\nprintf '%s\\n' \"$*\" >> \"" + s.path("xmessage.log") + "\"\n");
    fs::permissions(s.path("bin/xmessage"), fs::perms::owner_all);
    const std::string alsa = s.no_device_config();

    std::fflush(nullptr);
    const pid_t game = fork();
    if (game == 0) {
        setenv("DISPLAY", private_display::name.c_str(), 1);
        setenv("ALSA_CONFIG_PATH", alsa.c_str(), 1);
        setenv("PATH", (s.path("bin") + ":" + std::getenv("PATH")).c_str(), 1);
        unsetenv("ALLEGRO");
        const int quiet = ::open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        execl(s.path("game").c_str(), "game", static_cast<char *>(nullptr));
        _exit(127);
    }
    int status = 0;
    pid_t ended = 0;
    // Until the game has said it, and a while after: it must still be running then.
    const auto said = [&s] { return read_text_file(s.path("xmessage.log")).find("Proceeding without sound") != std::string::npos; };
    wait_until([&] { return said() || (ended = waitpid(game, &status, WNOHANG)) != 0; }, 120000);
    for (int i = 0; i < 20 && ended == 0; i++) {
        wait_ms(100);
        ended = waitpid(game, &status, WNOHANG);
    }
    if (ended == 0) {
        kill(game, SIGTERM);
        waitpid(game, nullptr, 0);
    }
    EXPECT_EQ(ended, 0) << "the game ended without sound (status " << status << ")";
    EXPECT_NE(read_text_file(s.path("xmessage.log")).find("Error initialising sound system"), std::string::npos)
        << read_text_file(s.path("xmessage.log"));
    EXPECT_NE(read_text_file(s.path("xmessage.log")).find("Proceeding without sound"), std::string::npos);
}

} // namespace
