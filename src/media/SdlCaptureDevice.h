#pragma once

#include "media/CaptureDevice.h"
#include "media/SdlAudio.h"

namespace lexora {

// Records from SDL's default capture device; SDL converts to the format asked for and queues the
// samples until stop() takes them.
class SdlCaptureDevice final : public CaptureDevice
{
public:
    bool start(const PcmFormat& format) override;
    QByteArray stop() override;

    // Bytes captured so far and not yet taken.
    qint64 pendingBytes() const;

private:
    SdlAudioSubsystem m_sdl;
    SdlDevice m_device;
    PcmFormat m_format;
};

} // namespace lexora
