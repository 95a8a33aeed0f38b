// The spreadsheet (CSV/TSV) and plain-list readers through the whole import, and what it writes: no
// value of any cell may add a column or a line to the course source.
#include "course/CourseImport.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

using namespace lexora;

namespace {

// The written source: comment lines start with '#', records have at most the word line's 7 columns,
// and nothing but TABs and line ends is a control character.
bool wellShaped(const QString& text)
{
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('#')))
            continue;
        if (line.count(QLatin1Char('\t')) > 6)
            return false;
        for (const QChar c : line) {
            if (c != QLatin1Char('\t') && c.category() == QChar::Other_Control)
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    if (size == 0)
        return 0;
    // The first byte picks how the file is named and which column options are given, the rest is the file.
    const uint8_t pick = data[0];
    const QString path = dir.filePath(pick & 1 ? QStringLiteral("words.csv") : QStringLiteral("words.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char*>(data + 1), static_cast<qint64>(size - 1));
    file.close();
    ImportOptions options;
    if (pick & 2)
        options.english = QStringLiteral("1");
    if (pick & 4)
        options.chinese = QStringLiteral("meaning");
    if (pick & 8)
        options.book = QStringLiteral("Book\tone\nline");
    options.unitSize = 1 + (pick >> 4);
    const ImportResult imported = ImportCourse(path, options);
    if (const auto* result = std::get_if<CourseImport>(&imported)) {
        if (!wellShaped(CourseSourceText(*result, path, dir.path())))
            std::abort();
    }
    return 0;
}
