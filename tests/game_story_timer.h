// For the story and title tests: a timer driver that accepts callbacks and never runs them, so that
// songs can be started headless (Allegro's MIDI player installs a timer callback).
#pragma once
#include <allegro.h>

namespace story_test_timer {

inline int accept_init() { return 0; }
inline void accept_exit() {}
inline int accept_int(void (*)(), long) { return 0; }
inline void accept_remove_int(void (*)()) {}
inline int accept_param_int(void (*)(void *), void *, long) { return 0; }
inline void accept_remove_param_int(void (*)(void *), void *) {}

// Installs the driver once; Allegro's install_timer then finds a driver in place and keeps it.
inline void install_silent_timer()
{
    static TIMER_DRIVER driver;
    if (timer_driver)
        return;
    driver.id = AL_ID('S', 'I', 'L', 'T');
    driver.name = driver.desc = driver.ascii_name = "silent timer";
    driver.init = accept_init;
    driver.exit = accept_exit;
    driver.install_int = accept_int;
    driver.remove_int = accept_remove_int;
    driver.install_param_int = accept_param_int;
    driver.remove_param_int = accept_remove_param_int;
    timer_driver = &driver;
}

} // namespace story_test_timer
