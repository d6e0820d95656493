// Renders every entry of every data file into one contact sheet per file, for looking at the art.
#include <allegro.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char *const files[] = {"d_player", "d_tiles", "d_build_tiles", "d_sounds", "d_backgrounds",
                             "d_system", "d_portraits", "d_data"};
const int sheet_width = 1320;

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
    packfile_password("Oct1709");
    DATAFILE *dat = load_datafile(path.c_str());
    packfile_password(nullptr);
    if (!dat) {
        std::fprintf(stderr, "cannot load %s\n", path.c_str());
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
            w = std::max(b->w * scale, 160);
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
            if (b->h == 32 && b->w > 32 && b->w % 32 == 0)
                for (int f = 1; f < b->w / 32; f++)
                    vline(out, p.x + f * 32 * p.scale, p.y + 12, p.y + 11 + bh, makecol(255, 255, 0));
        } else if (dat[i].type == DAT_FONT) {
            FONT *f = static_cast<FONT *>(dat[i].dat);
            textout_ex(out, f, "The quick brown fox jumps over the lazy dog 0123456789 !?.,", p.x, p.y + 12, makecol(255, 255, 255), -1);
            rectfill(out, p.x, p.y + 14 + text_height(f), p.x + p.w, p.y + 14 + 2 * text_height(f), makecol(214, 204, 242));
            textout_ex(out, f, "KEY PAD ENTER  Pim's Slumberia  ABCDEFGHIJKLMNOPQRSTUVWXYZ", p.x, p.y + 14 + text_height(f), makecol(0, 0, 0), -1);
        }
    }
    std::string target = out_dir + "/" + file + ".bmp";
    save_bmp(target.c_str(), out, nullptr);
    std::printf("%s\n", target.c_str());
    destroy_bitmap(out);
    unload_datafile(dat);
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
    return 0;
}
