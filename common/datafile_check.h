// The record the build writes beside each data file (its size and checksum), checked before Allegro reads the file.
#pragma once
#include <allegro.h>
#include <string>

// Writes "<size> <checksum>" for the data file into its record, path + ".sum", through a
// temporary file renamed over the old record. Returns 0 on failure, -1 on success.
int write_datafile_record(const char *path);

// -1 when the data file has the size and checksum that its record gives; 0 when it does not, or
// when the file or its record cannot be read.
int datafile_intact(const char *path);

// -1 when `bytes`, a data file as stored, hold nothing but objects of the kinds the build writes
// (24-bit bitmaps, monochrome fonts, samples, songs), each exactly as long as its own header
// says: what Allegro's loader trusts without looking. Read under the current packfile password.
int datafile_well_formed(const std::string &bytes);

// -1 when `bytes` are a patch set as the build packs it (an unpacked data file of instruments and
// their index) whose every object lies within the file, has no nested or packed parts and
// has short properties: what the wavetable MIDI driver's own reader trusts without looking.
int patch_set_well_formed(const std::string &bytes);

// Allegro's load of the data file, once it is intact and well formed (a damaged or crafted file
// can crash Allegro's loader); nullptr when it is not, or when Allegro cannot load it. The file
// is read once: the bytes that were checked are the bytes Allegro loads, from a sealed copy in
// memory, so the file changing on disk meanwhile changes nothing.
DATAFILE *load_intact_datafile(const char *path);
