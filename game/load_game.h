// Loading a save file: the level set, the map and the key bindings it holds.
#pragma once

// Reads the save at path into the level-set globals, the map's file name and the player's key
// bindings, zeroes the level statistics and loads the saved map from its start cell.
// Returns -1 when the save was read, 0 when it could not be opened (reported; nothing changed).
int load_game(char *path);
