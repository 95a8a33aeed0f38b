#include "media/SdlAudio.h"

#include <SDL.h>

namespace lexora {

SdlAudioSubsystem::~SdlAudioSubsystem()
{
    if (m_state == State::Ready)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudioSubsystem::ensure()
{
    if (m_state == State::Untried) {
        // Audio pulls in SDL's event subsystem, whose SIGINT/SIGTERM handlers would swallow Qt's.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        m_state = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 ? State::Ready : State::Unavailable;
    }
    return m_state == State::Ready;
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
