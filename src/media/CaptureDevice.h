#pragma once

#include "media/WavFile.h"

#include <QByteArray>
#include <QString>

namespace lexora {

// A microphone. Between start() and stop() it records PCM in the format asked for.
class CaptureDevice
{
public:
    virtual ~CaptureDevice() = default;
    // False when there is no input or the format cannot be recorded.
    virtual bool start(const PcmFormat& format) = 0;
    // Ends the recording and hands over what was captured since start (whole frames); empty when
    // nothing runs.
    virtual QByteArray stop() = 0;
};

} // namespace lexora
