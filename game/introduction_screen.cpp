// The introduction: a table of story steps (wait, message, fade), each waiting for the message box to be read.
#include "introduction_screen.h"
#include "datafiles.h"
#include "do_drawing.h"
#include "do_logic.h"
#include "game_quit.h"
#include "map.h"
#include "message.h"
#include "modal_screen.h"
#include "timer.h"
#include "text_mode_message.h"

namespace {

enum step_kind { stars_step, message_step, fade_step, end_step };

struct intro_step {
    step_kind kind;
    int waits_for_box;   // -1: acts only once the message box is idle
    const char *text;    // message_step: the text
    int fade_speed;      // fade_step: opacity gained per tick
    int background_after; // fade_step: the map's background number once the fade is complete
};

const intro_step intro_steps[] = {
    {stars_step, 0, nullptr, 0, 0},
    {message_step, 0, "There exists a world^^^^^.^^^^^.^^^^^.", 0, 0},
    {message_step, -1, "A world where reality can be|completely altered^^^^^.^^^^^.^^^^^.", 0, 0},
    {message_step, -1,
     "A world in which its visitors|can completely shape their|surroundings^^^^^.^^^^^.^^^^^.", 0, 0},
    {fade_step, -1, nullptr, 4, 1},
    {message_step, -1, "This world is the world of Dreams,|called a \"Slumberia.\"", 0, 0},
    {message_step, -1, "Each living being can create their|very own Slumberia.", 0, 0},
    {fade_step, -1, nullptr, 2, -1},
    {message_step, -1,
     "This little creature, however has|quite a magnificent slumberia.|In this slumberia there are "
     "strict|rules and limitations. Unlike other",
     0, 0},
    {message_step, -1,
     "Dreamers, this little one creates|an intricate world where everything|is held together by "
     "what is|known as Dream Power.",
     0, 0},
    {fade_step, -1, nullptr, 2, -1},
    {message_step, -1, "This little creature is Pim.", 0, 0},
    {message_step, -1, "And this is Pim's world.^^^^^.^^^^^.^^^^^^.|Pim's^^^^^ Slumberia.", 0, 0},
    {fade_step, -1, nullptr, 2, -1},
    {message_step, -1,
     "Pim has trapped himself in his|own Slumberia, and won't be|able to wake up unless|he finds a "
     "way out!",
     0, 0},
    {message_step, -1, "What dreamt worlds will await him?", 0, 0},
    {message_step, -1, "This begins Pim's journey....", 0, 0},
    {fade_step, -1, nullptr, 2, -1},
    {end_step, 0, nullptr, 0, 0},
};

const int stars_alone_ticks = 255;
// The cross-fade from the stars to the backdrop is the step that shows background 1 moving.
const int cross_fade_step = 4;
const int last_message_step = 16;
const int last_step = static_cast<int>(sizeof(intro_steps) / sizeof(intro_steps[0])) - 1;

// The three pictures, and the steps in which each fades in over the one before.
const int picture_entries[] = {9, 10, 11};
const int picture_fade_steps[] = {7, 10, 13};

const int story_song = 26;

void draw_translucent(BITMAP *image, int opacity)
{
    set_trans_blender(255, 255, 255, opacity);
    draw_trans_sprite(buffer, image, 0, 0);
    set_trans_blender(0, 0, 0, 0);
}

} // namespace

void start_introduction(introduction_state &intro)
{
    clear_bitmap(buffer);
    intro.saved_background = the_map.background;
    the_map.background = 0;
    intro.second = create_bitmap(640, 480);
    if (!intro.second) {
        quit_with_message("Could not create intro buffer2");
    }
    stop_midi();
    play_midi(static_cast<MIDI *>(d_system[story_song].dat), TRUE);
}

void introduction_tick(introduction_state &intro)
{
    if (key[KEY_ESC]) {
        // The title menu's own escape handling must not take this press as a new one.
        key_esc_down = -1;
        intro.done = -1;
    }

    const intro_step &step = intro_steps[intro.step];
    if (!step.waits_for_box || !the_message.active_state()) {
        switch (step.kind) {
        case stars_step:
            intro.count++;
            if (intro.count >= stars_alone_ticks)
                intro.step++;
            break;
        case message_step:
            the_message.set(step.text, 0, 0, 0, -1);
            intro.step++;
            break;
        case fade_step:
            intro.fade += step.fade_speed;
            if (intro.step == cross_fade_step) {
                // The backdrop fading in over the stars moves one pixel a tick, as the menus' does.
                the_map.scroll_pos++;
                if (the_map.scroll_pos > 640)
                    the_map.scroll_pos -= 640;
            }
            if (intro.fade > 254) {
                the_map.background = step.background_after;
                intro.fade = 0;
                intro.step++;
            }
            break;
        case end_step:
            intro.done = -1;
            break;
        }
    }

    the_message.calculate();
    the_map.scroll_background();
}

void draw_introduction(const introduction_state &intro)
{
    clear_bitmap(buffer);
    if (the_map.background >= 0)
        the_map.draw_background(buffer);

    const int idle = !the_message.active_state();
    const int step = intro.step;
    if (step == cross_fade_step && idle) {
        // Background 1 is drawn through the map while the map itself still shows the stars.
        the_map.background = 1;
        the_map.draw_background(intro.second);
        the_map.background = 0;
        draw_translucent(intro.second, intro.fade);
        clear_bitmap(intro.second);
    }

    // Each picture fades in over the one before and then stands until the next has covered it.
    for (int i = 0; i < 3; i++) {
        BITMAP *picture = system_bitmap(picture_entries[i]);
        const int fades_in = picture_fade_steps[i];
        const int covered_after = i < 2 ? picture_fade_steps[i + 1] : last_step;
        if (step == fades_in && idle)
            draw_translucent(picture, intro.fade);
        else if (step > fades_in && step <= covered_after)
            blit(picture, buffer, 0, 0, 0, 0, 640, 480);
    }
    if (step > last_message_step && idle) {
        // The last picture fades out to white.
        set_trans_blender(255, 255, 255, 255);
        draw_lit_sprite(buffer, system_bitmap(picture_entries[2]), 0, 0, intro.fade);
        set_trans_blender(0, 0, 0, 0);
    }
    the_message.draw();
}

void finish_introduction(introduction_state &intro)
{
    the_message.deactivate();
    stop_midi();
    if (intro.second) {
        destroy_bitmap(intro.second);
        intro.second = nullptr;
    }
    the_map.background = intro.saved_background;
}

void introduction_screen()
{
    introduction_state intro;
    start_introduction(intro);
    // Once it is over nothing more is drawn: the next screen draws over its last frame.
    run_modal_screen(intro, intro.done, introduction_tick, draw_introduction, 0);
    finish_introduction(intro);
}
