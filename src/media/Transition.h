#pragma once

#include <QImage>
#include <cstdint>

namespace lexora {

class Clock;
class PictureBox;

// The interleaved slide with which a new picture comes in: alternate stripes slide in from opposite
// sides until they meet. One transition runs at a time; stop() ends it at its next frame. Frames are paced by
// the clock and pending window events run between them. The program holds one instance, shared by everything
// that draws transitions or must stop them.
class Transition
{
public:
    enum Direction : std::int16_t
    {
        Vertical = 1,
        Horizontal = 2
    };

    explicit Transition(Clock& clock);

    bool IsTransIdle() const { return !m_running; }
    bool isRunning() const { return m_running; }
    // The running transition ends at its next frame, without its final full copy.
    void stop() { m_running = false; }
    // Least milliseconds between two frames.
    void setDelay(std::int32_t ms) { m_delay = ms; }
    std::int32_t delay() const { return m_delay; }

    // Slides src onto dest (boxes of the same size) in steps of `step` pixels per frame with stripes
    // `stripe` pixels thick; stripe 0 comes from the left (Horizontal) or the top (Vertical) when
    // firstFromStart. Returns false at once when a transition runs already or the arguments are
    // unusable (direction other than 1 and 2, step or stripe below 1); true when it ran, to its end
    // or until stopped.
    bool TransInterleave(PictureBox& dest, const PictureBox& src, int direction, int step, int stripe,
                         bool firstFromStart);

private:
    Clock& m_clock;
    bool m_running = false;
    std::int32_t m_delay = 0;
    // Clock reading at the end of the last frame.
    std::int64_t m_lastTick = 0;
};

// One frame of the slide: for every stripe, the `grown` pixels of the source edge opposite the
// stripe's side are copied to that side of dest.
void DrawInterleaveFrame(QImage& dest, const QImage& src, int direction, int grown, int stripe,
                         bool firstFromStart);

} // namespace lexora
