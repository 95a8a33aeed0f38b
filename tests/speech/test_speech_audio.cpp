#include "speech/SpeechAudio.h"

#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using namespace lexora;

namespace {

// `seconds` of a tone (peak `peak`, 0 for silence) as 16-bit samples in `channels` equal channels.
QByteArray Tone(int rate, int channels, double seconds, double hz, double peak)
{
    QByteArray data;
    for (int i = 0; i < static_cast<int>(rate * seconds); ++i) {
        char bytes[2];
        qToLittleEndian(static_cast<qint16>(peak * std::sin(2 * std::numbers::pi * hz * i / rate)), bytes);
        for (int c = 0; c < channels; ++c)
            data.append(bytes, 2);
    }
    return data;
}

TEST(ToRecognizerSamples, KeepLengthPitchAndLevel)
{
    for (const PcmFormat in : {PcmFormat{2, 16, 44100}, {1, 16, 16000}, {1, 16, 8000}, {2, 16, 48000}}) {
        SCOPED_TRACE(testing::Message() << in.channels << " channels at " << in.samplesPerSec);
        const std::vector<std::int16_t> out =
            RecognizerSamples({in, Tone(in.samplesPerSec, in.channels, 1, 440, 10000)});
        EXPECT_NEAR(static_cast<double>(out.size()), kRecognizerRate, 160);
        int changes = 0, peak = 0;
        for (std::size_t i = 1; i < out.size(); ++i) {
            changes += (out[i - 1] < 0) != (out[i] < 0);
            peak = std::max(peak, std::abs(static_cast<int>(out[i])));
        }
        EXPECT_NEAR(changes, 880, 10); // 440 Hz
        EXPECT_NEAR(peak, 10000, 600);
    }
}

TEST(ToRecognizerSamples, EightBitIsUnsignedAndStereoIsMixed)
{
    const std::vector<std::int16_t> loud = RecognizerSamples({{1, 8, 8000}, QByteArray(8000, '\xff')});
    ASSERT_GT(loud.size(), 8000u);
    EXPECT_GT(loud[loud.size() / 2], 30000);
    QByteArray leftOnly;
    for (int i = 0; i < 16000; ++i)
        leftOnly.append("\x40\x1f\x00\x00", 4); // 8000 left, 0 right
    const std::vector<std::int16_t> mixed = RecognizerSamples({{2, 16, 16000}, leftOnly});
    ASSERT_EQ(mixed.size(), 16000u);
    EXPECT_NEAR(mixed[8000], 4000, 2);
}

TEST(VoicedMilliseconds, CountsOnlyWhatStandsOutAsVoice)
{
    const auto voiced = [](const QByteArray& data) {
        std::vector<std::int16_t> samples(static_cast<std::size_t>(data.size()) / 2);
        std::memcpy(samples.data(), data.constData(), samples.size() * 2);
        return VoicedMilliseconds(samples);
    };
    const auto tone = [](double seconds, double hz, double peak) {
        return Tone(kRecognizerRate, 1, seconds, hz, peak);
    };
    EXPECT_EQ(voiced(tone(2, 440, 0)), 0);
    EXPECT_NEAR(voiced(tone(0.8, 0, 0) + tone(0.4, 300, 8000) + tone(0.8, 0, 0)), 400, 20);
    EXPECT_NEAR(voiced(tone(0.8, 50, 400) + tone(0.3, 300, 9000) + tone(0.8, 50, 400)), 300, 20);
    EXPECT_EQ(voiced(tone(2, 50, 3000)), 0);                                       // a steady hum alone
    EXPECT_EQ(voiced(tone(0.8, 0, 0) + tone(0.5, 300, 100) + tone(0.8, 0, 0)), 0); // too faint
}

TEST(SpeechStretch, KeepsTheLoudestVoiceAtOneLevel)
{
    const auto samples = [](const QByteArray& data) {
        std::vector<std::int16_t> out(static_cast<std::size_t>(data.size()) / 2);
        std::memcpy(out.data(), data.constData(), out.size() * 2);
        return out;
    };
    const auto tone = [](double seconds, double hz, double peak) {
        return Tone(kRecognizerRate, 1, seconds, hz, peak);
    };
    const auto peakOf = [](const std::vector<std::int16_t>& s) {
        int peak = 0;
        for (const auto v : s)
            peak = std::max(peak, std::abs(static_cast<int>(v)));
        return peak;
    };
    // name, reading, length kept in seconds (0.25 s of margin on each side of the voice)
    const std::tuple<const char*, QByteArray, double> cases[] = {
        {"faint word", tone(0.8, 0, 0) + tone(0.4, 300, 1000) + tone(0.8, 0, 0), 0.9},
        {"click before", tone(0.02, 300, 30000) + tone(0.8, 0, 0) + tone(0.4, 300, 4000) + tone(0.8, 0, 0),
         0.9},
        {"word with a stop",
         tone(0.5, 0, 0) + tone(0.2, 300, 9000) + tone(0.2, 0, 0) + tone(0.2, 300, 9000) + tone(0.8, 0, 0),
         1.1},
        {"a quieter voice long after",
         tone(0.3, 0, 0) + tone(0.4, 300, 9000) + tone(0.6, 0, 0) + tone(0.5, 200, 2000) + tone(0.3, 0, 0),
         0.9}};
    for (const auto& [name, data, seconds] : cases) {
        const std::vector<std::int16_t> stretch = SpeechStretch(samples(data));
        EXPECT_NEAR(static_cast<double>(stretch.size()) / kRecognizerRate, seconds, 0.03) << name;
        // A sine's peak is its level times the square root of two.
        EXPECT_NEAR(peakOf(stretch), 8000 * std::numbers::sqrt2, 400) << name;
    }
    const std::vector<std::int16_t> quiet = samples(tone(1, 0, 0));
    EXPECT_EQ(SpeechStretch(quiet), quiet);
}

} // namespace
