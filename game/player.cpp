// Pim's logic and drawing: walking, falling, building and breaking blocks, teleports, fades, blinking, the exit.
#include "player.h"
#include <allegro.h>
#include <climits>
#include <cstring>
#include "auto_script.h"
#include "building_block.h"
#include "credits_screen.h"
#include "datafiles.h"
#include "do_drawing.h"
#include "ending_screen.h"
#include "game_quit.h"
#include "intermission_screen.h"
#include "key_latch.h"
#include "level_set_screen.h"
#include "map.h"
#include "message.h"
#include "music.h"
#include "randomize.h"
#include "screen_effect.h"
#include "show_map_name.h"
#include "title_screen.h"
#include "tutorial.h"
#include "text_mode_message.h"

player the_player;
int build_key_down = 0;

namespace {

// Sprite slots: what each one shows.
const int slot_ducking = 0;
const int slot_up = 1;
const int slot_climbing = 2;
const int slot_standing = 3;
const int slot_walking = 4;    // 4..10, one per walk frame
const int slot_falling = 11;
const int slot_teleport = 12;  // 12..18, one per fade frame
const int last_fade_frame = 6;

// The d_player entry each slot starts with; the three blink slots are swapped by do_blink.
const int slot_images[19] = {1, 13, 4, 5, 15, 16, 17, 18, 19, 20, 21, 3, 6, 7, 8, 9, 10, 11, 12};

// Blink variants: slot, open-eyed image, shut-eyed image.
struct blink_image {
    int slot;
    int open;
    int shut;
};
const blink_image blink_images[] = {
    {slot_up, 13, 14},
    {slot_ducking, 1, 2},
    {slot_standing, 5, 0},
};

// d_sounds entries.
const int sound_built = 0;
const int sound_destroyed = 1;
const int sound_refused = 2;
const int sound_teleport_in = 3;
const int sound_teleport_out = 4;

// Rightmost x at which Pim stands wholly inside the grid, and the bottom of the play screen.
const int right_edge_x = (map_width - 1) * cell_size;
const int screen_bottom = map_height * cell_size;

// What a cell outside the grid reads as. No rule ever indexes the layers there: outside, nothing
// holds Pim up, nothing can be walked into and nothing can be built or destroyed.
const int off_grid = INT_MIN;

// Pixel to cell by integer division, which truncates toward zero: the pixel just left of the grid
// (-1, where Pim at x 0 looks when facing left) reads as column 0. Whole cells beyond the edge (-32
// and less) still read as outside.
int cell_of(int pixel)
{
    return pixel / cell_size;
}

bool in_grid(int column, int row)
{
    return column >= 0 && column < map_width && row >= 0 && row < map_height;
}

bool row_in_grid(int row)
{
    return row >= 0 && row < map_height;
}

int block_at(int column, int row)
{
    return in_grid(column, row) ? the_map.block_layer[column][row] : off_grid;
}

BITMAP *player_image(int entry)
{
    return d_player ? static_cast<BITMAP *>(d_player[entry].dat) : nullptr;
}

// A block animation: its strip in d_build_tiles, ticks per frame and frame count.
struct anim_kind {
    int strip;
    const int *delay;
    const int *frames;
};

void start_block_anim(const anim_kind &kind, int column, int row)
{
    the_build_block_anim.push_back(build_block_anim());
    the_build_block_anim.back().initialize(static_cast<BITMAP *>(d_build_tiles[kind.strip].dat), *kind.delay,
                                           *kind.frames, column, row);
}

// A new block animation takes the place of the one running in its cell, if any.
void replace_block_anim(const anim_kind &kind, int column, int row)
{
    for (auto it = the_build_block_anim.begin(); it != the_build_block_anim.end(); ++it) {
        if (it->x == column && it->y == row) {
            the_build_block_anim.erase(it);
            break;
        }
    }
    start_block_anim(kind, column, row);
}

const anim_kind crumble_anim = {1, &break_frame_delay, &break_frames};

// The action key's rules, one row per pose. A press tries the build; failing that, the destroy;
// failing both, it is refused.
enum pose { pose_standing, pose_down, pose_up };

struct block_rule {
    int in_front;          // target column: 1 the one Pim faces, 0 his own
    int build_row;         // target row of a build, relative to Pim's row
    int destroy_row;       // row of the block a destroy removes, relative to Pim's row
    int needs_empty;       // the build target must be an empty cell
    int needs_headroom;    // the cell above Pim is empty or a vertical tunnel, he is not in row 0
                           // and not inside a tunnel
    int restriction;       // the restriction block under Pim that forbids this kind
    int block;             // the code a build writes and a destroy needs
    int climbs;            // Pim rises onto the block he built
    anim_kind created;
    anim_kind destroyed;
};

const block_rule block_rules[] = {
    // standing: a Standing Block in front of him
    {1, 0, 0, 1, 0, blocked_still, build_still, 0,
     {7, &still_create_frame_delay, &still_create_frames}, {8, &still_destroy_frame_delay, &still_destroy_frames}},
    // down: a Down Block in front of him, one row lower
    {1, 1, 1, 1, 0, blocked_crouch, build_crouch, 0,
     {3, &crouch_create_frame_delay, &crouch_create_frames}, {4, &crouch_destroy_frame_delay, &crouch_destroy_frames}},
    // up: an Up Block in his own cell, or the Up Block under him destroyed
    {0, 0, 1, 0, -1, blocked_up, build_up, -1,
     {10, &up_create_frame_delay, &up_create_frames}, {11, &up_destroy_frame_delay, &up_destroy_frames}},
};

// Standing on these forbids every build.
const int no_build_under[] = {empty_cell, build_up, build_still, build_crouch, blocked_tile, build_break};

bool forbids_building(int under, const block_rule &rule)
{
    if (under == rule.restriction)
        return true;
    for (int code : no_build_under)
        if (under == code)
            return true;
    return false;
}

bool build_allowed(const block_rule &rule, int column, int row, int under)
{
    if (!in_grid(column, row + rule.build_row))
        return false;
    const int target = block_at(column, row + rule.build_row);
    if (rule.needs_empty && target != empty_cell)
        return false;
    if (forbids_building(under, rule))
        return false;
    if (rule.needs_headroom) {
        const int above = block_at(column, row - 1);
        if (row <= 0 || (above != empty_cell && above != tunnel_v))
            return false;
        if (target == tunnel_h || target == tunnel_v)
            return false;
    }
    return true;
}

// A teleport destination is kept close to the grid, so that its pixel position cannot overflow:
// beside or below the grid Pim lands just off the screen and falls out of it. On the left that is two
// cells out, since one cell out his trailing edge (x + 1 or x + 31, truncated) would still read
// column 0 and he could stand there out of sight. Above the grid he would stand on the top row out of
// sight, so there he lands in the top row itself.
int destination_pixel(int cell, int cells, int lowest)
{
    if (cell < 0)
        cell = lowest;
    if (cell > cells)
        cell = cells;
    return cell * cell_size;
}

bool at_pixel(int cell, int pixel)
{
    return static_cast<long long>(cell) * cell_size == pixel;
}

} // namespace

void player::init_sprites()
{
    for (int slot = 0; slot < 19; slot++)
        sprites[slot] = player_image(slot_images[slot]);
    teleport_frames = 6;
}

void player::reset_statistics()
{
    blocks_created = 0;
    blocks_destroyed = 0;
    steps_taken = 0;
    restarts = 0;
    time_ticks = 0;
    time_seconds = 0;
    time_minutes = 0;
    time_hours = 0;
}

void player::flush()
{
    falling = 0;
    ducking = 0;
    up = 0;
    walking = 0;
    break_pending = 0;
}

void player::do_logic()
{
    if (teleport_anim_in_progress())
        process_teleport_anim();
    update_bbox();
    if (!walking)
        check_teleport();
    process_teleport();
    if (!teleporting && !teleport_anim_in_progress()) {
        if (!climbing)
            check_fall();
        check_break_block();
        do_move();
        // A step that ended in this tick lets the keys act at once.
        if (!the_message.active_state() && controls && !walking && !do_play_script && !on_teleport())
            process_keys();
    }
    do_blink();
    animate();
    update_time_played();
    check_die();
    check_win();
    if (falling) {
        step = 0;
        walking = 0;
    }
}

void player::update_bbox()
{
    const int width = sprites[slot_standing] ? sprites[slot_standing]->w : cell_size;
    const int height = sprites[slot_standing] ? sprites[slot_standing]->h : cell_size;
    bbox_x1 = x;
    bbox_y1 = y;
    bbox_x2 = x + width;
    bbox_y2 = y + height;
}

void player::process_keys()
{
    // Exactly one of these runs; right wins over left.
    if (scancode_down(key_right) && step == 0) {
        process_direction_key(0);
    } else if (scancode_down(key_left) && step == 0) {
        process_direction_key(1);
    } else if (scancode_down(key_up) && !walking) {
        up = -1;
        ducking = 0;
        hold_ticks = 0;
    } else if (scancode_down(key_down) && !walking) {
        ducking = -1;
        up = 0;
        hold_ticks = 0;
    } else {
        ducking = 0;
        up = 0;
    }
    if (!scancode_down(key_left) && !scancode_down(key_right))
        hold_ticks = 0;

    process_action_key();
}

// direction: 0 right, 1 left. A fresh press the way Pim faces steps at once; the other way only
// turns him until the key has been held past hold_threshold.
void player::process_direction_key(int direction)
{
    if (hold_ticks == 0 && facing == direction)
        hold_ticks = hold_threshold + 1;

    const int room = direction == 0 ? x < right_edge_x : x > 0;
    if (!ducking && !up && !falling && !climbing && room && hold_ticks > hold_threshold) {
        // The blocked test looks the way Pim faced before this key.
        if (!check_blocked()) {
            walking = -1;
            count_step(direction);
        }
    }
    facing = direction;
    if (hold_ticks <= hold_threshold)
        hold_ticks++;
}

// A step counts when it leaves solid ground for an empty cell.
void player::count_step(int direction)
{
    const int column = cell_of(x);
    const int row = cell_of(y);
    const int ahead = direction == 0 ? column + 1 : column - 1;
    if (block_at(column, row + 1) != empty_cell && block_at(ahead, row) == empty_cell)
        steps_taken++;
}

void player::process_action_key()
{
    // Lesson 1 teaches moving only: the action key builds and destroys nothing there.
    if (!fresh_key_press(key_action, build_key_down, !walking && !falling && tutorial_number != 1))
        return;

    const pose current = (up && !climbing) ? pose_up : ducking ? pose_down : pose_standing;
    const block_rule &rule = block_rules[current];
    const int column = cell_of(x);
    const int row = cell_of(y);
    const int target = rule.in_front ? (facing == 0 ? column + 1 : column - 1) : column;
    const int under = block_at(column, row + 1);

    if (build_allowed(rule, target, row, under)) {
        const int build_row = row + rule.build_row;
        the_map.block_layer[target][build_row] = rule.block;
        if (rule.climbs)
            climbing = -1;
        replace_block_anim(rule.created, target, build_row);
        play_game_sound(sound_built);
        blocks_created++;
        return;
    }
    const int destroy_row = row + rule.destroy_row;
    if (block_at(target, destroy_row) == rule.block) {
        the_map.block_layer[target][destroy_row] = empty_cell;
        replace_block_anim(rule.destroyed, target, destroy_row);
        play_game_sound(sound_destroyed);
        blocks_destroyed++;
        return;
    }
    play_game_sound(sound_refused);
}

int player::check_blocked()
{
    // Inside a vertical tunnel there is no way sideways.
    if (block_at(cell_of(bbox_x1), cell_of(bbox_y1)) == tunnel_v)
        return -1;
    const int ahead_column = facing == 0 ? cell_of(bbox_x2 + 1) : cell_of(bbox_x1 - 1);
    const int ahead = block_at(ahead_column, cell_of(bbox_y1));
    return (ahead == empty_cell || ahead == tunnel_h) ? 0 : -1;
}

void player::do_move()
{
    if (walking && !falling) {
        if (check_blocked()) {
            walking = 0;
            step = 0;
        } else {
            x += facing == 0 ? speed : -speed;
            step += speed;
        }
        if (step > 31) {
            walking = 0;
            step = 0;
        }
    }
    if (climbing) {
        step += speed;
        y -= speed;
        up = -1;
        if (step > 31) {
            climbing = 0;
            step = 0;
            up = 0;
        }
    }
}

void player::check_fall()
{
    // The column under the trailing edge: a started step ends before Pim can fall.
    const int column = facing == 0 ? cell_of(bbox_x1 + 1) : cell_of(bbox_x2 - 1);
    const int top_row = cell_of(bbox_y1);
    const int support_row = cell_of(bbox_y2 + 1);

    if (row_in_grid(top_row) && block_at(column, top_row) == tunnel_h) {
        falling = 0;
    } else if (row_in_grid(support_row)) {
        const int below = block_at(column, support_row);
        if (below == empty_cell || below == tunnel_v || below == off_grid) {
            falling = -1;
            y += speed;
        } else {
            falling = 0;
        }
    }
    // No floor below the bottom row (nor anywhere above the grid).
    if (!row_in_grid(support_row)) {
        falling = -1;
        y += speed;
    }
}

void player::check_break_block()
{
    if (!break_pending) {
        const int column = facing == 0 ? cell_of(x) : cell_of(x + 31);
        const int row = cell_of(y + 32);
        if (row_in_grid(row) && block_at(column, row) == build_break) {
            break_pending = -1;
            break_x = column;
            break_y = row;
        } else {
            break_pending = 0;
        }
    }
    if (break_pending) {
        int outside = 0;
        for (int p = bbox_x1; p < bbox_x2; p++)
            if (cell_of(p) != break_x)
                outside++;
        if (outside > 31) {
            if (in_grid(break_x, break_y))
                the_map.block_layer[break_x][break_y] = empty_cell;
            start_block_anim(crumble_anim, break_x, break_y);
            play_game_sound(sound_destroyed);
            break_pending = 0;
        }
    }
}

void player::animate()
{
    if (!walking)
        return;
    walk_tick++;
    if (walk_tick > walk_delay) {
        walk_frame++;
        walk_tick = 0;
        if (walk_frame > 6)
            walk_frame = 0;
    }
}

void player::update_time_played()
{
    time_ticks++;
    if (time_ticks > 59) {
        time_seconds++;
        time_ticks = 0;
    }
    if (time_seconds > 59) {
        time_minutes++;
        time_seconds = 0;
    }
    if (time_minutes > 59) {
        time_hours++;
        time_minutes = 0;
    }
}

void player::check_die()
{
    // Wholly below the screen: the map comes back from its file. Not counted as a restart.
    if (y > screen_bottom) {
        screen_blocks(buffer);
        the_map.load_map(the_map.file_name);
    }
}

void player::check_win()
{
    if (!win_pending) {
        if (step == 0 && x == the_map.exit_x && y == the_map.exit_y) {
            walking = 0;
            falling = 0;
            win_pending = -1;
            controls = 0;
            init_out_teleport_anim();
        }
    } else if (!teleport_anim_in_progress()) {
        level_complete = -1;
        win_pending = 0;
    }

    if (!level_complete)
        return;

    // A lesson's exit leads back to the title menu, without intermission.
    if (tutorial_number > 0) {
        title_screen();
        level_complete = 0;
        controls = -1;
        map_name_init();
        return;
    }

    if (std::strcmp(the_map.file_name, credits_name) == 0) {
        // The credits map's own exit ends the game, and the credits with it. It is no level the
        // player played (a stopped credits movie hands Pim over), so it shows no statistics.
        reset_credits();
        game_in_progress = 0;
        title_screen();
    } else {
        intermission_screen();
        reset_statistics();
        the_build_block_anim.clear();
        break_pending = 0;
        if (std::strcmp(the_map.next_map, "end") == 0) {
            ending_screen();
            // The credits' names fit these buffers (checked where they are defined).
            std::strcpy(loader_directory, credits_location);
            std::strcpy(the_map.next_map, credits_name);
            the_map.load_map(the_map.next_map);
            credits_active = -1;
            char movie[256];
            std::strcpy(movie, credits_location);
            std::strcat(movie, credits_auto_script_name);
            load_auto_script_no_dialog(movie);
        } else {
            the_map.load_map(the_map.next_map);
        }
    }

    falling = 0;
    ducking = 0;
    up = 0;
    walking = 0;
    level_complete = 0;
    controls = -1;
    map_name_init();
}

void player::check_teleport()
{
    if (teleporting || the_map.teleports.empty())
        return;
    for (const teleport &t : the_map.teleports) {
        if (at_pixel(t.src_x, x) && at_pixel(t.src_y, y)) {
            teleport_x = destination_pixel(t.dst_x, map_width, -2);
            teleport_y = destination_pixel(t.dst_y, map_height, 0);
            walking = 0;
            step = 0;
            teleporting = -1;
            return;
        }
    }
}

int player::on_teleport()
{
    if (teleporting)
        return 0;
    const int column = cell_of(x);
    const int row = cell_of(y);
    for (const teleport &t : the_map.teleports)
        if (t.src_x == column && t.src_y == row)
            return -1;
    return 0;
}

void player::process_teleport()
{
    if (!teleporting)
        return;
    if (!teleport_out_started) {
        // A fade already running (a level that starts on an entrance) is let finish first.
        if (!teleport_anim_in_progress()) {
            init_out_teleport_anim();
            teleport_out_started = -1;
        }
    } else if (!teleport_anim_in_progress()) {
        x = teleport_x;
        y = teleport_y;
        init_in_teleport_anim();
        teleport_out_started = 0;
        teleporting = 0;
    }
}

void player::init_out_teleport_anim()
{
    teleport_tick = 0;
    teleport_frame = 0;
    teleport_out = -1;
    teleport_anim = -1;
    controls = 0;
    play_game_sound(sound_teleport_out);
}

void player::init_in_teleport_anim()
{
    teleport_tick = 0;
    teleport_frame = teleport_frames;
    teleport_in = -1;
    teleport_anim = -1;
    controls = 0;
    // Lessons arrive silently.
    if (tutorial_number <= 0)
        play_game_sound(sound_teleport_in);
}

int player::teleport_anim_in_progress()
{
    return teleport_anim;
}

void player::process_teleport_anim()
{
    if (teleport_in)
        process_in_teleport_anim();
    else if (teleport_out)
        process_out_teleport_anim();
}

void player::process_out_teleport_anim()
{
    teleport_tick++;
    alpha -= alpha_step;
    if (alpha < 0)
        alpha = 0;
    if (teleport_tick >= teleport_delay) {
        teleport_frame++;
        if (teleport_frame >= teleport_frames) {
            teleport_out = 0;
            teleport_anim = 0;
            controls = -1;
        }
        teleport_tick = 0;
    }
}

void player::process_in_teleport_anim()
{
    teleport_tick++;
    alpha += alpha_step;
    if (alpha > 255)
        alpha = 255;
    if (teleport_tick >= teleport_delay) {
        teleport_frame--;
        if (teleport_frame <= 0) {
            teleport_in = 0;
            teleport_anim = 0;
            controls = -1;
        }
        teleport_tick = 0;
    }
}

void player::set_blink_sprites(int blink)
{
    for (const blink_image &image : blink_images)
        sprites[image.slot] = player_image(blink ? image.shut : image.open);
}

void player::do_blink()
{
    if (!walking && !falling) {
        blink_tick++;
        if (blink_tick > blink_interval)
            blinking = -1;
    }
    if (blinking) {
        set_blink_sprites(-1);
        blink_tick++;
        if (blink_tick > blink_duration + blink_interval) {
            set_blink_sprites(0);
            blinking = 0;
            blink_tick = 0;
            blink_interval = randomize(120, 500);
        }
    }
}

void player::draw(BITMAP *target)
{
    if (teleporting || teleport_anim_in_progress()) {
        int frame = teleport_frame;
        if (frame < 0)
            frame = 0;
        if (frame > last_fade_frame)
            frame = last_fade_frame;
        BITMAP *sprite = sprites[slot_teleport + frame];
        if (!sprite)
            return;
        set_trans_blender(255, 255, 255, alpha);
        if (facing == 0) {
            draw_trans_sprite(target, sprite, x, y);
            return;
        }
        // Allegro has no mirrored translucent sprite: mirror into a scratch bitmap first.
        BITMAP *flipped = create_bitmap(cell_size, cell_size);
        if (!flipped) {
            quit_with_message("Could not create hflip temp for\\nplayer!");
        }
        clear_to_color(flipped, makecol(255, 0, 255));
        draw_sprite_h_flip(flipped, sprite, 0, 0);
        draw_trans_sprite(target, flipped, x, y);
        destroy_bitmap(flipped);
        return;
    }

    int slot = slot_standing;
    if (falling)
        slot = slot_falling;
    else if (walking)
        slot = slot_walking + walk_frame;
    else if (climbing)
        slot = slot_climbing;
    else if (up)
        slot = slot_up;
    else if (ducking)
        slot = slot_ducking;
    BITMAP *sprite = sprites[slot];
    if (!sprite)
        return;
    if (facing == 0)
        draw_sprite(target, sprite, x, y);
    else
        draw_sprite_h_flip(target, sprite, x, y);
}
