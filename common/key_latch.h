// The once-per-press key latch of both programs, and the range-checked read of a key by scancode.
#pragma once

// -1 when the key of this scancode is down; 0 when it is up. A scancode outside Allegro's key
// array (a binding read from a file) is never down.
int scancode_down(int scancode);

// A key that acts once per press, through an int latch of its own: -1 when the key is down, the
// latch is 0 and the press may act; the latch then becomes -1. Otherwise 0. Whenever the key is
// up the latch returns to 0. A press that may not act leaves the latch as it is, so a key still
// held acts on the first step on which it may.
int fresh_press(int down, int &latch, int may_act = -1);
// The same for the key of a scancode, read as scancode_down reads it.
int fresh_key_press(int scancode, int &latch, int may_act = -1);
