#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

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

// The samples of a PCM WAV file and their layout.
struct WavAudio
{
    PcmFormat format;
    QByteArray data;
};

// Reads any PCM WAV (8 or 16 bits, any channels and rate), skipping chunks it does not know; a data
// size beyond the end of the file is cut to what is there. Nothing for other files.
std::optional<WavAudio> ParseWav(const QByteArray& bytes);
std::optional<WavAudio> ReadWavFile(const QString& path);

} // namespace lexora
