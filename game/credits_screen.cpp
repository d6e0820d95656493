// The credits scroller: its text table, the rise of the text, the end of the credits, and the column it draws.
#include "credits_screen.h"
#include <allegro.h>
#include "auto_script.h"
#include "datafiles.h"
#include "player.h"
#include "title_screen.h"

int credits_active = 0;
int credits_done = 0;
int credits_y_pos = credits_start_y;
int credits_x_pos = credits_start_x;

// Colours of the text by role, as the red, green, blue of a line.
#define TITLE_BLUE 0, 100, 200
#define STUDIO_VIOLET 199, 150, 232
#define HEADING_CYAN 0, 255, 255
#define WHITE 255, 255, 255
#define LAST_BLUE 100, 155, 215

const credits_line credits_lines[credits_line_count] = {
    {"     Thank you for playing", TITLE_BLUE},
    {"          Pim's Slumberia", TITLE_BLUE},
    {"", WHITE},
    {"             presented by", WHITE},
    {"    the Pim's Slumberia team", STUDIO_VIOLET},
    {"", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"", WHITE},
    // 14: the five roles
    {"Production, Design and Levels:", HEADING_CYAN},
    {"  the Pim's Slumberia team", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"Programming:", HEADING_CYAN},
    {"  the Pim's Slumberia team", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"Art:", HEADING_CYAN},
    {"  the Pim's Slumberia team", WHITE},
    {"  (every picture drawn in code)", WHITE},
    {"", WHITE},
    {"Character Art:", HEADING_CYAN},
    {"  the Pim's Slumberia team", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"Music and Sound:", HEADING_CYAN},
    {"  the Pim's Slumberia team", WHITE},
    {"", WHITE},
    {"", WHITE},
    // 34: the thanks
    {"Special Thanks:", HEADING_CYAN},
    {"(in no particular order)", WHITE},
    {"", WHITE},
    {"  Pim", WHITE},
    {"  Tod", WHITE},
    {"  every Standing Block", WHITE},
    {"  every Up Block", WHITE},
    {"  every Down Block", WHITE},
    {"", WHITE},
    {"Thanks to our families", WHITE},
    {"for their patience while", WHITE},
    {"we fell asleep over the", WHITE},
    {"keyboard, night after", WHITE},
    {"night after night.", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"Thanks to the on-line", WHITE},
    {"community of players", WHITE},
    {"for all their feedback", WHITE},
    {"on the early dreams", WHITE},
    {"and the tricky levels.", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"Thanks to everyone who", WHITE},
    {"wrote to us, with kind", WHITE},
    {"words, bug reports and", WHITE},
    {"more level ideas than", WHITE},
    {"we could ever dream up.", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"Beta Testers:", WHITE},
    {"  every night owl", WHITE},
    {"  every early bird", WHITE},
    {"  every afternoon napper", WHITE},
    {"  every daydreamer", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"And thanks to everybody", WHITE},
    {"else who helped this", WHITE},
    {"little dream come", WHITE},
    {"true.", WHITE},
    {"", WHITE},
    {"Thank you all!", WHITE},
    // 77: a long gap before the last word
    {"", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"     Thank you for playing!", WHITE},
    {"", WHITE},
    {"", WHITE},
    {"", LAST_BLUE},
};

#undef TITLE_BLUE
#undef STUDIO_VIOLET
#undef HEADING_CYAN
#undef WHITE
#undef LAST_BLUE

void reset_credits()
{
    credits_active = 0;
    credits_done = 0;
    credits_y_pos = credits_start_y;
    credits_x_pos = credits_start_x;
}

void process_credits()
{
    if (credits_done && !the_player.teleport_anim_in_progress()) {
        game_in_progress = 0;
        reset_credits();
        title_screen();
    }
    if (!credits_active)
        return;
    if (credits_y_pos > credits_stop_y)
        credits_y_pos--;
    // The credits end at whichever comes later: the end of the text or the end of the movie.
    if (credits_y_pos <= credits_stop_y && !do_play_script) {
        if (!the_player.teleport_anim_in_progress())
            the_player.init_out_teleport_anim();
        credits_done = -1;
    }
}

void draw_credits(BITMAP *bmp)
{
    if (!credits_active)
        return;
    rectfill(bmp, 320, 0, 640, 480, makecol(0, 0, 0));
    FONT *text_font = system_font(credits_font);
    const int h = text_height(text_font);
    for (int i = 0; i < credits_line_count; i++) {
        const int y = credits_y_pos + i * h;
        if (y <= -h)
            continue;
        // The rest lies below the bottom edge.
        if (y >= bmp->h)
            break;
        const credits_line &line = credits_lines[i];
        textprintf_ex(bmp, text_font, credits_x_pos, y, makecol(line.red, line.green, line.blue), -1, "%s",
                      line.text);
    }
}
