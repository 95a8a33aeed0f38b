#include "app/LoadedChecker.h"

#include "speech/SpeechModule.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <dlfcn.h>

namespace lexora {

LoadedChecker::LoadedChecker(QStringList candidates) : m_candidates(std::move(candidates)) {}

LoadedChecker::~LoadedChecker() = default;

QStringList LoadedChecker::Candidates(const QString& programFolder)
{
    const QDir folder(programFolder);
    return {folder.filePath(QLatin1String(kSpeechModuleFile)),
            QDir::cleanPath(folder.filePath(QStringLiteral(LEXORA_SPEECH_FROM_BIN "/") +
                                            QLatin1String(kSpeechModuleFile)))};
}

ReadingChecker* LoadedChecker::checker()
{
    std::call_once(m_loaded, [this] {
        for (const QString& path : m_candidates) {
            if (!QFileInfo(path).isFile())
                continue;
            // Never closed: the checker's code must outlive every call into it.
            void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
            if (!handle) {
                m_failure = QString::fromLocal8Bit(dlerror());
                continue;
            }
            using Entry = const SpeechModule* (*)();
            const auto entry = reinterpret_cast<Entry>(dlsym(handle, kSpeechModuleEntry));
            const SpeechModule* module = entry ? entry() : nullptr;
            if (!module || module->version != SpeechModule::kVersion) {
                m_failure = path + QStringLiteral(": not a speech module of this program");
                continue;
            }
            m_checker.reset(module->makeChecker());
            m_failure.clear();
            return;
        }
        if (m_failure.isEmpty())
            m_failure = QStringLiteral("no %1 in %2")
                            .arg(QLatin1String(kSpeechModuleFile), m_candidates.join(QLatin1String(", ")));
        // Readings are still recorded and played back; whoever installed the program can see why
        // they are not checked.
        qWarning("lexora: readings cannot be checked: %s", qUtf8Printable(m_failure));
    });
    return m_checker.get();
}

QString LoadedChecker::failure()
{
    checker();
    return m_failure;
}

bool LoadedChecker::prepare()
{
    ReadingChecker* loaded = checker();
    return loaded && loaded->prepare();
}

ReadingResult LoadedChecker::check(const QString& wavFile, const QString& word, const QStringList& words)
{
    ReadingChecker* loaded = checker();
    return loaded ? loaded->check(wavFile, word, words) : ReadingResult{};
}

} // namespace lexora
