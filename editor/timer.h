// The editor's logic-step counter and the timer callback that feeds it.
#pragma once
#include <atomic>

// Logic steps owed: +1 every 1/60 s on Allegro's timer thread, taken down by the main loop.
extern std::atomic<int> speed_counter;

void increment_speed_counter();
