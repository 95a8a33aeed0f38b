#include "media/QtClock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace lexora {

QtClock::QtClock(UserInput input)
    : m_flags(input == UserInput::Hold ? QEventLoop::ExcludeUserInputEvents : QEventLoop::AllEvents)
{
    m_timer.start();
}

std::int64_t QtClock::tickCount()
{
    return m_timer.elapsed();
}

void QtClock::processEvents()
{
    QCoreApplication::processEvents(m_flags);
}

void QtClock::sleep(int ms)
{
    if (ms <= 0) {
        processEvents();
        return;
    }
    // Without an application object there is no event loop to run (command-line tools, tests).
    if (!QCoreApplication::instance()) {
        QThread::msleep(static_cast<unsigned long>(ms));
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec(m_flags);
}

QDate QtClock::today()
{
    return QDate::currentDate();
}

} // namespace lexora
