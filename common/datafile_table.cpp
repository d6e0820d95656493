// Loading and freeing a program's data files from its table: the one load loop of both programs.
#include "datafile_table.h"
#include "datafile_check.h"
#include "midi_check.h"
#include "text_mode_message.h"

namespace {

const entry_rule tile_rules[] = {{0, every_later_entry, DAT_BITMAP, tile_of_32}};

const entry_rule build_tile_rules[] = {
    {0, 0, DAT_BITMAP, any_shape},        {1, 1, DAT_BITMAP, strip_of_frames},
    {2, 2, DAT_BITMAP, any_shape},        {3, 4, DAT_BITMAP, strip_of_frames},
    {5, 6, DAT_BITMAP, any_shape},        {7, 8, DAT_BITMAP, strip_of_frames},
    {9, 9, DAT_BITMAP, any_shape},        {10, 12, DAT_BITMAP, strip_of_frames},
    {13, 15, DAT_BITMAP, any_shape},      {16, 16, DAT_BITMAP, strip_of_frames},
    {17, 18, DAT_BITMAP, any_shape},
};

// Entry 1 is the menus' backdrop; every entry is some map's background.
const entry_rule background_rules[] = {{0, every_later_entry, DAT_BITMAP, full_screen}, {1, 1, DAT_BITMAP, full_screen}};

const entry_rule system_rules[] = {
    {0, 2, DAT_BITMAP, any_shape},   {3, 3, DAT_FONT, any_shape},     {4, 7, DAT_BITMAP, any_shape},
    {8, 8, DAT_FONT, any_shape},     {9, 11, DAT_BITMAP, any_shape},  {12, 12, DAT_FONT, any_shape},
    {13, 14, DAT_BITMAP, any_shape}, {15, 15, DAT_FONT, any_shape},   {16, 25, DAT_BITMAP, any_shape},
    {26, 26, DAT_MIDI, playable_song},   {27, 29, DAT_BITMAP, any_shape}, {30, 30, DAT_FONT, any_shape},
    {31, 42, DAT_BITMAP, any_shape},
};

bool entry_meets(const DATAFILE &entry, const entry_rule &rule)
{
    if (entry.type != rule.type || !entry.dat)
        return false;
    if (rule.shape == playable_song)
        return midi_song_playable(static_cast<const MIDI *>(entry.dat));
    const BITMAP *image = static_cast<const BITMAP *>(entry.dat);
    switch (rule.shape) {
    case tile_of_32: return image->w == 32 && image->h == 32;
    case strip_of_frames: return image->w >= 32 && image->w % 32 == 0 && image->h >= 1;
    case full_screen: return image->w == 640 && image->h == 480;
    case playable_song:
    case any_shape: break;
    }
    return true;
}

} // namespace

const entry_rules tile_entries = {tile_rules, sizeof(tile_rules) / sizeof(tile_rules[0])};
const entry_rules build_tile_entries = {build_tile_rules, sizeof(build_tile_rules) / sizeof(build_tile_rules[0])};
const entry_rules background_entries = {background_rules, sizeof(background_rules) / sizeof(background_rules[0])};
const entry_rules system_entries = {system_rules, sizeof(system_rules) / sizeof(system_rules[0])};

int datafile_meets(const DATAFILE *file, const entry_rules &rules)
{
    const int count = datafile_count(file);
    for (std::size_t i = 0; i < rules.count; i++) {
        const entry_rule &rule = rules.first[i];
        const int to = rule.to == every_later_entry ? count - 1 : rule.to;
        if (rule.from >= count || to >= count)
            return 0;
        for (int e = rule.from; e <= to; e++)
            if (!entry_meets(file[e], rule))
                return 0;
    }
    return -1;
}

void load_datafile_table(const datafile_entry *table, std::size_t count, void (*quit)())
{
    packfile_password(datafile_password);
    for (std::size_t i = 0; i < count; i++) {
        *table[i].target = load_intact_datafile(table[i].path);
        if (*table[i].target && !datafile_meets(*table[i].target, table[i].rules)) {
            unload_datafile(*table[i].target);
            *table[i].target = nullptr;
        }
        if (!*table[i].target) {
            packfile_password(nullptr);
            show_in_text_mode("%s", table[i].failure);
            quit();
            return;
        }
    }
    packfile_password(nullptr);
}

void unload_datafile_list(DATAFILE **const *files, std::size_t count)
{
    for (std::size_t i = 0; i < count; i++) {
        if (*files[i]) {
            unload_datafile(*files[i]);
            *files[i] = nullptr;
        }
    }
}

int datafile_count(const DATAFILE *file)
{
    int count = 0;
    if (file)
        while (file[count].type != DAT_END)
            count++;
    return count;
}
