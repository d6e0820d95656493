// The loop every modal screen of the game runs: the logic steps owed, then one frame, until the screen ends.
#pragma once
#include <type_traits>
#include "do_drawing.h"
#include "timer.h"

// What a screen's tick may tell the loop.
const int modal_go_on = 0;      // carry on
const int modal_return_now = 1; // the screen ends within this step: no further step and no frame

// Runs a modal screen on its state until its done flag is set. While steps are owed (speed_counter
// above 0) it runs tick(state) and only then takes the step from the counter, so that whatever the
// tick calls sees the counter at 1 or more; then it draws one frame, draw(state), into buffer and
// copies buffer to the screen. After the step that sets the flag, the steps still owed run and
// then one more frame, unless last_frame is 0. A tick that returns modal_return_now ends the
// screen at once, after its step has been taken; a tick that returns nothing never does.
template <class State, class Tick, class Draw>
void run_modal_screen(State &state, const int &done, Tick tick, Draw draw, int last_frame = -1)
{
    while (!done) {
        while (speed_counter > 0) {
            int outcome = modal_go_on;
            if constexpr (std::is_void_v<decltype(tick(state))>)
                tick(state);
            else
                outcome = tick(state);
            speed_counter--;
            if (outcome == modal_return_now)
                return;
        }
        if (done && !last_frame)
            return;
        draw(static_cast<const State &>(state));
        show_buffer();
    }
}
