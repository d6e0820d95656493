// Random numbers in a counted range, from the C generator seeded at start-up.
#include "randomize.h"
#include <cstdlib>

int randomize(int a, int b)
{
    return a + (std::rand() % b);
}
