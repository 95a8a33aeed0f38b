#include "media/RecordDevice.h"

#include "media/CaptureDevice.h"

#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>

namespace lexora {

namespace {

bool is(const QString& word, const char* keyword)
{
    return word.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

// A whole number within [low, high], or nothing.
std::optional<int> number(const QString& text, int low, int high)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace

RecordDevice::RecordDevice(CaptureDevice& capture) : m_capture(capture) {}

RecordDevice::~RecordDevice()
{
    close();
}

QString RecordDevice::errorString(int code) const
{
    switch (code) {
    case NoError:
        return QStringLiteral("操作完成。");
    case UnrecognizedCommand:
        return QStringLiteral("录音设备不认识这个命令。");
    case DeviceNotOpen:
        return QStringLiteral("录音设备没有打开。");
    case OutOfRange:
        return QStringLiteral("录音设备不支持这个设置。");
    case DuplicateAlias:
        return QStringLiteral("录音设备已经在使用中。");
    case CannotSave:
        return QStringLiteral("录音不能写入文件。");
    case NothingRecorded:
        return QStringLiteral("还没有录到声音。");
    case NoInputDevice:
        return QStringLiteral("没有找到可以录音的麦克风，请检查麦克风是否插好。");
    default:
        return QStringLiteral("录音设备出错（错误代码 %1）。").arg(code);
    }
}

int RecordDevice::sendString(const QString& command, QString* reply)
{
    if (reply)
        reply->clear();
    const QStringList words = command.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() < 2)
        return UnrecognizedCommand;
    const QString& verb = words[0];
    if (is(verb, "close") && is(words[1], "all") && words.size() == 2) {
        close();
        return NoError;
    }
    if (is(verb, "open"))
        return open(words);
    if (!m_open || m_open->alias.compare(words[1], Qt::CaseInsensitive) != 0)
        return DeviceNotOpen;
    Open& device = *m_open;
    if (is(verb, "set"))
        return set(device, words);
    if (is(verb, "status"))
        return status(device, words, reply);
    if (is(verb, "record") && words.size() == 2)
        return record(device);
    if (is(verb, "stop") && words.size() == 2) {
        stop(device);
        return NoError;
    }
    if (is(verb, "close") && words.size() == 2) {
        close();
        return NoError;
    }
    if (is(verb, "save") && words.size() >= 3) {
        // The path keeps its own blanks: take the raw text after the alias.
        static const QRegularExpression head(QStringLiteral("^\\s*\\S+\\s+\\S+\\s+"));
        return save(device, command.mid(head.match(command).capturedLength()));
    }
    return UnrecognizedCommand;
}

int RecordDevice::open(const QStringList& words)
{
    if (words.size() != 6 || !is(words[1], "new") || !is(words[2], "type") || !is(words[3], "waveaudio") ||
        !is(words[4], "alias"))
        return UnrecognizedCommand;
    if (m_open)
        return DuplicateAlias;
    m_open = Open{};
    m_open->alias = words[5];
    return NoError;
}

int RecordDevice::set(Open& device, const QStringList& words)
{
    const QStringList args = words.mid(2);
    auto matches = [&args](std::initializer_list<const char*> keywords) {
        if (args.size() != static_cast<qsizetype>(keywords.size()))
            return false;
        qsizetype i = 0;
        for (const char* k : keywords) {
            if (k && !is(args[i], k))
                return false;
            ++i;
        }
        return true;
    };
    if (matches({"time", "format", "ms"}) || matches({"time", "format", "milliseconds"}) ||
        matches({"format", "tag", "pcm"}))
        return NoError;
    if (args.size() != 2)
        return UnrecognizedCommand;
    const QString& what = args[0];
    std::optional<int> value;
    if (is(what, "channels") && (value = number(args[1], 1, 8)))
        device.format.channels = *value;
    else if (is(what, "samplespersec") && (value = number(args[1], 1000, 192000)))
        device.format.samplesPerSec = *value;
    else if (is(what, "bitspersample") && (value = number(args[1], 8, 16)) && (*value == 8 || *value == 16))
        device.format.bitsPerSample = *value;
    else if (is(what, "alignment") && (value = number(args[1], 1, 64)))
        device.alignment = *value;
    else if (is(what, "channels") || is(what, "samplespersec") || is(what, "bitspersample") ||
             is(what, "alignment"))
        return OutOfRange;
    else
        return UnrecognizedCommand;
    return NoError;
}

int RecordDevice::status(const Open& device, const QStringList& words, QString* reply) const
{
    if (words.size() != 3)
        return UnrecognizedCommand;
    const QString& what = words[2];
    int value = 0;
    if (is(what, "channels"))
        value = device.format.channels;
    else if (is(what, "bitspersample"))
        value = device.format.bitsPerSample;
    else if (is(what, "samplespersec"))
        value = device.format.samplesPerSec;
    else if (is(what, "alignment"))
        value = device.format.blockAlign();
    else if (is(what, "bytespersec"))
        value = device.format.byteRate();
    else if (is(what, "mode")) {
        if (reply)
            *reply = device.recording ? QStringLiteral("recording") : QStringLiteral("stopped");
        return NoError;
    } else
        return UnrecognizedCommand;
    if (reply)
        *reply = QString::number(value);
    return NoError;
}

int RecordDevice::record(Open& device)
{
    // Samples are written whole frames at a time; an alignment that disagrees cannot be recorded.
    if (device.alignment != device.format.blockAlign())
        return OutOfRange;
    if (device.recording)
        stop(device);
    if (!m_capture.start(device.format))
        return NoInputDevice;
    device.recording = true;
    device.recorded = true;
    device.data.clear();
    return NoError;
}

void RecordDevice::stop(Open& device)
{
    if (!device.recording)
        return;
    device.data = m_capture.stop();
    device.recording = false;
}

int RecordDevice::save(Open& device, QString path)
{
    if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"')))
        path = path.mid(1, path.size() - 2);
    if (path.isEmpty())
        return UnrecognizedCommand;
    stop(device);
    if (!device.recorded)
        return NothingRecorded;
    // Written beside the target and renamed over it: a failed save leaves the target as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return CannotSave;
    const QByteArray wav = MakeWav(device.format, device.data);
    if (file.write(wav) != wav.size() || !file.commit())
        return CannotSave;
    return NoError;
}

void RecordDevice::close()
{
    if (m_open)
        stop(*m_open);
    m_open.reset();
}

} // namespace lexora
