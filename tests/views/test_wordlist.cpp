// The word list: row numbers, both fillings, sorting by text, the delayed sound, the way back.
#include "ViewTestKit.h"
#include "views/ClockTimer.h"
#include "views/WordList.h"

#include <QLabel>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace lexora::test {
namespace {

class WordListTest : public ::testing::Test
{
protected:
    bool open(int n)
    {
        QStringList words;
        for (int i = 0; i < n; ++i)
            words << QStringLiteral("w%1").arg(i);
        world = std::make_unique<ViewWorld>(ViewWorld::courseOf(words));
        if (!world->open())
            return false;
        list = std::make_unique<WordList>(world->program->context(), world->host);
        return true;
    }
    QTreeWidget& tree() const { return *list->findChild<QTreeWidget*>(QStringLiteral("ListView1")); }
    QString cell(int row, int column) const { return tree().topLevelItem(row)->text(column); }
    QString column(int c) const
    {
        QStringList cells;
        for (int r = 0; r < tree().topLevelItemCount(); ++r)
            cells << cell(r, c);
        return cells.join(u',');
    }
    QStringList row(int r) const
    {
        QStringList cells;
        for (int c = 0; c < tree().columnCount(); ++c)
            cells << (r < 0 ? tree().headerItem() : tree().topLevelItem(r))->text(c);
        return cells;
    }
    QString result() const { return list->findChild<QLabel*>(QStringLiteral("lblResult"))->text(); }
    WordStore& store() { return world->program->store; }

    std::unique_ptr<ViewWorld> world;
    std::unique_ptr<WordList> list;
};

TEST_F(WordListTest, ErrorCountsFillEveryWordInOrder)
{
    ASSERT_TRUE(open(12));
    store().arrWords[10].errNum = 3;
    store().arrWords[10].rightNum = 1;
    list->FillWordErrNum();
    EXPECT_EQ(row(-1).join(u','), QStringLiteral("序号,单词,中文解释,出错次数,答对次数"));
    EXPECT_EQ(column(0), QStringLiteral("01,02,03,04,05,06,07,08,09,10,11,12"));
    EXPECT_EQ(row(10).join(u','), QStringLiteral("11,w10,中w10,3,1"));
    EXPECT_TRUE(result().isEmpty());
}

TEST_F(WordListTest, HeaderClicksSortByTextAndToggleTheDirection)
{
    ASSERT_TRUE(open(100));
    list->FillWordErrNum();
    list->ListView1_ColumnClick(0);
    EXPECT_TRUE(column(0).startsWith(QStringLiteral("99,98,"))) << column(0).left(20).toStdString();
    list->ListView1_ColumnClick(0);
    EXPECT_TRUE(column(0).startsWith(QStringLiteral("01,02,03,04,05,06,07,08,09,10,100,11,12,")));
    list->FillWordErrNum(); // a new filling keeps the order the header set
    EXPECT_TRUE(column(0).startsWith(QStringLiteral("01,02,03,04,05,06,07,08,09,10,100,11,12,")));
    list->ListView1_ColumnClick(1); // the direction toggles whichever column is clicked
    EXPECT_EQ(list->sortState().order, Qt::DescendingOrder);
    EXPECT_TRUE(column(1).startsWith(QStringLiteral("w99,w98,")));
}

TEST_F(WordListTest, TestResultsListOnlyTheTestedWordsWithTheirOwnNumbersAndSummarise)
{
    ASSERT_TRUE(open(5));
    for (CWordType& w : store().arrWords)
        w.Tested = true;
    store().arrWords[1].CurrErr = true;
    store().arrWords[2].Tested = false;
    store().arrWords[4].CurrErr = true;
    store().iWordNum = 4; // the last record is left over from an earlier list
    list->FillWordTestResultList();
    EXPECT_EQ(row(-1).join(u','), QStringLiteral("序号,单词,中文解释,测试结果"));
    ASSERT_EQ(tree().topLevelItemCount(), 3);
    EXPECT_EQ(row(0).join(u','), QStringLiteral("01,w0,中w0,正确"));
    EXPECT_EQ(row(1).join(u','), QStringLiteral("02,w1,中w1,错误"));
    EXPECT_EQ(row(2).join(u','), QStringLiteral("04,w3,中w3,正确"));
    EXPECT_EQ(result(), QStringLiteral("本次共测试3个单词,其中有1个单词出错！"));
}

TEST_F(WordListTest, ARowClickPlaysItsWordOnTheTimerAndADoubleClickReturns)
{
    ASSERT_TRUE(open(3));
    world->addVoice(QStringLiteral("w2"), 7);
    list->FillWordErrNum();
    const auto clickRow = [this](int r) {
        tree().setCurrentItem(tree().topLevelItem(r));
        list->ListView1_Click();
    };
    clickRow(2);
    EXPECT_TRUE(list->Timer1().isEnabled());
    EXPECT_EQ(list->Timer1().interval(), 10);
    EXPECT_TRUE(world->soundOut.played.empty());
    world->clock.advance(10);
    list->Timer1().poll();
    EXPECT_EQ(world->soundOut.played, std::vector{world->voiceOf(7)});
    EXPECT_FALSE(list->Timer1().isEnabled());
    clickRow(0); // a word without a voice plays nothing
    world->clock.advance(10);
    list->Timer1().poll();
    EXPECT_EQ(world->soundOut.played.size(), 1u);
    list->ListView1_DblClick();
    list->cmdToLexivo_Click();
    EXPECT_EQ(world->host.shown, (std::vector<std::pair<int, int>>{{1, 0}, {1, 0}}));
}

} // namespace
} // namespace lexora::test
