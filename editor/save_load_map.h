// The file commands: save, load, link the next map, and the level-set compiler.
#pragma once
#include <allegro.h>

extern char filename_buffer[256]; // shared by the map file selectors
extern char last_filename[256];   // the map last loaded or saved: where Save starts
extern char level_set_name[256];  // the set's name, kept between compilations
// The file that holds the map being edited (the path it was last read from or written to); empty
// while no file holds it, as for a new map or one emptied with R.
extern char the_edited_map_path[256];

// The file selector and the yes/no question as the commands call them: Allegro's file_select_ex
// and the editor's ask_yes_no by default.
extern int (*the_file_selector)(const char *title, char *path, const char *ext, int size, int w, int h);
extern int (*the_question)(const char *s1, const char *s2, const char *s3, const char *b1, const char *b2,
                           int c1, int c2);

// Puts a failure on the screen over what is there: what went wrong, the detail (a path, in lines as
// wide as the screen), what it means (none when ""), then "Press Any Key", and waits for a key.
void report_failure(const char *what, const char *path, const char *meaning);

// The panel's commands, each with its file selector.
void save_map();
void load_map();
void next_map();
void level_set_loader();

// What each command does once its path is chosen.
// Saves the map to `path` (slashes fixed in place); a file that cannot be written is reported.
// Returns -1 when written (the path then becomes the map's own, and its base name the map's own
// file name), 0 otherwise, and then the map keeps the names it had.
int save_map_as(char *path);
// Whether writing the map to `path` would replace a file that holds some other map than the one
// being edited.
bool overwrites_another_map(const char *path);
// Empties the map and fills it from `path`; one that ends early leaves the fields it does not reach
// empty (the name "Enter Map Name"; the own name and the next map as they were). A file that cannot
// be read is reported with its path and leaves the map, its path and last_filename as they were.
// Returns -1 when loaded, 0 otherwise.
int load_map_from(const char *path);
// Links the map to the one stored in `path` by that file's own-name line; unchanged when it
// does not open.
void next_map_from(const char *path);

enum chain_result { chain_complete, chain_missing_map, chain_loops, chain_aborted };

// Walks the chain from the map at `first_path` to the map naming "end", writing its progress and
// any failure onto `target`. `first_name` receives the first map's base name (256 bytes).
chain_result walk_level_chain(const char *first_path, BITMAP *target, char *first_name);

// The directory of the map at `path`, as the chain's names are joined to it (256 bytes).
void maps_directory_of(char *dest, const char *path);

// Gives a loader path the extension the game looks for, ".qlx", when it lacks it. Returns 0 when the
// longer path would not fit its 256 bytes (the path is then unchanged), -1 otherwise.
int add_loader_extension(char *path);
// Whether a loader file at `loader_path` lies in `maps_directory` itself: the game takes a set's
// directory from its loader file's.
bool loader_beside_maps(const char *loader_path, const char *maps_directory);

// Writes the loader file: the first map's name, then level_set_name. A file that cannot be written
// is reported. Returns -1 when written, 0 otherwise.
int save_loader_as(const char *path, const char *first_name);

// Puts a write failure on the screen with the path, and waits for a key.
void report_write_failure(const char *what, const char *path);

// Cuts `path` in place just after its last '/' (the directory of a chosen map) and returns it.
char *truncate_level_set_directory(char *path);

// Whether `path` fits the editor's 256-byte path buffers (at most 255 characters): -1 or 0. The
// file commands refuse a longer one with a message; none is ever cut.
int path_fits(const char *path);

// Copies src into a fixed buffer, cut to fit.
void copy_path(char *dest, const char *src);
