// The ending after the last map of a level set: the wake-up dialogue with its portraits and picture.
#pragma once

struct ending_state {
    int done = 0;
    int step = 0;
    int fade = 0; // opacity of the ending picture, 0..255
};

// Opens the screen: clears buffer and starts the story song, which keeps playing afterwards.
void start_ending();
// One logic tick: Escape, the current step, the message box.
void ending_tick(ending_state &ending);
// One frame into buffer: black, the picture by step, the message box.
void draw_ending(const ending_state &ending);
// The modal ending; Escape skips the dialogue.
void ending_screen();
