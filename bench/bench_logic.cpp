// Benchmark: whole logic steps of play on a busy map, Pim standing on it, the star field moving.
#include "bench_setup.h"
#include "do_logic.h"

int main()
{
    start_bench();
    // The star field moves 1000 stars a tick: more work than scrolling a picture.
    build_busy_map(0, 0);

    long steps = 0;
    const auto start = std::chrono::steady_clock::now();
    double elapsed = 0;
    while (elapsed < 3.0) {
        for (int i = 0; i < 500; i++) {
            keep_block_anims_running();
            do_logic();
        }
        steps += 500;
        elapsed = seconds_since(start);
    }
    std::printf("map: busy cells, 8 block animations kept running, %zu teleports, star field; Pim at (%d, %d)\n",
                the_map.teleports.size(), the_player.x, the_player.y);
    std::printf("logic steps: %ld in %.2f s, %.2f us a step\n", steps, elapsed, 1e6 * elapsed / steps);
    std::printf("logic steps per second: %ld\n", static_cast<long>(steps / elapsed));
    return 0;
}
