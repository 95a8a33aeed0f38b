#include "media/WavFile.h"

#include "media/AtomicFile.h"

#include <QtEndian>
#include <cstring>

namespace lexora {

namespace {

void put32(QByteArray& out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void put16(QByteArray& out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

quint32 get32(const char* p)
{
    return qFromLittleEndian<quint32>(p);
}

quint16 get16(const char* p)
{
    return qFromLittleEndian<quint16>(p);
}

constexpr quint16 kFormatPcm = 1;
constexpr quint16 kFormatExtensible = 0xFFFE;
constexpr quint32 kMinRate = 8000;
constexpr quint32 kMaxRate = 96000;

} // namespace

QByteArray MakeWav(const PcmFormat& format, const QByteArray& data)
{
    const int align = std::max(format.blockAlign(), 1);
    const auto length = static_cast<quint32>(data.size() - data.size() % align);
    QByteArray out;
    out.reserve(44 + static_cast<qsizetype>(length));
    out.append("RIFF");
    put32(out, 36 + length);
    out.append("WAVEfmt ");
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, static_cast<quint16>(format.channels));
    put32(out, static_cast<quint32>(format.samplesPerSec));
    put32(out, static_cast<quint32>(format.byteRate()));
    put16(out, static_cast<quint16>(format.blockAlign()));
    put16(out, static_cast<quint16>(format.bitsPerSample));
    out.append("data");
    put32(out, length);
    out.append(data.constData(), static_cast<qsizetype>(length));
    return out;
}

WavRead CheckWav(const QByteArray& bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return QStringLiteral("not a RIFF WAVE file");
    std::optional<PcmFormat> format;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const char* head = bytes.constData() + at;
        const qsizetype size = get32(head + 4);
        const qsizetype body = at + 8;
        const qsizetype available = std::min(size, bytes.size() - body);
        if (std::memcmp(head, "fmt ", 4) == 0) {
            if (available < 16)
                return QStringLiteral("the format chunk is cut short");
            const quint16 tag = get16(head + 8);
            // The extensible form names its real encoding in a sub-format GUID that starts with the tag.
            const quint16 real = tag == kFormatExtensible && available >= 26 ? get16(head + 32) : tag;
            if (real != kFormatPcm)
                return QStringLiteral("encoding %1 is not PCM").arg(real);
            const PcmFormat f{get16(head + 10), get16(head + 22), static_cast<int>(get32(head + 12))};
            const quint32 byteRate = get32(head + 16);
            const quint16 blockAlign = get16(head + 20);
            if (f.channels < 1 || f.channels > 2)
                return QStringLiteral("%1 channels (1 or 2 are read)").arg(f.channels);
            if (f.bitsPerSample != 8 && f.bitsPerSample != 16)
                return QStringLiteral("%1 bits a sample (8 or 16 are read)").arg(f.bitsPerSample);
            // Read as unsigned, so that a rate with its top bit set is not taken for a small one.
            const quint32 rate = get32(head + 12);
            if (rate < kMinRate || rate > kMaxRate)
                return QStringLiteral("%1 samples per second (%2 to %3 are read)")
                    .arg(rate)
                    .arg(kMinRate)
                    .arg(kMaxRate);
            if (blockAlign != f.blockAlign() || byteRate != static_cast<quint32>(f.byteRate()))
                return QStringLiteral(
                           "block align %1 and byte rate %2 do not fit %3 channels of %4 bits at %5 "
                           "samples per second")
                    .arg(blockAlign)
                    .arg(byteRate)
                    .arg(f.channels)
                    .arg(f.bitsPerSample)
                    .arg(rate);
            format = f;
        } else if (std::memcmp(head, "data", 4) == 0) {
            if (!format)
                return QStringLiteral("the data chunk comes before the format chunk");
            if (size > available)
                return QStringLiteral("the data chunk claims %1 bytes, the file holds %2")
                    .arg(size)
                    .arg(available);
            QByteArray data = bytes.mid(body, size);
            data.truncate(data.size() - data.size() % format->blockAlign());
            return WavAudio{*format, data};
        }
        // Chunks are padded to an even length.
        at = body + size + (size & 1);
    }
    return format ? QStringLiteral("no data chunk") : QStringLiteral("no format chunk");
}

WavRead CheckWavFile(const QString& path)
{
    QString why;
    const auto bytes = ReadRegularFile(path, kMaxWavBytes, &why);
    if (!bytes)
        return why;
    return CheckWav(*bytes);
}

std::optional<WavAudio> ParseWav(const QByteArray& bytes)
{
    WavRead read = CheckWav(bytes);
    if (auto* audio = std::get_if<WavAudio>(&read))
        return std::move(*audio);
    return std::nullopt;
}

std::optional<WavAudio> ReadWavFile(const QString& path)
{
    WavRead read = CheckWavFile(path);
    if (auto* audio = std::get_if<WavAudio>(&read))
        return std::move(*audio);
    return std::nullopt;
}

} // namespace lexora
