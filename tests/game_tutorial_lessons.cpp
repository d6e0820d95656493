// The four lessons played through on their shipped maps and movies, tick by tick as the game runs them: every state in order, the corrective messages, the tasks, the demonstrations, and the exit back to the title.
#include <gtest/gtest.h>
#include <allegro.h>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>
#include "auto_script.h"
#include "building_block.h"
#include "do_logic.h"
#include "game_player_fixture.h"
#include "game_story_timer.h"
#include "level_set_screen.h"
#include "map.h"
#include "menu_frame.h"
#include "message.h"
#include "player.h"
#include "timer.h"
#include "title_screen.h"
#include "tutorial.h"
#include "tutorial_screen.h"

namespace {

const char *const too_soon = "Don't get ahead of yourself!|We will learn about that key|shortly!";
const char *const learned = "We already learned about that key!";

// The title menu as the lesson's exit opens it: the Load Game item stands in for a screen that
// records the moment and reports a loaded game, so the menu returns at once.
struct title_visit {
    int calls = 0;
    int tutorial_number = 0;
    int tutorial_switch = 0;
    int x = 0, y = 0;
};
title_visit visit;

int record_title_visit()
{
    visit.calls++;
    visit.tutorial_number = tutorial_number;
    visit.tutorial_switch = tutorial_switch;
    visit.x = the_player.x;
    visit.y = the_player.y;
    return -1;
}

// The states of a lesson from its start to its end, in order.
std::vector<int> states(int first, int last, std::initializer_list<int> missing = {})
{
    std::vector<int> all;
    for (int s = first; s <= last; s++) {
        bool skip = false;
        for (int m : missing)
            skip = skip || m == s;
        if (!skip)
            all.push_back(s);
    }
    return all;
}

class lesson_test : public ::testing::Test {
protected:
    void SetUp() override
    {
        story_test_timer::install_silent_timer();
        player_test::reset_world();
        static bool prepared = false;
        if (!prepared) {
            prepared = true;
            the_message.initialize();
        }
        the_message.deactivate();
        close_message_key = 0;
        done_trigger = 0;
        game_in_progress = 0;
        key_enter_pressed = 0;
        key_esc_down = 0;
        visit = title_visit();
        saved_load_screen = title_load_game_screen;
        title_load_game_screen = record_title_visit;
    }
    void TearDown() override
    {
        title_load_game_screen = saved_load_screen;
        player_test::release_all_keys();
        do_play_script = 0;
        tutorial_number = -1;
        tutorial_switch = 0;
        game_in_progress = 0;
        std::strcpy(loader_directory, loader_directory_hardcopy);
        speed_counter = 0;
    }

    void start(int lesson)
    {
        start_tutorial_lesson(lesson);
        seen = {tutorial_switch};
    }

    // One logic step and one frame's typing of the message box, as the main loop runs them.
    void step(int count = 1)
    {
        for (int i = 0; i < count; i++) {
            do_logic();
            the_message.draw();
            if (tutorial_switch != seen.back())
                seen.push_back(tutorial_switch);
        }
    }

    // Enter pressed and let go until the box is closed; false if it never closes.
    bool close_message()
    {
        for (int t = 0; t < 4000 && the_message.active_state(); t++) {
            key[KEY_ENTER] = t % 2 ? 0 : -1;
            step();
        }
        key[KEY_ENTER] = 0;
        return !the_message.active_state();
    }

    // Closes each message as it comes (and lets movies play) until the script waits in `state` with
    // the box closed.
    void talk_until(int state)
    {
        for (int t = 0; t < 20000; t++) {
            if (tutorial_switch == state && !the_message.active_state())
                return;
            if (the_message.active_state())
                ASSERT_TRUE(close_message()) << "in state " << tutorial_switch;
            else
                step();
        }
        FAIL() << "the script never reached state " << state << "; it waits in " << tutorial_switch;
    }

    // Steps until a message is up (it may be already), then checks it.
    void expect_next_message(const char *text, int portrait)
    {
        for (int t = 0; t < 50 && !the_message.active_state(); t++)
            step();
        expect_message(text, portrait);
    }

    void expect_message(const char *text, int portrait)
    {
        ASSERT_EQ(the_message.active_state(), -1);
        EXPECT_STREQ(the_message.text, text);
        EXPECT_EQ(the_message.portrait, portrait);
    }

    // The keys pressed in a closed box: the answer comes at once, before Pim could act, and the
    // state stays; the box is then closed again.
    void expect_correction(std::initializer_list<int> keys, const char *text)
    {
        const int state = tutorial_switch;
        const int x = the_player.x, facing = the_player.facing;
        const int made = the_player.blocks_created + the_player.blocks_destroyed;
        for (int k : keys)
            key[k] = -1;
        step();
        for (int k : keys)
            key[k] = 0;
        SCOPED_TRACE(text);
        expect_message(text, 19);
        EXPECT_EQ(tutorial_switch, state);
        EXPECT_EQ(the_player.x, x);
        EXPECT_EQ(the_player.facing, facing);
        EXPECT_EQ(the_player.blocks_created + the_player.blocks_destroyed, made);
        ASSERT_TRUE(close_message());
    }

    bool at_rest() const
    {
        const player &p = the_player;
        return !p.walking && !p.falling && !p.climbing && !p.teleporting && !p.teleport_anim && p.step == 0;
    }

    // Steps without keys until Pim has been at rest for two steps running.
    void settle()
    {
        int quiet = 0;
        for (int t = 0; t < 1200 && quiet < 2; t++) {
            step();
            quiet = at_rest() ? quiet + 1 : 0;
        }
        ASSERT_EQ(quiet, 2) << "Pim never comes to rest";
    }

    // Walks n steps (0 right, 1 left): each a press held until Pim sets off, then let go. As in
    // act, the first press comes a moment later, once Pim has seen the keys of a ducking or
    // looking-up pose let go (a message may have held his keys since).
    void walk(int direction, int steps)
    {
        const int scancode = direction ? KEY_LEFT : KEY_RIGHT;
        step(2);
        for (int i = 0; i < steps; i++) {
            bool moving = false;
            for (int t = 0; t < 12 && !moving; t++) {
                key[scancode] = -1;
                step();
                moving = the_player.walking != 0;
            }
            key[scancode] = 0;
            ASSERT_TRUE(moving) << "Pim cannot walk from (" << the_player.x / 32 << ", " << the_player.y / 32 << ")";
            settle();
        }
    }

    // The action key with up or down (or neither): the pose key is held one step first, as a
    // person presses it, then the action key joins it for one step. A person's press comes a
    // moment after the last message closed; only then has Pim seen the action key up (his latch
    // clears only in his own key handling, which a message holds off).
    void act(int pose_key)
    {
        step(2);
        if (pose_key) {
            key[pose_key] = -1;
            step();
        }
        key[KEY_SPACE] = -1;
        step();
        key[KEY_SPACE] = 0;
        if (pose_key)
            key[pose_key] = 0;
    }

    // A player holding an arrow key the normal way: down tick after tick until the lesson answers
    // (its state moves on), then let go, and Pim comes to rest. As in walk, the press comes a moment
    // after the last message closed.
    void hold_until_answered(int scancode)
    {
        step(2);
        const int state = tutorial_switch;
        key[scancode] = -1;
        for (int t = 0; t < 3000 && tutorial_switch == state; t++)
            step();
        key[scancode] = 0;
        ASSERT_NE(tutorial_switch, state) << "the lesson never answered; Pim at (" << the_player.x / 32 << ", "
                                          << the_player.y / 32 << ")";
        settle();
    }

    // An arrow key held until Pim has stood still for a while against what stops him, then let go.
    void hold_until_stopped(int scancode)
    {
        step(2);
        key[scancode] = -1;
        int still = 0;
        for (int t = 0; t < 3000 && still < 40; t++) {
            step();
            still = at_rest() ? still + 1 : 0;
        }
        key[scancode] = 0;
        ASSERT_EQ(still, 40) << "Pim never stopped";
    }

    // A quick tap: turns Pim without a step.
    void turn(int scancode)
    {
        step(2);
        key[scancode] = -1;
        step();
        key[scancode] = 0;
        settle();
    }

    // Steps until no block animation runs and Pim is at rest.
    void let_blocks_settle()
    {
        for (int t = 0; t < 600 && !the_build_block_anim.empty(); t++)
            step();
        ASSERT_TRUE(the_build_block_anim.empty());
        settle();
    }

    void wait_for_movie()
    {
        for (int t = 0; t < script_capacity + 10 && do_play_script; t++)
            step();
        ASSERT_EQ(do_play_script, 0);
    }

    void expect_cell(int column, int row)
    {
        EXPECT_EQ(the_player.x, column * 32);
        EXPECT_EQ(the_player.y, row * 32);
    }

    // Walks into the exit (the last steps given) and lets the title menu that it opens return.
    void walk_into_the_exit(int direction, int steps)
    {
        walk(direction, steps - 1);
        key[direction ? KEY_LEFT : KEY_RIGHT] = -1;
        for (int t = 0; t < 40 && !the_player.win_pending; t++)
            step();
        key[direction ? KEY_LEFT : KEY_RIGHT] = 0;
        ASSERT_EQ(the_player.win_pending, -1) << "Pim at (" << the_player.x << ", " << the_player.y << ")";
        EXPECT_EQ(the_player.x, the_map.exit_x);
        EXPECT_EQ(the_player.y, the_map.exit_y);
        // Down and Enter pick Load Game in the title menu without a game in progress.
        for (int t = 0; t < 200 && visit.calls == 0; t++) {
            key[KEY_DOWN] = -1;
            key[KEY_ENTER] = -1;
            key_enter_pressed = 0;
            speed_counter = 5;
            step();
        }
        player_test::release_all_keys();
        ASSERT_EQ(visit.calls, 1) << "the title menu opened";
        EXPECT_EQ(visit.x, the_map.exit_x);
        EXPECT_EQ(visit.y, the_map.exit_y);
        EXPECT_EQ(the_player.level_complete, 0);
        EXPECT_EQ(the_player.controls, -1);
        EXPECT_EQ(tutorial_number, -1) << "the game loaded from the title ends the lesson";
    }

    std::vector<int> seen; // every state the script was in, in order
    int (*saved_load_screen)() = nullptr;
};

TEST_F(lesson_test, lesson_1_walking_turning_ducking_looking_up_and_the_cliff)
{
    start(1);
    expect_next_message("Welcome to the Pim's Slumberia|Tutorial!|Hit space (default)|or enter to continue.", -1);
    talk_until(6);

    // Right, and only right: walking right to x 160 is the task.
    expect_correction({KEY_UP}, too_soon);
    expect_correction({KEY_LEFT}, too_soon);
    int last_x = the_player.x;
    key[KEY_RIGHT] = -1;
    for (int t = 0; t < 300 && tutorial_switch == 6; t++) {
        last_x = the_player.x;
        step();
    }
    key[KEY_RIGHT] = 0;
    ASSERT_EQ(tutorial_switch, 7);
    EXPECT_EQ(last_x, 160) << "the state moved on in the tick in which Pim stood at x 160";
    expect_next_message("Good job! You're learning quick!", 20);

    talk_until(12);
    settle();
    expect_correction({KEY_RIGHT}, "No, no, to the left!");
    expect_correction({KEY_DOWN}, too_soon);
    // A quick tap turns him without a step.
    const int x = the_player.x;
    key[KEY_LEFT] = -1;
    step();
    key[KEY_LEFT] = 0;
    step();
    EXPECT_EQ(tutorial_switch, 13);
    EXPECT_EQ(the_player.facing, 1);
    EXPECT_EQ(the_player.x, x);

    talk_until(16);
    expect_correction({KEY_UP}, too_soon);
    expect_correction({KEY_RIGHT}, learned);
    key[KEY_DOWN] = -1;
    step();
    EXPECT_EQ(tutorial_switch, 17);
    EXPECT_EQ(the_player.ducking, -1) << "no message yet: he ducks in the same tick";
    key[KEY_DOWN] = 0;

    talk_until(20);
    expect_correction({KEY_DOWN}, learned);
    key[KEY_UP] = -1;
    step();
    key[KEY_UP] = 0;
    EXPECT_EQ(tutorial_switch, 21);

    // The cliff, shown by Pim himself.
    talk_until(23);
    EXPECT_EQ(do_play_script, -1);
    EXPECT_EQ(the_player.controls, 0);
    wait_for_movie();
    expect_cell(9, 5);
    expect_next_message("Here is a cliff. Make sure to|watch out for these. If I walk|over the ledge then I will|fall down until I hit the ground.", 19);
    talk_until(25);
    wait_for_movie();
    expect_cell(10, 8);
    expect_next_message("Just like that!", 20);

    talk_until(30);
    EXPECT_EQ(the_player.controls, -1);
    EXPECT_EQ(seen, states(1, 30));
    walk_into_the_exit(0, 7);
    EXPECT_EQ(visit.tutorial_number, 1);
    EXPECT_EQ(visit.tutorial_switch, 30);
}

TEST_F(lesson_test, lesson_2_the_standing_up_and_down_blocks)
{
    start(2);
    talk_until(6);

    // The Standing Block at (7, 6).
    expect_correction({KEY_LEFT}, "No. Don't turn around!|Just build a block right in|front of you.");
    expect_correction({KEY_UP}, "In order to build a Standing|Block you cannot be looking|up.");
    expect_correction({KEY_DOWN}, "In order to build a Standing|Block you cannot be ducking.");
    act(0);
    EXPECT_EQ(the_map.block_layer[7][6], build_still);
    step();
    EXPECT_EQ(the_player.controls, 0) << "held while the block grows";
    EXPECT_EQ(tutorial_switch, 6);
    for (int t = 0; t < 600 && tutorial_switch == 6; t++)
        step();
    EXPECT_TRUE(the_build_block_anim.empty()) << "the answer waits for the animation";
    EXPECT_EQ(the_player.controls, -1);
    expect_message("Great! You just built your first|block! Now we're getting somewhere.|There's no limit to how many of|these you can make.", 19);

    // ... destroyed again.
    talk_until(11);
    expect_correction({KEY_DOWN}, "In order to destroy a Standing|Block you cannot be ducking.");
    act(0);
    EXPECT_EQ(the_map.block_layer[7][6], empty_cell);
    for (int t = 0; t < 600 && tutorial_switch == 11; t++)
        step();
    expect_message("Great job. Now you know how to|create and destroy standing blocks!|There are two more types of blocks|that I can create.", 19);

    // The Up Block at (6, 6): looking up comes first, or the answer does.
    talk_until(15);
    expect_correction({KEY_SPACE}, "In order to create an Up Block|you must be looking|up.");
    expect_correction({KEY_RIGHT}, "No. Don't walk around!|Just create an Up Block right|here.");
    act(KEY_UP);
    EXPECT_EQ(the_map.block_layer[6][6], build_up);
    for (int t = 0; t < 600 && tutorial_switch == 15; t++)
        step();
    expect_message("Perfect! Do you see now how|I am a level higher than|before? The Up Block will provide|a tremendous amount of help.", 20);
    settle();
    expect_cell(6, 5);

    // ... broken from on top of it.
    talk_until(22);
    expect_correction({KEY_LEFT}, "No. Don't walk around!|Just destroy the Up Block I'm|on.");
    act(KEY_UP);
    EXPECT_EQ(the_map.block_layer[6][6], empty_cell);
    for (int t = 0; t < 600 && tutorial_switch == 22; t++)
        step();
    expect_message("Perfect! Onto the last type of block|I can create.", 20);

    // Pim walks to the gap; the Down Block at (10, 7) fills it.
    talk_until(24);
    wait_for_movie();
    expect_cell(9, 6);
    talk_until(27);
    EXPECT_EQ(the_player.controls, -1);
    expect_correction({KEY_SPACE}, "In order to create a Down Block|you must be ducking.");
    expect_correction({KEY_RIGHT}, "No. Don't walk around!|Just create a Down Block right|here.");
    act(KEY_DOWN);
    EXPECT_EQ(the_map.block_layer[10][7], build_crouch);
    for (int t = 0; t < 600 && tutorial_switch == 27; t++)
        step();
    expect_message("Presto!!", 20);

    talk_until(34);
    EXPECT_EQ(seen, states(1, 34));
    // Over the Down Block, up the step with an Up Block, and on to the exit.
    settle();
    walk(0, 4);
    expect_cell(13, 6);
    act(KEY_UP);
    let_blocks_settle();
    expect_cell(13, 5);
    walk_into_the_exit(0, 4);
    EXPECT_EQ(visit.tutorial_number, 2);
    EXPECT_EQ(visit.tutorial_switch, 34);
}

TEST_F(lesson_test, lesson_3_the_restriction_blocks)
{
    start(3);
    talk_until(10);

    // On the All Restriction Block nothing can be built.
    for (int pose : {0, int(KEY_UP), int(KEY_DOWN)}) {
        act(pose);
        let_blocks_settle();
    }
    EXPECT_EQ(the_player.blocks_created, 0);
    expect_cell(3, 2);

    // Through the hole to the left, the key held all the way: no controls while he falls, and the wall
    // beside the Up Restriction Block stops him once they are back.
    int controls_while_falling = -1;
    key[KEY_LEFT] = -1;
    for (int t = 0; t < 300 && tutorial_switch == 10; t++) {
        step();
        if (the_player.falling)
            controls_while_falling = the_player.controls;
    }
    EXPECT_EQ(controls_while_falling, 0);
    ASSERT_EQ(tutorial_switch, 11);
    expect_cell(2, 4);
    EXPECT_EQ(the_player.controls, -1);
    EXPECT_EQ(the_message.active_state(), 0) << "no message in the tick he lands";
    step(40);
    key[KEY_LEFT] = 0;
    expect_cell(2, 4);
    expect_next_message("Great. Did you see how that|Restriction Block disabled me from|being able to build any kind of|block?", 19);

    // The demonstration on the Up Restriction Block, then the user's own try.
    talk_until(17);
    wait_for_movie();
    expect_cell(2, 4);
    EXPECT_EQ(the_map.block_layer[3][4], empty_cell);
    EXPECT_EQ(the_map.block_layer[3][5], empty_cell);
    talk_until(18);
    expect_correction({KEY_DOWN}, "In order to build an Up|Block you cannot be ducking.");
    expect_correction({KEY_LEFT}, "No. Don't turn around!|Just try to build an|Up Block.");
    expect_correction({KEY_SPACE}, "No, create an Up Block,|not a Standing Block!");
    const int made = the_player.blocks_created;
    act(KEY_UP);
    expect_message(".....", 19);
    EXPECT_EQ(tutorial_switch, 19);
    EXPECT_EQ(the_player.blocks_created, made);

    // A Standing Block and a Down Block from the Up Restriction Block.
    talk_until(23);
    expect_correction({KEY_RIGHT}, "No. Don't walk around!|Just try to build the blocks.");
    act(0);
    EXPECT_EQ(the_map.block_layer[3][4], build_still);
    let_blocks_settle();
    EXPECT_EQ(tutorial_switch, 23) << "one block is not both";
    act(KEY_DOWN);
    EXPECT_EQ(the_map.block_layer[3][5], build_crouch);
    for (int t = 0; t < 600 && tutorial_switch == 23; t++)
        step();
    EXPECT_TRUE(the_build_block_anim.empty());
    expect_message("Great Job!^^^^^^^^^^^^^ See how you can|build blocks in all directions|except up?", 20);

    // Over the Down Block to the Down Restriction Block at (4, 5), the right key held: the pillar
    // beyond it stops him there.
    talk_until(26);
    act(0);
    let_blocks_settle();
    EXPECT_EQ(the_map.block_layer[3][4], empty_cell);
    hold_until_answered(KEY_RIGHT);
    expect_cell(4, 4);
    expect_message("Okay! Time to learn about the next|Restriction Block.", 20);
    talk_until(29);
    expect_correction({KEY_UP}, "No. Build a Down Block,|not an Up Block.");
    expect_correction({KEY_SPACE}, "No. Build a Down Block,|not a Standing Block.");
    const int built = the_player.blocks_created;
    act(KEY_DOWN);
    EXPECT_EQ(tutorial_switch, 30);
    EXPECT_EQ(the_player.blocks_created, built);

    // An Up Block (the Down Restriction Block allows it) lifts him over the pillar; the right key held,
    // he drops down the shaft onto the Standing Restriction Block at (6, 8) and stays there.
    talk_until(31);
    act(KEY_UP);
    let_blocks_settle();
    expect_cell(4, 3);
    hold_until_answered(KEY_RIGHT);
    expect_cell(6, 7);
    expect_message("Great!|This is the last type of restriction|block!", 20);
    talk_until(34);
    expect_correction({KEY_DOWN}, "No. Build a Standing Block,|not a Down Block.");
    act(0);
    expect_message("...I can't do it! This block stops me|from building Standing Blocks while|I'm standing on it!", 20);
    EXPECT_EQ(the_map.block_layer[7][7], empty_cell);

    talk_until(40);
    EXPECT_EQ(seen, states(1, 40));
    // A Down Block over the pit ahead, and on to the exit.
    act(KEY_DOWN);
    EXPECT_EQ(the_map.block_layer[7][8], build_crouch);
    let_blocks_settle();
    walk_into_the_exit(0, 11);
    EXPECT_EQ(visit.tutorial_number, 3);
    EXPECT_EQ(visit.tutorial_switch, 40);
}

TEST_F(lesson_test, lesson_4_tunnels_the_crumbling_block_and_teleports)
{
    start(4);
    talk_until(11);

    // The Vertical Tunnel cannot be walked into; an Up Block beside it leads over its top and down,
    // the right key held: the Standing Block in the Horizontal Tunnel's mouth stops him at its foot.
    hold_until_stopped(KEY_RIGHT);
    expect_cell(5, 6);
    EXPECT_EQ(tutorial_switch, 11);
    act(KEY_UP);
    let_blocks_settle();
    expect_cell(5, 5);
    hold_until_answered(KEY_RIGHT);
    expect_cell(6, 9);
    expect_next_message("Great! That's just about all there|is to know about Vertical Tunnels.", 20);

    // On top of the Horizontal Tunnel, the right key held to its end.
    talk_until(18);
    expect_correction({KEY_DOWN}, "No. Build an Up Block,|not a Down Block.");
    expect_correction({KEY_LEFT}, "No. Don't walk around!|Just try to get on top of|this tunnel.");
    act(KEY_UP);
    EXPECT_EQ(tutorial_switch, 19);
    EXPECT_EQ(the_message.active_state(), 0);
    EXPECT_EQ(the_map.block_layer[6][9], build_up) << "the Up Block is built in the same tick";
    let_blocks_settle();
    expect_cell(6, 8);
    act(KEY_UP);
    expect_message("Walk to the end of this|tunnel first...", 19);
    EXPECT_EQ(the_map.block_layer[6][9], build_up);
    ASSERT_TRUE(close_message());
    hold_until_answered(KEY_RIGHT);
    expect_cell(13, 8);
    expect_message("Great!^^^^^^^^^^^^^^^^^^^^^^ Did you notice?|You can build blocks while on top|of a tunnel!", 19);

    // Back to the entrance, the left key held until the wall: the Up Block has to go.
    talk_until(22);
    hold_until_stopped(KEY_LEFT);
    expect_cell(6, 8);
    act(KEY_UP);
    let_blocks_settle();
    expect_cell(6, 9);
    expect_next_message("Okay! Good Job!", 19);

    // The Standing Block in the mouth broken, through the tunnel with the right key held: the second
    // one stops him at the tunnel's right end.
    talk_until(25);
    turn(KEY_RIGHT);
    act(0);
    let_blocks_settle();
    EXPECT_EQ(the_map.block_layer[7][9], empty_cell);
    hold_until_answered(KEY_RIGHT);
    expect_cell(13, 9);
    expect_message("Wait!!", 19);

    // That one broken too, over the Crumbling Block to the wall under the teleport entrance.
    talk_until(29);
    act(0);
    let_blocks_settle();
    EXPECT_EQ(the_map.block_layer[14][9], empty_cell);
    EXPECT_EQ(the_map.block_layer[14][10], build_break);
    hold_until_answered(KEY_RIGHT);
    expect_cell(16, 9);
    EXPECT_EQ(the_map.block_layer[14][10], empty_cell) << "it crumbled behind him";
    expect_message("Now, to learn about the last|thing you will encounter in|my Dream World.", 20);

    // Up onto the wall and into the teleport, out on the ledge by the exit.
    talk_until(40);
    act(KEY_UP);
    let_blocks_settle();
    expect_cell(16, 8);
    hold_until_answered(KEY_RIGHT);
    expect_cell(17, 4);
    expect_message("This concludes all of the tutorials.|Once you step through this exit|you will be on your own!", 19);
    talk_until(43);
    EXPECT_EQ(seen, states(1, 43, {13}));
    walk_into_the_exit(0, 2);
    EXPECT_EQ(visit.tutorial_number, 4);
    EXPECT_EQ(visit.tutorial_switch, 43);
}

// Each demonstration state of the lessons, the message that follows its movie and where the movie
// leaves Pim.
struct demonstration_case {
    int lesson, state;
    const char *next_text;
    int portrait;
    int column, row;
};

const demonstration_case demonstrations[] = {
    {1, 22, "Here is a cliff. Make sure to|watch out for these. If I walk|over the ledge then I will|fall down until I hit the ground.", 19, 9, 5},
    {1, 24, "Just like that!", 20, 10, 8},
    {2, 23, "The last block type is called|the \"Down Block.\" The Down Block|will allow me to fill in gaps in|the ground; like this one!", 1, 9, 6},
    {3, 16, "Go ahead, try and build an Up Block|right now.", 19, 2, 4},
};

// F3 ends a demonstration in the tick it is pressed, on its first tick, in its middle or on its last, and
// the lesson goes on at once from where the whole movie would have left Pim.
TEST_F(lesson_test, f3_ends_a_demonstration_and_the_lesson_goes_on_where_the_movie_ends)
{
    for (const demonstration_case &c : demonstrations) {
        for (int stop : {0, 40, -1}) {
            SCOPED_TRACE("lesson " + std::to_string(c.lesson) + " state " + std::to_string(c.state) + ", F3 after " +
                         std::to_string(stop) + " ticks");
            player_test::reset_world();
            start(c.lesson);
            step(2);
            the_message.deactivate();
            tutorial_switch = c.state;
            step();
            ASSERT_EQ(do_play_script, -1);
            // -1: on the movie's last stored tick.
            const int ticks = stop < 0 ? play_script_time - 2 : stop - 1;
            for (int t = 0; t < ticks && do_play_script; t++)
                step();
            ASSERT_EQ(do_play_script, -1);
            key[KEY_F3] = -1;
            step();
            key[KEY_F3] = 0;
            EXPECT_EQ(do_play_script, 0);
            EXPECT_EQ(the_player.controls, -1);
            step();
            EXPECT_EQ(tutorial_switch, c.state + 2);
            expect_message(c.next_text, c.portrait);
            expect_cell(c.column, c.row);
            key_F3_down = 0;
        }
    }
}

// The fault F3 used to leave behind: stopped before Pim's third step, the lesson 2 movie left him away
// from the gap, and the Down Block task could not be done. Now the task is done as after the whole movie.
TEST_F(lesson_test, f3_early_in_the_lesson_2_movie_still_lets_the_down_block_be_built)
{
    start(2);
    step(2);
    the_message.deactivate();
    tutorial_switch = 23;
    step();
    ASSERT_EQ(do_play_script, -1);
    // Pim's first step is over, his second has begun.
    step(60);
    key[KEY_F3] = -1;
    step();
    key[KEY_F3] = 0;
    talk_until(27);
    expect_cell(9, 6);
    act(KEY_DOWN);
    EXPECT_EQ(the_map.block_layer[10][7], build_crouch);
    for (int t = 0; t < 600 && tutorial_switch == 27; t++)
        step();
    expect_message("Presto!!", 20);
}

TEST_F(lesson_test, escape_leaves_a_lesson_for_the_title_once_the_controls_are_on)
{
    start(2);
    step();
    ASSERT_EQ(the_message.active_state(), -1);
    // While Pim arrives his controls are off, and Escape waits.
    ASSERT_EQ(the_player.controls, 0);
    key[KEY_ESC] = -1;
    step();
    key[KEY_ESC] = 0;
    EXPECT_EQ(visit.calls, 0);
    for (int t = 0; t < 100 && !the_player.controls; t++)
        step();
    ASSERT_EQ(the_player.controls, -1);
    // Down and Enter then pick Load Game in the title menu.
    key[KEY_ESC] = -1;
    key[KEY_DOWN] = -1;
    key[KEY_ENTER] = -1;
    speed_counter = 5;
    step();
    player_test::release_all_keys();
    ASSERT_EQ(visit.calls, 1);
    EXPECT_EQ(visit.tutorial_number, 2);
    EXPECT_EQ(visit.tutorial_switch, 2);
    EXPECT_EQ(tutorial_number, -1);
}

} // namespace
