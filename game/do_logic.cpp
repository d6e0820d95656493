// One logic step of play and the global in-play keys, in their fixed order.
#include "do_logic.h"
#include <allegro.h>
#include "auto_script.h"
#include "credits_screen.h"
#include "do_drawing.h"
#include "key_latch.h"
#include "map.h"
#include "message.h"
#include "music.h"
#include "player.h"
#include "save_load_screen.h"
#include "screen_effect.h"
#include "screenshot.h"
#include "show_map_name.h"
#include "title_screen.h"
#include "tutorial.h"

int key_esc_down = 0;
int key_m_down = 0;
int key_f1_down = 0;

void do_logic()
{
    check_tutorial_lesson();
    if (map_name_showing())
        process_map_name();
    process_keys();
    the_player.do_logic();
    record_script();
    play_script();
    check_change_music();
    the_map.animate();
    the_message.calculate();
    process_credits();
}

void process_keys()
{
    if (fresh_key_press(KEY_ESC, key_esc_down, !credits_active && the_player.controls))
        title_screen();

    // A lesson can be neither saved nor restarted.
    const bool in_lesson = tutorial_number > 0;

    // The save key has no latch: held on, it opens the save screen again. A binding comes from a
    // save file the player may have edited: one outside the key array is never down.
    if (scancode_down(the_player.key_save) && !in_lesson)
        save_game_screen();

    // Restart: Pim fades out first, and the map is reloaded once the fade has ended.
    if (fresh_key_press(the_player.key_restart, the_map.restart_key_down,
                        !in_lesson && !the_player.teleport_anim_in_progress())) {
        the_player.init_out_teleport_anim();
        the_map.restart_pending = -1;
    }
    if (the_map.restart_pending && !the_player.teleport_anim_in_progress()) {
        the_map.restart_pending = 0;
        screen_blocks(buffer);
        the_map.restart();
        // A key still held does not restart again.
        the_map.restart_key_down = -1;
    }

    if (fresh_key_press(the_player.key_music, key_m_down))
        change_music();

    // The buffer still holds the last frame drawn, so the shot shows what is on screen.
    if (fresh_key_press(KEY_F1, key_f1_down))
        screenshot(buffer);
}
