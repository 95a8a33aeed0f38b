#include "ReadOnlyPaths.h"
#include "StoreTest.h"

#include <QFileInfo>

using namespace lexora;
using lexora::test::ReadOnlyPaths;
using lexora::test::StoreTest;

namespace {

TEST(UnitStatusMerge, OnlyEverGrows)
{
    const std::tuple<int, int, int> cases[] = {{0, 1, 1}, {0, 2, 2}, {1, 2, 3}, {2, 1, 3}, {2, 2, 2},
                                               {1, 1, 1}, {3, 2, 3}, {3, 1, 3}, {7, 1, 3}, {-1, 2, 1}};
    for (auto [current, status, merged] : cases)
        EXPECT_EQ(MergeUnitStatus(static_cast<std::int16_t>(current), static_cast<UnitMark>(status)), merged)
            << current << "+" << status;
}

class LearningRecords : public StoreTest
{
protected:
    std::vector<QVariantList> unitRows(int unit) const
    {
        return course.rows(
            QStringLiteral("select BookName, UnitName, UnitStatus, VersionID from PEP_BookUnit "
                           "where BookID = 0 and UnitID = %1")
                .arg(unit));
    }
};

TEST_F(LearningRecords, MissingRowIsAddedWithNamesAndSeveralRowsAreAllUpdated)
{
    course.units.push_back({0, QStringLiteral(" 三年级上册 "), 2, QStringLiteral("Unit 3 Food"), 2});
    ASSERT_TRUE(open());
    ASSERT_TRUE(store->LoadBookUnits(0));
    ASSERT_TRUE(course.exec(QStringLiteral("delete from PEP_BookUnit where BookID = 0 and UnitID = 1")));
    store->catalogue().setCurrentUnit(1);
    store->SetUnitStatus(UnitMark::TestDone);
    EXPECT_EQ(unitRows(1), (std::vector<QVariantList>{
                               {QStringLiteral("三年级上册"), QStringLiteral("Unit 2 Colours"), 3, 1}}));
    store->catalogue().setCurrentUnit(2);
    store->SetUnitStatus(UnitMark::SpellingDone);
    EXPECT_EQ(unitRows(2).size(), 2u);
    for (const auto& row : unitRows(2))
        EXPECT_EQ(row[2].toInt(), 3);
    // The catalogue still sees two books and three units in book 0.
    ASSERT_TRUE(open());
    EXPECT_EQ(store->catalogue().bookCount(), 2);
    ASSERT_TRUE(store->LoadBookUnits(0));
    EXPECT_EQ(store->catalogue().unitCount(), 3);
}

TEST_F(LearningRecords, HistoryHoldsTheNewestFiftyOfThisLearnerOnly)
{
    for (int no = 1; no <= 60; ++no)
        course.history.push_back(
            {no, 0, QStringLiteral("d"), QStringLiteral("t"), QStringLiteral("任务%1").arg(no)});
    for (int no = 100; no < 110; ++no)
        course.history.push_back({no, 3, QStringLiteral("d"), QStringLiteral("t"), QStringLiteral("other")});
    ASSERT_TRUE(open());
    EXPECT_EQ(store->LoadHistory(), 50);
    ASSERT_EQ(store->catalogue().history().size(), 50u);
    EXPECT_EQ(store->catalogue().history().front().myTask, QStringLiteral("任务60"));
    EXPECT_EQ(store->catalogue().history().back().myTask, QStringLiteral("任务11"));
    // No rows of this learner: the message, and the previous rows stay.
    ASSERT_TRUE(course.exec(QStringLiteral("update History set userID = 2")));
    EXPECT_EQ(store->LoadHistory(), 0);
    EXPECT_EQ(store->catalogue().history().size(), 50u);
    EXPECT_EQ(prompter.texts(), std::vector<QString>{QStringLiteral("没有练习记录！")});
}

// A database that cannot be written: each kind of record is reported once, with its reason, nothing
// is stored, and the store goes on reading. These failures once passed without a word.
TEST_F(LearningRecords, FailedWritesAreReportedOncePerKindAndTheStoreGoesOn)
{
    // What is read-only, whether the file is scrambled at rest, what the learner is told.
    const std::tuple<const char*, bool, const char*> cases[] = {{"file", false, "只读"},
                                                                {"folder", true, "文件夹不能写入"}};
    for (const auto& [what, scrambled, reason] : cases) {
        SCOPED_TRACE(what);
        ASSERT_TRUE(open());
        ASSERT_TRUE(store->LoadBookUnits(0));
        ASSERT_TRUE(store->LoadUnitWords(0, 0));
        // A read-only file can only be read while plain (as the last run may have left it).
        ASSERT_TRUE(course.build(scrambled));
        const auto before = course.rows(QStringLiteral("select * from FeatureTable"));
        const auto unitsBefore = course.rows(QStringLiteral("select * from PEP_BookUnit"));
        const auto wordsBefore = course.rows(QStringLiteral("select English, Result from PEP"));
        prompter.clear();
        std::int16_t statusBefore = 0;
        {
            const QString target = QLatin1String(what) == QLatin1String("file")
                                       ? course.dbFile()
                                       : QFileInfo(course.dbFile()).path();
            ReadOnlyPaths readOnly(course.root(), {target});
            statusBefore = store->catalogue().units()[1].UnitStatus;
            store->catalogue().setCurrent(1, 1);
            for (int twice = 0; twice < 2; ++twice) {
                EXPECT_FALSE(store->SaveLastBookUnit());
                store->words().word(twice)->testNum = 9;
                EXPECT_FALSE(store->SaveWordResults({twice}));
                EXPECT_FALSE(store->SetUnitStatus(UnitMark::TestDone));
            }
            EXPECT_TRUE(store->LoadUnitWords(1, 0)) << "reading goes on";
        }
        EXPECT_EQ(store->catalogue().units()[1].UnitStatus, MergeUnitStatus(statusBefore, UnitMark::TestDone))
            << "kept for this run";
        EXPECT_EQ(fatals, 0);
        const char* kinds[] = {"上次学习的课本和单元", "单词的测试成绩", "单元完成情况"};
        ASSERT_EQ(prompter.asked().size(), std::size(kinds));
        for (size_t i = 0; i < std::size(kinds); ++i) {
            const QString& text = prompter.asked()[i].text;
            EXPECT_TRUE(
                text.startsWith(QStringLiteral("学习记录没有保存下来（") + QString::fromUtf8(kinds[i])))
                << qPrintable(text);
            EXPECT_TRUE(text.contains(QString::fromUtf8(reason))) << qPrintable(text);
        }
        EXPECT_EQ(course.rows(QStringLiteral("select * from FeatureTable")), before);
        EXPECT_EQ(course.rows(QStringLiteral("select * from PEP_BookUnit")), unitsBefore);
        EXPECT_EQ(course.rows(QStringLiteral("select English, Result from PEP")), wordsBefore);
    }
}

} // namespace
