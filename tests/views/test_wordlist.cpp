// The word list: row numbers, both fillings, sorting by text, the delayed sound, the way back.
#include "FakeClock.h"
#include "ViewTestKit.h"
#include "views/ClockTimer.h"
#include "views/WordList.h"
#include "views/WordListRows.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace lexora::test {
namespace {

TEST(RowNumbers, TwoDigitsUpToNineThenPlain)
{
    const std::pair<int, const char*> rows[] = {{0, "01"},  {8, "09"},  {9, "10"},
                                                {10, "11"}, {98, "99"}, {99, "100"}};
    for (const auto& [index, text] : rows)
        EXPECT_EQ(RowNumberText(index), QLatin1String(text)) << index;
}

std::vector<CWordType> Marked(const std::vector<std::pair<bool, bool>>& testedWrong)
{
    std::vector<CWordType> words;
    for (const auto& [tested, wrong] : testedWrong) {
        CWordType w;
        w.English = QStringLiteral("w%1").arg(words.size());
        w.Chinese = QStringLiteral("中%1").arg(words.size());
        w.Tested = tested;
        w.CurrErr = wrong;
        words.push_back(w);
    }
    return words;
}

TEST(TestResultRowsTable, OnlyTestedWordsWithTheirOwnNumbersAndMarks)
{
    const auto words = Marked({{true, false}, {false, true}, {true, true}, {true, false}});
    int errors = -1;
    const auto rows = TestResultRows(words, 4, &errors);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (QStringList{QStringLiteral("01"), QStringLiteral("w0"), QStringLiteral("中0"),
                                    QStringLiteral("正确")}));
    EXPECT_EQ(rows[1], (QStringList{QStringLiteral("03"), QStringLiteral("w2"), QStringLiteral("中2"),
                                    QStringLiteral("错误")}));
    EXPECT_EQ(rows[2][3], QStringLiteral("正确"));
    EXPECT_EQ(errors, 1);
    // The count rules over records left behind by an earlier list.
    EXPECT_EQ(TestResultRows(words, 1, &errors).size(), 1u);
    EXPECT_EQ(errors, 0);
    EXPECT_EQ(TestResultSummary(3, 1), QStringLiteral("本次共测试3个单词,其中有1个单词出错！"));
}

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
    QStringList headers() const
    {
        QStringList h;
        for (int c = 0; c < tree().columnCount(); ++c)
            h << tree().headerItem()->text(c);
        return h;
    }
    WordStore& store() { return world->program->store; }

    std::unique_ptr<ViewWorld> world;
    std::unique_ptr<WordList> list;
};

TEST_F(WordListTest, ErrorCountsFillEveryWordInOrderWithColumnWidthsAndAlignments)
{
    ASSERT_TRUE(open(12));
    store().arrWords[10].errNum = 3;
    store().arrWords[10].rightNum = 1;
    list->FillWordErrNum();
    EXPECT_EQ(headers(),
              (QStringList{QStringLiteral("序号"), QStringLiteral("单词"), QStringLiteral("中文解释"),
                           QStringLiteral("出错次数"), QStringLiteral("答对次数")}));
    ASSERT_EQ(tree().topLevelItemCount(), 12);
    EXPECT_EQ(cell(0, 0), QStringLiteral("01"));
    EXPECT_EQ(cell(9, 0), QStringLiteral("10"));
    EXPECT_EQ(cell(10, 1), QStringLiteral("w10"));
    EXPECT_EQ(cell(10, 3), QStringLiteral("3"));
    EXPECT_EQ(cell(10, 4), QStringLiteral("1"));
    const int w = tree().width() - 2 * tree().frameWidth();
    const int widths[] = {w / 9, w / 4, w / 3, w / 8, w / 7};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(tree().columnWidth(c), widths[c]) << c;
    const auto align = [this](int c) {
        return tree().topLevelItem(0)->textAlignment(c) & Qt::AlignHorizontal_Mask;
    };
    EXPECT_EQ(align(0), Qt::AlignLeft);
    EXPECT_EQ(align(1), Qt::AlignHCenter);
    EXPECT_EQ(align(2), Qt::AlignLeft);
    EXPECT_EQ(align(4), Qt::AlignHCenter);
    EXPECT_TRUE(list->findChild<QLabel*>(QStringLiteral("lblResult"))->text().isEmpty());
}

TEST_F(WordListTest, HeaderClicksSortByTextAndToggleTheDirection)
{
    ASSERT_TRUE(open(100));
    list->FillWordErrNum();
    list->ListView1_ColumnClick(0);
    EXPECT_EQ(cell(0, 0), QStringLiteral("99"));
    list->ListView1_ColumnClick(0);
    EXPECT_EQ(cell(0, 0), QStringLiteral("01"));
    // By text, "100" comes before "11".
    int at100 = -1, at11 = -1;
    for (int r = 0; r < tree().topLevelItemCount(); ++r) {
        if (cell(r, 0) == QStringLiteral("100"))
            at100 = r;
        if (cell(r, 0) == QStringLiteral("11"))
            at11 = r;
    }
    EXPECT_EQ(at100, 10);
    EXPECT_EQ(at11, 11);
    // A new filling keeps the order the header set.
    list->FillWordErrNum();
    EXPECT_EQ(cell(10, 0), QStringLiteral("100"));
    // The direction toggles whichever column is clicked.
    list->ListView1_ColumnClick(1);
    EXPECT_EQ(list->sortState().order, Qt::DescendingOrder);
    EXPECT_EQ(cell(0, 1), QStringLiteral("w99"));
}

TEST_F(WordListTest, TestResultsListTheTestedWordsAndSummarise)
{
    ASSERT_TRUE(open(4));
    for (CWordType& w : store().arrWords)
        w.Tested = true;
    store().arrWords[1].CurrErr = true;
    list->FillWordTestResultList();
    EXPECT_EQ(headers(), (QStringList{QStringLiteral("序号"), QStringLiteral("单词"),
                                      QStringLiteral("中文解释"), QStringLiteral("测试结果")}));
    ASSERT_EQ(tree().topLevelItemCount(), 4);
    EXPECT_EQ(cell(1, 3), QStringLiteral("错误"));
    EXPECT_EQ(cell(2, 3), QStringLiteral("正确"));
    const int w = tree().width() - 2 * tree().frameWidth();
    EXPECT_EQ(tree().columnWidth(1), w / 3);
    EXPECT_EQ(tree().columnWidth(3), w / 9);
    EXPECT_EQ(list->findChild<QLabel*>(QStringLiteral("lblResult"))->text(),
              QStringLiteral("本次共测试4个单词,其中有1个单词出错！"));
}

TEST_F(WordListTest, ARowClickPlaysItsWordOnTheTimerAndADoubleClickReturns)
{
    ASSERT_TRUE(open(3));
    world->addVoice(QStringLiteral("w2"), 7);
    list->FillWordErrNum();
    tree().setCurrentItem(tree().topLevelItem(2));
    list->ListView1_Click();
    EXPECT_TRUE(list->Timer1().isEnabled());
    EXPECT_EQ(list->Timer1().interval(), 10);
    EXPECT_TRUE(world->soundOut.played.empty());
    world->clock.advance(10);
    list->Timer1().poll();
    ASSERT_EQ(world->soundOut.played.size(), 1u);
    EXPECT_EQ(world->soundOut.played[0], world->voiceOf(7));
    EXPECT_FALSE(list->Timer1().isEnabled());

    // A word without a voice plays nothing.
    tree().setCurrentItem(tree().topLevelItem(0));
    list->ListView1_Click();
    world->clock.advance(10);
    list->Timer1().poll();
    EXPECT_EQ(world->soundOut.played.size(), 1u);

    list->ListView1_DblClick();
    list->cmdToLexivo_Click();
    EXPECT_EQ(world->host.shown, (std::vector<std::pair<int, int>>{{1, 0}, {1, 0}}));
}

} // namespace
} // namespace lexora::test
