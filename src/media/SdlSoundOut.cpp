#include "media/SdlSoundOut.h"

#include "media/StartupTrace.h"
#include "media/WavFile.h"
#include "store/Clock.h"

#include <SDL.h>
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace lexora {

namespace {

constexpr Uint16 kDeviceFrames = 1024;
// Beyond the sound's own length: a device that is slow to start still plays it out.
constexpr std::int64_t kSlackMs = 250;
// However long the sound: the window takes no input while it plays, so the wait must end.
constexpr std::int64_t kLongestMs = 30000;

// The sound in the device's format; empty when SDL cannot convert.
std::vector<Uint8> convert(const SDL_AudioSpec& from, const SDL_AudioSpec& to, const Uint8* data,
                           Uint32 length)
{
    SDL_AudioCVT cvt;
    const int needed =
        SDL_BuildAudioCVT(&cvt, from.format, from.channels, from.freq, to.format, to.channels, to.freq);
    if (needed < 0)
        return {};
    std::vector<Uint8> out(static_cast<size_t>(length) * static_cast<size_t>(needed ? cvt.len_mult : 1));
    std::memcpy(out.data(), data, length);
    if (needed == 0)
        return out;
    cvt.buf = out.data();
    cvt.len = static_cast<int>(length);
    if (SDL_ConvertAudio(&cvt) != 0)
        return {};
    out.resize(static_cast<size_t>(cvt.len_cvt));
    return out;
}

} // namespace

SdlSoundOut::SdlSoundOut(Clock& clock) : m_clock(clock) {}

void SdlSoundOut::play(const QByteArray& wav)
{
    if (wav.isEmpty() || !m_sdl.ensure())
        return;
    // Checked before SDL sees it: SDL's own reader and converters trust the header.
    const std::optional<WavAudio> audio = ParseWav(wav);
    if (!audio || audio->data.isEmpty())
        return;
    SDL_AudioSpec wanted{};
    wanted.freq = audio->format.samplesPerSec;
    wanted.format = audio->format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    wanted.channels = static_cast<Uint8>(audio->format.channels);
    wanted.samples = kDeviceFrames;
    wanted.callback = nullptr;
    wanted.userdata = nullptr;
    SDL_AudioSpec have;
    SdlDevice device(SDL_OpenAudioDevice(nullptr, 0, &wanted, &have, SDL_AUDIO_ALLOW_ANY_CHANGE));
    if (!device)
        return;
    const std::vector<Uint8> pcm =
        convert(wanted, have, reinterpret_cast<const Uint8*>(audio->data.constData()),
                static_cast<Uint32>(audio->data.size()));
    if (pcm.empty() || SDL_QueueAudio(device.id(), pcm.data(), static_cast<Uint32>(pcm.size())) != 0)
        return;

    const int bytesPerSecond =
        have.freq * have.channels * static_cast<int>(SDL_AUDIO_BITSIZE(have.format)) / 8;
    const std::int64_t soundMs =
        bytesPerSecond > 0 ? static_cast<std::int64_t>(pcm.size()) * 1000 / bytesPerSecond : 0;
    // The length of what was queued, not what the header claims.
    const std::int64_t deadline = m_clock.tickCount() + std::min(soundMs + kSlackMs, kLongestMs);
    SDL_PauseAudioDevice(device.id(), 0);
    qCDebug(lcStartup, "voice");
    while (SDL_GetQueuedAudioSize(device.id()) > 0 &&
           SDL_GetAudioDeviceStatus(device.id()) == SDL_AUDIO_PLAYING && m_clock.tickCount() < deadline)
        m_clock.sleep(5);
    // The queue is empty once its last piece is in the device's buffer, which still has to play out.
    m_clock.sleep(2 * static_cast<int>(have.samples) * 1000 / std::max(have.freq, 1) + 1);
}

} // namespace lexora
