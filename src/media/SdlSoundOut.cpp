#include "media/SdlSoundOut.h"

#include "media/StartupTrace.h"
#include "store/Clock.h"

#include <SDL.h>
#include <cstring>
#include <memory>
#include <vector>

namespace lexora {

namespace {

struct WavFree
{
    void operator()(Uint8* buffer) const { SDL_FreeWAV(buffer); }
};

constexpr Uint16 kDeviceFrames = 1024;
// Beyond the sound's own length: a device that stops taking data must not hang the program.
constexpr int kStallMs = 2000;

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
    SDL_AudioSpec wanted;
    Uint8* raw = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(SDL_RWFromConstMem(wav.constData(), static_cast<int>(wav.size())), 1, &wanted, &raw,
                        &length))
        return;
    const std::unique_ptr<Uint8, WavFree> samples(raw);

    wanted.samples = kDeviceFrames;
    wanted.callback = nullptr;
    wanted.userdata = nullptr;
    SDL_AudioSpec have;
    SdlDevice device(SDL_OpenAudioDevice(nullptr, 0, &wanted, &have, SDL_AUDIO_ALLOW_ANY_CHANGE));
    if (!device)
        return;
    const std::vector<Uint8> pcm = convert(wanted, have, samples.get(), length);
    if (pcm.empty() || SDL_QueueAudio(device.id(), pcm.data(), static_cast<Uint32>(pcm.size())) != 0)
        return;

    const int bytesPerSecond =
        have.freq * have.channels * static_cast<int>(SDL_AUDIO_BITSIZE(have.format)) / 8;
    const std::int64_t soundMs =
        bytesPerSecond > 0 ? static_cast<std::int64_t>(pcm.size()) * 1000 / bytesPerSecond : 0;
    const std::int64_t deadline = m_clock.tickCount() + soundMs + kStallMs;
    SDL_PauseAudioDevice(device.id(), 0);
    qCDebug(lcStartup, "voice");
    while (SDL_GetQueuedAudioSize(device.id()) > 0 &&
           SDL_GetAudioDeviceStatus(device.id()) == SDL_AUDIO_PLAYING && m_clock.tickCount() < deadline)
        m_clock.sleep(5);
    // The queue is empty once its last piece is in the device's buffer, which still has to play out.
    m_clock.sleep(2 * static_cast<int>(have.samples) * 1000 / std::max(have.freq, 1) + 1);
}

} // namespace lexora
