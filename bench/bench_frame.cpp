// Benchmark: the worst-case frame of play drawn into a 640x480 16-bit memory bitmap, over and over.
#include "bench_setup.h"

int main()
{
    start_bench();
    // A scrolling picture costs two full-screen blits, more than the star field does.
    build_busy_map(1, 3);
    keep_block_anims_running();
    the_map.scroll_pos = 217;

    long frames = 0;
    const auto start = std::chrono::steady_clock::now();
    double elapsed = 0;
    while (elapsed < 3.0) {
        for (int i = 0; i < 50; i++) {
            clear_to_color(buffer, 0);
            the_map.draw(buffer);
            the_player.draw(buffer);
        }
        frames += 50;
        elapsed = seconds_since(start);
    }
    std::printf("map: every cell with trans and block tiles, %zu block animations, %zu teleports, exit, "
                "background scrolling sideways\n",
                the_build_block_anim.size(), the_map.teleports.size());
    std::printf("frames drawn: %ld in %.2f s, %.3f ms a frame\n", frames, elapsed, 1000.0 * elapsed / frames);
    std::printf("frames per second: %ld\n", static_cast<long>(frames / elapsed));
    return 0;
}
END_OF_MAIN()
