#include "media/Transition.h"

#include "media/PictureBox.h"
#include "store/Clock.h"

namespace lexora {

Transition::Transition(Clock& clock) : m_clock(clock) {}

void DrawInterleaveFrame(QImage& dest, const QImage& src, int direction, int grown, int stripe,
                         bool firstFromStart)
{
    const int w = dest.width();
    const int h = dest.height();
    const int extent = direction == Transition::Horizontal ? h : w;
    bool fromStart = firstFromStart;
    for (int s = 0; s <= extent; s += stripe, fromStart = !fromStart) {
        if (direction == Transition::Horizontal) {
            if (fromStart)
                CopyPixels(dest, QPoint(0, s), src, QRect(w - grown, s, grown, stripe));
            else
                CopyPixels(dest, QPoint(w - grown, s), src, QRect(0, s, grown, stripe));
        } else {
            if (fromStart)
                CopyPixels(dest, QPoint(s, 0), src, QRect(s, h - grown, stripe, grown));
            else
                CopyPixels(dest, QPoint(s, h - grown), src, QRect(s, 0, stripe, grown));
        }
    }
}

bool Transition::TransInterleave(PictureBox& dest, const PictureBox& src, int direction, int step, int stripe,
                                 bool firstFromStart)
{
    if (m_running || (direction != Vertical && direction != Horizontal) || step < 1 || stripe < 1)
        return false;
    const int length = direction == Horizontal ? dest.surface().width() : dest.surface().height();
    m_running = true;
    int grown = 0;
    for (;;) {
        if (!m_running)
            return true;
        if (m_clock.tickCount() < m_lastTick + m_delay) {
            m_clock.processEvents();
            continue;
        }
        if (grown >= length)
            break;
        // Looked up each frame: a handler that ran between frames may have resized the box.
        DrawInterleaveFrame(dest.surface(), src.image(), direction, grown, stripe, firstFromStart);
        grown += step;
        dest.repaint();
        m_lastTick = m_clock.tickCount();
        m_clock.processEvents();
    }
    m_running = false;
    CopyPixels(dest.surface(), QPoint(0, 0), src.image(), src.image().rect());
    dest.repaint();
    return true;
}

} // namespace lexora
