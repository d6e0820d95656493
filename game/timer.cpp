// Timer callbacks: each only bumps its counter, atomically, so no tick is lost.
#include "timer.h"

std::atomic<int> speed_counter{0};
std::atomic<int> fps_timer{0};

void increment_speed_counter()
{
    speed_counter.fetch_add(1);
}

void increment_fps_timer()
{
    fps_timer.fetch_add(1);
}
