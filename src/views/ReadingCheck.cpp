#include "views/ReadingCheck.h"

namespace lexora {

ReadingCheck::ReadingCheck(ReadingChecker* checker, QObject* parent) : QObject(parent), m_checker(checker)
{
    // One recogniser, one check at a time; a warm-up and a check queue behind each other.
    m_pool.setMaxThreadCount(1);
}

ReadingCheck::~ReadingCheck()
{
    m_pool.waitForDone();
}

void ReadingCheck::warmUp()
{
    if (!m_checker)
        return;
    ReadingChecker* checker = m_checker;
    m_pool.start([checker] { checker->prepare(); });
}

void ReadingCheck::start(const QString& wavFile, const QString& word, const QStringList& words)
{
    if (!m_checker)
        return;
    const int generation = ++m_generation;
    ++m_running;
    ReadingChecker* checker = m_checker;
    m_pool.start([this, checker, generation, wavFile, word, words] {
        const ReadingResult result = checker->check(wavFile, word, words);
        QMetaObject::invokeMethod(
            this,
            [this, generation, word, result] {
                --m_running;
                if (generation == m_generation)
                    Q_EMIT judged(word, result);
            },
            Qt::QueuedConnection);
    });
}

} // namespace lexora
