#pragma once

#include <QString>
#include <cstdint>

namespace lexora {

class Prompter;
class CommandDevice;

// Records the learner's reading into a WAV file through the recording device's commands. A device
// error is shown to the learner, in Chinese, under the title "跟读录音".
class VoiceRecorder
{
public:
    VoiceRecorder(CommandDevice& device, Prompter& prompter);

    // Channels, bits per sample and samples per second as decimal texts ("2", "16", "44100").
    // A recording still running is closed and a new one starts. False, after one message, when the
    // recording could not start (no microphone): the device is closed again.
    bool StartRecord(const QString& channels, const QString& bits, const QString& rate);
    // Saves the recording to path (any path, blanks included), closes the device and writes the
    // byte rate the device reports into the header. A failed save leaves path untouched and returns
    // false.
    bool StopRecord(const QString& path);

    // Bytes per second of the recording.
    std::int32_t lByteRate = 0;

private:
    // Sends a command; an error is shown as a failure of step.
    int send(const QString& command, const QString& step);
    std::int64_t status(const QString& item);

    CommandDevice& m_device;
    Prompter& m_prompter;
};

// Stores the low three bytes of byteRate at bytes 29 to 31 (counted from 1) of a WAV file; byte 32
// stays. False when the file is missing, too short or cannot be written; it is then left as it was.
bool PatchWavByteRate(const QString& path, std::int32_t byteRate);

} // namespace lexora
