// Renders every entry of every data file into one contact sheet per file, for looking at the art.
#include <allegro.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>
#include "datafile_table.h"

extern char **environ;

namespace {

const char *const files[] = {"d_player", "d_tiles", "d_build_tiles", "d_sounds", "d_backgrounds",
                             "d_system", "d_portraits", "d_data"};
const int sheet_width = 1320;
int the_failures = 0; // sheets that could not be written as PNG

// Writes a bitmap as PNG: Allegro saves a BMP beside it, ImageMagick's convert turns that into the PNG
// and the BMP is removed. If convert is missing or fails, the BMP stays and the failure is counted.
void save_png(const std::string &png, BITMAP *b)
{
    std::string bmp = png.substr(0, png.size() - 4) + ".bmp";
    if (save_bmp(bmp.c_str(), b, nullptr) != 0) {
        std::fprintf(stderr, "cannot write %s\n", bmp.c_str());
        the_failures++;
        return;
    }
    const char *args[] = {"convert", bmp.c_str(), "-strip", png.c_str(), nullptr};
    pid_t pid;
    int status = -1;
    if (posix_spawnp(&pid, "convert", nullptr, nullptr, const_cast<char *const *>(args), environ) != 0 ||
        waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "cannot convert %s to PNG (is ImageMagick's convert installed?); left the BMP\n",
                     bmp.c_str());
        the_failures++;
        return;
    }
    std::remove(bmp.c_str());
    std::printf("%s\n", png.c_str());
}

struct placed {
    int x, y, w, h, scale;
};

// A checkerboard under every picture, so see-through parts show as such.
void checker(BITMAP *b, int x, int y, int w, int h)
{
    for (int j = 0; j < h; j += 8)
        for (int i = 0; i < w; i += 8) {
            int c = ((i / 8 + j / 8) % 2) ? makecol(90, 90, 100) : makecol(130, 130, 140);
            rectfill(b, x + i, y + j, std::min(x + i + 7, x + w - 1), std::min(y + j + 7, y + h - 1), c);
        }
}

std::string describe(const DATAFILE &d, int index)
{
    char text[160];
    const char *name = get_datafile_property(&d, DAT_NAME);
    switch (d.type) {
    case DAT_BITMAP: {
        BITMAP *b = static_cast<BITMAP *>(d.dat);
        std::snprintf(text, sizeof text, "%d %s %dx%d", index, name, b->w, b->h);
        break;
    }
    case DAT_FONT:
        std::snprintf(text, sizeof text, "%d %s FONT h=%d", index, name, text_height(static_cast<FONT *>(d.dat)));
        break;
    case DAT_SAMPLE: {
        SAMPLE *s = static_cast<SAMPLE *>(d.dat);
        std::snprintf(text, sizeof text, "%d %s SAMPLE %d bit %d Hz %.2f s", index, name, s->bits, s->freq,
                      double(s->len) / (s->freq ? s->freq : 1));
        break;
    }
    case DAT_MIDI:
        std::snprintf(text, sizeof text, "%d %s MIDI", index, name);
        break;
    default:
        std::snprintf(text, sizeof text, "%d %s type %08x", index, name, unsigned(d.type));
        break;
    }
    return text;
}

void sheet(const std::string &in_dir, const std::string &out_dir, const char *file)
{
    std::string path = in_dir + "/" + file + ".dat";
    packfile_password(datafile_password);
    DATAFILE *dat = load_datafile(path.c_str());
    packfile_password(nullptr);
    if (!dat) {
        std::fprintf(stderr, "cannot load %s\n", path.c_str());
        the_failures++;
        return;
    }
    // Lay the entries out in rows first, then draw.
    std::vector<placed> at;
    int x = 8, y = 8, row_h = 0;
    for (int i = 0; dat[i].type != DAT_END; i++) {
        int w = 420, h = 14, scale = 1;
        if (dat[i].type == DAT_BITMAP) {
            BITMAP *b = static_cast<BITMAP *>(dat[i].dat);
            scale = b->h <= 64 ? std::max(1, std::min(4, (sheet_width - 16) / b->w)) : 1;
            // Wide enough for the label too, so names never run into the next picture.
            w = std::max(b->w * scale, text_length(font, describe(dat[i], i).c_str()) + 4);
            h = b->h * scale + 12;
        } else if (dat[i].type == DAT_FONT) {
            FONT *f = static_cast<FONT *>(dat[i].dat);
            w = std::min(sheet_width - 16, std::max(400, text_length(f, "The quick brown fox jumps over the lazy dog 0123456789 !?.,") + 8));
            h = text_height(f) * 2 + 16;
        }
        if (x + w > sheet_width - 8) {
            x = 8;
            y += row_h + 10;
            row_h = 0;
        }
        at.push_back({x, y, w, h, scale});
        x += w + 10;
        row_h = std::max(row_h, h);
    }
    BITMAP *out = create_bitmap(sheet_width, y + row_h + 10);
    clear_to_color(out, makecol(24, 26, 40));
    for (int i = 0; dat[i].type != DAT_END; i++) {
        const placed &p = at[i];
        textout_ex(out, font, describe(dat[i], i).c_str(), p.x, p.y, makecol(255, 255, 255), -1);
        if (dat[i].type == DAT_BITMAP) {
            BITMAP *b = static_cast<BITMAP *>(dat[i].dat);
            int bw = b->w * p.scale, bh = b->h * p.scale;
            checker(out, p.x, p.y + 12, bw, bh);
            masked_stretch_blit(b, out, 0, 0, b->w, b->h, p.x, p.y + 12, bw, bh);
            // Frame boundaries of strips.
            if (std::string(file) == "d_build_tiles" && b->h == 32 && b->w > 32 && b->w % 32 == 0)
                for (int f = 1; f < b->w / 32; f++)
                    vline(out, p.x + f * 32 * p.scale, p.y + 12, p.y + 11 + bh, makecol(255, 255, 0));
        } else if (dat[i].type == DAT_FONT) {
            FONT *f = static_cast<FONT *>(dat[i].dat);
            textout_ex(out, f, "The quick brown fox jumps over the lazy dog 0123456789 !?.,", p.x, p.y + 12, makecol(255, 255, 255), -1);
            rectfill(out, p.x, p.y + 14 + text_height(f), p.x + p.w, p.y + 14 + 2 * text_height(f), makecol(214, 204, 242));
            textout_ex(out, f, "KEY PAD ENTER  Pim's Slumberia  ABCDEFGHIJKLMNOPQRSTUVWXYZ", p.x, p.y + 14 + text_height(f), makecol(0, 0, 0), -1);
        }
    }
    save_png(out_dir + "/" + file + ".png", out);
    destroy_bitmap(out);
    unload_datafile(dat);
}

// ---- Mock screens: the entries put together where the game puts them ----

BITMAP *bmp_of(DATAFILE *d, int i) { return static_cast<BITMAP *>(d[i].dat); }
FONT *font_of(DATAFILE *d, int i) { return static_cast<FONT *>(d[i].dat); }

void frame_box(BITMAP *out, DATAFILE *sys, int x, int y, int w, int h)
{
    BITMAP *l = bmp_of(sys, 21), *r = bmp_of(sys, 22), *t = bmp_of(sys, 23), *b = bmp_of(sys, 19);
    stretch_blit(l, out, 0, 0, l->w, l->h, x - l->w, y, l->w, h);
    stretch_blit(r, out, 0, 0, r->w, r->h, x + w, y, r->w, h);
    stretch_blit(t, out, 0, 0, t->w, t->h, x, y - t->h, w, t->h);
    stretch_blit(b, out, 0, 0, b->w, b->h, x, y + h, w, b->h);
    draw_sprite(out, bmp_of(sys, 24), x - bmp_of(sys, 24)->w, y - bmp_of(sys, 24)->h);
    draw_sprite(out, bmp_of(sys, 18), x - bmp_of(sys, 18)->w, y + h);
    draw_sprite(out, bmp_of(sys, 25), x + w, y - bmp_of(sys, 25)->h);
    draw_sprite(out, bmp_of(sys, 20), x + w, y + h);
}

void menu_back(BITMAP *s, DATAFILE *bg, DATAFILE *sys, int heading)
{
    blit(bmp_of(bg, 1), s, 0, 0, 0, 0, 640, 480);
    draw_sprite(s, bmp_of(sys, 39), 640 - bmp_of(sys, 39)->w, 0);
    draw_sprite(s, bmp_of(sys, 40), 10, 10);
    if (heading >= 0)
        draw_sprite(s, bmp_of(sys, heading), 0, heading == 14 ? 100 : 120);
    set_trans_blender(255, 255, 255, 75);
    draw_trans_sprite(s, bmp_of(sys, 0), 0, 470);
    textout_ex(s, font, "Version 1.02", 0, 460, makecol(0, 0, 0), -1);
    textout_ex(s, font, "Thank you for playing Pim's Slumberia 1.02!", 100, 471, makecol(255, 255, 255), -1);
}

void mock_screens(const std::string &in_dir, const std::string &out_dir)
{
    auto load = [&](const char *f) {
        packfile_password(datafile_password);
        DATAFILE *d = load_datafile((in_dir + "/" + f + ".dat").c_str());
        packfile_password(nullptr);
        return d;
    };
    DATAFILE *sys = load("d_system"), *bg = load("d_backgrounds"), *por = load("d_portraits");
    DATAFILE *tiles = load("d_tiles"), *build = load("d_build_tiles"), *pl = load("d_player");
    if (!sys || !bg || !por || !tiles || !build || !pl) {
        std::fprintf(stderr, "cannot load the data files for the mock screens from %s\n", in_dir.c_str());
        the_failures++;
        for (DATAFILE *d : {sys, bg, por, tiles, build, pl})
            if (d)
                unload_datafile(d);
        return;
    }
    BITMAP *out = create_bitmap(1300, 1460);
    clear_to_color(out, makecol(24, 26, 40));
    BITMAP *s = create_bitmap(640, 480);
    const int white = makecol(255, 255, 255), black = makecol(0, 0, 0);

    // Title menu with a game in progress, and the box that warns about losing it.
    menu_back(s, bg, sys, -1);
    draw_sprite(s, bmp_of(sys, 38), 100, 168);
    draw_sprite(s, bmp_of(sys, 4), 68, 168 + 32 * 2);
    BITMAP *box = create_bitmap(400, 200);
    clear_to_color(box, makecol(141, 147, 197));
    FONT *f8 = font_of(sys, 8);
    textout_centre_ex(box, f8, "The current game in", 200, 5, white, -1);
    textout_centre_ex(box, f8, "progress will be lost!", 200, text_height(f8) + 5, white, -1);
    textout_centre_ex(box, f8, "Are you sure?", 200, 2 * text_height(f8) + 10, white, -1);
    frame_box(s, sys, 120, 140, 400, 200);
    blit(box, s, 0, 0, 120, 140, 400, 200);
    BITMAP *button = bmp_of(sys, 2);
    draw_sprite(s, bmp_of(sys, 1), 320 - 100 - button->w / 2, 290);
    draw_sprite(s, button, 320 + 100 - button->w / 2, 290);
    textout_centre_ex(s, f8, "Yes", 220, 290 + button->h / 2 - text_height(f8) / 2, white, -1);
    textout_centre_ex(s, f8, "No", 420, 290 + button->h / 2 - text_height(f8) / 2, white, -1);
    blit(s, out, 0, 0, 8, 8, 640, 480);
    destroy_bitmap(box);

    // Key configuration.
    menu_back(s, bg, sys, 14);
    draw_sprite(s, bmp_of(sys, 13), 100, 180);
    draw_sprite(s, bmp_of(sys, 4), 68, 180 + 32 * 4);
    const char *keys[] = {"UP", "DOWN", "LEFT", "RIGHT", "SPACE", "R", "KEY PAD ENTER", "S"};
    for (int i = 0; i < 8; i++)
        textout_ex(s, font_of(sys, 12), keys[i], 200, 180 + 32 * i, black, -1);
    blit(s, out, 0, 0, 652, 8, 640, 480);

    // A list screen over a map background.
    blit(bmp_of(bg, 2), s, 0, 0, 0, 0, 640, 480);
    masked_blit(bmp_of(sys, 16), s, 0, 0, 0, 0, 640, 480);
    textout_centre_ex(s, font_of(sys, 15), "Load Game", 320, 0, white, -1);
    textout_centre_ex(s, f8, "Load From Which Slot?", 320, 50, white, -1);
    BITMAP *row = bmp_of(sys, 35);
    int rx = 320 - row->w / 2;
    const char *names[] = {"1: Over The Pillow Hills And Awayy", "2: The First Step", "3: Crumbling Stars", "4: Moonlit Steps"};
    for (int p = 0; p < 4; p++) {
        int ry = 130 + 80 * p;
        draw_sprite(s, bmp_of(sys, p == 1 ? 36 : 35), rx, ry);
        int ty = ry + row->h / 2 - text_height(f8) / 2;
        textout_ex(s, f8, names[p], rx + 10, ty, white, -1);
        textout_ex(s, font, "Level Set: Original Levels", rx + 30, ty + 38, white, -1);
    }
    draw_sprite(s, bmp_of(sys, 27), 320 - bmp_of(sys, 27)->w / 2, 455);
    draw_sprite_v_flip(s, bmp_of(sys, 27), 320 - bmp_of(sys, 27)->w / 2, 100);
    blit(s, out, 0, 0, 8, 496, 640, 480);

    // Play: a small map, Pim, the message box with a portrait and the map-name banner.
    blit(bmp_of(bg, 4), s, 0, 0, 0, 0, 640, 480);
    for (int x = 0; x < 20; x++) {
        int t = x == 0 ? 7 : (x == 19 ? 15 : 11);
        masked_blit(bmp_of(tiles, t + (x > 9 ? 32 : 0)), s, 0, 0, x * 32, 9 * 32, 32, 32);
        masked_blit(bmp_of(tiles, 5), s, 0, 0, x * 32, 12 * 32, 32, 32);
    }
    masked_blit(bmp_of(tiles, 55), s, 0, 0, 4 * 32, 8 * 32, 32, 32);
    masked_blit(bmp_of(tiles, 53), s, 0, 0, 13 * 32, 6 * 32, 32, 32);
    masked_blit(bmp_of(build, 9), s, 0, 0, 6 * 32, 8 * 32, 32, 32);
    masked_blit(bmp_of(build, 5), s, 0, 0, 8 * 32, 8 * 32, 32, 32);
    masked_blit(bmp_of(build, 0), s, 0, 0, 10 * 32, 8 * 32, 32, 32);
    masked_blit(bmp_of(build, 16), s, 0, 0, 14 * 32, 8 * 32, 32, 32);
    for (int i = 0; i < 5; i++) {
        BITMAP *tmp = create_bitmap(32, 32);
        blit(bmp_of(build, 12), tmp, ((i + 1) % 8) * 32, 0, 0, 0, 32, 32);
        set_trans_blender(255, 255, 255, 51 * (i + 1));
        draw_trans_sprite(s, tmp, 18 * 32, 8 * 32);
        destroy_bitmap(tmp);
    }
    draw_sprite(s, bmp_of(pl, 5), 3 * 32, 8 * 32);
    draw_sprite_h_flip(s, bmp_of(pl, 17), 12 * 32, 8 * 32);
    set_trans_blender(255, 255, 255, 225);
    draw_trans_sprite(s, bmp_of(sys, 28), 53, 317);
    masked_blit(bmp_of(sys, 29), s, 0, 0, 53, 317, 530, 146);
    FONT *f30 = font_of(sys, 30);
    const char *lines[] = {"Dreamers, this little one creates|", "an intricate world where everything", "is held together by what is", "known as Dream Power."};
    for (int i = 0; i < 4; i++)
        textout_ex(s, f30, lines[i], 53 + 5, 317 + 5 + i * text_height(f30), black, -1);
    draw_sprite(s, bmp_of(por, 19), 53, 316 - bmp_of(por, 19)->h);
    draw_sprite(s, bmp_of(sys, 27), 546, 452);
    FONT *f15 = font_of(sys, 15);
    const char *title = "The First Step";
    int w = text_length(f15, title), h = text_height(f15);
    BITMAP *plate = create_bitmap(w, h);
    clear_to_color(plate, makecol(141, 147, 197));
    textout_ex(plate, f15, title, 0, 0, black, -1);
    frame_box(s, sys, 320 - w / 2, 120 - h / 2, w, h);
    blit(plate, s, 0, 0, 320 - w / 2, 120 - h / 2, w, h);
    destroy_bitmap(plate);
    blit(s, out, 0, 0, 652, 496, 640, 480);

    // Intermission over a map background.
    blit(bmp_of(bg, 6), s, 0, 0, 0, 0, 640, 480);
    masked_blit(bmp_of(sys, 7), s, 0, 0, 0, 0, 640, 480);
    const char *stats[] = {"Stats", "Time Spent: 00:03:27", "Blocks Created: 12", "Blocks Destroyed: 4", "Steps Taken: 311", "Restarts: 2"};
    textout_centre_ex(s, f8, "Congratulations!", 320, 0, white, -1);
    textout_centre_ex(s, f8, "You Have Completed The Level!", 320, 40, white, -1);
    for (int i = 0; i < 6; i++)
        textout_centre_ex(s, f8, stats[i], 320, 190 + 40 * i, white, -1);
    textout_centre_ex(s, f8, "Hit Enter To Proceed", 320, 440, white, -1);
    blit(s, out, 0, 0, 8, 984, 640, 480);

    // Options.
    menu_back(s, bg, sys, 34);
    BITMAP *labels = bmp_of(sys, 32);
    draw_sprite(s, labels, 100, 200);
    draw_sprite(s, bmp_of(sys, 4), 68, 232);
    for (int n = 1; n <= 5; n++)
        draw_sprite(s, bmp_of(sys, 6), 100 + labels->w + 32 * n, 200);
    for (int n = 1; n <= 3; n++)
        draw_sprite(s, bmp_of(sys, 6), 100 + labels->w + 32 * n, 232);
    draw_sprite(s, bmp_of(sys, 33), 100 + labels->w + 32, 264);
    blit(s, out, 0, 0, 652, 984, 640, 480);

    save_png(out_dir + "/screens.png", out);
    destroy_bitmap(s);
    destroy_bitmap(out);
    for (DATAFILE *d : {sys, bg, por, tiles, build, pl})
        unload_datafile(d);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DATA_DIR OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        return 1;
    set_color_depth(32);
    for (const char *f : files)
        sheet(argv[1], argv[2], f);
    mock_screens(argv[1], argv[2]);
    return the_failures ? 1 : 0;
}
