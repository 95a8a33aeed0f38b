#pragma once

#include <QDate>
#include <cstdint>

namespace lexora {

// Millisecond time, the day, and waiting that keeps the window painting; tests drive a fake one.
class Clock
{
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; never goes backwards.
    virtual std::int64_t tickCount() = 0;
    // Lets pending window events run (paint, timers); user input may be held back by the adapter.
    virtual void processEvents() = 0;
    // Waits ms milliseconds while the window keeps painting.
    virtual void sleep(int ms) = 0;
    // The calendar day, as the computer's clock has it (it may be set wrong, or set back).
    virtual QDate today() = 0;
};

} // namespace lexora
