// One logic step of play (1/60 s) and the global in-play keys.
#pragma once

extern int key_esc_down;
extern int key_m_down;
extern int key_f1_down;

void do_logic();
void process_keys();
