#pragma once

#include "media/WavFile.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace lexora {

class CaptureDevice;

// A recording device driven by text commands. sendString returns 0 when the command succeeded, else
// an error code whose text errorString gives; a status query answers in reply (may be null).
class CommandDevice
{
public:
    virtual ~CommandDevice() = default;
    virtual int sendString(const QString& command, QString* reply) = 0;
    virtual QString errorString(int code) const = 0;
};

// The wave-audio recording device, driven by text commands:
//   open new Type waveaudio Alias A      close A      close all
//   set A time format ms | format tag pcm | channels N | samplespersec N | bitspersample N | alignment N
//   record A      stop A      save A PATH      status A channels | bitspersample | samplespersec | ...
// Keywords are matched without regard to case; PATH is the rest of the line (blanks kept, optional
// double quotes removed). One device at a time.
class RecordDevice final : public CommandDevice
{
public:
    enum Error
    {
        NoError = 0,
        UnrecognizedCommand = 261,
        DeviceNotOpen = 263,
        OutOfRange = 282,
        DuplicateAlias = 289,
        CannotSave = 293,
        NothingRecorded = 295,
        NoInputDevice = 326,
    };

    explicit RecordDevice(CaptureDevice& capture);
    ~RecordDevice();
    RecordDevice(const RecordDevice&) = delete;
    RecordDevice& operator=(const RecordDevice&) = delete;

    int sendString(const QString& command, QString* reply) override;
    QString errorString(int code) const override;

    bool isOpen() const { return m_open.has_value(); }
    bool isRecording() const { return m_open && m_open->recording; }

private:
    struct Open
    {
        QString alias;
        PcmFormat format;
        int alignment = 1;
        bool recording = false;
        bool recorded = false;
        QByteArray data;
    };

    int open(const QStringList& words);
    int set(Open& device, const QStringList& words);
    int status(const Open& device, const QStringList& words, QString* reply) const;
    int record(Open& device);
    void stop(Open& device);
    int save(Open& device, QString path);
    void close();

    CaptureDevice& m_capture;
    std::optional<Open> m_open;
};

} // namespace lexora
