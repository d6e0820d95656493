// Allegro's text format for both programs: plain 8-bit characters, never UTF-8.
#pragma once

// Switches Allegro's text routines to 8-bit text; called before Allegro starts. Names and paths
// from files may hold any bytes, and Allegro's UTF-8 routines loop for ever on some invalid
// sequences; the fonts only hold ASCII, so nothing is lost.
void use_plain_text();
