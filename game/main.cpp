// The game's entry point: start-up, then the fixed-rate main loop for ever.
#include <allegro.h>
#include "do_drawing.h"
#include "do_logic.h"
#include "initialization.h"
#include "logo_screen.h"
#include "timer.h"
#include "title_screen.h"

int main()
{
    initialization();
    logo_screen();
    title_screen();
    for (;;) {
        // Logic runs at a fixed 60 steps a second; the counter is taken down only after each step.
        if (speed_counter > 0) {
            do_logic();
            speed_counter--;
        } else {
            do_drawing();
        }
    }
}
END_OF_MAIN()
