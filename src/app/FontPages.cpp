#include "app/FontPages.h"

#include <QFile>
#include <QList>
#include <sys/mman.h>

namespace lexora {

std::vector<AddressRange> FontFileMappings(const QByteArray& maps)
{
    std::vector<AddressRange> ranges;
    for (const QByteArray& line : maps.split('\n')) {
        // "begin-end perms offset dev inode path"
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 6)
            continue;
        // A path may hold blanks.
        const QByteArray path = fields.mid(5).join(' ');
        const bool font = path.endsWith(".ttf") || path.endsWith(".ttc") || path.endsWith(".otf");
        // Only mappings never written to: their pages can always be read again from the file.
        if (!font || !fields[1].startsWith("r--"))
            continue;
        const QList<QByteArray> bounds = fields[0].split('-');
        bool beginOk = false;
        bool endOk = false;
        const AddressRange range{bounds.value(0).toULongLong(&beginOk, 16),
                                 bounds.value(1).toULongLong(&endOk, 16)};
        if (beginOk && endOk && range.end > range.begin)
            ranges.push_back(range);
    }
    return ranges;
}

void ReleaseFontPages()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return;
    for (const AddressRange& range : FontFileMappings(maps.readAll()))
        madvise(reinterpret_cast<void*>(range.begin), range.end - range.begin, MADV_DONTNEED);
}

} // namespace lexora
