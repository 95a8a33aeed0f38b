#include "media/WavFile.h"

#include <QtEndian>

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

} // namespace lexora
