#pragma once

#include "store/Clock.h"

#include <QElapsedTimer>
#include <QEventLoop>

namespace lexora {

// The program's clock over Qt's event loop. Waiting and processEvents let paint and timer events run;
// user input runs too, or is held back until the caller returns (Hold: a click during a sound is
// handled after the sound, not inside it). The transition's clock lets input through, so that a new
// word chosen mid-slide can stop the slide.
class QtClock final : public Clock
{
public:
    enum class UserInput
    {
        Hold,
        Deliver
    };

    explicit QtClock(UserInput input = UserInput::Hold);
    std::int64_t tickCount() override;
    void processEvents() override;
    void sleep(int ms) override;
    QDate today() override;

private:
    QElapsedTimer m_timer;
    QEventLoop::ProcessEventsFlags m_flags;
};

} // namespace lexora
