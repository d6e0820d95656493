// The record the build writes beside each data file (its size and checksum), checked before Allegro reads the file.
#pragma once
#include <allegro.h>

// Writes "<size> <checksum>" for the data file into its record, path + ".sum", through a
// temporary file renamed over the old record. Returns 0 on failure, -1 on success.
int write_datafile_record(const char *path);

// -1 when the data file has the size and checksum that its record gives; 0 when it does not, or
// when the file or its record cannot be read.
int datafile_intact(const char *path);

// Allegro's load of the data file, once it is intact (a damaged file can crash Allegro's
// loader); nullptr when it is not, or when Allegro cannot load it.
DATAFILE *load_intact_datafile(const char *path);
