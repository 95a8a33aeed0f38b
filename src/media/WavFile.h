#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <variant>

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

// A WAV that was read, or why it was refused (an English reason, for logs and the course tools).
using WavRead = std::variant<WavAudio, QString>;

// The one reader of every WAV the program and its tools take in. Only what SDL's converters and the
// recogniser handle safely gets through: PCM, 1 or 2 channels, 8 or 16 bits, 8000 to 96000 samples
// per second, a block align and byte rate that agree with those, and a data chunk that lies within
// the bytes. Chunks it does not know are skipped.
WavRead CheckWav(const QByteArray& bytes);
// CheckWav of a file; anything but a regular file (a FIFO, a device, a folder) is refused without
// being opened for reading, and so is a file larger than kMaxWavBytes.
WavRead CheckWavFile(const QString& path);

inline constexpr qint64 kMaxWavBytes = 64 * 1024 * 1024;

// CheckWav and CheckWavFile without the reason.
std::optional<WavAudio> ParseWav(const QByteArray& bytes);
std::optional<WavAudio> ReadWavFile(const QString& path);

} // namespace lexora
