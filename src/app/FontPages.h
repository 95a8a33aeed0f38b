#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

namespace lexora {

// The read-only mappings of font files in a process's memory map (the text of /proc/PID/maps):
// [begin, end) address ranges.
struct AddressRange
{
    std::uintptr_t begin = 0;
    std::uintptr_t end = 0;
};
std::vector<AddressRange> FontFileMappings(const QByteArray& maps);

// Gives back the pages of the font files the text engine has read so far. Opening a large Chinese
// face reads several megabytes of its tables, which then stay resident although the drawn glyphs are
// cached; the pages stay in the file cache and are read again, without a disk access, when a new
// glyph needs them.
void ReleaseFontPages();

} // namespace lexora
