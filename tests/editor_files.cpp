// The file commands: saving and loading maps, the next-map link, the level-set compiler's chain walk
// and loader file, write failures, and a level set made here read back as the game reads it.
#include <fstream>
#include <memory>
#include <sstream>
#include <sys/stat.h>
#include "editor_fixture.h"
#include "failing_writes.h"
#include "headless.h"
#include "input_dialog.h"
#include "map_file.h"

namespace editor_test {
namespace {

int count_lines(const std::string &text)
{
    int n = 0;
    for (char c : text)
        n += c == '\n';
    return n;
}

std::string line_of(const std::string &text, int number)
{
    std::istringstream in(text);
    std::string line;
    for (int i = 0; i < number; i++)
        std::getline(in, line);
    return line;
}

// A map file as the editor writes it, for the chain tests.
void write_chain_map(const std::string &dir, const char *file, const char *next)
{
    map_file m;
    std::snprintf(m.name, sizeof(m.name), "Map %s", file);
    std::snprintf(m.file_name, sizeof(m.file_name), "%s", file);
    std::snprintf(m.next_map, sizeof(m.next_map), "%s", next);
    ASSERT_EQ(write_map_file((dir + "/" + file).c_str(), m), -1);
}

class files : public editor_screen {
protected:
    std::string dir;
    void SetUp() override
    {
        editor_screen::SetUp();
        dir = make_temp_dir("ed_files");
        clear_to_color(screen, 0);
    }

    // The block value that busy_map puts into cell (x, y).
    static int busy_map_cell(int x, int y) { return (x * 15 + y) % 30 - 11; }

    // Fills the map with a value of its own in every field.
    static void busy_map()
    {
        std::strcpy(the_map.name, "Pillow Towers");
        std::strcpy(the_map.next_map, "towers2.map");
        the_map.start_x = 3;
        the_map.start_y = 12;
        the_map.exit_x = 17;
        the_map.exit_y = 2;
        the_map.background = 4;
        the_map.x_velocity = 0;
        the_map.y_velocity = -6;
        for (int x = 0; x < map_width; x++)
            for (int y = 0; y < map_height; y++) {
                the_map.block_layer[x][y] = busy_map_cell(x, y);
                the_map.trans_layer[x][y] = (x + y) % 7 - 1;
            }
        the_map.teleports = {{1, 2, 3, 4}, {5, 6, 7, 8}, {19, 14, 0, 0}};
        the_map.teleport_count = 3;
    }

    std::string path(const char *file) const { return dir + "/" + file; }

    chain_result walk(const char *first, char *first_name)
    {
        return walk_level_chain(path(first).c_str(), screen, first_name);
    }
};

TEST_F(files, save_then_load_gives_back_every_field)
{
    busy_map();
    std::string where = path("towers.map");
    ASSERT_EQ(save_map_as(&where[0]), -1);
    const map saved = the_map;

    the_map.flush();
    std::strcpy(the_map.file_name, "other.map");
    std::strcpy(the_map.next_map, "other2.map");
    load_map_from(where.c_str());

    EXPECT_STREQ(the_map.name, saved.name);
    EXPECT_STREQ(the_map.file_name, "towers.map");
    EXPECT_STREQ(the_map.next_map, "towers2.map");
    EXPECT_EQ(the_map.start_x, 3);
    EXPECT_EQ(the_map.start_y, 12);
    EXPECT_EQ(the_map.exit_x, 17);
    EXPECT_EQ(the_map.exit_y, 2);
    EXPECT_EQ(the_map.background, 4);
    EXPECT_EQ(the_map.x_velocity, 0);
    EXPECT_EQ(the_map.y_velocity, -6);
    EXPECT_EQ(std::memcmp(the_map.block_layer, saved.block_layer, sizeof(saved.block_layer)), 0);
    EXPECT_EQ(std::memcmp(the_map.trans_layer, saved.trans_layer, sizeof(saved.trans_layer)), 0);
    ASSERT_EQ(the_map.teleports.size(), 3u);
    EXPECT_EQ(the_map.teleport_count, 3);
    EXPECT_EQ(the_map.teleports[2].src_x, 19);
    EXPECT_EQ(the_map.teleports[1].dst_y, 8);
    EXPECT_STREQ(last_filename, where.c_str());

    const std::string text = read_text_file(where);
    EXPECT_EQ(count_lines(text), 611 + 4 * 3);
    EXPECT_EQ(text.find('\r'), std::string::npos);
}

TEST_F(files, new_map_saves_its_own_name_and_end_and_shows_the_name)
{
    std::string where = path("a.map");
    ASSERT_EQ(save_map_as(&where[0]), -1);
    const std::string text = read_text_file(where);
    EXPECT_EQ(count_lines(text), 611);
    EXPECT_EQ(line_of(text, 1), "Enter Map Name");
    EXPECT_EQ(line_of(text, 2), "a.map");
    EXPECT_EQ(line_of(text, 3), "end");
    // Start (0,0), exit (19,14), star field, no scrolling, every cell empty, no teleports.
    const char *header[] = {"0", "0", "19", "14", "0", "0", "0"};
    for (int i = 0; i < 7; i++)
        EXPECT_EQ(line_of(text, 4 + i), header[i]) << 4 + i;
    EXPECT_EQ(line_of(text, 11), "-1");
    EXPECT_EQ(line_of(text, 610), "-1");
    EXPECT_EQ(line_of(text, 611), "0");
    draw_frame(0);
    EXPECT_TRUE(shows_white_text(buffer, 384, 580, "Current Map: a.map"));
}

// The commands' selectors and questions, answered from a script: each call takes the next reply
// (a path to choose, or nullptr for Cancel) and records its title and the path it was offered.
struct selector_call {
    std::string title, offered;
};
std::vector<selector_call> selector_calls;
std::vector<const char *> selector_replies;
std::vector<std::string> questions;
int question_answer = 2; // 1 "Yes", 2 "No"
std::vector<std::string> dialogs_shown;

int scripted_selector(const char *title, char *path, const char *, int size, int, int)
{
    selector_calls.push_back({title, path});
    if (selector_calls.size() > selector_replies.size() || !selector_replies[selector_calls.size() - 1])
        return 0;
    std::snprintf(path, size, "%s", selector_replies[selector_calls.size() - 1]);
    return -1;
}

int scripted_question(const char *s1, const char *s2, const char *s3, const char *b1, const char *b2, int, int)
{
    questions.push_back(std::string(s1) + "|" + s2 + "|" + s3 + "|" + b1 + "|" + b2);
    return question_answer;
}

// Draws the dialog once onto the screen, as the real one does when it opens, and leaves it at once.
int drawing_dialog(DIALOG *dialog, int)
{
    object_message(&dialog[0], MSG_DRAW, 0);
    dialogs_shown.push_back(static_cast<const char *>(dialog[0].dp));
    return 0;
}

class commands : public files {
protected:
    void SetUp() override
    {
        files::SetUp();
        selector_calls.clear();
        selector_replies.clear();
        questions.clear();
        question_answer = 2;
        dialogs_shown.clear();
        the_file_selector = scripted_selector;
        the_question = scripted_question;
        the_dialog_runner = drawing_dialog;
    }
    void TearDown() override
    {
        the_file_selector = file_select_ex;
        the_question = ask_yes_no;
        the_dialog_runner = do_dialog;
        files::TearDown();
    }
};

TEST_F(commands, save_after_save_as_offers_the_maps_own_path_not_the_one_loaded)
{
    write_chain_map(dir, "a.map", "end");
    const std::string a_before = read_text_file(path("a.map"));
    load_map_from(path("a.map").c_str());
    const std::string b = path("b.map");

    selector_replies = {b.c_str(), b.c_str()};
    save_map(); // Save as: a new file
    the_map.block_layer[4][4] = 7;
    save_map(); // a later Save: ENTER on what is offered
    ASSERT_EQ(selector_calls.size(), 2u);
    EXPECT_EQ(selector_calls[0].title, "Save as?");
    EXPECT_EQ(selector_calls[0].offered, path("a.map"));
    EXPECT_EQ(selector_calls[1].offered, b);
    // The map's own file was written twice without a question; the map loaded stays as it was.
    EXPECT_TRUE(questions.empty());
    map_file saved;
    ASSERT_EQ(read_map_file(b.c_str(), saved), -1);
    EXPECT_EQ(saved.block_layer[4][4], 7);
    EXPECT_STREQ(saved.file_name, "b.map");
    EXPECT_EQ(read_text_file(path("a.map")), a_before);
}

// How the map came to be edited before Save is chosen.
enum edited_before { fresh_editor, loaded_a, loaded_a_then_emptied, saved_as_a, loaded_missing_a };

struct overwrite_case {
    const char *label;
    edited_before before;
    const char *chosen; // in the test's folder
    bool asks;
    const char *offered; // what Save's selector starts on: a file of the test's folder, "/" the
                         // folder itself, "" nothing
};

void PrintTo(const overwrite_case &c, std::ostream *out) { *out << c.label; }

class overwriting : public commands, public testing::WithParamInterface<overwrite_case> {};

// A save asks first exactly when the file chosen exists and holds another map than the one edited;
// "No" leaves that file as it was, "Yes" writes it. Its selector starts on the map's own file, or,
// for a map that no file holds, in the folder of the map last loaded or saved.
TEST_P(overwriting, asks_only_before_replacing_another_map)
{
    const overwrite_case &c = GetParam();
    write_chain_map(dir, "a.map", "end");
    write_chain_map(dir, "b.map", "end");
    switch (c.before) {
    case fresh_editor:
        break;
    case loaded_a:
        load_map_from(path("a.map").c_str());
        break;
    case loaded_a_then_emptied:
        load_map_from(path("a.map").c_str());
        key[KEY_R] = 1;
        step();
        key[KEY_R] = 0;
        step();
        break;
    case saved_as_a: {
        std::string a = path("a.map");
        ASSERT_EQ(save_map_as(&a[0]), -1);
        break;
    }
    case loaded_missing_a:
        std::remove(path("a.map").c_str());
        load_map_from(path("a.map").c_str());
        write_chain_map(dir, "a.map", "end");
        break;
    }
    std::strcpy(the_map.name, "Edited Now");
    const std::string chosen = path(c.chosen);
    const std::string before = read_text_file(chosen);

    const std::string offered = !*c.offered ? "" : std::string(c.offered) == "/" ? dir + "/" : path(c.offered);
    for (int answer : {2, 1}) {
        questions.clear();
        question_answer = answer;
        selector_replies.assign(selector_calls.size() + 1, chosen.c_str());
        save_map();
        if (answer == 2) {
            EXPECT_EQ(selector_calls.back().offered, offered) << c.label;
        }
        EXPECT_EQ(questions.size(), c.asks ? 1u : 0u) << c.label;
        map_file on_disk;
        const bool written = read_map_file(chosen.c_str(), on_disk) && std::strcmp(on_disk.name, "Edited Now") == 0;
        if (c.asks && answer == 2) {
            EXPECT_FALSE(written) << c.label;
            EXPECT_EQ(read_text_file(chosen), before) << c.label;
        } else {
            EXPECT_TRUE(written) << c.label << " answer " << answer;
        }
        if (!c.asks)
            break;
    }
    if (c.asks) {
        EXPECT_EQ(questions[0], std::string(get_filename(chosen.c_str())) +
                                    "|already holds another map.|Overwrite it with this one?|Yes|No")
            << c.label;
    }
}

const overwrite_case overwrite_cases[] = {
    {"a new map onto an existing file", fresh_editor, "a.map", true, ""},
    {"a new map onto a new file", fresh_editor, "new.map", false, ""},
    {"the loaded map onto its own file", loaded_a, "a.map", false, "a.map"},
    {"the loaded map onto its own file by another spelling", loaded_a, "./a.map", false, "a.map"},
    {"the loaded map onto another map", loaded_a, "b.map", true, "a.map"},
    {"a map emptied with R onto the file it came from", loaded_a_then_emptied, "a.map", true, "/"},
    {"a saved map onto its own file", saved_as_a, "a.map", false, "a.map"},
    {"a saved map onto another map", saved_as_a, "b.map", true, "a.map"},
    {"a map whose file did not open onto the file made there since", loaded_missing_a, "a.map", true, ""},
};

INSTANTIATE_TEST_SUITE_P(cases, overwriting, testing::ValuesIn(overwrite_cases), label_name());

TEST_F(commands, a_long_or_strange_file_name_is_asked_about_in_plain_short_text)
{
    const std::string odd = path("\x01\xe2\x82\xac this name is far longer than the box is wide.map");
    write_text_file(odd, "not a map\n");
    selector_replies = {odd.c_str()};
    save_map();
    ASSERT_EQ(questions.size(), 1u);
    const std::string shown = questions[0].substr(0, questions[0].find('|'));
    EXPECT_EQ(shown, "???? this name is far longer than the...");
    EXPECT_EQ(read_text_file(odd), "not a map\n");
}

// The overwrite question as the editor asks it opens on its second answer, "No": ENTER at once, or
// ESC, keeps the file; only "Yes" itself says yes.
TEST(question, opens_on_no_and_only_yes_says_yes)
{
    static std::string focused;
    static int closed_on; // the entry that closes the dialog; the focus itself when -2
    the_dialog_popup = [](DIALOG *dialog, int focus) {
        focused = static_cast<const char *>(dialog[focus].dp);
        if (closed_on != -2)
            return closed_on;
        return focus;
    };
    struct answer_case {
        const char *how;
        int closed_on, result;
    } const cases[] = {{"ENTER at once", -2, 2}, {"ESC", -1, 2}, {"Yes", 4, 1}, {"No", 5, 2}};
    for (const answer_case &c : cases) {
        closed_on = c.closed_on;
        EXPECT_EQ(ask_yes_no("a.map", "already holds another map.", "Overwrite it with this one?", "Yes", "No", 'y',
                             'n'),
                  c.result)
            << c.how;
        EXPECT_EQ(focused, "No") << c.how;
    }
    the_dialog_popup = popup_dialog;
}

// How a save that cannot be written fails.
enum write_failure { missing_folder, directory_in_the_way, full_disk };

struct failed_save_case {
    const char *label;
    edited_before before;
    write_failure failure;
    const char *own_name; // what the map is called before and after
};

void PrintTo(const failed_save_case &c, std::ostream *out) { *out << c.label; }

class failed_saves : public commands, public testing::WithParamInterface<failed_save_case> {};

// A save that fails is reported with its path, and the map keeps the names and the path it had:
// "Current Map:" still names the file that holds it, and the next Save starts there again.
TEST_P(failed_saves, keep_the_maps_old_path_and_name)
{
    const failed_save_case &c = GetParam();
    write_chain_map(dir, "a.map", "end");
    if (c.before == loaded_a) {
        ASSERT_EQ(load_map_from(path("a.map").c_str()), -1);
    }
    const std::string own_path = c.before == loaded_a ? path("a.map") : "";
    std::string where = c.failure == missing_folder ? dir + "/no such folder/lost.map" : path("lost.map");
    if (c.failure == directory_in_the_way) {
        ASSERT_EQ(mkdir(where.c_str(), 0755), 0);
    }
    clear_to_color(screen, 0);
    int written;
    {
        std::unique_ptr<file_size_limit> limit(c.failure == full_disk ? new file_size_limit(0) : nullptr);
        written = save_map_as(&where[0]);
    }
    EXPECT_EQ(written, 0) << c.label;
    EXPECT_STREQ(the_map.file_name, c.own_name) << c.label;
    EXPECT_EQ(std::string(the_edited_map_path), own_path) << c.label;
    EXPECT_EQ(std::string(last_filename), own_path) << c.label;
    EXPECT_TRUE(shows_white_text(screen, 0, 20, "Could not write the map file!")) << c.label;
    EXPECT_TRUE(shows_white_text(screen, 0, 30, where.c_str())) << c.label;
    EXPECT_TRUE(shows_white_text(screen, 0, 40, "Press Any Key")) << c.label;
    draw_frame(0);
    EXPECT_TRUE(shows_white_text(buffer, 384, 580, (std::string("Current Map: ") + c.own_name).c_str())) << c.label;
    EXPECT_FALSE(shows_white_text(buffer, 384, 580, "Current Map: lost.map")) << c.label;

    selector_replies = {nullptr};
    save_map();
    ASSERT_EQ(selector_calls.size(), 1u);
    EXPECT_EQ(selector_calls[0].offered, own_path) << c.label;
}

const failed_save_case failed_save_cases[] = {
    {"a new map into a missing folder", fresh_editor, missing_folder, ""},
    {"a loaded map into a missing folder", loaded_a, missing_folder, "a.map"},
    {"a loaded map onto a directory", loaded_a, directory_in_the_way, "a.map"},
    {"a loaded map on a full disk", loaded_a, full_disk, "a.map"},
};

INSTANTIATE_TEST_SUITE_P(cases, failed_saves, testing::ValuesIn(failed_save_cases), label_name());

// A Load whose file cannot be read leaves the map in memory as it was and says so with the path;
// the map's own file stays its own, so a Save then writes the map with its edits there.
TEST_F(commands, a_map_that_cannot_be_read_leaves_the_map_as_it_was_and_says_so)
{
    const char *unreadable[] = {"levl1.map", "no such folder/level1.map"};
    for (const char *name : unreadable) {
        busy_map();
        std::string own = path("towers.map");
        ASSERT_EQ(save_map_as(&own[0]), -1);
        the_map.block_layer[6][6] = 12; // an edit not saved yet
        const map before = the_map;
        clear_to_color(screen, 0);

        EXPECT_EQ(load_map_from(path(name).c_str()), 0) << name;
        EXPECT_STREQ(the_map.name, before.name) << name;
        EXPECT_STREQ(the_map.file_name, "towers.map") << name;
        EXPECT_STREQ(the_map.next_map, before.next_map) << name;
        EXPECT_EQ(the_map.start_x, before.start_x) << name;
        EXPECT_EQ(the_map.exit_y, before.exit_y) << name;
        EXPECT_EQ(the_map.background, before.background) << name;
        EXPECT_EQ(the_map.y_velocity, before.y_velocity) << name;
        EXPECT_EQ(std::memcmp(the_map.block_layer, before.block_layer, sizeof(before.block_layer)), 0) << name;
        EXPECT_EQ(std::memcmp(the_map.trans_layer, before.trans_layer, sizeof(before.trans_layer)), 0) << name;
        EXPECT_EQ(the_map.teleports.size(), 3u) << name;
        EXPECT_EQ(the_map.teleport_count, 3) << name;
        EXPECT_STREQ(last_filename, own.c_str()) << name;
        EXPECT_STREQ(the_edited_map_path, own.c_str()) << name;
        EXPECT_TRUE(shows_white_text(screen, 0, 20, "Could not load the map file!")) << name;
        EXPECT_TRUE(shows_white_text(screen, 0, 30, path(name).c_str())) << name;
        EXPECT_TRUE(shows_white_text(screen, 0, 40, "The map in the editor is as it was.")) << name;
        EXPECT_TRUE(shows_white_text(screen, 0, 50, "Press Any Key")) << name;

        // Save, ENTER on what it offers: the map's own file, written without a question.
        selector_calls.clear();
        selector_replies = {own.c_str()};
        save_map();
        ASSERT_EQ(selector_calls.size(), 1u) << name;
        EXPECT_EQ(selector_calls[0].offered, own) << name;
        EXPECT_TRUE(questions.empty()) << name;
        map_file saved;
        ASSERT_EQ(read_map_file(own.c_str(), saved), -1) << name;
        EXPECT_EQ(saved.block_layer[6][6], 12) << name;
        EXPECT_EQ(saved.teleports.size(), 3u) << name;
    }
}

enum path_command { save_command, load_command };

struct path_case {
    const char *label;
    path_command command;
    std::size_t length; // of the path chosen, in the test's folder
    bool taken;
};

void PrintTo(const path_case &c, std::ostream *out) { *out << c.label; }

class path_lengths : public commands, public testing::WithParamInterface<path_case> {};

// A path of up to 255 characters is taken whole; a longer one is refused with a message and offered
// again whole, to be shortened: never cut to fit, so nothing is saved or loaded under another name.
TEST_P(path_lengths, are_taken_whole_or_refused_with_a_message)
{
    const path_case &c = GetParam();
    const std::string chosen = dir + "/" + std::string(c.length - dir.size() - 1 - 4, 'p') + ".map";
    ASSERT_EQ(chosen.size(), c.length);
    // What cutting would have used: the first 255 characters.
    const std::string cut = chosen.substr(0, 255);
    if (c.command == load_command) {
        for (const std::string &file : {chosen, cut}) {
            map_file m;
            std::snprintf(m.name, sizeof(m.name), "%s", file == chosen ? "Chosen" : "Cut");
            std::snprintf(m.file_name, sizeof(m.file_name), "%s", get_filename(file.c_str()));
            std::strcpy(m.next_map, "end");
            ASSERT_EQ(write_map_file(file.c_str(), m), -1);
        }
    }
    const auto files_before = names_in(dir);
    busy_map();
    std::strcpy(the_map.file_name, "before.map");

    selector_replies = {chosen.c_str(), nullptr};
    if (c.command == save_command)
        save_map();
    else
        load_map();

    const std::string too_long =
        "This path is too long: " + std::to_string(c.length) + " characters, at most 255 fit.";
    if (c.taken) {
        ASSERT_EQ(selector_calls.size(), 1u) << c.label;
        EXPECT_STREQ(the_map.file_name, get_filename(chosen.c_str())) << c.label;
        EXPECT_STREQ(the_map.name, c.command == save_command ? "Pillow Towers" : "Chosen") << c.label;
        EXPECT_STREQ(last_filename, chosen.c_str()) << c.label;
        map_file on_disk;
        EXPECT_EQ(read_map_file(chosen.c_str(), on_disk), -1) << c.label;
        EXPECT_FALSE(shows_white_text(screen, 0, 20, too_long.c_str())) << c.label;
    } else {
        ASSERT_EQ(selector_calls.size(), 2u) << c.label;
        EXPECT_EQ(selector_calls[1].offered, chosen) << c.label;
        EXPECT_STREQ(the_map.file_name, "before.map") << c.label;
        EXPECT_STREQ(the_map.name, "Pillow Towers") << c.label;
        EXPECT_EQ(the_map.block_layer[5][5], busy_map_cell(5, 5)) << c.label;
        EXPECT_STREQ(last_filename, "") << c.label;
        EXPECT_EQ(names_in(dir), files_before) << c.label;
        EXPECT_TRUE(shows_white_text(screen, 0, 20, too_long.c_str())) << c.label;
        // The path, whole, a line of 100 characters at a time.
        EXPECT_TRUE(shows_white_text(screen, 0, 30, chosen.substr(0, 100).c_str())) << c.label;
        EXPECT_TRUE(shows_white_text(screen, 0, 40, chosen.substr(100, 100).c_str())) << c.label;
    }
}

const path_case path_cases[] = {
    {"a save to a path that fits", save_command, 255, true},
    {"a save to a path one character too long", save_command, 256, false},
    {"a save to a path far too long", save_command, 1000, false},
    {"a load from a path that fits", load_command, 255, true},
    {"a load from a path one character too long", load_command, 256, false},
};

INSTANTIATE_TEST_SUITE_P(cases, path_lengths, testing::ValuesIn(path_cases), label_name());

TEST_F(files, a_loaded_count_of_three_teleports_shows_numbers_0_to_2)
{
    map_file m;
    std::strcpy(m.name, "T");
    std::strcpy(m.file_name, "t.map");
    std::strcpy(m.next_map, "end");
    m.start_x = 10;
    m.exit_x = 19;
    m.exit_y = 14;
    for (auto &column : m.block_layer)
        for (int &cell : column)
            cell = -1;
    for (auto &column : m.trans_layer)
        for (int &cell : column)
            cell = -1;
    m.teleports = {{1, 1, 1, 5}, {2, 2, 2, 6}, {3, 3, 3, 7}};
    write_map_file(path("t.map").c_str(), m);
    load_map_from(path("t.map").c_str());
    ASSERT_EQ(the_map.teleports.size(), 3u);
    draw_frame(0);
    for (int i = 0; i < 3; i++) {
        const std::string n = std::to_string(i);
        EXPECT_TRUE(shows_white_text(buffer, 160 + 32 * (i + 1), 32 * (i + 1), n.c_str()));
        EXPECT_TRUE(shows_white_text(buffer, 160 + 32 * (i + 1), 32 * (i + 5), n.c_str()));
    }
}

TEST_F(files, damaged_files_load_what_they_hold_within_the_map)
{
    // A name over 31 characters, then layers that break off.
    write_text_file(path("long.map"),
                    "A name that is far too long for any map\nlong.map\nend\n4\n5\n6\n7\n2\n0\n0\n" +
                        std::string("3\n-1\n") + "99\n");
    load_map_from(path("long.map").c_str());
    EXPECT_STREQ(the_map.name, "A name that is far too long for");
    EXPECT_EQ(std::strlen(the_map.name), 31u);
    EXPECT_EQ(the_map.start_x, 4);
    EXPECT_EQ(the_map.exit_y, 7);
    EXPECT_EQ(the_map.block_layer[0][0], 3);
    EXPECT_EQ(the_map.trans_layer[0][0], -1);
    // The layer ran out at 99: that value was read, the rest keep their emptied values.
    EXPECT_EQ(the_map.block_layer[0][1], 99);
    EXPECT_EQ(the_map.trans_layer[0][1], -1);
    EXPECT_EQ(the_map.block_layer[19][14], -1);
    EXPECT_TRUE(the_map.teleports.empty());
    EXPECT_EQ(the_map.teleport_count, 0);
    draw_frame(0);
}

struct short_file_case {
    const char *label;
    std::string text;
    const char *name, *file_name, *next_map; // what the map shows after loading
};

// Names the case in test output.
void PrintTo(const short_file_case &c, std::ostream *out) { *out << c.label; }

class short_files : public files, public testing::WithParamInterface<short_file_case> {};

// A file that ends early leaves every field it does not reach as the emptied map holds it: the name
// "Enter Map Name", and the own name and next map that emptying keeps.
TEST_P(short_files, leave_the_lines_not_reached_as_emptying_left_them)
{
    const short_file_case &c = GetParam();
    write_text_file(path("short.map"), c.text);
    busy_map();
    std::strcpy(the_map.file_name, "before.map");
    load_map_from(path("short.map").c_str());

    EXPECT_STREQ(the_map.name, c.name) << c.label;
    EXPECT_STREQ(the_map.file_name, c.file_name) << c.label;
    EXPECT_STREQ(the_map.next_map, c.next_map) << c.label;
    // Every number keeps its emptied value.
    EXPECT_EQ(the_map.start_x, 0) << c.label;
    EXPECT_EQ(the_map.start_y, 0) << c.label;
    EXPECT_EQ(the_map.exit_x, 19) << c.label;
    EXPECT_EQ(the_map.exit_y, 14) << c.label;
    EXPECT_EQ(the_map.background, 0) << c.label;
    EXPECT_EQ(the_map.y_velocity, 0) << c.label;
    EXPECT_EQ(the_map.block_layer[0][0], -1) << c.label;
    EXPECT_EQ(the_map.trans_layer[7][7], -1) << c.label;
    EXPECT_TRUE(the_map.teleports.empty()) << c.label;
    EXPECT_STREQ(last_filename, path("short.map").c_str()) << c.label;

    draw_frame(0);
    EXPECT_TRUE(shows_white_text(buffer, 0, 558, (std::string("Map Name: ") + c.name).c_str())) << c.label;
    EXPECT_TRUE(shows_white_text(buffer, 384, 590, (std::string("Next Map   : ") + c.next_map).c_str())) << c.label;
}

// Line 2 keeps its first 255 characters, and the reading ends there.
const std::string long_path(300, 'p');
const std::string long_path_kept(255, 'p');

const short_file_case short_file_cases[] = {
    {"empty", "", "Enter Map Name", "before.map", "towers2.map"},
    {"name only", "Short One\n", "Short One", "before.map", "towers2.map"},
    {"name without its newline", "Short One", "Short One", "before.map", "towers2.map"},
    {"an empty name line", "\n", "", "before.map", "towers2.map"},
    {"name and own name", "Short Two\ntwo.map\n", "Short Two", "two.map", "towers2.map"},
    {"three lines", "Short Three\nthree.map\nend\n", "Short Three", "three.map", "end"},
    {"three lines and part of the numbers", "Short Four\nfour.map\nfive.map\n0\n", "Short Four", "four.map",
     "five.map"},
    {"own name over 255 characters", "Long\n" + long_path + "\nnext.map\n", "Long", long_path_kept.c_str(),
     "towers2.map"},
};

INSTANTIATE_TEST_SUITE_P(cases, short_files, testing::ValuesIn(short_file_cases), label_name());

// The shared reader's two rules for the lines a short file does not reach, side by side: the game's
// (emptied) and the editor's (kept).
TEST(shared_map_reader, empties_or_keeps_the_lines_not_reached_as_asked)
{
    struct reader_case {
        const char *text;
        unread_lines unread;
        const char *name, *file_name, *next_map;
    } const cases[] = {
        {"", unread_lines::emptied, "", "", ""},
        {"", unread_lines::kept, "N", "own.map", "next.map"},
        {"Named\n", unread_lines::emptied, "Named", "", ""},
        {"Named\n", unread_lines::kept, "Named", "own.map", "next.map"},
        {"Named\nmine.map", unread_lines::emptied, "Named", "mine.map", ""},
        {"Named\nmine.map", unread_lines::kept, "Named", "mine.map", "next.map"},
        {"Named\nmine.map\nend\n", unread_lines::kept, "Named", "mine.map", "end"},
    };
    for (const reader_case &c : cases) {
        map_file m;
        std::strcpy(m.name, "N");
        std::strcpy(m.file_name, "own.map");
        std::strcpy(m.next_map, "next.map");
        m.start_x = 7;
        std::istringstream in(c.text);
        read_map_stream(in, m, c.unread);
        const std::string label = std::string("'") + c.text + "' " + (c.unread == unread_lines::kept ? "kept" : "emptied");
        EXPECT_STREQ(m.name, c.name) << label;
        EXPECT_STREQ(m.file_name, c.file_name) << label;
        EXPECT_STREQ(m.next_map, c.next_map) << label;
        EXPECT_EQ(m.start_x, 7) << label;
    }
}

TEST_F(files, next_map_takes_the_chosen_files_own_name_line)
{
    write_chain_map(dir, "b.map", "end");
    // Stored under another name: the link is the name inside the file.
    std::rename(path("b.map").c_str(), path("renamed.map").c_str());
    next_map_from(path("renamed.map").c_str());
    EXPECT_STREQ(the_map.next_map, "b.map");
    draw_frame(0);
    EXPECT_TRUE(shows_white_text(buffer, 384, 590, "Next Map   : b.map"));
    next_map_from(path("missing.map").c_str());
    EXPECT_STREQ(the_map.next_map, "b.map");
}

TEST_F(files, compiler_walks_a_complete_chain_and_writes_the_loader_file)
{
    write_chain_map(dir, "a.map", "b.map");
    write_chain_map(dir, "b.map", "c.map");
    write_chain_map(dir, "c.map", "end");
    char first[256];
    EXPECT_EQ(walk("a.map", first), chain_complete);
    EXPECT_STREQ(first, "a.map");
    EXPECT_TRUE(shows_white_text(screen, 0, 10, ("Processing: " + path("c.map") + "               ").c_str()));

    std::strcpy(level_set_name, "My Set");
    ASSERT_EQ(save_loader_as(path("myset.qlx").c_str(), first), -1);
    EXPECT_EQ(read_text_file(path("myset.qlx")), "a.map\nMy Set\n");
}

TEST_F(files, compiler_stops_at_a_missing_map_naming_its_path)
{
    write_chain_map(dir, "a.map", "b.map");
    write_chain_map(dir, "b.map", "x.map");
    char first[256];
    EXPECT_EQ(walk("a.map", first), chain_missing_map);
    EXPECT_TRUE(shows_white_text(screen, 0, 10, ("Processing: " + path("x.map") + "               ").c_str()));
    EXPECT_TRUE(shows_white_text(screen, 0, 20, "Level Set Did Not Compile! Aborting!"));
    EXPECT_TRUE(shows_white_text(screen, 0, 30, "Press Any Key"));
}

struct loop_case {
    const char *label;
    std::vector<std::pair<const char *, const char *>> maps; // file, next
    const char *closes_at;
};

class compiler_loops : public files, public testing::WithParamInterface<loop_case> {};

TEST_P(compiler_loops, are_reported_at_the_map_that_leads_back)
{
    const loop_case &c = GetParam();
    for (const auto &m : c.maps)
        write_chain_map(dir, m.first, m.second);
    char first[256];
    EXPECT_EQ(walk(c.maps[0].first, first), chain_loops) << c.label;
    EXPECT_TRUE(shows_white_text(screen, 0, 20, "Level Set Did Not Compile! Aborting!")) << c.label;
    EXPECT_TRUE(shows_white_text(screen, 0, 30, ("The chain loops at: " + path(c.closes_at)).c_str())) << c.label;
    EXPECT_TRUE(shows_white_text(screen, 0, 40, "Press Any Key")) << c.label;
}

const loop_case loop_cases[] = {
    {"last names the first", {{"a.map", "b.map"}, {"b.map", "c.map"}, {"c.map", "a.map"}}, "c.map"},
    {"a map names itself", {{"a.map", "a.map"}}, "a.map"},
    {"back into the middle", {{"a.map", "b.map"}, {"b.map", "c.map"}, {"c.map", "b.map"}}, "c.map"},
};

INSTANTIATE_TEST_SUITE_P(chains, compiler_loops, testing::ValuesIn(loop_cases), label_name());

TEST_F(files, esc_held_stops_the_walk_after_the_map_being_read)
{
    write_chain_map(dir, "a.map", "b.map");
    write_chain_map(dir, "b.map", "x.map");
    key[KEY_ESC] = 1;
    char first[256];
    EXPECT_EQ(walk("a.map", first), chain_aborted);
    key[KEY_ESC] = 0;
    EXPECT_TRUE(shows_white_text(screen, 0, 10, ("Processing: " + path("a.map") + "               ").c_str()));
    EXPECT_FALSE(shows_white_text(screen, 0, 20, "Level Set Did Not Compile! Aborting!"));
}

TEST_F(files, a_loader_file_that_cannot_be_written_is_reported)
{
    const std::string where = dir + "/gone/set.qlx";
    EXPECT_EQ(save_loader_as(where.c_str(), "a.map"), 0);
    EXPECT_TRUE(shows_white_text(screen, 0, 20, "Could not write the loader file!"));
    EXPECT_TRUE(shows_white_text(screen, 0, 30, where.c_str()));
}

// The compiler from the first map to the loader file, as the author meets it: the name prompt over
// its field, then the loader's selector in the maps' folder.
TEST_F(commands, compiler_names_the_set_under_its_prompt_and_saves_the_loader_beside_the_maps)
{
    write_chain_map(dir, "a.map", "b.map");
    write_chain_map(dir, "b.map", "end");
    const std::string first = path("a.map"), typed = path("pair");
    selector_replies = {first.c_str(), typed.c_str()};
    // The prompt must still show while the field is open: look at the screen as the dialog drew it.
    static bool prompt_seen, field_seen;
    prompt_seen = field_seen = false;
    the_dialog_runner = [](DIALOG *dialog, int focus) {
        drawing_dialog(dialog, focus);
        prompt_seen = shows_white_text(screen, 0, 20, " Name your level set ");
        field_seen = shows_text(screen, dialog[0].x, dialog[0].y, "Level Set Name", makecol(0, 0, 0),
                                makecol(255, 255, 255));
        return 0;
    };
    level_set_loader();
    EXPECT_TRUE(prompt_seen);
    EXPECT_TRUE(field_seen);
    ASSERT_EQ(dialogs_shown.size(), 1u);

    ASSERT_EQ(selector_calls.size(), 2u);
    EXPECT_EQ(selector_calls[0].title, "First map?");
    EXPECT_EQ(selector_calls[1].title, "Save loader as?");
    EXPECT_EQ(selector_calls[1].offered, dir + "/");
    EXPECT_EQ(read_text_file(path("pair.qlx")), "a.map\nLevel Set Name\n");
    EXPECT_EQ(read_text_file(typed), "");
}

TEST_F(commands, a_loader_outside_its_maps_folder_is_refused_with_the_reason_and_asked_again)
{
    const std::string other = make_temp_dir("ed_other");
    write_chain_map(dir, "a.map", "end");
    const std::string first = path("a.map"), elsewhere = other + "/pair.qlx";
    selector_replies = {first.c_str(), elsewhere.c_str(), nullptr};
    level_set_loader();

    EXPECT_TRUE(shows_white_text(screen, 0, 20, "Not saved! The loader file must be in the folder of its maps:"));
    EXPECT_TRUE(shows_white_text(screen, 0, 30, (dir + "/").c_str()));
    EXPECT_TRUE(shows_white_text(screen, 0, 40, "the game opens a set's maps from its loader file's own folder."));
    EXPECT_TRUE(shows_white_text(screen, 0, 50, "Press Any Key"));
    ASSERT_EQ(selector_calls.size(), 3u);
    // Asked again in the maps' folder with the name that was typed; Cancel then writes nothing.
    EXPECT_EQ(selector_calls[2].title, "Save loader as?");
    EXPECT_EQ(selector_calls[2].offered, path("pair.qlx"));
    EXPECT_EQ(read_text_file(elsewhere), "");
    EXPECT_EQ(read_text_file(path("pair.qlx")), "");
    std::system(("rm -rf '" + other + "'").c_str());
}

TEST(loader_path, gets_the_extension_the_game_looks_for)
{
    struct extension_case {
        std::string typed, saved;
        int result;
    } const cases[] = {
        {"sets/pair", "sets/pair.qlx", -1},
        {"sets/pair.qlx", "sets/pair.qlx", -1},
        {"sets/pair.QLX", "sets/pair.QLX.qlx", -1}, // the game's pattern is case-sensitive
        {"sets/pair.map", "sets/pair.map.qlx", -1},
        {std::string(251, 'p'), std::string(251, 'p') + ".qlx", -1},
        {std::string(252, 'p'), std::string(252, 'p'), 0}, // 256 with the zero: no room
    };
    for (const extension_case &c : cases) {
        char path[256];
        std::snprintf(path, sizeof(path), "%s", c.typed.c_str());
        EXPECT_EQ(add_loader_extension(path), c.result) << c.typed;
        EXPECT_EQ(std::string(path), c.saved) << c.typed;
    }
}

TEST(loader_path, lies_beside_its_maps_only_in_the_maps_own_folder)
{
    const std::string dir = make_temp_dir("ed_beside");
    ASSERT_EQ(std::system(("mkdir -p '" + dir + "/set/inner'").c_str()), 0);
    struct beside_case {
        std::string loader, maps;
        bool beside;
    } const cases[] = {
        {dir + "/set/pair.qlx", dir + "/set/", true},
        {dir + "/set/./pair.qlx", dir + "/set/", true},
        {dir + "/set/inner/../pair.qlx", dir + "/set/", true},
        {dir + "/set/inner/pair.qlx", dir + "/set/", false},
        {dir + "/pair.qlx", dir + "/set/", false},
        {dir + "/missing/pair.qlx", dir + "/set/", false},
        {"pair.qlx", "", true},          // both in the working directory
        {"pair.qlx", dir + "/set/", false},
    };
    for (const beside_case &c : cases)
        EXPECT_EQ(loader_beside_maps(c.loader.c_str(), c.maps.c_str()), c.beside) << c.loader << " / " << c.maps;
    std::system(("rm -rf '" + dir + "'").c_str());
}

TEST(level_set_directory, is_the_path_cut_after_its_last_slash)
{
    char a[256] = "a/b/c.qlx", b[256] = "a/b/", c[256] = "c.qlx";
    EXPECT_STREQ(truncate_level_set_directory(a), "a/b/");
    EXPECT_STREQ(truncate_level_set_directory(b), "a/b/");
    EXPECT_STREQ(truncate_level_set_directory(c), "");
}

// A level set made with the editor's own commands, in a folder below a game working directory of
// its own (so that no other test's scan sees it), read back through the shared reader the way the
// game reads a set: loader file found by its extension, maps opened as directory + name.
TEST_F(files, level_set_made_here_reads_back_as_the_game_reads_it)
{
    const std::string game_dir = make_temp_dir("editor_interop");
    const std::string folder = game_dir + "/data/levels/dream trio";
    ASSERT_EQ(std::system(("mkdir -p '" + folder + "'").c_str()), 0);

    // Three maps, each linked to the next as an author does it: save, choose the next, save again.
    const char *files_in_order[] = {"start.map", "middle.map", "last.map"};
    for (int i = 2; i >= 0; i--) {
        the_map.flush();
        std::snprintf(the_map.name, sizeof(the_map.name), "Dream %d", i + 1);
        the_map.block_layer[i][14] = 5;
        the_map.block_layer[i + 1][13] = build_break;
        the_map.start_x = i + 2;
        the_map.exit_x = 15;
        the_map.exit_y = 3;
        the_map.background = i + 1;
        the_map.x_velocity = 1;
        the_map.teleports = {{4, 4, 8, 8}};
        the_map.teleport_count = 1;
        if (i == 2)
            std::strcpy(the_map.next_map, "end");
        else
            next_map_from((folder + "/" + files_in_order[i + 1]).c_str());
        std::string where = folder + "/" + files_in_order[i];
        ASSERT_EQ(save_map_as(&where[0]), -1);
    }
    char first[256];
    EXPECT_EQ(walk_level_chain((folder + "/start.map").c_str(), screen, first), chain_complete);
    std::strcpy(level_set_name, "Dream Trio");
    const std::string loader = folder + "/trio.qlx";
    ASSERT_EQ(save_loader_as(loader.c_str(), first), -1);

    // The loader file: the first map's file name, then the set's name.
    const std::string loader_text = read_text_file(loader);
    EXPECT_EQ(loader_text, "start.map\nDream Trio\n");
    // The game opens each map as the set's directory followed by the name it is given.
    std::string next = line_of(loader_text, 1);
    int maps = 0;
    while (next != "end" && maps < 10) {
        map_file game_view;
        ASSERT_EQ(read_map_file((folder + "/" + next).c_str(), game_view), -1) << next;
        EXPECT_EQ(next, game_view.file_name);
        EXPECT_EQ(std::string(game_view.name), "Dream " + std::to_string(maps + 1));
        EXPECT_EQ(game_view.start_x, maps + 2);
        EXPECT_EQ(game_view.exit_x, 15);
        EXPECT_EQ(game_view.background, maps + 1);
        EXPECT_EQ(game_view.block_layer[maps][14], 5);
        EXPECT_EQ(game_view.block_layer[maps + 1][13], build_break);
        ASSERT_EQ(game_view.teleports.size(), 1u);
        EXPECT_EQ(game_view.teleports[0].dst_x, 8);
        EXPECT_EQ(count_lines(read_text_file(folder + "/" + next)), 615);
        next = game_view.next_map;
        maps++;
    }
    EXPECT_EQ(maps, 3);
    EXPECT_EQ(next, "end");

    std::system(("rm -rf '" + game_dir + "'").c_str());
}

} // namespace
} // namespace editor_test
