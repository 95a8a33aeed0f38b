#pragma once

#include "store/Clock.h"

#include <functional>

namespace lexora::test {

// Time and the day move only when told to: each processEvents() advances by `step` ms and runs an optional
// hook (a test can stop a transition or click from there); sleep() advances by its argument.
class FakeClock final : public Clock
{
public:
    std::int64_t tickCount() override { return m_now; }
    void processEvents() override
    {
        m_now += step;
        ++m_events;
        if (onEvents)
            onEvents();
    }
    void sleep(int ms) override
    {
        m_now += ms;
        m_slept += ms;
    }
    void advance(std::int64_t ms) { m_now += ms; }
    QDate today() override { return day; }

    std::int64_t step = 1;
    std::function<void()> onEvents;
    // A Monday.
    QDate day{2026, 3, 2};
    int eventsRun() const { return m_events; }
    std::int64_t slept() const { return m_slept; }

private:
    std::int64_t m_now = 1000;
    int m_events = 0;
    std::int64_t m_slept = 0;
};

} // namespace lexora::test
