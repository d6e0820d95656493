// Random numbers in a counted range.
#pragma once

// a + (rand() mod b): a value in a .. a+b-1. b is a count and must be at least 1.
int randomize(int a, int b);
