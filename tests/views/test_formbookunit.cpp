// The book and unit dialog over the two-book fixture course.
#include "ViewTestKit.h"
#include "store/WordStore.h"
#include "views/FormBookUnit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <gtest/gtest.h>

namespace lexora::test {
namespace {

const QString kReversed = QStringLiteral("不能反向选择单元！");

class BookUnitTest : public ::testing::Test
{
protected:
    bool open(int lastBook = 0, int lastUnit = 0)
    {
        CourseFixture course = CourseFixture::standard();
        // A unit without words, for the failed loads.
        course.units.push_back(
            {0, QStringLiteral(" 三年级上册 "), 3, QStringLiteral("Unit 4 Empty"), QVariant()});
        course.lastBook = lastBook;
        course.lastUnit = lastUnit;
        world = std::make_unique<ViewWorld>(std::move(course));
        world->open();
        if (!store().LoadSettings() || !store().LoadBookUnits(store().iCurrBook))
            return false;
        store().LoadUnitWords(store().iCurrBook, store().iCurrUnit);
        world->prompter.clear();
        dialog = std::make_unique<FormBookUnit>(store(), world->prompter, world->host);
        dialog->Form_Load();
        return true;
    }
    WordStore& store() { return world->program->store; }
    template <class T> T* child(const char* name) const { return dialog->findChild<T*>(QLatin1String(name)); }
    QListWidget* books() const { return child<QListWidget>("lstBook"); }
    QListWidget* units() const { return child<QListWidget>("lstUnit"); }
    QComboBox* from() const { return child<QComboBox>("ComboUnitFrom"); }
    QComboBox* to() const { return child<QComboBox>("ComboUnitTo"); }
    QCheckBox* all() const { return child<QCheckBox>("CheckUnitAll"); }
    QString label() const { return child<QLabel>("lblBookUnit")->text(); }
    std::vector<QVariantList> stored() const
    {
        return world->course.rows(QStringLiteral("select LastBook, LastUnit from FeatureTable"));
    }
    QStringList english() const
    {
        QStringList out;
        for (int i = 0; i < world->program->store.iWordNum; ++i)
            out << world->program->store.arrWords[static_cast<size_t>(i)].English;
        out.sort();
        return out;
    }

    std::unique_ptr<ViewWorld> world;
    std::unique_ptr<FormBookUnit> dialog;
};

TEST_F(BookUnitTest, OpensOnTheStoredBookAndUnit)
{
    ASSERT_TRUE(open(0, 1));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("小学英语--选择教程"));
    EXPECT_EQ(books()->count(), 2);
    EXPECT_EQ(books()->currentRow(), 0);
    EXPECT_EQ(units()->count(), 4);
    EXPECT_EQ(units()->currentRow(), 1);
    EXPECT_EQ(label(), QStringLiteral("三年级上册  Unit 2 Colours"));
    EXPECT_TRUE(all()->isChecked());
    EXPECT_EQ(from()->currentIndex(), 0);
    EXPECT_EQ(to()->currentIndex(), 3);
    EXPECT_FALSE(from()->isEnabled());
    EXPECT_FALSE(to()->isEnabled());
}

TEST_F(BookUnitTest, AStoredUnitBeyondTheBookSelectsTheFirstUnit)
{
    ASSERT_TRUE(open(1, 7));
    EXPECT_EQ(books()->currentRow(), 1);
    EXPECT_EQ(units()->currentRow(), 0);
    EXPECT_EQ(label(), QStringLiteral("三年级下册  Unit 1 School"));
}

TEST_F(BookUnitTest, AnotherBookStartsOnItsFirstUnitWithTheWholeBookAsRange)
{
    ASSERT_TRUE(open(0, 2));
    all()->click();
    ASSERT_FALSE(all()->isChecked());
    books()->setCurrentRow(1);
    EXPECT_EQ(units()->count(), 2);
    EXPECT_EQ(units()->currentRow(), 0);
    EXPECT_EQ(label(), QStringLiteral("三年级下册  Unit 1 School"));
    EXPECT_TRUE(all()->isChecked());
    EXPECT_EQ(from()->currentIndex(), 0);
    EXPECT_EQ(to()->currentIndex(), 1);
    EXPECT_FALSE(from()->isEnabled());
    units()->setCurrentRow(1);
    EXPECT_EQ(label(), QStringLiteral("三年级下册  Unit 2 Family"));
}

TEST_F(BookUnitTest, ToBeforeFromIsRefusedAndResetToTheLastUnit)
{
    ASSERT_TRUE(open());
    all()->click();
    from()->setCurrentIndex(2);
    dialog->ComboUnitFrom_Click();
    to()->setCurrentIndex(1);
    dialog->ComboUnitTo_Click();
    ASSERT_EQ(world->prompter.asked().size(), 1u);
    EXPECT_EQ(world->prompter.asked()[0].text, kReversed);
    EXPECT_EQ(world->prompter.asked()[0].title, QStringLiteral("Vantor英语"));
    EXPECT_EQ(world->prompter.asked()[0].icon, Prompter::Icon::Critical);
    EXPECT_EQ(to()->currentIndex(), 3);
    EXPECT_EQ(from()->currentIndex(), 2);
}

TEST_F(BookUnitTest, FromAfterToIsRefusedAndResetToTheFirstUnit)
{
    ASSERT_TRUE(open());
    all()->click();
    to()->setCurrentIndex(1);
    dialog->ComboUnitTo_Click();
    from()->setCurrentIndex(2);
    dialog->ComboUnitFrom_Click();
    ASSERT_EQ(world->prompter.asked().size(), 1u);
    EXPECT_EQ(world->prompter.asked()[0].text, kReversed);
    EXPECT_EQ(from()->currentIndex(), 0);
    EXPECT_EQ(to()->currentIndex(), 1);
}

TEST_F(BookUnitTest, OkLoadsTheUnitStoresItAndShowsTheReader)
{
    ASSERT_TRUE(open());
    books()->setCurrentRow(1);
    units()->setCurrentRow(1);
    dialog->cmdOK_Click();
    EXPECT_EQ(world->host.readers, 1);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(store().iCurrBook, 1);
    EXPECT_EQ(store().iCurrUnit, 1);
    EXPECT_EQ(store().iCurrWord, 0);
    EXPECT_EQ(english(), QStringList{QStringLiteral("mother")});
    ASSERT_EQ(stored().size(), 1u);
    EXPECT_EQ(stored()[0], (QVariantList{1, 1}));
}

TEST_F(BookUnitTest, DoubleClickingAUnitActsAsOk)
{
    ASSERT_TRUE(open());
    units()->setCurrentRow(2);
    Q_EMIT units()->itemDoubleClicked(units()->item(2));
    EXPECT_EQ(world->host.readers, 1);
    EXPECT_EQ(store().iCurrUnit, 2);
}

TEST_F(BookUnitTest, ReviewingARangeLoadsItsUnitsAndStoresUnitZero)
{
    ASSERT_TRUE(open(0, 2));
    all()->click();
    from()->setCurrentIndex(1);
    to()->setCurrentIndex(2);
    dialog->cmdReviewBook_Click();
    EXPECT_EQ(world->host.readers, 1);
    EXPECT_EQ(store().iCurrBook, 0);
    EXPECT_EQ(store().iCurrUnit, 0);
    // The word shared by units 2 and 3 comes once from each.
    EXPECT_EQ(english(),
              QStringList({QStringLiteral("apple"), QStringLiteral("apple"), QStringLiteral("blue"),
                           QStringLiteral("cake"), QStringLiteral("ice cream"), QStringLiteral("red")}));
    ASSERT_EQ(stored().size(), 1u);
    EXPECT_EQ(stored()[0], (QVariantList{0, 0}));
}

TEST_F(BookUnitTest, AUnitWithoutWordsKeepsTheDialogAndTheWordsBeingStudied)
{
    ASSERT_TRUE(open(0, 1));
    const QStringList before = english();
    units()->setCurrentRow(3);
    dialog->cmdOK_Click();
    ASSERT_EQ(world->prompter.asked().size(), 1u);
    EXPECT_EQ(world->prompter.asked()[0].text, QStringLiteral("没有找到您要的单词库，请下载最新的版本！"));
    EXPECT_EQ(world->host.readers, 0);
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(english(), before);
    EXPECT_EQ(store().iCurrUnit, 1);
    EXPECT_EQ(units()->currentRow(), 3);
    EXPECT_EQ(stored()[0], (QVariantList{0, 1}));
}

TEST_F(BookUnitTest, CancelAfterBrowsingLeavesTheChoiceAndItsUnitsAsTheyWere)
{
    ASSERT_TRUE(open(0, 2));
    const QStringList before = english();
    books()->setCurrentRow(1);
    dialog->cmdCancle_Click();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(store().iCurrBook, 0);
    EXPECT_EQ(store().iCurrUnit, 2);
    EXPECT_EQ(store().iUnitNum, 4);
    EXPECT_EQ(store().arrBookUnit[2].UnitName, QStringLiteral("Unit 3 Food"));
    EXPECT_EQ(english(), before);
    EXPECT_EQ(world->host.readers, 0);
}

TEST_F(BookUnitTest, EachShowingStartsAgainFromTheStoredChoice)
{
    ASSERT_TRUE(open(0, 0));
    books()->setCurrentRow(1);
    dialog->cmdCancle_Click();
    dialog->Form_Load();
    EXPECT_EQ(books()->currentRow(), 0);
    EXPECT_EQ(units()->currentRow(), 0);
    EXPECT_EQ(units()->count(), 4);
}

} // namespace
} // namespace lexora::test
