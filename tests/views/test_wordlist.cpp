#include "ViewTestKit.h"
#include "views/WordList.h"

#include <QTreeWidget>
#include <gtest/gtest.h>

namespace lexora::test {
namespace {

class WordListTest : public ::testing::Test
{
protected:
    bool open(int n)
    {
        world = std::make_unique<ViewWorld>(ViewWorld::courseOf(ViewWorld::numbered(n)));
        list = world->open() ? std::make_unique<WordList>(world->program->context(), world->host) : nullptr;
        return list != nullptr;
    }
    QTreeWidget& tree() const { return *list->findChild<QTreeWidget*>(QStringLiteral("ListView1")); }
    QString column(int c) const
    {
        QStringList cells;
        for (int r = 0; r < tree().topLevelItemCount(); ++r)
            cells << tree().topLevelItem(r)->text(c);
        return cells.join(u',');
    }
    WordStore& store() { return world->program->store; }

    std::unique_ptr<ViewWorld> world;
    std::unique_ptr<WordList> list;
};

TEST_F(WordListTest, ErrorCountsFillEveryWordInOrder)
{
    ASSERT_TRUE(open(11));
    store().words().word(9)->errNum = 3;
    store().words().word(9)->rightNum = 1;
    list->FillWordErrNum();
    EXPECT_EQ(column(0), QStringLiteral("01,02,03,04,05,06,07,08,09,10,11"));
    EXPECT_EQ(column(3), QStringLiteral("0,0,0,0,0,0,0,0,0,3,0"));
    EXPECT_EQ(column(4), QStringLiteral("0,0,0,0,0,0,0,0,0,1,0"));
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
    EXPECT_TRUE(column(1).startsWith(QStringLiteral("word99,word98,")));
}

} // namespace
} // namespace lexora::test
