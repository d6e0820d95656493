// Shutdown: frees everything and ends the process.
#pragma once

// Frees what exists and ends the process with exit status 1. Never returns.
[[noreturn]] void game_quit();
