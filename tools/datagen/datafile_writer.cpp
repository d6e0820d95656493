// The data-file format: big-endian headers, one uncompressed chunk per object, the whole file packed.
#include "datafile_writer.h"
#include "paint.h"
#include <allegro.h>
#include <cstdio>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace {

struct bytes {
    std::vector<uint8_t> v;
    void b(int x) { v.push_back(uint8_t(x & 0xff)); }
    void w(int x) { b(x >> 8); b(x); }
    void l(uint32_t x) { b(int(x >> 24)); b(int(x >> 16)); b(int(x >> 8)); b(int(x)); }
    void iw(int x) { b(x); b(x >> 8); }
};

} // namespace

void datafile_builder::add_bitmap(const std::string &name, const canvas &c)
{
    bytes out;
    out.w(24);
    out.w(c.width());
    out.w(c.height());
    std::vector<uint8_t> px = c.rgb24();
    out.v.insert(out.v.end(), px.begin(), px.end());
    objects.push_back(dat_object{uint32_t(DAT_BITMAP), name, std::move(out.v)});
}

std::vector<uint8_t> mono_font_body(const std::string &ttf, int pixel_size)
{
    std::lock_guard<std::recursive_mutex> hold(freetype_lock());
    static FT_Library lib = nullptr;
    if (!lib && FT_Init_FreeType(&lib)) {
        std::fprintf(stderr, "FreeType did not start\n");
        std::exit(1);
    }
    FT_Face face;
    if (FT_New_Face(lib, ttf.c_str(), 0, &face)) {
        std::fprintf(stderr, "cannot open font %s\n", ttf.c_str());
        std::exit(1);
    }
    FT_Set_Pixel_Sizes(face, 0, pixel_size);
    int asc = int(face->size->metrics.ascender >> 6);
    int height = int((face->size->metrics.ascender - face->size->metrics.descender) >> 6);
    const int first = 32, last = 126;
    bytes out;
    out.w(0);  // the range format
    out.w(1);  // one range
    out.b(1);  // monochrome glyphs
    out.l(first);
    out.l(last);
    for (int ch = first; ch <= last; ch++) {
        FT_Load_Char(face, ch, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME);
        FT_GlyphSlot g = face->glyph;
        int w = int(g->advance.x >> 6);
        if (w < 1)
            w = 1;
        int stride = (w + 7) / 8;
        std::vector<uint8_t> cell(size_t(stride) * height, 0);
        for (unsigned r = 0; r < g->bitmap.rows; r++)
            for (unsigned c = 0; c < g->bitmap.width; c++) {
                bool on;
                if (g->bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                    on = g->bitmap.buffer[r * g->bitmap.pitch + c / 8] & (0x80 >> (c % 8));
                else
                    on = g->bitmap.buffer[r * g->bitmap.pitch + c] >= 128;
                int x = g->bitmap_left + int(c), y = asc - g->bitmap_top + int(r);
                if (!on || x < 0 || y < 0 || x >= w || y >= height)
                    continue;
                cell[size_t(y) * stride + x / 8] |= uint8_t(0x80 >> (x % 8));
            }
        out.w(w);
        out.w(height);
        out.v.insert(out.v.end(), cell.begin(), cell.end());
    }
    FT_Done_Face(face);
    return out.v;
}

void datafile_builder::add_font(const std::string &name, const std::string &ttf, int pixel_size)
{
    objects.push_back(dat_object{uint32_t(DAT_FONT), name, mono_font_body(ttf, pixel_size)});
}

bool datafile_builder::add_sample(const std::string &name, const std::string &wav)
{
    SAMPLE *s = load_sample(wav.c_str());
    if (!s)
        return false;
    bytes out;
    out.w(s->stereo ? -s->bits : s->bits);
    out.w(int(s->freq));
    out.l(uint32_t(s->len));
    unsigned long n = s->len * (s->stereo ? 2 : 1);
    if (s->bits == 8) {
        const uint8_t *d = static_cast<const uint8_t *>(s->data);
        out.v.insert(out.v.end(), d, d + n);
    } else {
        const unsigned short *d = static_cast<const unsigned short *>(s->data);
        for (unsigned long i = 0; i < n; i++)
            out.iw(d[i]);
    }
    destroy_sample(s);
    objects.push_back(dat_object{uint32_t(DAT_SAMPLE), name, std::move(out.v)});
    return true;
}

bool datafile_builder::add_midi(const std::string &name, const std::string &mid)
{
    MIDI *m = load_midi(mid.c_str());
    if (!m)
        return false;
    bytes out;
    out.w(m->divisions);
    for (int t = 0; t < MIDI_TRACKS; t++) {
        out.l(uint32_t(m->track[t].len));
        if (m->track[t].len > 0)
            out.v.insert(out.v.end(), m->track[t].data, m->track[t].data + m->track[t].len);
    }
    destroy_midi(m);
    objects.push_back(dat_object{uint32_t(DAT_MIDI), name, std::move(out.v)});
    return true;
}

bool datafile_builder::write(const std::string &path, const char *password) const
{
    packfile_password(password);
    PACKFILE *f = pack_fopen(path.c_str(), F_WRITE_PACKED);
    if (!f) {
        packfile_password(nullptr);
        return false;
    }
    pack_mputl(DAT_MAGIC, f);
    pack_mputl(long(objects.size()), f);
    for (const dat_object &o : objects) {
        if (!o.name.empty()) {
            pack_mputl(DAT_PROPERTY, f);
            pack_mputl(DAT_NAME, f);
            pack_mputl(long(o.name.size()), f);
            pack_fwrite(o.name.data(), long(o.name.size()), f);
        }
        pack_mputl(long(o.type), f);
        pack_mputl(long(o.data.size()), f); // size in the file
        pack_mputl(long(o.data.size()), f); // size unpacked: positive, so stored as it is
        pack_fwrite(o.data.data(), long(o.data.size()), f);
    }
    bool ok = pack_ferror(f) == 0;
    pack_fclose(f);
    packfile_password(nullptr);
    return ok;
}
