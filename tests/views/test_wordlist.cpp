// The word list: row numbers, both fillings, sorting by text, the delayed sound, the way back.
#include "ViewTestKit.h"
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
    QString column(int c) const
    {
        QStringList cells;
        for (int r = 0; r < tree().topLevelItemCount(); ++r)
            cells << tree().topLevelItem(r)->text(c);
        return cells.join(u',');
    }
    QString result() const { return list->findChild<QLabel*>(QStringLiteral("lblResult"))->text(); }
    WordStore& store() { return world->program->store; }

    std::unique_ptr<ViewWorld> world;
    std::unique_ptr<WordList> list;
};

TEST_F(WordListTest, ErrorCountsFillEveryWordInOrder)
{
    ASSERT_TRUE(open(11));
    store().arrWords[9].errNum = 3;
    store().arrWords[9].rightNum = 1;
    list->FillWordErrNum();
    EXPECT_EQ(column(0), QStringLiteral("01,02,03,04,05,06,07,08,09,10,11"));
    EXPECT_EQ(column(1), QStringLiteral("w0,w1,w2,w3,w4,w5,w6,w7,w8,w9,w10"));
    EXPECT_EQ(column(3) + u';' + column(4), QStringLiteral("0,0,0,0,0,0,0,0,0,3,0;0,0,0,0,0,0,0,0,0,1,0"));
    EXPECT_EQ(tree().topLevelItem(9)->text(2), QStringLiteral("中w9"));
    EXPECT_EQ(tree().headerItem()->text(3), QStringLiteral("出错次数"));
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

} // namespace
} // namespace lexora::test
