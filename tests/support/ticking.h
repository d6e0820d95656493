// Stands in for the game's 60 Hz timer in headless tests: modal screens wait for speed_counter to
// owe steps, and without a timer they would wait for ever.
#pragma once
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include "timer.h"

// While it lives, a thread adds one owed step to speed_counter every 200 microseconds, first
// calling each_tick (which may play the user's keys); when it ends, nothing is owed.
class ticking {
public:
    explicit ticking(std::function<void()> each_tick = nullptr)
        : thread([this, each_tick] {
              while (!stop) {
                  if (each_tick)
                      each_tick();
                  speed_counter++;
                  std::this_thread::sleep_for(std::chrono::microseconds(200));
              }
          })
    {
    }
    ~ticking()
    {
        stop = true;
        thread.join();
        speed_counter = 0;
    }

private:
    std::atomic<bool> stop{false};
    std::thread thread;
};
