#include "ViewTestKit.h"
#include "views/WordPicList.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace lexora::test {
namespace {

class PicListTest : public ::testing::Test
{
protected:
    // No words: the old records stay behind with a count of 0, and must not be read.
    bool open(int n)
    {
        world = ViewWorld::withMedia(ViewWorld::numbered(n > 0 ? n : 5));
        if (!world)
            return false;
        world->program->store.words().setCount(n);
        view = std::make_unique<WordPicList>(world->program->context(), world->host);
        view->InitWordPicList();
        return true;
    }
    QLabel* label(const QString& name) const { return view->findChild<QLabel*>(name); }
    QAbstractButton* button(const QString& name) const { return view->findChild<QAbstractButton*>(name); }
    bool shown(const QString& name) const { return label(name)->isVisibleTo(view.get()); }
    // The group line, which of first, previous, next, last group are enabled, slots shown, first slot's word.
    QString state() const
    {
        QString s = label(QStringLiteral("lblSectionNum"))->text() + u' ';
        for (const char* b : {"cmdFirstGroup", "cmdPrevGroup", "cmdNextGroup", "cmdLastGroup"})
            s += QLatin1Char(button(b)->isEnabled() ? b[3] : '-');
        int slots = 0;
        for (int k = 0; k < 8; ++k)
            slots += shown(QStringLiteral("lblWord_%1").arg(k)) ? 1 : 0;
        return s + QStringLiteral(" %1 ").arg(slots) +
               (slots > 0 ? label(QStringLiteral("lblWord_0"))->text() : QString());
    }

    std::unique_ptr<ViewWorld> world;
    std::unique_ptr<WordPicList> view;
};

TEST_F(PicListTest, GroupsOfEightWithTheirButtonsAndLine)
{
    // words, the first group, the last group
    const std::tuple<int, const char*, const char*> cases[] = {
        {8, "第1组 / 共1组 ---- 8 word00", "第1组 / 共1组 ---- 8 word00"},
        {16, "第1组 / 共2组 --NL 8 word00", "第2组 / 共2组 FP-- 8 word08"},
        {17, "第1组 / 共3组 --NL 8 word00", "第3组 / 共3组 FP-- 1 word16"}};
    for (const auto& [n, first, last] : cases) {
        ASSERT_TRUE(open(n));
        EXPECT_EQ(state(), QString::fromUtf8(first));
        button("cmdLastGroup")->click();
        EXPECT_EQ(state(), QString::fromUtf8(last));
    }
    button("cmdPrevGroup")->click();
    EXPECT_EQ(state(), QStringLiteral("第2组 / 共3组 FPNL 8 word08"));
    button("cmdFirstGroup")->click(), button("cmdNextGroup")->click();
    EXPECT_EQ(state(), QStringLiteral("第2组 / 共3组 FPNL 8 word08"));
}

TEST_F(PicListTest, AnEmptyListShowsNoSlotAndNoGroupToMoveTo)
{
    ASSERT_TRUE(open(0));
    EXPECT_EQ(state(), QStringLiteral("第0组 / 共0组 ---- 0 "));
    for (int k = 0; k < 8; ++k)
        EXPECT_FALSE(shown(QStringLiteral("imgWord_%1").arg(k)));
    view->imgWord_Click(0), view->imgWord_DblClick(0);
    EXPECT_TRUE(world->soundOut.played.empty());
    EXPECT_TRUE(world->host.shown.empty());
}

TEST_F(PicListTest, ClicksPlayAndADoubleClickOpensTheReaderOnTheWord)
{
    ASSERT_TRUE(open(17));
    button("cmdNextGroup")->click();
    QLabel* third = label(QStringLiteral("imgWord_2"));
    QTest::mouseClick(third, Qt::LeftButton);
    EXPECT_EQ(world->soundOut.played, std::vector{world->voiceOf(11)});
    // A double click as the window system delivers it: a click, then press, double click, release.
    QTest::mouseClick(third, Qt::LeftButton), QTest::mousePress(third, Qt::LeftButton);
    QTest::mouseDClick(third, Qt::LeftButton), QTest::mouseRelease(third, Qt::LeftButton);
    EXPECT_EQ(world->program->store.words().current(), 10);
    EXPECT_EQ(world->host.shown, (std::vector<std::pair<int, int>>{{1, 0}}));
    EXPECT_EQ(world->soundOut.played.size(), 2u); // the release that ends the double click plays nothing more
}

} // namespace
} // namespace lexora::test
