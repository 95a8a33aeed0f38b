#include "speech/SpeechAudio.h"

#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using namespace lexora;

namespace {

// `seconds` of a tone (peak `peak`, 0 for silence) as 16-bit samples, `channels` identical channels.
QByteArray Tone(int rate, int channels, double seconds, double hz, double peak)
{
    QByteArray data;
    const int frames = static_cast<int>(rate * seconds);
    for (int i = 0; i < frames; ++i) {
        const auto value = static_cast<qint16>(peak * std::sin(2 * std::numbers::pi * hz * i / rate));
        for (int c = 0; c < channels; ++c) {
            char bytes[2];
            qToLittleEndian(value, bytes);
            data.append(bytes, 2);
        }
    }
    return data;
}

double Peak(const std::vector<std::int16_t>& samples)
{
    int peak = 0;
    for (const auto s : samples)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak;
}

int SignChanges(const std::vector<std::int16_t>& samples)
{
    int changes = 0;
    for (std::size_t i = 1; i < samples.size(); ++i)
        changes += (samples[i - 1] < 0) != (samples[i] < 0);
    return changes;
}

struct RateCase
{
    int rate;
    int channels;
};

class ToRecognizer : public ::testing::TestWithParam<RateCase>
{};

TEST_P(ToRecognizer, KeepsLengthPitchAndLevel)
{
    const auto [rate, channels] = GetParam();
    const WavAudio audio{{channels, 16, rate}, Tone(rate, channels, 1.0, 440, 10000)};
    const std::vector<std::int16_t> out = RecognizerSamples(audio);
    EXPECT_NEAR(static_cast<double>(out.size()), kRecognizerRate, 160);
    // 440 Hz: 880 sign changes a second.
    EXPECT_NEAR(SignChanges(out), 880, 10);
    EXPECT_NEAR(Peak(out), 10000, 600);
}

INSTANTIATE_TEST_SUITE_P(Formats, ToRecognizer,
                         ::testing::Values(RateCase{44100, 2}, RateCase{44100, 1}, RateCase{16000, 1},
                                           RateCase{8000, 1}, RateCase{48000, 2}, RateCase{22050, 2}));

TEST(ToRecognizerMixing, StereoBecomesTheMeanOfItsChannels)
{
    QByteArray data;
    for (int i = 0; i < 16000; ++i) {
        char frame[4];
        qToLittleEndian<qint16>(8000, frame);
        qToLittleEndian<qint16>(0, frame + 2);
        data.append(frame, 4);
    }
    const std::vector<std::int16_t> out = RecognizerSamples({{2, 16, 16000}, data});
    ASSERT_EQ(out.size(), 16000u);
    EXPECT_NEAR(out[8000], 4000, 2);
}

TEST(ToRecognizerMixing, EightBitSamplesAreUnsigned)
{
    // 128 is the 8-bit zero; 255 nearly full scale.
    const QByteArray quiet(8000, static_cast<char>(128));
    const QByteArray loud(8000, static_cast<char>(255));
    EXPECT_EQ(Peak(RecognizerSamples({{1, 8, 8000}, quiet})), 0);
    const std::vector<std::int16_t> out = RecognizerSamples({{1, 8, 8000}, loud});
    ASSERT_GT(out.size(), 8000u);
    EXPECT_GT(out[out.size() / 2], 30000);
}

TEST(ToRecognizerMixing, NothingInNothingOut)
{
    EXPECT_TRUE(RecognizerSamples({{2, 16, 44100}, {}}).empty());
}

std::vector<std::int16_t> Samples(const QByteArray& data)
{
    std::vector<std::int16_t> out(static_cast<std::size_t>(data.size()) / 2);
    std::memcpy(out.data(), data.constData(), out.size() * 2);
    return out;
}

struct VoiceCase
{
    const char* name;
    QByteArray samples;
    int expectMs;
};

class Voiced : public ::testing::TestWithParam<VoiceCase>
{};

TEST_P(Voiced, CountsOnlyWhatStandsOutAsVoice)
{
    EXPECT_NEAR(VoicedMilliseconds(Samples(GetParam().samples)), GetParam().expectMs, 20);
}

const QByteArray kPause = Tone(kRecognizerRate, 1, 0.8, 440, 0);

INSTANTIATE_TEST_SUITE_P(
    Readings, Voiced,
    ::testing::Values(
        VoiceCase{"Silence", Tone(kRecognizerRate, 1, 2.0, 440, 0), 0},
        VoiceCase{"WordBetweenPauses", kPause + Tone(kRecognizerRate, 1, 0.4, 300, 8000) + kPause, 400},
        VoiceCase{"WordOverSteadyHum",
                  Tone(kRecognizerRate, 1, 0.8, 50, 400) + Tone(kRecognizerRate, 1, 0.3, 300, 9000) +
                      Tone(kRecognizerRate, 1, 0.8, 50, 400),
                  300},
        VoiceCase{"SteadyHumAlone", Tone(kRecognizerRate, 1, 2.0, 50, 3000), 0},
        VoiceCase{"FaintTone", kPause + Tone(kRecognizerRate, 1, 0.5, 300, 100) + kPause, 0},
        VoiceCase{"ShorterThanAFrame", Tone(kRecognizerRate, 1, 0.005, 300, 9000), 0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
