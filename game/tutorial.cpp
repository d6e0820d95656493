// The lesson scripts as tables of states, and the one routine that runs a state each tick.
#include "tutorial.h"
#include <allegro.h>
#include <cstdio>
#include <vector>
#include "auto_script.h"
#include "building_block.h"
#include "key_latch.h"
#include "level_set_screen.h"
#include "map.h"
#include "message.h"
#include "player.h"

int tutorial_number = -1;
int tutorial_switch = 0;

namespace {

// The player's key roles, as bits, so that a clause can name several at once.
enum key_role { up_key = 1, down_key = 2, left_key = 4, right_key = 8, action_key = 16 };

// A pose flag that a clause requires set or clear, or does not look at.
enum flag_test { flag_any, flag_set, flag_clear };

const int not_tested = -1000;
const int no_portrait = -1;

struct cell_test {
    int column = not_tested;
    int row = 0;
    int code = empty_cell;
    int equal = -1; // -1: the cell holds code; 0: it holds anything else
};

// What must hold for a clause to act. Every field left at its default is not looked at.
struct lesson_condition {
    int any_keys = 0;  // at least one of these roles' keys is down
    int all_keys = 0;  // every one of these is down
    flag_test looking_up = flag_any;
    flag_test ducking = flag_any;
    flag_test falls = flag_any;
    int x = not_tested;
    int facing = not_tested;
    int cell_x = not_tested, cell_y = not_tested; // the player's cell
    cell_test cells[2];
    int no_block_animation = 0;

    lesson_condition with_looking_up(flag_test t) const { lesson_condition c = *this; c.looking_up = t; return c; }
    lesson_condition with_ducking(flag_test t) const { lesson_condition c = *this; c.ducking = t; return c; }
    lesson_condition with_key(int roles) const { lesson_condition c = *this; c.all_keys |= roles; return c; }
    lesson_condition once_no_block_animation_runs() const
    {
        lesson_condition c = *this;
        c.no_block_animation = -1;
        return c;
    }
};

lesson_condition any_key(int roles)
{
    lesson_condition c;
    c.any_keys = roles;
    return c;
}

lesson_condition all_keys(int roles)
{
    lesson_condition c;
    c.all_keys = roles;
    return c;
}

lesson_condition player_x(int x)
{
    lesson_condition c;
    c.x = x;
    return c;
}

lesson_condition player_facing(int facing)
{
    lesson_condition c;
    c.facing = facing;
    return c;
}

lesson_condition player_falls()
{
    lesson_condition c;
    c.falls = flag_set;
    return c;
}

lesson_condition player_cell(int column, int row)
{
    lesson_condition c;
    c.cell_x = column;
    c.cell_y = row;
    return c;
}

lesson_condition cell_holds(int column, int row, int code)
{
    lesson_condition c;
    c.cells[0] = {column, row, code, -1};
    return c;
}

// Both cells hold some code other than empty.
lesson_condition cells_filled(int column_1, int row_1, int column_2, int row_2)
{
    lesson_condition c;
    c.cells[0] = {column_1, row_1, empty_cell, 0};
    c.cells[1] = {column_2, row_2, empty_cell, 0};
    return c;
}

// What a clause does to the player's controls.
enum controls_effect { controls_kept, controls_on, controls_off };

// The first clause of a state whose condition holds acts and ends the tick: it may show a message,
// switch the controls and move the script on to the state's next state.
struct lesson_clause {
    lesson_condition when;
    const char *text;  // the message shown, or none
    int portrait;
    controls_effect controls;
    int advances;
};

lesson_clause show(const lesson_condition &when, const char *text, int portrait)
{
    return {when, text, portrait, controls_kept, 0};
}

lesson_clause advance(const lesson_condition &when, const char *text = nullptr, int portrait = no_portrait,
                      controls_effect controls = controls_kept)
{
    return {when, text, portrait, controls, -1};
}

lesson_clause controls_off_while(const lesson_condition &when)
{
    return {when, nullptr, no_portrait, controls_off, 0};
}

// When a state may run: once the box is closed, in any tick, once the movie is over, or once the
// box is closed and no block animation runs.
enum lesson_gate { box_closed, no_gate, movie_over, box_closed_no_animation };

struct lesson_state {
    int number;
    lesson_gate gate;
    std::vector<lesson_clause> clauses;
    const char *movie; // a movie state plays this file of the lesson's directory
    int next;
};

// A message state: the text comes up (once the gate opens) and the script moves on.
lesson_state say(int number, const char *text, int portrait, int next, lesson_gate gate = box_closed)
{
    return {number, gate, {advance(lesson_condition(), text, portrait)}, nullptr, next};
}

// A message state that also hands the controls back to the user.
lesson_state say_enabling(int number, const char *text, int portrait, int next)
{
    return {number, box_closed, {advance(lesson_condition(), text, portrait, controls_on)}, nullptr, next};
}

lesson_state task(int number, lesson_gate gate, std::vector<lesson_clause> clauses, int next)
{
    return {number, gate, std::move(clauses), nullptr, next};
}

lesson_state play(int number, const char *movie, int next)
{
    return {number, box_closed, {}, movie, next};
}

// Corrective texts that several states share.
const char *const too_soon = "Don't get ahead of yourself!|We will learn about that key|shortly!";
const char *const learned = "We already learned about that key!";

// Lesson 1: walking, turning, ducking, looking up, cliffs and the exit. Building is off in it.
const std::vector<lesson_state> lesson_1 = {
    say(1, "Welcome to the Pim's Slumberia|Tutorial!|Hit space (default)|or enter to continue.", no_portrait, 2, no_gate),
    say(2, "Hi! I'm Pim. |I'm going to guide you through|the basics in this tutorial.|Shall we begin?", 19, 3),
    say(3, "First, let's learn about movement.|It's pretty simple.", 20, 4),
    say(4, "Use the arrow keys (default)|to move around.|Let's move to the right!", 0, 5),
    say(5, "To move to the right, simply|press and hold the right arrow|key (default).|Try it out!", 8, 6),
    task(6, box_closed, {
        show(any_key(up_key | down_key | left_key), too_soon, 19),
        advance(player_x(160)),
    }, 7),
    say(7, "Good job! You're learning quick!", 20, 8, no_gate),
    say(8, "Alright, so now let's move|to the left. It's just as|easy as moving to the right!", 19, 9),
    say(9, "To move to the left, hit the left|key (default). You will notice,|however, that there will|be a delay between", 7, 10),
    say(10, "when you press the button and I|start moving. This is to allow|you to turn me around with|a quick press of the key.", 7, 11),
    say(11, "That way I won't just go walking|over ledges and things!|Try and turn me around!", 19, 12),
    task(12, box_closed, {
        show(any_key(right_key), "No, no, to the left!", 19),
        show(any_key(up_key | down_key), too_soon, 19),
        advance(player_facing(1)),
    }, 13),
    say(13, "Great! There are a few more basic|movements, so let's get going!|Next is ducking.", 20, 14, no_gate),
    say(14, "Ducking is very simple. Just hit|the down arrow key (default) and |I will duck as long as you |hold the key.", 6, 15),
    say(15, "Give it a try.", 19, 16),
    task(16, box_closed, {
        show(any_key(up_key), too_soon, 19),
        show(any_key(left_key | right_key), learned, 19),
        advance(any_key(down_key)),
    }, 17),
    say(17, "Perfect! You're doing great!", 20, 18, no_gate),
    say(18, "Now I'll teach you about looking|up. It's just as simple as|ducking.", 19, 19),
    say(19, "To look up press the up arrow|key (default). I will look|up as long as you hold the|key down.", 9, 20),
    task(20, box_closed, {
        show(any_key(left_key | right_key | down_key), learned, 19),
        advance(any_key(up_key)),
    }, 21),
    say(21, "Great job! Now let's learn about|cliffs.", 20, 22, no_gate),
    play(22, "lesson_1_1.qmv", 23),
    say(23, "Here is a cliff. Make sure to|watch out for these. If I walk|over the ledge then I will|fall down until I hit the ground.", 19, 24, movie_over),
    play(24, "lesson_1_2.qmv", 25),
    say(25, "Just like that!", 20, 26, movie_over),
    say(26, "Be careful, because sometimes|I can't get back up!", 19, 27),
    say(27, "Now,^^^^^^^^^^^^^^^^^^^ one last thing before|we can complete this|tutorial.", 20, 28),
    say(28, "See that red teleport door to|the right? That is a level exit.|Step through it in order to proceed|to the next level!", 18, 29),
    say_enabling(29, "That's pretty much it for lesson 1!|Step through the exit when you|are ready. You will be taken back|to the title screen.", 20, 30),
};

// Lesson 2: building and destroying the Standing, Up and Down Blocks. Each task waits for its block
// at a fixed cell and holds the controls while the block's animation still runs.
const std::vector<lesson_state> lesson_2 = {
    say(1, "In this tutorial we are going|to learn how to build blocks.|Building blocks is usually neccessary|in order to get me", 19, 2, no_gate),
    say(2, "to the level's exit. Knowing how|to properly build blocks will be|an integral part of your|strategy for passing levels.", 19, 3),
    say(3, "First, I will teach you how|to create the simplest type|of block.", 20, 4),
    say(4, "I like to call it the|\"Standing Block\", since the only|way to make it is if you're|just standing and doing", 2, 5),
    say(5, "nothing else. To make a Standing|Block, just hit space (default) while|standing still on the level.|Give it a try!", 2, 6),
    task(6, box_closed, {
        advance(cell_holds(7, 6, build_still).once_no_block_animation_runs(),
                "Great! You just built your first|block! Now we're getting somewhere.|There's no limit to how many of|these you can make.", 19, controls_on),
        controls_off_while(cell_holds(7, 6, build_still)),
        show(any_key(left_key), "No. Don't turn around!|Just build a block right in|front of you.", 19),
        show(any_key(up_key), "In order to build a Standing|Block you cannot be looking|up.", 19),
        show(any_key(right_key), "No. Don't walk around!|Just build a block right in|front of you.", 19),
        show(any_key(down_key), "In order to build a Standing|Block you cannot be ducking.", 19),
    }, 7),
    say(7, "As long as there is an open space|in front of you; you'll be able to|build one of these blocks.", 20, 8),
    say(8, "I bet you're wondering if we|can get rid of this block we|just made.^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^ Well, the answer is yes.|It's very simple, actually.", 19, 9),
    say(9, "To destroy a Standing Block, simply|stand in front of it and hit space|(default), while just standing. This|will destroy the block.", 19, 10),
    say(10, "Go ahead, destroy the block we|just created!", 20, 11),
    task(11, box_closed, {
        advance(cell_holds(7, 6, empty_cell).once_no_block_animation_runs(),
                "Great job. Now you know how to|create and destroy standing blocks!|There are two more types of blocks|that I can create.", 19, controls_on),
        controls_off_while(cell_holds(7, 6, empty_cell)),
        show(any_key(left_key), "No. Don't turn around!|Just destroy the block right in|front of you.", 19),
        show(any_key(up_key), "In order to destroy a Standing|Block you cannot be looking|up.", 19),
        show(any_key(down_key), "In order to destroy a Standing|Block you cannot be ducking.", 19),
    }, 12),
    say(12, "The next block we will learn how|to create is called the \"Up Block.\"|This block will allow me to boost|up a level and reach places", 3, 13),
    say(13, "that I couldn't before! To build an|Up Block, simply hit space (default)|while looking up.", 3, 14),
    say(14, "Why don't you give it a try?", 20, 15),
    task(15, no_gate, {
        advance(cell_holds(6, 6, build_up).once_no_block_animation_runs(),
                "Perfect! Do you see now how|I am a level higher than|before? The Up Block will provide|a tremendous amount of help.", 20, controls_on),
        controls_off_while(cell_holds(6, 6, build_up)),
        show(any_key(right_key | left_key), "No. Don't walk around!|Just create an Up Block right|here.", 19),
        show(all_keys(action_key).with_looking_up(flag_clear), "In order to create an Up Block|you must be looking|up.", 19),
        show(any_key(down_key), "In order to create an Up Block|you cannot be ducking.", 19),
    }, 16),
    say(16, "There's something you should|know, however. If I am standing on|a block that I created, I can't|create any more blocks!", 20, 17),
    say(17, "I can only build blocks when|I am standing on surfaces that I|can draw Dream Power from.|Since blocks I create are", 20, 18),
    say(18, "created from Dream Power, I|cannot build a block while on|top of a built block.", 20, 19),
    say(19, "Well, now that you're informed|let's break this Up Block|I am on top of. To break|it, simply press space (default)", 19, 20),
    say(20, "while looking up. This is the only|way to destroy an Up Block:|being on top of it while looking|up.", 19, 21),
    say(21, "Go ahead, break the block.", 20, 22),
    task(22, box_closed, {
        advance(cell_holds(6, 6, empty_cell).once_no_block_animation_runs(),
                "Perfect! Onto the last type of block|I can create.", 20, controls_on),
        controls_off_while(cell_holds(6, 6, empty_cell)),
        show(any_key(right_key | left_key), "No. Don't walk around!|Just destroy the Up Block I'm|on.", 19),
        show(any_key(down_key), "In order to destroy an Up Block|you cannot be ducking.", 19),
    }, 23),
    play(23, "lesson_2_1.qmv", 24),
    say(24, "The last block type is called|the \"Down Block.\" The Down Block|will allow me to fill in gaps in|the ground; like this one!", 1, 25, movie_over),
    say(25, "To create a Down block face|the direction you want it to|be created in and hit space (default)|while ducking.", 1, 26),
    say_enabling(26, "Why don't you try to make|a Down Block in that gap in|the ground?", 19, 27),
    task(27, box_closed, {
        advance(cell_holds(10, 7, build_crouch).once_no_block_animation_runs(), "Presto!!", 20, controls_on),
        controls_off_while(cell_holds(10, 7, build_crouch)),
        show(any_key(right_key | left_key), "No. Don't walk around!|Just create a Down Block right|here.", 19),
        show(all_keys(action_key).with_ducking(flag_clear), "In order to create a Down Block|you must be ducking.", 19),
    }, 28),
    say(28, "To break this block, simply|duck and face it, then|hit space (default).", 20, 29),
    say(29, "Now you know how to build|all types of blocks! Using these|new techniques you will be able|to maneuver me around levels", 19, 30),
    say(30, "with ease. Try out your|new skills to direct me to|the level exit!", 19, 31),
    say(31, "Oh^^^^^^^^^^^^^^, by the way!|If you just so happen to fall|down to the bottom of a level,|the level will restart, and you", 20, 32),
    say(32, "will be forced to try again.", 20, 33),
    say(33, "See you in the next|tutorial!", 19, 34),
};

// Lesson 3: the All, Up, Down and Standing Restriction Blocks.
const std::vector<lesson_state> lesson_3 = {
    say(1, "I bet you've been thinking you'll|always be able to build blocks|almost anywhere, right?", 19, 2, no_gate),
    say(2, "Well, that's wrong, and this|tutorial is going to explain why.|Now we are going to learn about|restrictions.", 20, 3),
    say(3, "In my dreamworld there are such|things as blocks that restrict|my ability to create blocks.|These blocks are known as", 19, 4),
    say(4, "Restriction Blocks. Restriction Blocks|make getting to the level|exit quite difficult at times.|You will need to learn", 19, 5),
    say(5, "to work around them in|order to effectively reach|the level exit. Let's learn about|the types of Restriction Blocks.", 19, 6),
    say(6, "All Restriction Blocks are colored red.|The first type of Restriction Block|is the \"All Restriction Block\".", 11, 7),
    say(7, "The All Restriction Block simply|disables my ability to build any|kind of block while standing on|top of it!", 11, 8),
    say(8, "Go ahead, try and build a block!|You won't be able to since you're|standing on top of this|All Restriction Block.", 20, 9),
    say(9, "Once you're done fall through|that hole to the left!", 20, 10),
    task(10, box_closed, {
        controls_off_while(player_falls()),
        advance(player_cell(2, 4), nullptr, no_portrait, controls_on),
    }, 11),
    say(11, "Great. Did you see how that|Restriction Block disabled me from|being able to build any kind of|block?", 19, 12),
    say(12, "The All Restriction Block is the|most powerful type of Restriction |Block. The other 3 do not hold as|much power over my abilities.", 20, 13),
    say(13, "The next type of Restriction Block is|the \"Up Restriction Block.\"", 14, 14),
    say(14, "The Up Restriction Block restricts|ONLY my ability to create an Up|block while standing on top of it.|I can build blocks in any", 14, 15),
    say(15, "other direction, though.", 14, 16),
    play(16, "lesson_3_1.qmv", 17),
    say(17, "Go ahead, try and build an Up Block|right now.", 19, 18, movie_over),
    task(18, box_closed, {
        advance(all_keys(up_key | action_key), ".....", 19),
        show(any_key(action_key), "No, create an Up Block,|not a Standing Block!", 19),
        show(any_key(left_key), "No. Don't turn around!|Just try to build an|Up Block.", 19),
        show(any_key(down_key), "In order to build an Up|Block you cannot be ducking.", 19),
        show(any_key(right_key), "No. Don't walk around!|Just try to build an|Up Block.", 19),
    }, 19),
    say(19, "See? I could not build|an Up Block while standing|on top of this type of Restriction|Block. You can, however, build", 20, 20),
    say(20, "any other type of block|while standing on the Up Restriction|Block. Since the Up Restriction Block|only restricts building up,", 20, 21),
    say(21, "building in any other direction is|valid.", 20, 22),
    say(22, "Go ahead, try building both a|Standing Block and a Down Block|while standing on top of this Up|Restriction Block.", 19, 23),
    task(23, box_closed, {
        advance(cells_filled(3, 4, 3, 5).once_no_block_animation_runs(),
                "Great Job!^^^^^^^^^^^^^ See how you can|build blocks in all directions|except up?", 20, controls_on),
        show(any_key(left_key), "No. Don't turn around!|Just try to build the blocks.", 19),
        show(any_key(right_key), "No. Don't walk around!|Just try to build the blocks.", 19),
    }, 24),
    say(24, "Now, all of the other Restriction|Blocks work in just the same way.|You can build in any direction|except the one which it restricts.", 19, 25),
    say(25, "Navigate your way to the next|Restriction Block.", 20, 26),
    task(26, box_closed, {
        advance(player_cell(4, 4), "Okay! Time to learn about the next|Restriction Block.", 20),
    }, 27),
    say(27, "This is a Down Restriction Block.|This prohibits me from building|a Down Block while standing on|top of it.", 12, 28),
    say(28, "Give it shot! Try building a|Down Block while standing on top|of this Down Restriction Block.", 19, 29),
    task(29, box_closed, {
        advance(all_keys(down_key | action_key), "See? This block restricts you from|building a Down Block. You can,|however, build an Up or Standing|block while standing on", 20),
        show(any_key(action_key), "No. Build a Down Block,|not a Standing Block.", 19),
        show(any_key(left_key), "No. Don't turn around!|Just try to build the|Down Block.", 19),
        show(any_key(right_key), "No. Don't walk around!|Just try to build the|Down Block.", 19),
        show(any_key(up_key), "No. Build a Down Block,|not an Up Block.", 19),
    }, 30),
    say(30, "this Down Restriction Block.|Go ahead and try it if you'd like.|Once you're done head to the|next Restriction Block.", 20, 31),
    task(31, box_closed, {
        advance(player_cell(6, 7), "Great!|This is the last type of restriction|block!", 20),
    }, 32),
    say(32, "This is a Standing Restriction Block.|This prohibits me from building|a Standing Block while standing on|top of it.", 13, 33),
    say(33, "Try building a Standing Block while|I'm on top of this Restriciton Block.", 20, 34),
    task(34, box_closed, {
        advance(any_key(action_key), "...I can't do it! This block stops me|from building Standing Blocks while|I'm standing on it!", 20),
        show(any_key(down_key), "No. Build a Standing Block,|not a Down Block.", 19),
        show(any_key(left_key), "No. Don't turn around!|Just try to build the|Standing Block.", 19),
        show(any_key(right_key), "No. Don't walk around!|Just try to build the|Standing Block.", 19),
        show(any_key(up_key), "No. Build a Standing Block,|not an Up Block.", 19),
    }, 35),
    say(35, "You can, however, build any|block that this Standing Restriction|Block does not restrict.", 20, 36),
    say(36, "Remember that when standing on a|Restriction Block, destroying Created|Blocks is always possible. Restriction|Blocks do not inhibit my", 20, 37),
    say(37, "abilities to destroy blocks.", 20, 38),
    say(38, "That is all I can teach you|regarding Restriction Blocks. It's|up to you to figure out ways to|get around them in my Slumberia.", 19, 39),
    say(39, "Make your way to the level exit,|and I will see you in the next|tutorial!", 19, 40),
};

// Lesson 4: the tunnels, the Crumbling Block and the teleports. It follows the player's cell and
// never touches the controls. There is no state 13.
const std::vector<lesson_state> lesson_4 = {
    say(1, "In this tutorial we are going to|learn about special objects in|my slumberia which you will come|in contact with!", 19, 2, no_gate),
    say(2, "There are three of them which|you must familiarize yourself with.", 20, 3),
    say(3, "The first is the \"Tunnel.\"", 19, 4),
    say(4, "Tunnels are quite simple, actually.|They are just that; a tunnel. There|are some rules about building blocks|and tunnels.", 20, 5),
    say(5, "I cannot build a block into any|tunnel. I can, however, walk through, |and on top of tunnels.", 19, 6),
    say(6, "There are two types of tunnels.|The first we will learn about is the|\"Vertical Tunnel.\"", 20, 7),
    say(7, "I can fall through a Vertical|Tunnel, but I can not walk through|them.", 17, 8),
    say(8, "See that vertical tunnel in front|of me? Try walking through it. You'll|quickly notice you can't.", 17, 9),
    say(9, "Although this seems fairly obvious|it IS a rule about tunnels.", 17, 10),
    say(10, "Once you've experimented with trying|to walk through it, find a way|to get inside it and drop to the|next level.", 17, 11),
    task(11, box_closed, {
        advance(player_cell(6, 9)),
    }, 12),
    say(12, "Great! That's just about all there|is to know about Vertical Tunnels.", 20, 14),
    say(14, "Now onto the next type of|tunnel: \"Horizontal Tunnels.\"", 19, 15),
    say(15, "Horizontal Tunnels are just like|Vertical Tunnels except, well,|they are horizontal!", 16, 16),
    say(16, "You can walk through them,|and on top of them!", 16, 17),
    say(17, "Let's try walking on top|of one right now. Build an|Up Block and walk to the end|of this tunnel.", 20, 18),
    task(18, box_closed, {
        advance(all_keys(action_key).with_looking_up(flag_set)),
        show(any_key(down_key), "No. Build an Up Block,|not a Down Block.", 19),
        show(any_key(left_key | right_key), "No. Don't walk around!|Just try to get on top of|this tunnel.", 19),
    }, 19),
    task(19, box_closed_no_animation, {
        show(player_cell(6, 8).with_key(action_key).with_looking_up(flag_set), "Walk to the end of this|tunnel first...", 19),
        advance(player_cell(13, 8), "Great!^^^^^^^^^^^^^^^^^^^^^^ Did you notice?|You can build blocks while on top|of a tunnel!", 19),
    }, 20),
    say(20, "Tunnels actually are a surface that|I can draw Dream Power from.|This allows me to build blocks|while standing on top of Tunnels.", 20, 21),
    say(21, "Give it a try if you haven't already|and make your way back to the|tunnel entrance.", 19, 22),
    task(22, box_closed, {
        advance(player_cell(6, 9), "Okay! Good Job!", 19),
    }, 23),
    say(23, "Now go ahead and walk through this|tunnel. Feel free to experiment with|building blocks.", 20, 24),
    say(24, "Once you're done head to the|right end of the tunnel.", 19, 25),
    // The tunnel's right end: the tunnel runs under the walk on top that ends at (13, 8).
    task(25, box_closed, {
        advance(player_cell(13, 9), "Wait!!", 19),
    }, 26),
    say(26, "Ahead of you is a \"Crumbling Block!\"|If you walk over a Crumbling Block|it will vanish forever!", 4, 27),
    say(27, "You can stand on a Crumbling Block|as long as you'd like, but once|you step off of it, it will|crumble and be no more!", 4, 28),
    say(28, "Always think out your actions when|it comes to crumbling blocks.^^^^^^^^^^^^^^^^^^^|Walk over this one and watch it|crumble!!", 4, 29),
    task(29, box_closed, {
        advance(player_cell(16, 9), "Now, to learn about the last|thing you will encounter in|my Dream World.", 20),
    }, 30),
    say(30, "Teleports!^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^|Teleports will instantly transport|me to another location once|I step inside them.", 15, 31),
    say(31, "A teleport consists of two main|parts: an entrance, and an exit.|Once I step into the entrance|I will instantly be teleported", 15, 32),
    say(32, "to its corresponding exit.", 15, 33),
    say(33, "Do you see the blue sparkles inside|the teleport? This will help you|differentiate between a teleport|entrance or exit.", 15, 34),
    say(34, "The blue sparkles float up in a|teleport entrance, and down in a|teleport exit.", 15, 35),
    say(35, "In some areas, there are more|than just one Teleport.^^^^^^^^^^^^^^^^^^ There is no|real way to tell which teleport|entrance leads to what teleport", 15, 36),
    say(36, "exit.^^^^^^^^^^^^^^^^^^^^^^^^ To find out simply walk|into the enrance.", 15, 37),
    say(37, "One more thing about teleports!", 20, 38),
    say(38, "Once you walk into a teleport|entrance, you cannot get back|through the teleport exit. Teleports|work in only one direction!", 20, 39),
    say(39, "With that said, walk into the|teleport entrance ahead and make|your way to the exit.", 19, 40),
    task(40, box_closed, {
        advance(player_cell(17, 4), "This concludes all of the tutorials.|Once you step through this exit|you will be on your own!", 19),
    }, 41),
    say(41, "I think you will do just fine!|It was fun teaching you about how|my Dream World works.|Come back any time you need help!", 20, 42),
    say(42, "Good luck on your own!", 20, 43),
};

// A key of one role is down: Allegro's entry at the player's binding for it. A binding outside the
// key array (from a damaged save file) is never down.
bool role_down(int role)
{
    static const int key_role_bits[] = {up_key, down_key, left_key, right_key, action_key};
    int *const bindings[] = {&the_player.key_up, &the_player.key_down, &the_player.key_left,
                             &the_player.key_right, &the_player.key_action};
    for (int i = 0; i < 5; i++) {
        if (key_role_bits[i] != role)
            continue;
        return scancode_down(*bindings[i]);
    }
    return false;
}

bool any_down(int roles)
{
    for (int role = 1; role <= action_key; role <<= 1)
        if ((roles & role) && role_down(role))
            return true;
    return false;
}

bool all_down(int roles)
{
    for (int role = 1; role <= action_key; role <<= 1)
        if ((roles & role) && !role_down(role))
            return false;
    return true;
}

bool flag_matches(flag_test test, int flag)
{
    return test == flag_any || (test == flag_set) == (flag != 0);
}

bool cell_matches(const cell_test &test)
{
    if (test.column == not_tested)
        return true;
    if (test.column < 0 || test.column >= map_width || test.row < 0 || test.row >= map_height)
        return false;
    const bool holds = the_map.block_layer[test.column][test.row] == test.code;
    return holds == (test.equal != 0);
}

bool holds(const lesson_condition &c)
{
    const player &p = the_player;
    if (c.any_keys && !any_down(c.any_keys))
        return false;
    if (!all_down(c.all_keys))
        return false;
    if (!flag_matches(c.looking_up, p.up) || !flag_matches(c.ducking, p.ducking) || !flag_matches(c.falls, p.falling))
        return false;
    if (c.x != not_tested && p.x != c.x)
        return false;
    if (c.facing != not_tested && p.facing != c.facing)
        return false;
    // The player's cell: the division truncates.
    if (c.cell_x != not_tested && (p.x / cell_size != c.cell_x || p.y / cell_size != c.cell_y))
        return false;
    if (!cell_matches(c.cells[0]) || !cell_matches(c.cells[1]))
        return false;
    return !c.no_block_animation || the_build_block_anim.empty();
}

bool gate_open(lesson_gate gate)
{
    switch (gate) {
    case box_closed:
        return !the_message.active_state();
    case movie_over:
        return !do_play_script;
    case box_closed_no_animation:
        return !the_message.active_state() && the_build_block_anim.empty();
    case no_gate:
        break;
    }
    return true;
}

void act(const lesson_clause &clause, int next)
{
    if (clause.text)
        the_message.set(clause.text, 0, 0, 0, clause.portrait);
    if (clause.controls == controls_on)
        the_player.controls = -1;
    else if (clause.controls == controls_off)
        the_player.controls = 0;
    if (clause.advances)
        tutorial_switch = next;
}

// The movie's path is the lesson's directory followed by its name, cut to the buffer if need be.
void play_movie(const char *movie)
{
    char path[256];
    std::snprintf(path, sizeof(path), "%s%s", loader_directory, movie);
    load_auto_script_no_dialog(path);
}

// One tick of a lesson: the step of the current state only; a state number with no step does nothing.
void run_lesson(const std::vector<lesson_state> &lesson)
{
    for (const lesson_state &state : lesson) {
        if (state.number != tutorial_switch)
            continue;
        if (!gate_open(state.gate))
            return;
        if (state.movie) {
            play_movie(state.movie);
            tutorial_switch = state.next;
            return;
        }
        for (const lesson_clause &clause : state.clauses) {
            if (holds(clause.when)) {
                act(clause, state.next);
                return;
            }
        }
        return;
    }
}

} // namespace

void check_tutorial_1()
{
    run_lesson(lesson_1);
}

void check_tutorial_2()
{
    run_lesson(lesson_2);
}

void check_tutorial_3()
{
    run_lesson(lesson_3);
}

void check_tutorial_4()
{
    run_lesson(lesson_4);
}

void check_tutorial_lesson()
{
    static void (*const checks[4])() = {check_tutorial_1, check_tutorial_2, check_tutorial_3, check_tutorial_4};
    if (tutorial_number >= 1 && tutorial_number <= 4)
        checks[tutorial_number - 1]();
}
