#include "MediaTestKit.h"

#include "store/FileHead.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <cmath>

namespace lexora::test {

// A tone riding on an offset, so no sample is ever the silence value.
QByteArray TestPcm(const PcmFormat& format, int frames, int seed)
{
    QByteArray out;
    for (int i = 0; i < frames * format.channels; ++i) {
        const auto v = static_cast<qint16>(6000 + seed * 10 +
                                           static_cast<int>(4000 * std::sin(0.05 * (i + 1) * (seed + 1))));
        out.append(static_cast<char>(v & 0xFF)).append(static_cast<char>((v >> 8) & 0xFF));
    }
    return out;
}

QByteArray Encoded(QByteArray plain)
{
    CryptBytesHead(plain);
    return plain;
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    if (QFile file(path); file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList FilesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

WithApplication::WithApplication()
{
    static int argc = 1;
    static char name[] = "lexora-media-tests", *argv[] = {name, nullptr};
    if (!QApplication::instance())
        new QApplication(argc, argv);
}

} // namespace lexora::test
