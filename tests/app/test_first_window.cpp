// The first window on a 1920 × 1080 screen scaled twice, the way a family laptop is often set up.
#include "ViewTestKit.h"
#include "app/FormMain.h"
#include "app/ScaledFrame.h"

#include <QDialog>
#include <QScreen>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

namespace lexora::test {
namespace {

// Set before the application object exists, which the first test builds.
const bool kScreen = [] {
    setenv("QT_SCALE_FACTOR", "2", 1);
    setenv("QT_QPA_PLATFORM", "offscreen:configfile=" LEXORA_SCREEN_CONFIG, 1);
    return true;
}();

TEST(FirstWindow, FitsTheScreenWithThePageInItsProportions)
{
    ViewWorld world(CourseFixture::standard());
    ASSERT_TRUE(world.build());
    FormMain window(world.program->context());
    window.runModal = [](QDialog&) { return 0; };
    ASSERT_TRUE(window.Form_Initialize());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QRect available = window.screen()->availableGeometry();
    ASSERT_TRUE(kScreen);
    ASSERT_EQ(available.size(), QSize(960, 540)) << "the test runs on its own screen";
    EXPECT_LE(window.frameGeometry().width(), available.width());
    EXPECT_LE(window.frameGeometry().height(), available.height());
    // The page fills the frame: no border wider than a rounding.
    EXPECT_LT(window.frame().fit().offset.x(), 1.5);
    EXPECT_LT(window.frame().fit().offset.y(), 1.5);
    EXPECT_LT(window.frame().fit().scale, 1.0);

    // A dialog wider than the window, opened over it at the screen's left edge, stays on the screen.
    window.move(available.topLeft());
    QDialog wide;
    wide.resize(window.frameGeometry().width() + 200, 100);
    CenterOver(wide, window);
    EXPECT_GE(wide.x(), available.left());
    EXPECT_LE(wide.x() + wide.width(), available.right() + 1);
}

} // namespace
} // namespace lexora::test
