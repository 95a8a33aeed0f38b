#include "speech/SpeechAudio.h"

#include <QByteArray>
#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <memory>

namespace lexora {

namespace {

constexpr int kFrameSamples = kRecognizerRate / 100;
// About -45 dBFS: quieter than this is no voice, whatever the background.
constexpr double kMinVoiceLevel = 180.0;
// Voice stands this far above the reading's quietest stretch (12 dB).
constexpr double kAboveBackground = 4.0;
// The background is the level of the quietest tenth of the frames.
constexpr double kBackgroundQuantile = 0.1;

// A tenth of a second of silence after the reading.
constexpr int kTailDivisor = 10;

struct StreamDeleter
{
    void operator()(SDL_AudioStream* stream) const { SDL_FreeAudioStream(stream); }
};

} // namespace

std::vector<std::int16_t> RecognizerSamples(const WavAudio& audio)
{
    const PcmFormat& in = audio.format;
    const SDL_AudioFormat format = in.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    std::unique_ptr<SDL_AudioStream, StreamDeleter> stream(SDL_NewAudioStream(
        format, static_cast<Uint8>(in.channels), in.samplesPerSec, AUDIO_S16SYS, 1, kRecognizerRate));
    // The resampler holds back the last stretch of its input even when flushed: feed a tail of
    // silence and cut the result to the length the input has.
    QByteArray data = audio.data;
    data.append(in.blockAlign() * (in.samplesPerSec / kTailDivisor + 1),
                in.bitsPerSample == 8 ? '\x80' : '\0');
    if (!stream || SDL_AudioStreamPut(stream.get(), data.constData(), static_cast<int>(data.size())) != 0 ||
        SDL_AudioStreamFlush(stream.get()) != 0)
        return {};
    std::vector<std::int16_t> out(static_cast<std::size_t>(SDL_AudioStreamAvailable(stream.get())) /
                                  sizeof(std::int16_t));
    const int got =
        SDL_AudioStreamGet(stream.get(), out.data(), static_cast<int>(out.size() * sizeof(std::int16_t)));
    const auto frames = static_cast<std::int64_t>(audio.data.size() / in.blockAlign());
    const auto length = static_cast<std::size_t>(frames * kRecognizerRate / in.samplesPerSec);
    out.resize(std::min(got > 0 ? static_cast<std::size_t>(got) / sizeof(std::int16_t) : 0, length));
    return out;
}

int VoicedMilliseconds(const std::vector<std::int16_t>& samples)
{
    std::vector<double> levels;
    for (std::size_t at = 0; at + kFrameSamples <= samples.size(); at += kFrameSamples) {
        double sum = 0;
        for (std::size_t i = at; i < at + kFrameSamples; ++i)
            sum += static_cast<double>(samples[i]) * samples[i];
        levels.push_back(std::sqrt(sum / kFrameSamples));
    }
    if (levels.empty())
        return 0;
    std::vector<double> sorted = levels;
    const auto quiet =
        sorted.begin() + static_cast<std::ptrdiff_t>(kBackgroundQuantile * (sorted.size() - 1));
    std::nth_element(sorted.begin(), quiet, sorted.end());
    const double threshold = std::max(kMinVoiceLevel, *quiet * kAboveBackground);
    const auto voiced = std::count_if(levels.begin(), levels.end(), [&](double l) { return l >= threshold; });
    return static_cast<int>(voiced) * (1000 * kFrameSamples / kRecognizerRate);
}

} // namespace lexora
