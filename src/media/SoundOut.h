#pragma once

#include <QByteArray>

namespace lexora {

// Where sounds are heard. play() is synchronous: it returns when the sound has been heard to its
// end. Bytes that are no readable WAV, or no sound device, give silence at once and no error.
class SoundOut
{
public:
    virtual ~SoundOut() = default;
    virtual void play(const QByteArray& wav) = 0;
};

} // namespace lexora
