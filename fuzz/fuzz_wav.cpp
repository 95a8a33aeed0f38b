// The WAV reader, and the recogniser's resampler behind it: whatever the reader lets through must be
// safe for SDL to convert.
#include "media/WavFile.h"
#include "speech/SpeechAudio.h"

#include <cstdlib>

using namespace lexora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<WavAudio> audio = ParseWav(bytes);
    if (!audio)
        return 0;
    const PcmFormat& f = audio->format;
    if (f.channels < 1 || f.channels > 2 || audio->data.size() % f.blockAlign() != 0 ||
        audio->data.size() > bytes.size())
        std::abort();
    // Kept short: the resampler's cost grows with the samples, not with what is being tested.
    if (audio->data.size() <= 64 * 1024)
        RecognizerSamples(*audio);
    return 0;
}
