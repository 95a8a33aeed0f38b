#include "ui/ClockTimer.h"

#include "store/Clock.h"

#include <algorithm>

namespace lexora {

ClockTimer::ClockTimer(Clock& clock, int intervalMs, QObject* parent)
    : QObject(parent), m_clock(clock), m_interval(intervalMs)
{
    m_wake.setSingleShot(true);
    // A coarse timer may wake early; poll() then just sleeps on for the rest.
    m_wake.setTimerType(Qt::PreciseTimer);
    connect(&m_wake, &QTimer::timeout, this, &ClockTimer::poll);
}

void ClockTimer::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (enabled) {
        m_due = m_clock.tickCount() + m_interval;
        arm();
    } else {
        m_wake.stop();
    }
}

void ClockTimer::poll()
{
    if (!m_enabled)
        return;
    if (m_clock.tickCount() >= m_due) {
        Q_EMIT timeout();
        // The next interval counts from the end of this tick: a word whose voice played long still
        // stands for a whole interval.
        m_due = m_clock.tickCount() + m_interval;
    }
    if (m_enabled)
        arm();
}

void ClockTimer::arm()
{
    const std::int64_t wait = std::max<std::int64_t>(0, m_due - m_clock.tickCount());
    m_wake.start(static_cast<int>(std::min<std::int64_t>(wait, m_interval)));
}

} // namespace lexora
