#include "StoreTest.h"

using namespace lexora;
using lexora::test::StoreTest;

namespace {

TEST(UnitStatusMerge, OnlyEverGrows)
{
    const std::tuple<int, int, int> cases[] = {{0, 1, 1}, {0, 2, 2}, {1, 2, 3}, {2, 1, 3}, {2, 2, 2},
                                               {1, 1, 1}, {3, 2, 3}, {3, 1, 3}, {7, 1, 3}, {-1, 2, 1}};
    for (auto [current, status, merged] : cases)
        EXPECT_EQ(MergeUnitStatus(static_cast<std::int16_t>(current), static_cast<std::int16_t>(status)),
                  merged)
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

TEST_F(LearningRecords, StatusIsMergedStoredAndReadBack)
{
    ASSERT_TRUE(open());
    ASSERT_TRUE(store->LoadBookUnits(0));
    store->iCurrUnit = 0;
    store->SetUnitStatus(1);
    EXPECT_EQ(unitRows(0)[0][2].toInt(), 1);
    store->SetUnitStatus(2);
    EXPECT_EQ(unitRows(0)[0][2].toInt(), 3);
    ASSERT_TRUE(store->LoadBookUnits(0));
    EXPECT_EQ(store->arrBookUnit[0].UnitStatus, 3);
}

TEST_F(LearningRecords, MissingRowIsAddedWithNamesAndSeveralRowsAreAllUpdated)
{
    course.units.push_back({0, QStringLiteral(" 三年级上册 "), 2, QStringLiteral("Unit 3 Food"), 2});
    ASSERT_TRUE(open());
    ASSERT_TRUE(store->LoadBookUnits(0));
    ASSERT_TRUE(course.exec(QStringLiteral("delete from PEP_BookUnit where BookID = 0 and UnitID = 1")));
    store->iCurrUnit = 1;
    store->SetUnitStatus(2);
    EXPECT_EQ(unitRows(1), (std::vector<QVariantList>{
                               {QStringLiteral("三年级上册"), QStringLiteral("Unit 2 Colours"), 3, 1}}));
    store->iCurrUnit = 2;
    store->SetUnitStatus(1);
    EXPECT_EQ(unitRows(2).size(), 2u);
    for (const auto& row : unitRows(2))
        EXPECT_EQ(row[2].toInt(), 3);
    // The catalogue still sees two books and three units in book 0.
    ASSERT_TRUE(open());
    EXPECT_EQ(store->iBookNum, 2);
    ASSERT_TRUE(store->LoadBookUnits(0));
    EXPECT_EQ(store->iUnitNum, 3);
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
    ASSERT_EQ(store->arrHistory.size(), 50u);
    EXPECT_EQ(store->arrHistory.front().myTask, QStringLiteral("任务60"));
    EXPECT_EQ(store->arrHistory.back().myTask, QStringLiteral("任务11"));
    // No rows of this learner: the message, and the previous rows stay.
    ASSERT_TRUE(course.exec(QStringLiteral("update History set userID = 2")));
    EXPECT_EQ(store->LoadHistory(), 0);
    EXPECT_EQ(store->arrHistory.size(), 50u);
    EXPECT_EQ(prompter.texts(), std::vector<QString>{QStringLiteral("没有练习记录！")});
}

} // namespace
