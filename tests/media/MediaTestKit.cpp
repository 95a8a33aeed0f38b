#include "MediaTestKit.h"

#include "store/FileHead.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <cmath>

namespace lexora::test {

bool FakeCaptureDevice::start(const PcmFormat& format, QString* error)
{
    if (!available) {
        if (error)
            *error = QStringLiteral("no input");
        return false;
    }
    started.push_back(format);
    running = true;
    return true;
}

QByteArray FakeCaptureDevice::stop()
{
    if (!running)
        return {};
    running = false;
    ++stops;
    return nextData;
}

QByteArray TestPcm(const PcmFormat& format, int frames, int seed)
{
    QByteArray out;
    const int samples = frames * format.channels;
    for (int i = 0; i < samples; ++i) {
        // A tone riding on an offset, so no sample is ever the silence value.
        const double wave = std::sin(0.05 * (i + 1) * (seed + 1));
        if (format.bitsPerSample == 8) {
            out.append(static_cast<char>(160 + static_cast<int>(60 * wave)));
        } else {
            const auto v = static_cast<qint16>(6000 + seed * 10 + static_cast<int>(4000 * wave));
            out.append(static_cast<char>(v & 0xFF));
            out.append(static_cast<char>((v >> 8) & 0xFF));
        }
    }
    return out;
}

QByteArray TestWav(const PcmFormat& format, int frames, int seed)
{
    return MakeWav(format, TestPcm(format, frames, seed));
}

QByteArray WavData(const QByteArray& wav)
{
    return wav.mid(44);
}

QByteArray Encoded(QByteArray plain)
{
    CryptBytesHead(plain);
    return plain;
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
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

void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "lexora-media-tests";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance())
        new QApplication(argc, argv);
}

} // namespace lexora::test
