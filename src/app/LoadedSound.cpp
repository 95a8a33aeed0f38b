#include "app/LoadedSound.h"

#include "speech/SoundModule.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <dlfcn.h>

namespace lexora {

LoadedSound::LoadedSound(QStringList candidates, Clock& clock)
    : m_parts(std::async(std::launch::async, [candidates = std::move(candidates), &clock] {
                  return std::make_shared<Parts>(Load(candidates, clock));
              }).share())
{}

// The parts are deleted here, on the thread that owns the window; the module itself stays loaded.
LoadedSound::~LoadedSound() = default;

QStringList LoadedSound::Candidates(const QString& programFolder)
{
    const QDir folder(programFolder);
    return {folder.filePath(QLatin1String(kSoundModuleFile)),
            QDir::cleanPath(folder.filePath(QStringLiteral(LEXORA_SOUND_FROM_BIN "/") +
                                            QLatin1String(kSoundModuleFile)))};
}

LoadedSound::Parts LoadedSound::Load(const QStringList& candidates, Clock& clock)
{
    Parts parts;
    for (const QString& path : candidates) {
        if (!QFileInfo(path).isFile())
            continue;
        // Never closed: SDL keeps threads and exit handlers of its own.
        void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            parts.failure = QString::fromLocal8Bit(dlerror());
            continue;
        }
        using Entry = const SoundModule* (*)();
        const auto entry = reinterpret_cast<Entry>(dlsym(handle, kSoundModuleEntry));
        const SoundModule* module = entry ? entry() : nullptr;
        if (!module || module->version != SoundModule::kVersion) {
            parts.failure = path + QStringLiteral(": not a sound module of this program");
            continue;
        }
        parts.out.reset(module->makeSoundOut(clock));
        parts.capture.reset(module->makeCapture());
        parts.checker.reset(module->makeChecker());
        parts.failure.clear();
        return parts;
    }
    if (parts.failure.isEmpty())
        parts.failure = QStringLiteral("no %1 in %2")
                            .arg(QLatin1String(kSoundModuleFile), candidates.join(QLatin1String(", ")));
    // The window works on without sound; whoever installed it can see why.
    qWarning("lexora: no sound, no recording: %s", qUtf8Printable(parts.failure));
    return parts;
}

const LoadedSound::Parts& LoadedSound::parts()
{
    return *m_parts.get();
}

bool LoadedSound::loaded()
{
    return parts().out != nullptr;
}

QString LoadedSound::failure()
{
    return parts().failure;
}

void LoadedSound::play(const QByteArray& wav)
{
    if (SoundOut* out = parts().out.get())
        out->play(wav);
}

bool LoadedSound::start(const PcmFormat& format)
{
    CaptureDevice* capture = parts().capture.get();
    return capture && capture->start(format);
}

QByteArray LoadedSound::stop()
{
    CaptureDevice* capture = parts().capture.get();
    return capture ? capture->stop() : QByteArray();
}

bool LoadedSound::prepare()
{
    ReadingChecker* checker = parts().checker.get();
    return checker && checker->prepare();
}

ReadingResult LoadedSound::check(const QString& wavFile, const QString& word, const QStringList& words)
{
    ReadingChecker* checker = parts().checker.get();
    return checker ? checker->check(wavFile, word, words) : ReadingResult{};
}

} // namespace lexora
