#include "MediaTestKit.h"
#include "media/PictureBox.h"
#include "media/Transition.h"

#include <gtest/gtest.h>

using namespace lexora;
using namespace lexora::test;

namespace {

constexpr int kW = 40, kH = 30;

// Keeps the destination after each frame (no delay: events run once a frame), then calls onFrame(n).
class TransitionTest : public ::testing::Test, private WithApplication
{
protected:
    void SetUp() override
    {
        for (PictureBox* box : {&dest, &src, &other})
            box->resize(kW, kH);
        for (int y = 0; y < kH; ++y) // every source pixel differs from every other and from black
            for (int x = 0; x < kW; ++x)
                src.surface().setPixel(x, y, qRgb(x * 5 + 10, y * 7 + 10, 200));
        clock.onEvents = [this] {
            frames.push_back(dest.image().copy());
            if (onFrame)
                onFrame(static_cast<int>(frames.size()));
        };
    }

    FakeClock clock;
    Transition transition{clock};
    PictureBox dest, src, other;
    std::vector<QImage> frames;
    std::function<void(int)> onFrame;
};

// Grown d pixels, each stripe holds on its side the d source pixels of the opposite edge, black elsewhere.
TEST_F(TransitionTest, StripesGrowFromAlternateSides)
{
    for (const auto& [direction, stripe, firstFromStart] :
         {std::tuple{2, 1, true}, {2, 4, false}, {1, 1, true}, {1, 3, false}}) {
        SCOPED_TRACE(testing::Message() << direction << " " << stripe << " " << firstFromStart);
        dest.surface().fill(Qt::black);
        frames.clear();
        const bool horizontal = direction == Transition::Horizontal;
        const int step = 5, length = horizontal ? kW : kH; // stripes 4 and 3 leave a partial last stripe
        ASSERT_TRUE(transition.TransInterleave(dest, src, direction, step, stripe, firstFromStart));
        ASSERT_EQ(static_cast<int>(frames.size()), (length + step - 1) / step);
        for (size_t f = 0; f < frames.size(); ++f) {
            const int d = static_cast<int>(f) * step;
            for (int y = 0; y < kH; ++y)
                for (int x = 0; x < kW; ++x) {
                    const int across = horizontal ? y : x, along = horizontal ? x : y;
                    const bool fromStart = ((across / stripe) % 2 == 0) == firstFromStart,
                               grown = fromStart ? along < d : along >= length - d;
                    const int from = fromStart ? length - d + along : along - (length - d);
                    const QRgb expected = !grown       ? qRgb(0, 0, 0)
                                          : horizontal ? src.image().pixel(from, y)
                                                       : src.image().pixel(x, from);
                    ASSERT_EQ(frames[f].pixel(x, y), expected) << "frame " << f << " at " << x << "," << y;
                }
        }
        EXPECT_TRUE(dest.image() == src.image() && transition.IsTransIdle());
    }
}

// A nested start neither runs nor disturbs the running one; clearing the flag stops that one at once.
TEST_F(TransitionTest, ANestedStartIsRefusedAndClearingTheFlagStopsWithinOneFrame)
{
    const QImage untouched = other.image().copy();
    bool nestedRan = true;
    onFrame = [&](int frame) {
        if (frame == 2)
            nestedRan = transition.TransInterleave(other, src, Transition::Vertical, 5, 1, true);
        if (frame == 3)
            transition.stop();
    };
    ASSERT_TRUE(transition.TransInterleave(dest, src, Transition::Horizontal, 5, 1, true));
    EXPECT_TRUE(!nestedRan && other.image() == untouched);
    EXPECT_TRUE(frames.size() == 3u && dest.image() == frames.back() && transition.IsTransIdle());
}

} // namespace
