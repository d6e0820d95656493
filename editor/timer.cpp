// The timer callback: it only bumps the counter, atomically, so no tick is lost.
#include "timer.h"

std::atomic<int> speed_counter{0};

void increment_speed_counter()
{
    speed_counter.fetch_add(1);
}
