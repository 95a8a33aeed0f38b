#pragma once

#include "ui/ReadingChecker.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <mutex>

namespace lexora {

// The spoken-word check from the speech module, loaded by the first call that needs it (prepare() or
// check(), which the reading panel makes on a worker thread), so a start of the program never pays for
// the recogniser's libraries. Where the module cannot be loaded the check is unavailable, as on a
// machine without a recogniser.
class LoadedChecker final : public ReadingChecker
{
public:
    // The first of candidates that loads is used.
    explicit LoadedChecker(QStringList candidates);
    ~LoadedChecker() override;
    LoadedChecker(const LoadedChecker&) = delete;
    LoadedChecker& operator=(const LoadedChecker&) = delete;

    // Where the module is looked for by a program in programFolder: beside it (a portable tree), then
    // in its library folder (installed).
    static QStringList Candidates(const QString& programFolder);

    // Why the module could not be loaded (loads it first); empty when it was.
    QString failure();

    bool prepare() override;
    ReadingResult check(const QString& wavFile, const QString& word, const QStringList& words) override;

private:
    ReadingChecker* checker();

    const QStringList m_candidates;
    std::once_flag m_loaded;
    std::unique_ptr<ReadingChecker> m_checker;
    QString m_failure;
};

} // namespace lexora
