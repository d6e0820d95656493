// The ending: a table of dialogue steps (message with portrait, picture fade in or out) over black.
#include "ending_screen.h"
#include <allegro.h>
#include "datafiles.h"
#include "do_drawing.h"
#include "message.h"
#include "modal_screen.h"
#include "timer.h"

namespace {

enum step_kind { show_message, fade_picture_in, fade_picture_out, end_dialogue };

// Portraits of d_portraits: Pim and the dreamer who wakes up.
const int pim = 10;
const int dreamer = 5;
const int no_portrait = -1;

struct ending_step {
    step_kind kind;
    int waits_for_box; // -1: acts only once the message box is idle
    const char *text;
    int portrait;
};

const ending_step ending_steps[] = {
    {show_message, 0, "^^^^Pim.", pim},
    {show_message, -1, "Pim!^^!", pim},
    {show_message, -1, "^^^^M^^^mm^^^^m^^^^p^^^h^^^.^^^.^^^.^^^.", no_portrait},
    {show_message, -1, "Pim...^^^^^^^^^^^^^^Pom.^^^^^^^^^^^^", pim},
    {show_message, -1, "Pom^^^^.^^^.^^^..^^^^ Tom^^^^^^.....", pim},
    {show_message, -1, "T^.....^.. Tod!", pim},
    {show_message, -1, "Mmph...", no_portrait},
    {show_message, -1, "Tod,^^^ wake up!!", pim},
    {show_message, -1, "Wh.^^.^^.^^^^  What?^^^^^^^^^^^^^^^^|Was I sleeping?", dreamer},
    {fade_picture_in, -1, nullptr, 0},
    {show_message, -1, "Oh^^^^.^^^^.^^^^. Not again!", dreamer},
    {show_message, -1, "I must have fallen|alseep while programming!", dreamer},
    {show_message, -1, "^^^^.^^^^.^^^^.what a weird dream I had.^^^^^^^.^^^^^^^^.", dreamer},
    {fade_picture_out, -1, nullptr, 0},
    {end_dialogue, 0, nullptr, 0},
};

const int fade_speed = 2;
const int fade_in_step = 9;
const int fade_out_step = 13;
const int ending_picture = 5;
const int story_song = 26;

} // namespace

void start_ending()
{
    clear_bitmap(buffer);
    stop_midi();
    play_midi(static_cast<MIDI *>(d_system[story_song].dat), TRUE);
}

void ending_tick(ending_state &ending)
{
    if (key[KEY_ESC])
        ending.done = -1;

    const ending_step &step = ending_steps[ending.step];
    if (!step.waits_for_box || !the_message.active_state()) {
        switch (step.kind) {
        case show_message:
            the_message.set(step.text, 0, 0, 0, step.portrait);
            ending.step++;
            break;
        case fade_picture_in:
            ending.fade += fade_speed;
            if (ending.fade > 254) {
                ending.fade = 255;
                ending.step++;
            }
            break;
        case fade_picture_out:
            ending.fade -= fade_speed;
            if (ending.fade < 1) {
                ending.fade = 0;
                ending.step++;
            }
            break;
        case end_dialogue:
            ending.done = -1;
            break;
        }
    }
    the_message.calculate();
}

void draw_ending(const ending_state &ending)
{
    clear_to_color(buffer, makecol(0, 0, 0));
    BITMAP *picture = system_bitmap(ending_picture);
    const int idle = !the_message.active_state();
    const int step = ending.step;
    const int fading = (step == fade_in_step || step == fade_out_step) && idle;
    if (fading) {
        set_trans_blender(255, 255, 255, ending.fade);
        draw_trans_sprite(buffer, picture, 0, 0);
        set_trans_blender(0, 0, 0, 0);
    } else if (step > fade_in_step && step <= fade_out_step) {
        blit(picture, buffer, 0, 0, 0, 0, 640, 480);
    }
    the_message.draw();
}

void ending_screen()
{
    ending_state ending;
    start_ending();
    run_modal_screen(ending, ending.done, ending_tick, draw_ending);
    the_message.deactivate();
}
