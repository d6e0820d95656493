// The 20x20 window icon of both programs: Pim's sleepy face on the night sky.
#pragma once

extern "C" void *allegro_icon;

static const char *allegico_xpm_data[] = {
"20 20 8 1",
"  c #101438",
". c #1c2458",
"o c #f0a860",
"O c #ffd090",
"x c #603020",
"p c #f07080",
"* c #fff0b0",
"+ c #b06838",
"  .  *         .    ",
"          .         ",
"       ++++++       ",
"     ++oooooo++   * ",
"    +oooOOOOooo+    ",
"   +ooOOOOOOOOoo+   ",
"   +oOOOOOOOOOOo+   ",
"  +ooOOOOOOOOOOoo+  ",
"  +oOxxxOOOOxxxOo+  ",
"  +oOOOOOOOOOOOOo+  ",
"  +opOOOOOOOOOOpo+  ",
"  +ooOOOOxxOOOOoo+  ",
"  +ooOOOOOOOOOOoo+  ",
"   +ooOOOOOOOOoo+   ",
"   +oooooooooooo+   ",
"    +oooooooooo+    ",
"  .  ++oooooo++  .  ",
"       ++++++       ",
" *              .   ",
"        .        *  ",
};

static void *const allegico_xpm = static_cast<void *>(allegico_xpm_data);
