#include "media/VoiceRecorder.h"

#include "media/RecordDevice.h"
#include "store/Prompter.h"

#include <QFile>

namespace lexora {

namespace {

const QString kAlias = QStringLiteral("recsound");

// Whole part of a decimal text; 0 when it is none.
std::int64_t wholeNumber(const QString& text)
{
    return text.trimmed().toLongLong();
}

} // namespace

VoiceRecorder::VoiceRecorder(CommandDevice& device, Prompter& prompter)
    : m_device(device), m_prompter(prompter)
{}

int VoiceRecorder::send(const QString& command, const QString& errorTitle)
{
    const int code = m_device.sendString(command, nullptr);
    if (code != 0)
        m_prompter.message(m_device.errorString(code), errorTitle, Prompter::Buttons::Ok);
    return code;
}

std::int64_t VoiceRecorder::status(const QString& item)
{
    QString reply;
    m_device.sendString(QStringLiteral("status %1 %2").arg(kAlias, item), &reply);
    return wholeNumber(reply);
}

void VoiceRecorder::StartRecord(const QString& channels, const QString& bits, const QString& rate)
{
    m_device.sendString(QStringLiteral("close all"), nullptr);
    send(QStringLiteral("open new Type waveaudio Alias ") + kAlias, QStringLiteral("Error"));
    send(QStringLiteral("set %1 time format ms").arg(kAlias), QStringLiteral("Error (time format)"));
    send(QStringLiteral("set %1 format tag pcm").arg(kAlias), QStringLiteral("Error (format tag)"));
    send(QStringLiteral("set %1 channels ").arg(kAlias) + channels, QStringLiteral("Error (channels)"));
    send(QStringLiteral("set %1 samplespersec ").arg(kAlias) + rate, QStringLiteral("Error (samples/sec)"));
    send(QStringLiteral("set %1 bitspersample ").arg(kAlias) + bits, QStringLiteral("Error (bits/sample)"));
    const std::int64_t c = wholeNumber(channels);
    const std::int64_t b = wholeNumber(bits);
    const std::int64_t r = wholeNumber(rate);
    // A number formatted for display carries a leading blank: "alignment  4".
    send(QStringLiteral("set %1 alignment  ").arg(kAlias) + QString::number(c * (b / 8)),
         QStringLiteral("Error (block align)"));
    lByteRate = static_cast<std::int32_t>(r * c * b / 8);
    send(QStringLiteral("record ") + kAlias, QStringLiteral("Error (record)"));
}

void VoiceRecorder::StopRecord(const QString& path)
{
    send(QStringLiteral("stop ") + kAlias, QStringLiteral("Error (stop)"));
    const bool saved =
        send(QStringLiteral("save %1 ").arg(kAlias) + path, QStringLiteral("Error (save)")) == 0;
    const std::int64_t channels = status(QStringLiteral("channels"));
    const std::int64_t bits = status(QStringLiteral("bitspersample"));
    const std::int64_t rate = status(QStringLiteral("samplespersec"));
    lByteRate = static_cast<std::int32_t>(rate * channels * bits / 8);
    send(QStringLiteral("close ") + kAlias, QStringLiteral("Error (close)"));
    m_device.sendString(QStringLiteral("close all"), nullptr);
    // Only a file this recording wrote is corrected; nothing is created where the save failed.
    if (saved && lByteRate > 0)
        PatchWavByteRate(path, lByteRate);
}

bool PatchWavByteRate(const QString& path, std::int32_t byteRate)
{
    QFile file(path);
    // ReadWrite: a write-only open would truncate the file.
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly) || file.size() < 32 || !file.seek(28))
        return false;
    const auto rate = static_cast<std::uint32_t>(byteRate);
    const char bytes[3] = {static_cast<char>(rate & 0xFF), static_cast<char>((rate >> 8) & 0xFF),
                           static_cast<char>((rate >> 16) & 0xFF)};
    return file.write(bytes, 3) == 3 && file.flush();
}

} // namespace lexora
