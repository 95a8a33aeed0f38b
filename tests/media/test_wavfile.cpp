#include "media/WavFile.h"

#include <QtEndian>
#include <gtest/gtest.h>

using namespace lexora;

namespace {

template <typename T> QByteArray Le(T v)
{
    char b[sizeof(T)];
    qToLittleEndian(v, b);
    return QByteArray(b, sizeof(T));
}

QByteArray Chunk(const char* id, const QByteArray& body)
{
    QByteArray out = QByteArray(id) + Le(static_cast<quint32>(body.size())) + body;
    return body.size() % 2 ? out + '\0' : out;
}

QByteArray Fmt(quint16 tag, quint16 channels, quint32 rate, quint16 bits)
{
    return Le(tag) + Le(channels) + Le(rate) + Le(rate * channels * bits / 8) +
           Le<quint16>(channels * bits / 8) + Le(bits);
}

QByteArray Riff(const QByteArray& chunks)
{
    return "RIFF" + Le(static_cast<quint32>(chunks.size() + 4)) + "WAVE" + chunks;
}

TEST(ParseWav, ReadsWhatIsThere)
{
    const QByteArray samples("\x01\x02\x03\x04\x05\x06\x07\x08", 8);
    const QByteArray fmt = Chunk("fmt ", Fmt(1, 1, 16000, 16));
    const PcmFormat mono{1, 16, 16000};
    // name, file, format read (none: refused), samples read
    const std::tuple<const char*, QByteArray, std::optional<PcmFormat>, QByteArray> cases[] = {
        {"canonical", MakeWav({2, 16, 44100}, samples), PcmFormat{2, 16, 44100}, samples},
        {"list chunk first", Riff(Chunk("LIST", "INFOabc") + fmt + Chunk("data", samples)), mono, samples},
        {"data size beyond the end", Riff(fmt) + "data" + Le<quint32>(1000) + samples.left(5), mono,
         samples.left(4)},
        {"float", Riff(Chunk("fmt ", Fmt(3, 1, 16000, 32)) + Chunk("data", samples)), std::nullopt, {}},
        {"data before format", Riff(Chunk("data", samples) + fmt), std::nullopt, {}},
        {"not RIFF", QByteArray("RIFX") + MakeWav({1, 8, 8000}, samples).mid(4), std::nullopt, {}},
        {"empty", QByteArray(), std::nullopt, {}}};
    for (const auto& [name, file, format, data] : cases) {
        SCOPED_TRACE(name);
        const auto wav = ParseWav(file);
        ASSERT_EQ(wav.has_value(), format.has_value());
        if (!wav)
            continue;
        EXPECT_EQ(wav->format, *format);
        EXPECT_EQ(wav->data, data);
    }
}

} // namespace
