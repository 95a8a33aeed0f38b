#include "FakeClock.h"
#include "MediaTestKit.h"
#include "media/PictureBox.h"
#include "media/Transition.h"

#include <gtest/gtest.h>
#include <vector>

using namespace lexora;
using namespace lexora::test;

namespace {

constexpr int kW = 40;
constexpr int kH = 30;

class TransitionTest : public ::testing::Test, private WithApplication
{
protected:
    void SetUp() override
    {
        for (PictureBox* box : {&dest, &src, &otherDest})
            box->resize(kW, kH);
        // Every source pixel differs from every other and from the black destination.
        QImage picture(kW, kH, QImage::Format_RGB32);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                picture.setPixel(x, y, qRgb(x * 5 + 10, y * 7 + 10, 200));
        src.setImage(picture);
        dest.surface().fill(Qt::black);
        otherDest.surface().fill(Qt::black);
    }
    // The destination after every frame, taken when the transition lets events run.
    void recordFrames()
    {
        clock.onEvents = [this] {
            if (frames.empty() || transition.lTransLastTick != lastFrameTick) {
                frames.push_back(dest.image().copy());
                lastFrameTick = transition.lTransLastTick;
                frameTicks.push_back(clock.tickCount());
            }
            if (onFrame)
                onFrame(static_cast<int>(frames.size()));
        };
    }

    FakeClock clock;
    Transition transition{clock};
    PictureBox dest;
    PictureBox src;
    PictureBox otherDest;
    std::vector<QImage> frames;
    std::vector<std::int64_t> frameTicks;
    std::int64_t lastFrameTick = -1;
    std::function<void(int)> onFrame;
};

struct SlideCase
{
    int direction;
    int stripe;
    bool firstFromStart;
};

class TransitionFrames : public TransitionTest, public ::testing::WithParamInterface<SlideCase>
{};

// After the frame that has grown d pixels, stripe k of the destination holds, on its own side, the
// d source pixels of the opposite edge, and is untouched elsewhere.
TEST_P(TransitionFrames, StripesGrowFromAlternateSides)
{
    const auto [direction, stripe, firstFromStart] = GetParam();
    const int step = 5;
    recordFrames();
    ASSERT_TRUE(transition.TransInterleave(dest, src, direction, step, stripe, firstFromStart));
    const int length = direction == Transition::Horizontal ? kW : kH;
    ASSERT_EQ(static_cast<int>(frames.size()), (length + step - 1) / step);
    const QImage& s = src.image();
    for (size_t f = 0; f < frames.size(); ++f) {
        const int d = static_cast<int>(f) * step;
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                const int across = direction == Transition::Horizontal ? y : x;
                const int along = direction == Transition::Horizontal ? x : y;
                const bool fromStart = ((across / stripe) % 2 == 0) == firstFromStart;
                int from = -1; // position along the slide the pixel came from
                if (fromStart && along < d)
                    from = length - d + along;
                else if (!fromStart && along >= length - d)
                    from = along - (length - d);
                const QRgb expected = from < 0                              ? qRgb(0, 0, 0)
                                      : direction == Transition::Horizontal ? s.pixel(from, y)
                                                                            : s.pixel(x, from);
                ASSERT_EQ(frames[f].pixel(x, y), expected) << "frame " << f << " at " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(dest.image(), src.image());
    EXPECT_TRUE(transition.IsTransIdle());
}

INSTANTIATE_TEST_SUITE_P(Slides, TransitionFrames,
                         ::testing::Values(SlideCase{Transition::Horizontal, 1, true},
                                           SlideCase{Transition::Horizontal, 3, false},
                                           SlideCase{Transition::Vertical, 1, true},
                                           SlideCase{Transition::Vertical, 2, false}));

TEST_F(TransitionTest, FramesArePacedByTheClock)
{
    transition.lTransDelay = 7;
    recordFrames();
    ASSERT_TRUE(transition.TransInterleave(dest, src, Transition::Horizontal, 5, 1, true));
    ASSERT_EQ(frames.size(), 8u);
    for (size_t i = 1; i < frameTicks.size(); ++i)
        EXPECT_GE(frameTicks[i] - frameTicks[i - 1], 7);
}

TEST_F(TransitionTest, ClearingTheRunningFlagStopsWithinOneFrameWithoutTheFinalCopy)
{
    recordFrames();
    onFrame = [this](int frame) {
        if (frame == 3)
            transition.bTransRunning = false;
    };
    ASSERT_TRUE(transition.TransInterleave(dest, src, Transition::Horizontal, 5, 1, true));
    EXPECT_EQ(frames.size(), 3u);
    EXPECT_EQ(dest.image(), frames.back());
    EXPECT_NE(dest.image(), src.image());
    EXPECT_TRUE(transition.IsTransIdle());
}

TEST_F(TransitionTest, ATransitionStartedDuringAnotherReturnsAtOnce)
{
    const QImage untouched = otherDest.image().copy();
    bool nestedRan = true;
    recordFrames();
    onFrame = [&](int frame) {
        if (frame == 2)
            nestedRan = transition.TransInterleave(otherDest, src, Transition::Vertical, 5, 1, true);
    };
    ASSERT_TRUE(transition.TransInterleave(dest, src, Transition::Horizontal, 5, 1, true));
    EXPECT_FALSE(nestedRan);
    EXPECT_EQ(otherDest.image(), untouched);
    EXPECT_EQ(dest.image(), src.image());
    EXPECT_EQ(frames.size(), 8u);
}

TEST_F(TransitionTest, UnusableArgumentsAreRefused)
{
    const QImage before = dest.image().copy();
    const int cases[][3] = {{0, 5, 1}, {3, 5, 1}, {-1, 5, 1}, {2, 0, 1}, {1, 5, 0}};
    for (const auto& c : cases) {
        EXPECT_FALSE(transition.TransInterleave(dest, src, c[0], c[1], c[2], true));
        EXPECT_TRUE(transition.IsTransIdle());
    }
    EXPECT_EQ(dest.image(), before);
    EXPECT_EQ(clock.eventsRun(), 0);
}

TEST(CopyPixels, ClipsToBothPictures)
{
    QImage dest(4, 3, QImage::Format_RGB32);
    dest.fill(Qt::black);
    QImage src(4, 3, QImage::Format_RGB32);
    src.fill(Qt::white);
    CopyPixels(dest, QPoint(2, 1), src, QRect(-1, -1, 3, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(dest.pixel(x, y), (x == 3 && y == 2) ? qRgb(255, 255, 255) : qRgb(0, 0, 0))
                << x << "," << y;
}

} // namespace
