#include "media/SdlCaptureDevice.h"

#include <SDL.h>

namespace lexora {

bool SdlCaptureDevice::start(const PcmFormat& format)
{
    m_device.reset();
    // Only 8-bit and 16-bit samples have a WAV layout here.
    if ((format.bitsPerSample != 8 && format.bitsPerSample != 16) || !m_sdl.ensure())
        return false;

    SDL_AudioSpec want{};
    // WAV keeps 8-bit samples unsigned and 16-bit ones signed little-endian.
    want.format = format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    want.channels = static_cast<Uint8>(format.channels);
    want.freq = format.samplesPerSec;
    want.samples = 1024;
    SDL_AudioSpec have;
    m_device = SdlDevice(SDL_OpenAudioDevice(nullptr, 1, &want, &have, 0));
    if (!m_device)
        return false;
    m_format = format;
    SDL_PauseAudioDevice(m_device.id(), 0);
    return true;
}

QByteArray SdlCaptureDevice::stop()
{
    if (!m_device)
        return {};
    SDL_PauseAudioDevice(m_device.id(), 1);
    QByteArray data(static_cast<qsizetype>(SDL_GetQueuedAudioSize(m_device.id())), Qt::Uninitialized);
    data.resize(SDL_DequeueAudio(m_device.id(), data.data(), static_cast<Uint32>(data.size())));
    m_device.reset();
    const int align = std::max(m_format.blockAlign(), 1);
    data.chop(data.size() % align);
    return data;
}

qint64 SdlCaptureDevice::pendingBytes() const
{
    return m_device ? SDL_GetQueuedAudioSize(m_device.id()) : 0;
}

} // namespace lexora
