// Allegro's text format for both programs: plain 8-bit characters, never UTF-8.
#include "plain_text.h"
#include <allegro.h>

void use_plain_text()
{
    set_uformat(U_ASCII);
}
