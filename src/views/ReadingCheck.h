#pragma once

#include "ui/ReadingChecker.h"

#include <QObject>
#include <QThreadPool>

namespace lexora {

// Runs the check of a reading on a worker thread and reports on the user-interface thread. Only the
// latest check counts: starting another or cancelling drops the result of one still running.
class ReadingCheck final : public QObject
{
    Q_OBJECT
public:
    // No checker: nothing is ever checked.
    explicit ReadingCheck(ReadingChecker* checker, QObject* parent = nullptr);
    ~ReadingCheck() override;

    bool enabled() const { return m_checker != nullptr; }

    // Loads the recogniser in the background, so that the check after a reading starts at once.
    void warmUp();
    void start(const QString& wavFile, const QString& word, const QStringList& words);
    void cancel() { ++m_generation; }
    bool running() const { return m_running > 0; }

Q_SIGNALS:
    void judged(const QString& word, const lexora::ReadingResult& result);

private:
    ReadingChecker* const m_checker;
    int m_generation = 0;
    int m_running = 0;
    // Last, so that it is destroyed first: it waits for a check still running.
    QThreadPool m_pool;
};

} // namespace lexora
