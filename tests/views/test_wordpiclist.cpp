// The picture word list: grouping, the group buttons and line, slots, clicks and double clicks.
#include "ViewTestKit.h"
#include "views/WordPicList.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace lexora::test {
namespace {

class PicListTest : public ::testing::Test
{
protected:
    // Even words get a picture, word i the voice of seed i + 1. No words: a load that found nothing
    // leaves the old records behind with a count of 0, and those must not be read.
    bool open(int n)
    {
        QStringList words;
        for (int i = 0; i < (n > 0 ? n : 5); ++i)
            words << QStringLiteral("w%1").arg(i, 2, 10, QLatin1Char('0'));
        world = std::make_unique<ViewWorld>(ViewWorld::courseOf(words));
        for (int i = 0; i < words.size(); ++i) {
            if (i % 2 == 0)
                world->addPicture(words[i]);
            world->addVoice(words[i], i + 1);
        }
        if (!world->open())
            return false;
        world->program->store.iWordNum = n;
        view = std::make_unique<WordPicList>(world->program->context(), world->host);
        view->InitWordPicList();
        return true;
    }
    QLabel* label(const QString& name) const { return view->findChild<QLabel*>(name); }
    QAbstractButton* button(const char* name) const
    {
        return view->findChild<QPushButton*>(QLatin1String(name));
    }
    bool shown(const QString& name) const { return label(name)->isVisibleTo(view.get()); }
    // "第1组 / 共3组 --NL 8 w00": the group line, which of first, previous, next and last group are
    // enabled, the slots shown and the first slot's word.
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
        {8, "第1组 / 共1组 ---- 8 w00", "第1组 / 共1组 ---- 8 w00"},
        {16, "第1组 / 共2组 --NL 8 w00", "第2组 / 共2组 FP-- 8 w08"},
        {17, "第1组 / 共3组 --NL 8 w00", "第3组 / 共3组 FP-- 1 w16"}};
    for (const auto& [n, first, last] : cases) {
        ASSERT_TRUE(open(n));
        EXPECT_EQ(state(), QString::fromUtf8(first));
        button("cmdLastGroup")->click();
        EXPECT_EQ(state(), QString::fromUtf8(last));
    }
    button("cmdPrevGroup")->click();
    EXPECT_EQ(state(), QStringLiteral("第2组 / 共3组 FPNL 8 w08"));
    button("cmdFirstGroup")->click();
    button("cmdNextGroup")->click();
    EXPECT_EQ(state(), QStringLiteral("第2组 / 共3组 FPNL 8 w08"));
}

TEST_F(PicListTest, AnEmptyListShowsNoSlotAndNoGroupToMoveTo)
{
    ASSERT_TRUE(open(0));
    EXPECT_EQ(state(), QStringLiteral("第0组 / 共0组 ---- 0 "));
    for (int k = 0; k < 8; ++k)
        EXPECT_FALSE(shown(QStringLiteral("imgWord_%1").arg(k)));
    view->imgWord_Click(0);
    view->imgWord_DblClick(0);
    EXPECT_TRUE(world->soundOut.played.empty());
    EXPECT_TRUE(world->host.shown.empty());
}

TEST_F(PicListTest, ClicksPlayAndADoubleClickOpensTheReaderOnTheWord)
{
    // A double click as the window system delivers it: press, release, press, double click, release.
    const auto doubleClick = [](QWidget* widget) {
        QTest::mouseClick(widget, Qt::LeftButton);
        QTest::mousePress(widget, Qt::LeftButton);
        QTest::mouseDClick(widget, Qt::LeftButton);
        QTest::mouseRelease(widget, Qt::LeftButton);
    };
    ASSERT_TRUE(open(17));
    button("cmdNextGroup")->click();
    QLabel* third = label(QStringLiteral("imgWord_2"));
    QTest::mouseClick(third, Qt::LeftButton);
    EXPECT_EQ(world->soundOut.played, std::vector{world->voiceOf(11)});
    doubleClick(third);
    EXPECT_EQ(world->program->store.iCurrWord, 10);
    EXPECT_EQ(world->host.shown, (std::vector<std::pair<int, int>>{{1, 0}}));
    EXPECT_EQ(world->soundOut.played.size(), 2u); // the release that ends the double click plays nothing more

    world->host.shown.clear();
    doubleClick(label(QStringLiteral("lblWord_3"))); // two clicks on the English word, and it stays here
    EXPECT_TRUE(world->host.shown.empty());
    world->program->store.iCurrWord = 5;
    button("cmdReturn")->click();
    EXPECT_EQ(world->host.shown, (std::vector<std::pair<int, int>>{{1, 0}}));
    EXPECT_EQ(world->program->store.iCurrWord, 5);
}

} // namespace
} // namespace lexora::test
