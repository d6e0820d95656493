// Text cut to fit a room in pixels, glyph by glyph, ending in "...".
#include "fit_text.h"
#include <cstdio>
#include <cstring>

void fit_text(FONT *f, const char *text, int room, char *out, int size)
{
    if (size <= 0)
        return;
    if (std::strlen(text) < static_cast<std::size_t>(size) && text_length(f, text) <= room) {
        std::snprintf(out, size, "%s", text);
        return;
    }
    out[0] = '\0';
    const char ellipsis[] = "...";
    const int ellipsis_w = text_length(f, ellipsis);
    // Bytes of the text that leave space for the ellipsis and the terminating zero.
    const int limit = size - static_cast<int>(sizeof(ellipsis));
    if (limit < 0 || ellipsis_w > room)
        return;
    // Allegro sets a text glyph after glyph without kerning: a prefix is as wide as its glyphs.
    int kept = 0;
    int width = 0;
    while (kept < limit && text[kept]) {
        const char glyph[2] = {text[kept], '\0'};
        const int w = text_length(f, glyph);
        if (width + w + ellipsis_w > room)
            break;
        width += w;
        kept++;
    }
    // "Long Name..." rather than "Long Name ...".
    while (kept > 0 && text[kept - 1] == ' ')
        kept--;
    std::snprintf(out, size, "%.*s%s", kept, text, ellipsis);
}
