#include "media/WavFile.h"

#include <QtEndian>
#include <gtest/gtest.h>

using namespace lexora;

namespace {

QByteArray Le32(quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    return QByteArray(b, 4);
}

QByteArray Le16(quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    return QByteArray(b, 2);
}

QByteArray Chunk(const char* id, const QByteArray& body)
{
    QByteArray out = QByteArray(id) + Le32(static_cast<quint32>(body.size())) + body;
    return body.size() % 2 ? out + '\0' : out;
}

QByteArray Fmt(quint16 tag, quint16 channels, quint32 rate, quint16 bits)
{
    return Le16(tag) + Le16(channels) + Le32(rate) + Le32(rate * channels * bits / 8) +
           Le16(channels * bits / 8) + Le16(bits);
}

QByteArray Riff(const QByteArray& chunks)
{
    return "RIFF" + Le32(static_cast<quint32>(chunks.size() + 4)) + "WAVE" + chunks;
}

const QByteArray kSamples = QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08", 8);

struct ParseCase
{
    const char* name;
    QByteArray file;
    std::optional<PcmFormat> format;
    QByteArray data;
};

class ParseWavCase : public ::testing::TestWithParam<ParseCase>
{};

TEST_P(ParseWavCase, ReadsWhatIsThere)
{
    const ParseCase& c = GetParam();
    const auto wav = ParseWav(c.file);
    ASSERT_EQ(wav.has_value(), c.format.has_value());
    if (!wav)
        return;
    EXPECT_EQ(wav->format, *c.format);
    EXPECT_EQ(wav->data, c.data);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ParseWavCase,
    ::testing::Values(
        ParseCase{"Canonical", MakeWav({2, 16, 44100}, kSamples), PcmFormat{2, 16, 44100}, kSamples},
        ParseCase{
            "ListChunkFirst",
            Riff(Chunk("LIST", "INFOabc") + Chunk("fmt ", Fmt(1, 1, 16000, 16)) + Chunk("data", kSamples)),
            PcmFormat{1, 16, 16000}, kSamples},
        ParseCase{"DataSizeBeyondTheEnd",
                  Riff(Chunk("fmt ", Fmt(1, 1, 16000, 16))) + "data" + Le32(1000) + kSamples.left(5),
                  PcmFormat{1, 16, 16000}, kSamples.left(4)},
        ParseCase{
            "Float", Riff(Chunk("fmt ", Fmt(3, 1, 16000, 32)) + Chunk("data", kSamples)), std::nullopt, {}},
        ParseCase{"DataBeforeFormat",
                  Riff(Chunk("data", kSamples) + Chunk("fmt ", Fmt(1, 1, 16000, 16))),
                  std::nullopt,
                  {}},
        ParseCase{"NotRiff", QByteArray("RIFX") + MakeWav({1, 8, 8000}, kSamples).mid(4), std::nullopt, {}},
        ParseCase{"Empty", QByteArray(), std::nullopt, {}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
