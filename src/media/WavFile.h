#pragma once

#include <QByteArray>

namespace lexora {

// Uncompressed PCM sample layout.
struct PcmFormat
{
    int channels = 1;
    int bitsPerSample = 8;
    int samplesPerSec = 11025;

    int blockAlign() const { return channels * (bitsPerSample / 8); }
    int byteRate() const { return samplesPerSec * blockAlign(); }
    bool operator==(const PcmFormat&) const = default;
};

// A canonical PCM WAV file: the 44-byte RIFF header followed by data (cut to whole frames).
QByteArray MakeWav(const PcmFormat& format, const QByteArray& data);

} // namespace lexora
