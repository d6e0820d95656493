// Background music: the song list, starting and changing songs, and the one way samples are played.
#pragma once
#include <allegro.h>
#include <vector>

// The songs found in data/music at start-up, in directory order.
extern std::vector<MIDI *> music;
// Index of the song last started.
extern int current_music;

// Stops the MIDI player if song i exists.
void stop_music(int i);
// Stops what plays and starts song i once, without looping.
void play_music(int i);
// Starts a random song (possibly the one playing); does nothing without songs.
void change_music();
// Starts a random song when none is playing.
void check_change_music();

// Every sample of the game plays at the sample volume, centred, at its own pitch, once.
// Gives the voice it plays on, or a negative number when none was free (or there is no sound).
int play_game_sample(SAMPLE *sample);
// Plays entry `entry` of the sound data file so, once that file is loaded.
void play_game_sound(int entry);
