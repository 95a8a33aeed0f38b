// The reader's rules without widgets: which buttons work, which page of thumbnails shows, where
// stepping and paging go, and how a word's font is fitted.
#include "ScriptedRandom.h"
#include "views/ReaderLogic.h"

#include <gtest/gtest.h>

using namespace lexora;
using lexora::test::ScriptedRandom;

namespace {

struct NavCase
{
    int index;
    int count;
    NavEnable expected;
};

class NavTable : public ::testing::TestWithParam<NavCase>
{};

TEST_P(NavTable, EnablesTheButtonsThatLeadSomewhere)
{
    const NavCase& c = GetParam();
    EXPECT_EQ(NavButtonsFor(c.index, c.count), c.expected) << c.index << " of " << c.count;
}

INSTANTIATE_TEST_SUITE_P(Words, NavTable,
                         ::testing::Values(NavCase{3, 10, {true, true, true, true}},
                                           NavCase{0, 10, {false, false, true, true}},
                                           NavCase{9, 10, {true, true, false, false}},
                                           NavCase{0, 1, {false, false, false, false}},
                                           NavCase{0, 0, {false, false, false, false}},
                                           NavCase{-1, 5, {false, false, false, false}},
                                           NavCase{5, 5, {false, false, false, false}}));

struct PageCase
{
    int current;
    int count;
    ThumbPage expected;
};

class PageTable : public ::testing::TestWithParam<PageCase>
{};

TEST_P(PageTable, ShowsTheEightWordsThatHoldTheCurrentOne)
{
    const PageCase& c = GetParam();
    const ThumbPage page = ThumbPageFor(c.current, c.count);
    EXPECT_EQ(page.start, c.expected.start);
    EXPECT_EQ(page.count, c.expected.count);
    EXPECT_EQ(page.bordered, c.expected.bordered);
}

INSTANTIATE_TEST_SUITE_P(Pages, PageTable,
                         ::testing::Values(PageCase{17, 20, {16, 4, 1}}, PageCase{0, 20, {0, 8, 0}},
                                           PageCase{7, 20, {0, 8, 7}}, PageCase{8, 20, {8, 8, 0}},
                                           PageCase{2, 3, {0, 3, 2}}, PageCase{0, 0, {0, 0, -1}},
                                           // A stale index past the end shows the last page, unmarked.
                                           PageCase{25, 20, {16, 4, -1}}));

TEST(PageButtons, StopAtEitherEndOfTheList)
{
    EXPECT_EQ(NextPageWord(ThumbPageFor(3, 20), 20), 8);
    EXPECT_EQ(NextPageWord(ThumbPageFor(12, 20), 20), 16);
    EXPECT_FALSE(NextPageWord(ThumbPageFor(17, 20), 20));
    EXPECT_FALSE(NextPageWord(ThumbPageFor(0, 8), 8));
    EXPECT_EQ(PrevPageWord(ThumbPageFor(17, 20)), 15);
    EXPECT_FALSE(PrevPageWord(ThumbPageFor(5, 20)));
}

TEST(Stepping, NextWrapsFromTheLastWordToTheFirst)
{
    ScriptedRandom random;
    EXPECT_EQ(NextWordIndex(0, 3, false, random), 1);
    EXPECT_EQ(NextWordIndex(2, 3, false, random), 0);
    EXPECT_EQ(NextWordIndex(0, 1, false, random), 0);
}

TEST(Stepping, PreviousOnTheFirstWordIsIgnored)
{
    ScriptedRandom random;
    EXPECT_EQ(PrevWordIndex(2, 3, false, random), 1);
    EXPECT_FALSE(PrevWordIndex(0, 3, false, random));
}

TEST(Stepping, AnEmptyListGoesNowhere)
{
    ScriptedRandom random;
    EXPECT_FALSE(NextWordIndex(0, 0, false, random));
    EXPECT_FALSE(PrevWordIndex(0, 0, false, random));
    EXPECT_FALSE(NextWordIndex(0, 0, true, random));
}

TEST(Stepping, RandomOrderReseedsAndDrawsAnyWordOfTheList)
{
    ScriptedRandom random;
    random.queue(0.0);
    random.queue(0.999);
    random.queue(0.5);
    EXPECT_EQ(NextWordIndex(3, 10, true, random), 0);
    EXPECT_EQ(PrevWordIndex(0, 10, true, random), 9);
    EXPECT_EQ(NextWordIndex(9, 10, true, random), 5);
    EXPECT_EQ(random.reseeds(), 3);
    for (int i = 0; i < 500; ++i) {
        const auto next = NextWordIndex(0, 7, true, random);
        ASSERT_TRUE(next);
        ASSERT_GE(*next, 0);
        ASSERT_LT(*next, 7);
    }
}

TEST(FontFitting, StepsDownByTwoPointsUntilTheTextFits)
{
    // 10 pixels per point: 36 pt is 360 wide.
    const auto width = [](int pt) { return pt * 10; };
    EXPECT_EQ(FitFontSize(36, 400, width, 8), 36);
    EXPECT_EQ(FitFontSize(36, 300, width, 8), 30);
    EXPECT_EQ(FitFontSize(36, 299, width, 8), 28);
    EXPECT_EQ(FitFontSize(26, 260, width, 8), 26);
}

TEST(FontFitting, NeverGoesBelowTheFloor)
{
    int asked = 0;
    const auto tooWide = [&asked](int) {
        ++asked;
        return 100000;
    };
    EXPECT_EQ(FitFontSize(36, 400, tooWide, 8), 8);
    EXPECT_EQ(FitFontSize(35, 400, tooWide, 8), 8);
    EXPECT_LT(asked, 40);
}

} // namespace
