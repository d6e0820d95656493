// Random, damaged and truncated map files through loading, the map's tick and its frame: nothing may
// read or write out of bounds (run it in the sanitizer build to see that).
#include <gtest/gtest.h>
#include <allegro.h>
#include <climits>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include "fuzz_text.h"
#include "headless.h"
#include "level_set_screen.h"
#include "map.h"
#include "map_file.h"
#include "player.h"

namespace {

class map_fuzz : public testing::Test {
protected:
    void SetUp() override
    {
        std::memcpy(saved_directory, loader_directory, sizeof(saved_directory));
        dir = make_temp_dir("map_fuzz") + "/";
        std::snprintf(loader_directory, sizeof(loader_directory), "%s", dir.c_str());
        the_map.initialize();
        target = create_bitmap(640, 480);
    }
    void TearDown() override
    {
        destroy_bitmap(target);
        the_map.flush();
        std::memcpy(loader_directory, saved_directory, sizeof(saved_directory));
    }

    // Loads the text as a map file, then runs a few ticks and frames over it.
    void run(const std::string &text)
    {
        write_text_file(dir + "fuzz.map", text);
        char name[] = "fuzz.map";
        the_map.load_map(name);
        ASSERT_LE(the_map.teleports.size(), 300u);
        for (int i = 0; i < 3; i++) {
            the_map.draw(target);
            the_map.animate();
            if (the_map.background != 0) {
                ASSERT_GE(the_map.scroll_pos, 0);
                ASSERT_LE(the_map.scroll_pos, 640);
            }
        }
    }

    int any_value()
    {
        static const int specials[] = {INT_MIN, INT_MAX, -1, 0, 1, 19, 20, 14, 15, 300, 301, -2, -11, -12, 59, 60, 7, 8, 640, 481};
        switch (rng() % 4) {
        case 0: return specials[rng() % (sizeof(specials) / sizeof(specials[0]))];
        case 1: return static_cast<int>(rng());
        default: return static_cast<int>(rng() % 80) - 20;
        }
    }

    // A well-formed file with wild values in it.
    std::string wild_map()
    {
        map_file m;
        std::snprintf(m.name, sizeof(m.name), "fuzz %u", static_cast<unsigned>(rng()));
        std::snprintf(m.file_name, sizeof(m.file_name), "fuzz.map");
        std::snprintf(m.next_map, sizeof(m.next_map), "end");
        int *const header[] = {&m.start_x, &m.start_y, &m.exit_x, &m.exit_y, &m.background, &m.x_velocity, &m.y_velocity};
        for (int *value : header)
            *value = any_value();
        for (int x = 0; x < map_width; x++)
            for (int y = 0; y < map_height; y++) {
                m.block_layer[x][y] = any_value();
                m.trans_layer[x][y] = any_value();
            }
        const int teleports = rng() % 8 == 0 ? 300 + rng() % 50 : rng() % 6;
        for (int i = 0; i < teleports; i++)
            m.teleports.push_back({any_value(), any_value(), any_value(), any_value()});
        std::ostringstream out;
        write_map_stream(out, m);
        std::string text = out.str();
        if (rng() % 3 == 0) {
            // Claim a different count than the records that follow (line 611 holds the count).
            std::size_t start = 0;
            for (int line = 0; line < 610; line++)
                start = text.find('\n', start) + 1;
            const std::size_t end = text.find('\n', start);
            text.replace(start, end - start, std::to_string(any_value()));
        }
        return text;
    }

    std::string mutated(std::string text)
    {
        static const char alphabet[] = "0123456789-+ \t\r\n\v\fxZ.\0";
        return damaged_text(rng, std::move(text), 10, alphabet, sizeof(alphabet) - 1);
    }

    std::string random_bytes() { return random_text(rng, 3000); }

    std::mt19937 rng{20240611};
    std::string dir;
    char saved_directory[sizeof(loader_directory)];
    BITMAP *target = nullptr;
};

TEST_F(map_fuzz, random_bytes_load_and_draw_safely)
{
    for (int i = 0; i < 300; i++)
        run(random_bytes());
}

TEST_F(map_fuzz, wild_values_load_and_draw_safely)
{
    for (int i = 0; i < 400; i++)
        run(wild_map());
}

TEST_F(map_fuzz, truncated_files_load_and_draw_safely)
{
    for (int i = 0; i < 400; i++) {
        std::string text = wild_map();
        text.resize(rng() % (text.size() + 1));
        run(text);
    }
}

TEST_F(map_fuzz, damaged_files_load_and_draw_safely)
{
    for (int i = 0; i < 400; i++)
        run(mutated(wild_map()));
}

TEST_F(map_fuzz, over_long_lines_load_and_draw_safely)
{
    for (int i = 0; i < 50; i++) {
        std::string text = wild_map();
        text.insert(rng() % 3 == 0 ? 0 : text.find('\n') + 1, std::string(200 + rng() % 2000, 'a' + rng() % 26));
        run(text);
    }
}

} // namespace
