#pragma once

#include "media/SdlAudio.h"
#include "media/SoundOut.h"

namespace lexora {

class Clock;

// Plays through SDL: the WAV is converted to the format the device offers, queued, and waited for
// with the clock (so the window keeps painting) until the device has played it out.
class SdlSoundOut final : public SoundOut
{
public:
    explicit SdlSoundOut(Clock& clock);
    void play(const QByteArray& wav) override;
    // Gets the audio ready on a worker thread while the program starts; the first play waits for it.
    void prepare() { m_sdl.startInBackground(); }

private:
    Clock& m_clock;
    SdlAudioSubsystem m_sdl;
};

} // namespace lexora
