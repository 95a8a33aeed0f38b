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

class BookUnitTest : public ::testing::Test
{
protected:
    bool open(int lastBook = 0, int lastUnit = 0)
    {
        CourseFixture course = CourseFixture::standard();
        course.units.push_back(
            {0, QStringLiteral(" 三年级上册 "), 3, QStringLiteral("Unit 4 Empty"), QVariant()});
        course.lastBook = lastBook, course.lastUnit = lastUnit;
        world = std::make_unique<ViewWorld>(std::move(course));
        world->open(); // false for a stored unit beyond the book, which has no words
        if (!world->program || store().catalogue().unitCount() == 0)
            return false;
        dialog = std::make_unique<FormBookUnit>(store(), world->prompter, world->host);
        dialog->Form_Load();
        return true;
    }
    WordStore& store() { return world->program->store; }
    template <class T> T* child(const char* name) const { return dialog->findChild<T*>(QLatin1String(name)); }
    QListWidget* units() const { return child<QListWidget>("lstUnit"); }
    QComboBox* from() const { return child<QComboBox>("ComboUnitFrom"); }
    QComboBox* to() const { return child<QComboBox>("ComboUnitTo"); }
    // Book row, unit row/units, label, review range and whether its boxes can be changed.
    QString shown() const
    {
        return QStringLiteral("%1 %2/%3 %4: %5 %6-%7 %8")
            .arg(child<QListWidget>("lstBook")->currentRow())
            .arg(units()->currentRow())
            .arg(units()->count())
            .arg(child<QLabel>("lblBookUnit")->text())
            .arg(QLatin1String(child<QCheckBox>("CheckUnitAll")->isChecked() ? "all" : "range"))
            .arg(from()->currentIndex())
            .arg(to()->currentIndex())
            .arg(QLatin1String(from()->isEnabled() || to()->isEnabled() ? "open" : "locked"));
    }
    // Current book, unit and word, the loaded words sorted, the stored rows.
    QString studied()
    {
        QStringList words;
        for (int i = 0; i < store().words().count(); ++i)
            words << store().words().records()[static_cast<size_t>(i)].English;
        words.sort();
        QString s = QStringLiteral("%1 %2 %3: ")
                        .arg(store().catalogue().currentBook())
                        .arg(store().catalogue().currentUnit())
                        .arg(store().words().current());
        s += words.join(u',');
        for (const auto& row :
             world->course.rows(QStringLiteral("select LastBook, LastUnit from FeatureTable")))
            s += QStringLiteral("; stored %1 %2").arg(row.at(0).toInt()).arg(row.at(1).toInt());
        return s;
    }

    std::unique_ptr<ViewWorld> world;
    std::unique_ptr<FormBookUnit> dialog;
};

TEST_F(BookUnitTest, AReversedRangeIsRefusedAndTheBoxJustChangedIsReset)
{
    // from=2 then to=1 resets "to" to the last unit; to=1 then from=2 resets "from" to the first.
    for (const bool fromFirst : {true, false}) {
        ASSERT_TRUE(open());
        child<QCheckBox>("CheckUnitAll")->click();
        for (const bool setFrom : {fromFirst, !fromFirst}) {
            (setFrom ? from() : to())->setCurrentIndex(setFrom ? 2 : 1);
            setFrom ? dialog->ComboUnitFrom_Click() : dialog->ComboUnitTo_Click();
        }
        EXPECT_EQ(world->prompter.texts(), std::vector{QStringLiteral("不能反向选择单元！")});
        EXPECT_EQ(std::pair(from()->currentIndex(), to()->currentIndex()),
                  fromFirst ? std::pair(2, 3) : std::pair(0, 1));
    }
}

TEST_F(BookUnitTest, ReviewingARangeLoadsItsUnitsAndStoresUnitZero)
{
    ASSERT_TRUE(open(0, 2));
    child<QCheckBox>("CheckUnitAll")->click();
    from()->setCurrentIndex(1), to()->setCurrentIndex(2);
    dialog->cmdReviewBook_Click();
    EXPECT_EQ(world->host.readers, 1);
    // The word shared by units 2 and 3 comes once from each.
    EXPECT_EQ(studied(), QStringLiteral("0 0 0: apple,apple,blue,cake,ice cream,red; stored 0 0"));
}

TEST_F(BookUnitTest, AnotherBookShowsItsFirstUnitAndCancelLeavesTheChoiceAsItWasForTheNextShowing)
{
    ASSERT_TRUE(open(0, 2));
    const QString before = studied();
    child<QCheckBox>("CheckUnitAll")->click(); // another book starts over with the whole book as range
    child<QListWidget>("lstBook")->setCurrentRow(1);
    EXPECT_EQ(shown(), QStringLiteral("1 0/2 三年级下册  Unit 1 School: all 0-1 locked"));
    dialog->cmdCancle_Click();
    EXPECT_EQ(std::tuple(world->host.readers, dialog->result()), std::tuple(0, int(QDialog::Rejected)));
    EXPECT_EQ(studied(), before);
    EXPECT_EQ(std::tuple(store().catalogue().unitCount(), store().catalogue().units()[2].UnitName),
              std::tuple(4, QStringLiteral("Unit 3 Food")));
    dialog->Form_Load();
    EXPECT_EQ(shown(), QStringLiteral("0 2/4 三年级上册  Unit 3 Food: all 0-3 locked"));
}

} // namespace
} // namespace lexora::test
