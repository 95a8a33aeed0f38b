#pragma once

#include "store/Clock.h"

#include <QElapsedTimer>

namespace lexora {

// The program's clock: waiting lets paint and timer events run but holds back user input, so a
// child's clicks during a sound or a transition frame are handled after it, not inside it.
class QtClock final : public Clock
{
public:
    QtClock();
    std::int64_t tickCount() override;
    void processEvents() override;
    void sleep(int ms) override;

private:
    QElapsedTimer m_timer;
};

} // namespace lexora
