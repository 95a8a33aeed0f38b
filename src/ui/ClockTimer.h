#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>

namespace lexora {

class Clock;

// A repeating timer whose time is the injected clock's: poll() fires when an interval has passed on
// that clock. A Qt timer only wakes poll() up at the right moment, so tests drive it with a fake clock
// and a call to poll(), never by waiting.
class ClockTimer final : public QObject
{
    Q_OBJECT
public:
    ClockTimer(Clock& clock, int intervalMs, QObject* parent = nullptr);

    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }
    int interval() const { return m_interval; }

    // Fires once when the interval has passed since the start or the end of the last firing.
    void poll();

Q_SIGNALS:
    void timeout();

private:
    void arm();

    Clock& m_clock;
    int m_interval;
    bool m_enabled = false;
    std::int64_t m_due = 0;
    QTimer m_wake;
};

} // namespace lexora
