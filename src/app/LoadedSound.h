#pragma once

#include "media/CaptureDevice.h"
#include "media/SoundOut.h"
#include "ui/ReadingChecker.h"

#include <QString>
#include <QStringList>
#include <future>
#include <memory>

namespace lexora {

class Clock;

// Sound out, the microphone and the spoken-word check, from the sound module, which is loaded on a
// worker thread from construction on. Each call waits for the load (it is long done by the time a
// child can ask for a sound); where the module cannot be loaded the sound is silent, the microphone
// absent and the check unavailable, as on a machine without them.
class LoadedSound final : public SoundOut, public CaptureDevice, public ReadingChecker
{
public:
    // The first of candidates that loads is used; clock is the one sound out waits with.
    LoadedSound(QStringList candidates, Clock& clock);
    ~LoadedSound() override;
    LoadedSound(const LoadedSound&) = delete;
    LoadedSound& operator=(const LoadedSound&) = delete;

    // Where the module is looked for by a program in programFolder: beside it (a portable tree), then
    // in its library folder (installed).
    static QStringList Candidates(const QString& programFolder);

    // Whether the module was loaded (waits for the load); why not, when it was not.
    bool loaded();
    QString failure();

    void play(const QByteArray& wav) override;
    bool start(const PcmFormat& format) override;
    QByteArray stop() override;
    bool prepare() override;
    ReadingResult check(const QString& wavFile, const QString& word, const QStringList& words) override;

private:
    struct Parts
    {
        std::unique_ptr<SoundOut> out;
        std::unique_ptr<CaptureDevice> capture;
        std::unique_ptr<ReadingChecker> checker;
        QString failure;
    };
    static Parts Load(const QStringList& candidates, Clock& clock);
    const Parts& parts();

    std::shared_future<std::shared_ptr<Parts>> m_parts;
};

} // namespace lexora
