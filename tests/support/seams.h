// The seams of the program under test: every function pointer a test may swap for its own.
#pragma once
#include <vector>

struct seam {
    const char *name;
    bool real; // it holds the program's own function
};

// Each seam of the program, as it stands now.
std::vector<seam> program_seams();
