#include "media/WavFile.h"

#include <QFile>
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

std::optional<WavAudio> ParseWav(const QByteArray& bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return std::nullopt;
    std::optional<PcmFormat> format;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const char* head = bytes.constData() + at;
        const qsizetype size = get32(head + 4);
        const qsizetype body = at + 8;
        const qsizetype available = std::min(size, bytes.size() - body);
        if (std::memcmp(head, "fmt ", 4) == 0 && available >= 16) {
            const quint16 tag = get16(head + 8);
            // The extensible form names its real encoding in a sub-format GUID that starts with the tag.
            const quint16 real = tag == kFormatExtensible && available >= 26 ? get16(head + 32) : tag;
            if (real != kFormatPcm)
                return std::nullopt;
            format = PcmFormat{get16(head + 10), get16(head + 22), static_cast<int>(get32(head + 12))};
            if (format->channels < 1 || (format->bitsPerSample != 8 && format->bitsPerSample != 16) ||
                format->samplesPerSec < 1)
                return std::nullopt;
        } else if (std::memcmp(head, "data", 4) == 0) {
            if (!format)
                return std::nullopt;
            QByteArray data = bytes.mid(body, available);
            data.truncate(data.size() - data.size() % format->blockAlign());
            return WavAudio{*format, data};
        }
        // Chunks are padded to an even length.
        at = body + size + (size & 1);
    }
    return std::nullopt;
}

std::optional<WavAudio> ReadWavFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return ParseWav(file.readAll());
}

} // namespace lexora
