// The two timer counters and the callbacks Allegro's timer thread calls.
#pragma once
#include <atomic>

// Logic steps owed: +1 every 1/60 s on the timer thread, -1 per step run.
extern std::atomic<int> speed_counter;
// +1 every second on the timer thread; reset by the frame that notices it.
extern std::atomic<int> fps_timer;

void increment_speed_counter();
void increment_fps_timer();
