// The shared map file reader and writer: the editor's exact format, and what short or damaged files give.
#include <gtest/gtest.h>
#include <cstring>
#include <sstream>
#include <string>
#include "case_names.h"
#include "headless.h"
#include "map_file.h"

namespace {

// The values the game's empty map holds before a file is read over it.
map_file game_defaults()
{
    map_file m;
    std::strcpy(m.name, "stale name");
    std::strcpy(m.file_name, "stale file");
    std::strcpy(m.next_map, "stale next");
    m.start_x = 0;
    m.start_y = 0;
    m.exit_x = 19;
    m.exit_y = 14;
    m.background = 1;
    m.x_velocity = 1;
    m.y_velocity = 0;
    for (int x = 0; x < map_width; x++)
        for (int y = 0; y < map_height; y++)
            m.block_layer[x][y] = m.trans_layer[x][y] = -1;
    return m;
}

// A map where every field holds a value of its own, so a swapped or shifted field shows.
map_file busy_map(int teleports)
{
    map_file m;
    std::strcpy(m.name, "Pillow Towers");
    std::strcpy(m.file_name, "towers.map");
    std::strcpy(m.next_map, "end");
    m.start_x = 3;
    m.start_y = 12;
    m.exit_x = 17;
    m.exit_y = 2;
    m.background = 4;
    m.x_velocity = -6;
    m.y_velocity = 0;
    for (int x = 0; x < map_width; x++)
        for (int y = 0; y < map_height; y++) {
            m.block_layer[x][y] = (x * 15 + y) % 13 - 11; // every special code and a few tiles
            m.trans_layer[x][y] = x * 100 + y;
        }
    for (int i = 0; i < teleports; i++)
        m.teleports.push_back({i, i + 1, 19 - i, 14 - i});
    m.teleport_count = teleports;
    return m;
}

std::string written(const map_file &m)
{
    std::ostringstream out;
    write_map_stream(out, m);
    return out.str();
}

map_file read_over_defaults(const std::string &text)
{
    map_file m = game_defaults();
    std::istringstream in(text);
    read_map_stream(in, m);
    return m;
}

std::vector<std::string> lines_of(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

void expect_same_map(const map_file &a, const map_file &b)
{
    EXPECT_STREQ(a.name, b.name);
    EXPECT_STREQ(a.file_name, b.file_name);
    EXPECT_STREQ(a.next_map, b.next_map);
    EXPECT_EQ(a.start_x, b.start_x);
    EXPECT_EQ(a.start_y, b.start_y);
    EXPECT_EQ(a.exit_x, b.exit_x);
    EXPECT_EQ(a.exit_y, b.exit_y);
    EXPECT_EQ(a.background, b.background);
    EXPECT_EQ(a.x_velocity, b.x_velocity);
    EXPECT_EQ(a.y_velocity, b.y_velocity);
    for (int x = 0; x < map_width; x++)
        for (int y = 0; y < map_height; y++) {
            ASSERT_EQ(a.block_layer[x][y], b.block_layer[x][y]) << "block " << x << "," << y;
            ASSERT_EQ(a.trans_layer[x][y], b.trans_layer[x][y]) << "trans " << x << "," << y;
        }
    EXPECT_EQ(a.teleport_count, b.teleport_count);
    ASSERT_EQ(a.teleports.size(), b.teleports.size());
    for (std::size_t i = 0; i < a.teleports.size(); i++) {
        EXPECT_EQ(a.teleports[i].src_x, b.teleports[i].src_x);
        EXPECT_EQ(a.teleports[i].src_y, b.teleports[i].src_y);
        EXPECT_EQ(a.teleports[i].dst_x, b.teleports[i].dst_x);
        EXPECT_EQ(a.teleports[i].dst_y, b.teleports[i].dst_y);
    }
}

TEST(map_file_writer, writes_one_value_a_line_in_the_editors_order)
{
    const std::string text = written(busy_map(0));
    std::vector<std::string> lines = lines_of(text);
    ASSERT_EQ(lines.size(), 611u);
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(lines[0], "Pillow Towers");
    EXPECT_EQ(lines[1], "towers.map");
    EXPECT_EQ(lines[2], "end");
    const char *header[] = {"3", "12", "17", "2", "4", "-6", "0"};
    for (int i = 0; i < 7; i++)
        EXPECT_EQ(lines[3 + i], header[i]);
    // Column by column, each cell's block value before its trans value.
    EXPECT_EQ(lines[10], "-11"); // block (0,0)
    EXPECT_EQ(lines[11], "0");   // trans (0,0)
    EXPECT_EQ(lines[12], "-10"); // block (0,1)
    EXPECT_EQ(lines[11 + 2 * 15], "100"); // trans (1,0)
    EXPECT_EQ(lines[609], "1914"); // trans (19,14)
    EXPECT_EQ(lines[610], "0");
}

TEST(map_file_writer, adds_four_lines_per_teleport_and_counts_the_list)
{
    map_file m = busy_map(3);
    m.teleport_count = 99; // only the list's size is written
    std::vector<std::string> lines = lines_of(written(m));
    ASSERT_EQ(lines.size(), 611u + 12u);
    EXPECT_EQ(lines[610], "3");
    EXPECT_EQ(lines[611], "0");
    EXPECT_EQ(lines[612], "1");
    EXPECT_EQ(lines[613], "19");
    EXPECT_EQ(lines[614], "14");
    EXPECT_EQ(lines[622], "12"); // dst_y of the third
}

TEST(map_file_reader, reads_back_every_field_the_writer_wrote)
{
    for (int teleports : {0, 1, 5}) {
        map_file original = busy_map(teleports);
        expect_same_map(read_over_defaults(written(original)), original);
    }
}

TEST(map_file_reader, takes_any_white_space_between_the_numbers)
{
    const map_file original = busy_map(2);
    std::vector<std::string> lines = lines_of(written(original));
    std::string spaced = lines[0] + "\n" + lines[1] + "\n" + lines[2] + "\n";
    const char *gaps[] = {" ", "\t", "  ", "\r\n", " \n\n "};
    for (std::size_t i = 3; i < lines.size(); i++)
        spaced += lines[i] + gaps[i % 5];
    expect_same_map(read_over_defaults(spaced), original);
}

TEST(map_file_reader, keeps_a_carriage_return_in_the_three_lines)
{
    map_file m = read_over_defaults("Dozy\r\nd.map\r\nend\r\n5\r\n6\r\n");
    EXPECT_STREQ(m.name, "Dozy\r");
    EXPECT_STREQ(m.file_name, "d.map\r");
    EXPECT_STREQ(m.next_map, "end\r");
    EXPECT_EQ(m.start_x, 5);
    EXPECT_EQ(m.start_y, 6);
}

TEST(map_file_reader, a_file_ending_after_line_10_leaves_an_empty_map)
{
    std::vector<std::string> lines = lines_of(written(busy_map(4)));
    std::string head;
    for (int i = 0; i < 10; i++)
        head += lines[i] + "\n";
    map_file m = read_over_defaults(head);
    map_file expected = game_defaults();
    std::strcpy(expected.name, "Pillow Towers");
    std::strcpy(expected.file_name, "towers.map");
    std::strcpy(expected.next_map, "end");
    expected.start_x = 3;
    expected.start_y = 12;
    expected.exit_x = 17;
    expected.exit_y = 2;
    expected.background = 4;
    expected.x_velocity = -6;
    expect_same_map(m, expected);
}

// Reading stops at the first item that is not a number; it and everything after keep the defaults.
struct stop_case {
    const char *label;
    const char *bad_item;
};

class map_file_stop : public testing::TestWithParam<stop_case> {};

TEST_P(map_file_stop, leaves_the_failed_value_and_all_after_it_at_their_defaults)
{
    std::vector<std::string> lines = lines_of(written(busy_map(2)));
    const std::size_t bad_line = 10 + 2 * (4 * 15 + 7) + 1; // trans value of cell (4,7)
    lines[bad_line] = GetParam().bad_item;
    std::string text;
    for (const std::string &line : lines)
        text += line + "\n";
    map_file m = read_over_defaults(text);
    const map_file full = busy_map(2);
    EXPECT_EQ(m.block_layer[4][7], full.block_layer[4][7]);
    EXPECT_EQ(m.trans_layer[4][6], full.trans_layer[4][6]);
    EXPECT_EQ(m.trans_layer[4][7], -1);
    EXPECT_EQ(m.block_layer[4][8], -1);
    EXPECT_EQ(m.trans_layer[19][14], -1);
    EXPECT_EQ(m.teleport_count, 0);
    EXPECT_TRUE(m.teleports.empty());
    EXPECT_EQ(m.start_y, 12);
}

const stop_case stop_cases[] = {
    {"a word", "brick"},
    {"a lone minus sign", "-"},
    {"beyond the int range", "4294967296"},
    {"below the int range", "-2147483649"},
    {"an empty line is skipped, so the word after it is the stop", "\nbrick"},
};

INSTANTIATE_TEST_SUITE_P(cases, map_file_stop, testing::ValuesIn(stop_cases), label_name());

TEST(map_file_reader, the_int_range_limits_still_read)
{
    map_file m = read_over_defaults("n\nf\ne\n2147483647 -2147483648\n");
    EXPECT_EQ(m.start_x, 2147483647);
    EXPECT_EQ(m.start_y, -2147483648);
    EXPECT_EQ(m.exit_x, 19);
}

TEST(map_file_reader, an_empty_file_empties_the_three_lines_and_keeps_every_number)
{
    map_file m = read_over_defaults("");
    map_file expected = game_defaults();
    expected.name[0] = expected.file_name[0] = expected.next_map[0] = '\0';
    expect_same_map(m, expected);
}

TEST(map_file_reader, lines_not_reached_become_empty)
{
    map_file m = read_over_defaults("Only a name");
    EXPECT_STREQ(m.name, "Only a name");
    EXPECT_STREQ(m.file_name, "");
    EXPECT_STREQ(m.next_map, "");
    EXPECT_EQ(m.background, 1);
}

TEST(map_file_reader, cuts_a_long_name_and_reads_line_2_from_the_next_line)
{
    const std::string long_name(40, 'z');
    map_file m = read_over_defaults(long_name + "\nown.map\nnext.map\n7\n");
    EXPECT_EQ(std::string(m.name), std::string(31, 'z'));
    EXPECT_STREQ(m.file_name, "own.map");
    EXPECT_STREQ(m.next_map, "next.map");
    EXPECT_EQ(m.start_x, 7);
}

TEST(map_file_reader, a_name_of_exactly_31_characters_is_kept_whole)
{
    const std::string name(31, 'q');
    map_file m = read_over_defaults(name + "\nown.map\n");
    EXPECT_EQ(std::string(m.name), name);
    EXPECT_STREQ(m.file_name, "own.map");
}

TEST(map_file_reader, a_file_line_of_255_characters_fits)
{
    const std::string own(255, 'a'), next(255, 'b');
    map_file m = read_over_defaults("n\n" + own + "\n" + next + "\n8\n");
    EXPECT_EQ(std::string(m.file_name), own);
    EXPECT_EQ(std::string(m.next_map), next);
    EXPECT_EQ(m.start_x, 8);
}

TEST(map_file_reader, a_longer_file_line_keeps_255_characters_and_stops)
{
    const std::string own(300, 'a');
    map_file m = read_over_defaults("n\n" + own + "\nend\n8\n");
    EXPECT_EQ(std::string(m.file_name), std::string(255, 'a'));
    EXPECT_STREQ(m.next_map, "");
    EXPECT_EQ(m.start_x, 0);

    map_file n = read_over_defaults("n\nown.map\n" + std::string(256, 'b') + "\n8\n");
    EXPECT_STREQ(n.file_name, "own.map");
    EXPECT_EQ(std::string(n.next_map), std::string(255, 'b'));
    EXPECT_EQ(n.start_x, 0);
}

// The teleport count decides how many records are made before they are read.
struct teleport_case {
    const char *label;
    int count;           // the count line
    int records;         // complete records that follow it
    int expected_loaded; // size of the list afterwards
};

class map_file_teleports : public testing::TestWithParam<teleport_case> {};

TEST_P(map_file_teleports, makes_the_counted_records_and_fills_those_present)
{
    const teleport_case &c = GetParam();
    std::string text = written(busy_map(0));
    text.resize(text.size() - 2); // drop the count line "0\n"
    text += std::to_string(c.count) + "\n";
    for (int i = 0; i < c.records; i++)
        text += std::to_string(i % 20) + " " + std::to_string(i % 15) + " 7 " + std::to_string(i + 1) + "\n";
    map_file m = read_over_defaults(text);
    EXPECT_EQ(m.teleport_count, c.count);
    ASSERT_EQ(static_cast<int>(m.teleports.size()), c.expected_loaded);
    for (int i = 0; i < c.expected_loaded; i++) {
        const teleport &t = m.teleports[i];
        if (i < c.records) {
            EXPECT_EQ(t.src_x, i % 20);
            EXPECT_EQ(t.src_y, i % 15);
            EXPECT_EQ(t.dst_x, 7);
            EXPECT_EQ(t.dst_y, i + 1);
        } else {
            EXPECT_EQ(t.src_x, 0);
            EXPECT_EQ(t.src_y, 0);
            EXPECT_EQ(t.dst_x, 0);
            EXPECT_EQ(t.dst_y, 0);
        }
    }
}

const teleport_case teleport_cases[] = {
    {"none", 0, 0, 0},
    {"a negative count gives none", -3, 2, 0},
    {"as many records as counted", 3, 3, 3},
    {"records missing stay at zero", 4, 1, 4},
    {"records beyond the count are not read", 1, 3, 1},
    {"at most 300 are made", 1000, 1000, 300},
    {"a huge count makes no huge list", 2147483647, 0, 300},
};

INSTANTIATE_TEST_SUITE_P(cases, map_file_teleports, testing::ValuesIn(teleport_cases), label_name());

TEST(map_file_files, writes_and_reads_a_file_on_disk)
{
    const std::string dir = make_temp_dir("map_file");
    const std::string path = dir + "/round.map";
    const map_file original = busy_map(2);
    ASSERT_EQ(write_map_file(path.c_str(), original), -1);
    EXPECT_EQ(read_text_file(path), written(original));
    map_file m = game_defaults();
    ASSERT_EQ(read_map_file(path.c_str(), m), -1);
    expect_same_map(m, original);
}

TEST(map_file_files, a_missing_file_reads_nothing_and_an_unwritable_one_writes_nothing)
{
    const std::string dir = make_temp_dir("map_file");
    map_file m = game_defaults();
    EXPECT_EQ(read_map_file((dir + "/absent.map").c_str(), m), 0);
    EXPECT_STREQ(m.name, "stale name");
    EXPECT_EQ(write_map_file((dir + "/no/such/dir/x.map").c_str(), busy_map(0)), 0);
}

} // namespace
