// The editor's entry point: start-up, then the fixed-rate loop for ever (game_quit ends it).
#include <allegro.h>
#include "do_drawing.h"
#include "do_logic.h"
#include "initialization.h"
#include "timer.h"

int main(int argc, char **argv)
{
    initialization(argc, argv);
    for (;;) {
        // Owed logic steps all run before the next frame; frames fill the time left over.
        if (speed_counter > 0) {
            do_logic();
            speed_counter--;
        } else {
            do_drawing(0);
            pause_after_frame();
        }
    }
}
END_OF_MAIN()
