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
    EXPECT_FALSE(nestedRan);
    EXPECT_TRUE(other.image() == untouched) << "the nested start drew";
    EXPECT_EQ(frames.size(), 3u);
    EXPECT_TRUE(dest.image() == frames.back()) << "drawn after it was stopped";
    EXPECT_TRUE(transition.IsTransIdle());
}

} // namespace
