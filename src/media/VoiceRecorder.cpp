#include "media/VoiceRecorder.h"

#include "media/RecordDevice.h"
#include "store/Prompter.h"

#include <QFile>

namespace lexora {

namespace {

const QString kAlias = QStringLiteral("recsound");
const QString kTitle = QStringLiteral("跟读录音");

// Whole part of a decimal text; 0 when it is none.
std::int64_t wholeNumber(const QString& text)
{
    return text.trimmed().toLongLong();
}

} // namespace

VoiceRecorder::VoiceRecorder(CommandDevice& device, Prompter& prompter)
    : m_device(device), m_prompter(prompter)
{}

int VoiceRecorder::send(const QString& command, const QString& step)
{
    const int code = m_device.sendString(command, nullptr);
    if (code != 0)
        m_prompter.message(QStringLiteral("%1时出错：%2").arg(step, m_device.errorString(code)), kTitle,
                           Prompter::Buttons::Ok, Prompter::Icon::Warning);
    return code;
}

std::int64_t VoiceRecorder::status(const QString& item)
{
    QString reply;
    m_device.sendString(QStringLiteral("status %1 %2").arg(kAlias, item), &reply);
    return wholeNumber(reply);
}

bool VoiceRecorder::StartRecord(const QString& channels, const QString& bits, const QString& rate)
{
    m_device.sendString(QStringLiteral("close all"), nullptr);
    const std::int64_t c = wholeNumber(channels);
    const std::int64_t b = wholeNumber(bits);
    const std::int64_t r = wholeNumber(rate);
    lByteRate = static_cast<std::int32_t>(r * c * b / 8);
    // A number formatted for display carries a leading blank: "alignment  4".
    const std::pair<QString, QString> steps[] = {
        {QStringLiteral("open new Type waveaudio Alias ") + kAlias, QStringLiteral("打开录音设备")},
        {QStringLiteral("set %1 time format ms").arg(kAlias), QStringLiteral("设置时间格式")},
        {QStringLiteral("set %1 format tag pcm").arg(kAlias), QStringLiteral("设置录音格式")},
        {QStringLiteral("set %1 channels ").arg(kAlias) + channels, QStringLiteral("设置声道数")},
        {QStringLiteral("set %1 samplespersec ").arg(kAlias) + rate, QStringLiteral("设置采样率")},
        {QStringLiteral("set %1 bitspersample ").arg(kAlias) + bits, QStringLiteral("设置采样位数")},
        {QStringLiteral("set %1 alignment  ").arg(kAlias) + QString::number(c * (b / 8)),
         QStringLiteral("设置数据块大小")},
        {QStringLiteral("record ") + kAlias, QStringLiteral("开始录音")}};
    for (const auto& [command, step] : steps) {
        // The first error is the one worth telling; every later step would only fail after it.
        if (send(command, step) != 0) {
            m_device.sendString(QStringLiteral("close all"), nullptr);
            return false;
        }
    }
    return true;
}

bool VoiceRecorder::StopRecord(const QString& path)
{
    send(QStringLiteral("stop ") + kAlias, QStringLiteral("停止录音"));
    const bool saved = send(QStringLiteral("save %1 ").arg(kAlias) + path, QStringLiteral("保存录音")) == 0;
    const std::int64_t channels = status(QStringLiteral("channels"));
    const std::int64_t bits = status(QStringLiteral("bitspersample"));
    const std::int64_t rate = status(QStringLiteral("samplespersec"));
    lByteRate = static_cast<std::int32_t>(rate * channels * bits / 8);
    send(QStringLiteral("close ") + kAlias, QStringLiteral("关闭录音设备"));
    m_device.sendString(QStringLiteral("close all"), nullptr);
    // Only a file this recording wrote is corrected; nothing is created where the save failed.
    if (saved && lByteRate > 0)
        PatchWavByteRate(path, lByteRate);
    return saved;
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
