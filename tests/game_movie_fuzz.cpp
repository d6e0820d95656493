// Random, damaged and cut movie files through the movie reader and a few ticks of their playback:
// nothing may read or write out of bounds (run it in the sanitizer build to see that).
#include <cstdio>
#include <cstring>
#include <string>
#include "auto_script.h"
#include "do_logic.h"
#include "fuzz_input.h"
#include "game_player_fixture.h"
#include "headless.h"

using namespace player_test;

namespace {

class movie_fuzz : public player_test_base {
protected:
    void SetUp() override
    {
        player_test_base::SetUp();
        dir = make_temp_dir("movie_fuzz") + "/";
        // Playback restarts a map when Pim falls out: the movie's map names are read as they come,
        // and then this small map stands in for them.
        write_text_file(dir + "stage.map", map_file_text("Stage", "stage.map", "end", 2, 9, 17, 9,
                                                         {"", "", "", "", "", "", "", "", "", "", "####################"}));
        use_level_directory(dir);
        char stage[] = "stage.map";
        the_map.load_map(stage);
    }
    void TearDown() override
    {
        do_play_script = 0;
        speed_counter = 0;
        the_map.flush();
        leave_level_directory(dir);
        player_test_base::TearDown();
    }

    // Reads the text as a movie, checks what the reader took, then plays a few ticks of it.
    void run(const std::string &text)
    {
        write_text_file(dir + "fuzz.qmv", text);
        FILE *file = std::fopen((dir + "fuzz.qmv").c_str(), "rb");
        ASSERT_NE(file, nullptr);
        read_auto_script(file);
        std::fclose(file);
        ASSERT_LT(strnlen(loader_directory, sizeof(loader_directory)), sizeof(loader_directory));
        ASSERT_LT(strnlen(the_map.file_name, sizeof(the_map.file_name)), sizeof(the_map.file_name));
        ASSERT_GE(play_script_time, 0);
        ASSERT_LE(play_script_time, script_capacity);

        use_level_directory(dir);
        std::snprintf(the_map.file_name, sizeof(the_map.file_name), "stage.map");
        the_player.teleport_anim = 0;
        do_play_script = -1;
        script_time = 0;
        for (int tick = 0; tick < 12; tick++) {
            speed_counter = 100; // a fall runs the wipe on owed ticks
            do_logic();
            the_map.animate();
            the_map.draw(buffer);
            the_player.draw(buffer);
        }
        do_play_script = 0;
        release_all_keys();
    }

    // A well-formed movie with wild values in it, as the game writes one.
    std::string wild_movie()
    {
        std::snprintf(loader_directory, sizeof(loader_directory), "dir %u/", in.next());
        std::snprintf(the_map.file_name, sizeof(the_map.file_name), "map %u.map", in.next());
        int *const start_values[] = {&script_player_facing, &script_player_x, &script_player_y,
                                     &script_player_falling, &script_player_ducking, &script_player_up};
        for (int *value : start_values)
            *value = static_cast<int>(in.any_value());
        const int ticks = static_cast<int>(in.next() % 40);
        for (int t = 0; t < ticks; t++)
            for (int row = 0; row < script_key_count; row++)
                script_storage[row][t] = in.next() % 3 == 0 ? static_cast<int>(in.any_value()) : -1 * (in.next() % 2);
        for (auto &column : script_tiles)
            for (int &tile : column)
                tile = in.next() % 4 == 0 ? static_cast<int>(in.any_value()) : -1;
        char *bytes = nullptr;
        std::size_t size = 0;
        FILE *memory = open_memstream(&bytes, &size);
        write_auto_script(memory, ticks);
        std::fclose(memory);
        std::string text(bytes, size);
        std::free(bytes);
        if (in.next() % 3 == 0) {
            // Claim another number of ticks than follow (line 3 holds it).
            const std::size_t start = text.find('\n', text.find('\n') + 1) + 1;
            text.replace(start, text.find('\n', start) - start, std::to_string(in.any_value()));
        }
        return text;
    }

    fuzz_input in{20261210};
    std::string dir;
};

TEST_F(movie_fuzz, random_bytes_read_and_play_safely)
{
    for (int i = 0; i < 200; i++)
        run(in.random_bytes(3000));
}

TEST_F(movie_fuzz, wild_values_read_and_play_safely)
{
    for (int i = 0; i < 300; i++)
        run(wild_movie());
}

TEST_F(movie_fuzz, cut_files_read_and_play_safely)
{
    for (int i = 0; i < 300; i++)
        run(in.truncated(wild_movie()));
}

TEST_F(movie_fuzz, damaged_files_read_and_play_safely)
{
    for (int i = 0; i < 300; i++)
        run(in.mutated(wild_movie(), fuzz_input::number_alphabet()));
}

TEST_F(movie_fuzz, over_long_lines_and_numbers_read_and_play_safely)
{
    for (int i = 0; i < 60; i++) {
        std::string text = wild_movie();
        const std::string filler = in.next() % 2 ? std::string(300 + in.next() % 3000, 'a' + in.next() % 26)
                                                 : std::string(30 + in.next() % 300, '9');
        const std::size_t line_starts[] = {0, text.find('\n') + 1, text.find('\n', text.find('\n') + 1) + 1};
        text.insert(line_starts[in.next() % 3], filler);
        run(text);
    }
}

} // namespace
