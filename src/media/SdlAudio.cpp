#include "media/SdlAudio.h"

#include <SDL.h>

namespace lexora {

namespace {

bool startSubsystem()
{
    // Audio pulls in SDL's event subsystem, whose SIGINT/SIGTERM handlers would swallow Qt's.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

} // namespace

SdlAudioSubsystem::~SdlAudioSubsystem()
{
    if (m_started.valid())
        ensure();
    if (m_state == State::Ready)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudioSubsystem::ensure()
{
    if (m_started.valid())
        m_state = m_started.get() ? State::Ready : State::Unavailable;
    if (m_state == State::Untried)
        m_state = startSubsystem() ? State::Ready : State::Unavailable;
    return m_state == State::Ready;
}

void SdlAudioSubsystem::startInBackground()
{
    if (m_state != State::Untried || m_started.valid())
        return;
    m_started = std::async(std::launch::async, [] {
        if (!startSubsystem())
            return false;
        // The first device opened starts SDL's own helpers (the desktop-bus connection among them).
        SDL_AudioSpec wanted{};
        wanted.freq = 22050;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = 1;
        wanted.samples = 1024;
        SDL_AudioSpec have;
        const SdlDevice device(SDL_OpenAudioDevice(nullptr, 0, &wanted, &have, SDL_AUDIO_ALLOW_ANY_CHANGE));
        return true;
    });
}

SdlDevice& SdlDevice::operator=(SdlDevice&& other) noexcept
{
    if (this != &other) {
        reset();
        m_id = other.m_id;
        other.m_id = 0;
    }
    return *this;
}

void SdlDevice::reset()
{
    if (m_id != 0)
        SDL_CloseAudioDevice(m_id);
    m_id = 0;
}

} // namespace lexora
