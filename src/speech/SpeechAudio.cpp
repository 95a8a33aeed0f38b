#include "speech/SpeechAudio.h"

#include <QByteArray>
#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <functional>
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

// The heart of the reading: frames within 12 dB of the loudest. A voice behind it, or a hum, stays below;
// the word's quiet edges are brought back by the margin.
constexpr double kBelowLoudest = 0.25;
// Quiet inside a word (a stop) or between the words of a phrase: up to 0.35 s.
constexpr std::size_t kBridgedFrames = 35;
// Less voice than 50 ms in a row is a click or a knock.
constexpr int kMinSpeechFrames = 5;
// The word's quiet edges ("s", "f", a final stop) and a little quiet for the recogniser: 0.25 s each side.
constexpr std::size_t kMarginFrames = 25;
// The loudest frame of the stretch is brought to about -12 dBFS; a faint reading is raised at most 30 dB.
constexpr double kTargetLevel = 8000.0;
constexpr double kMaxGain = 31.6;

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

namespace {

// The level of each 10 ms frame.
std::vector<double> FrameLevels(const std::vector<std::int16_t>& samples)
{
    std::vector<double> levels;
    for (std::size_t at = 0; at + kFrameSamples <= samples.size(); at += kFrameSamples) {
        double sum = 0;
        for (std::size_t i = at; i < at + kFrameSamples; ++i)
            sum += static_cast<double>(samples[i]) * samples[i];
        levels.push_back(std::sqrt(sum / kFrameSamples));
    }
    return levels;
}

double VoiceThreshold(const std::vector<double>& levels)
{
    std::vector<double> sorted = levels;
    const auto quiet =
        sorted.begin() + static_cast<std::ptrdiff_t>(kBackgroundQuantile * (sorted.size() - 1));
    std::nth_element(sorted.begin(), quiet, sorted.end());
    return std::max(kMinVoiceLevel, *quiet * kAboveBackground);
}

} // namespace

int VoicedMilliseconds(const std::vector<std::int16_t>& samples)
{
    const std::vector<double> levels = FrameLevels(samples);
    if (levels.empty())
        return 0;
    const double threshold = VoiceThreshold(levels);
    const auto voiced = std::count_if(levels.begin(), levels.end(), [&](double l) { return l >= threshold; });
    return static_cast<int>(voiced) * (1000 * kFrameSamples / kRecognizerRate);
}

std::vector<std::int16_t> SpeechStretch(const std::vector<std::int16_t>& samples)
{
    const std::vector<double> levels = FrameLevels(samples);
    if (levels.empty())
        return samples;
    // The loudest level held for as long as speech lasts at least: a click does not set the scale.
    std::vector<double> sorted = levels;
    const auto held = sorted.begin() + std::min<std::ptrdiff_t>(kMinSpeechFrames, sorted.size()) - 1;
    std::nth_element(sorted.begin(), held, sorted.end(), std::greater<>());
    const double loudest = *held;
    const double threshold = std::max(VoiceThreshold(levels), loudest * kBelowLoudest);
    // Runs of voiced frames, a gap shorter than a pause between words bridged.
    struct Run
    {
        std::size_t from = 0;
        std::size_t to = 0; // one past the last voiced frame
        int voiced = 0;
        double energy = 0;
    };
    std::vector<Run> runs;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (levels[i] < threshold)
            continue;
        if (runs.empty() || i - runs.back().to > kBridgedFrames)
            runs.push_back({i, i, 0, 0});
        Run& run = runs.back();
        run.to = i + 1;
        ++run.voiced;
        run.energy += levels[i] * levels[i];
    }
    const auto best = std::max_element(runs.begin(), runs.end(), [](const Run& a, const Run& b) {
        return (a.voiced >= kMinSpeechFrames ? a.energy : 0) < (b.voiced >= kMinSpeechFrames ? b.energy : 0);
    });
    if (best == runs.end() || best->voiced < kMinSpeechFrames)
        return samples;
    const std::size_t from = best->from > kMarginFrames ? best->from - kMarginFrames : 0;
    const std::size_t to = std::min(levels.size(), best->to + kMarginFrames);
    double peak = 0;
    for (std::size_t i = best->from; i < best->to; ++i)
        peak = std::max(peak, levels[i]);
    const double gain = std::min(kMaxGain, kTargetLevel / peak);
    std::vector<std::int16_t> out;
    out.reserve((to - from) * kFrameSamples);
    for (std::size_t i = from * kFrameSamples; i < to * kFrameSamples; ++i)
        out.push_back(static_cast<std::int16_t>(std::clamp(samples[i] * gain, -32768.0, 32767.0)));
    return out;
}

} // namespace lexora
