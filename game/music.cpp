// Background music: one random song at a time, each played once through, and the sample convention.
#include "music.h"
#include "datafiles.h"
#include "game_quit.h"
#include "options_screen.h"
#include "randomize.h"
#include "text_mode_message.h"

std::vector<MIDI *> music;
int current_music = 0;

static int song_exists(int i)
{
    return i >= 0 && i < static_cast<int>(music.size()) ? -1 : 0;
}

void stop_music(int i)
{
    if (song_exists(i))
        stop_midi();
}

void play_music(int i)
{
    if (song_exists(i))
        stop_midi();
    // An index outside the list is treated like an empty entry rather than read past the end.
    if (!song_exists(i) || !music[i]) {
        quit_with_message("Could not play MIDI file.");
    }
    play_midi(music[i], 0);
}

void change_music()
{
    if (music.empty())
        return;
    current_music = randomize(0, static_cast<int>(music.size()));
    play_music(current_music);
}

void check_change_music()
{
    // midi_pos is negative once the song has ended, or before any was started.
    if (midi_pos < 0)
        change_music();
}

int play_game_sample(SAMPLE *sample)
{
    return play_sample(sample, sound_vol, 127, 1000, 0);
}

void play_game_sound(int entry)
{
    if (d_sounds)
        play_game_sample(static_cast<SAMPLE *>(d_sounds[entry].dat));
}
