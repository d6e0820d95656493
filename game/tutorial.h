// The four tutorial lessons: scripts that talk through the message box, watch Pim and the map, and play demonstrations.
#pragma once

// The running lesson, 1..4; any other value (-1 at start) when none runs.
extern int tutorial_number;
// The state of the running lesson's script; a lesson starts at 1.
extern int tutorial_switch;

// One tick of each lesson's script; called first in a logic step while that lesson runs.
void check_tutorial_1();
void check_tutorial_2();
void check_tutorial_3();
void check_tutorial_4();

// The check of the lesson that tutorial_number names; nothing when no lesson runs.
void check_tutorial_lesson();
