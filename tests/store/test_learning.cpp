#include "StoreTest.h"

using namespace lexora;
using lexora::test::CourseFixture;
using lexora::test::StoreTest;

namespace {

struct MergeCase
{
    int current;
    int status;
    int merged;
};

class StatusMerge : public ::testing::TestWithParam<MergeCase>
{};

TEST_P(StatusMerge, OnlyEverGrows)
{
    EXPECT_EQ(MergeUnitStatus(static_cast<std::int16_t>(GetParam().current),
                              static_cast<std::int16_t>(GetParam().status)),
              GetParam().merged);
}

INSTANTIATE_TEST_SUITE_P(Table, StatusMerge,
                         ::testing::Values(MergeCase{0, 1, 1}, MergeCase{0, 2, 2}, MergeCase{1, 2, 3},
                                           MergeCase{2, 1, 3}, MergeCase{2, 2, 2}, MergeCase{1, 1, 1},
                                           MergeCase{3, 2, 3}, MergeCase{3, 1, 3}, MergeCase{7, 1, 3},
                                           MergeCase{-1, 2, 1}),
                         [](const auto& info) {
                             return "from" + std::to_string(info.index) + "_" +
                                    std::to_string(info.param.status);
                         });

class UnitStatus : public StoreTest
{
protected:
    int stored(int book, int unit) const
    {
        const auto rows = course.rows(
            QStringLiteral("select UnitStatus from PEP_BookUnit where BookID = %1 and UnitID = %2")
                .arg(book)
                .arg(unit));
        return rows.empty() ? -99 : rows[0][0].toInt();
    }
};

TEST_F(UnitStatus, LetterGameThenTestGivesBoth)
{
    ASSERT_TRUE(open());
    ASSERT_TRUE(store->LoadBookUnits(0));
    store->iCurrUnit = 0;
    store->SetUnitStatus(1);
    EXPECT_EQ(stored(0, 0), 1);
    store->SetUnitStatus(2);
    EXPECT_EQ(stored(0, 0), 3);
    EXPECT_EQ(store->arrBookUnit[0].UnitStatus, 3);
    store->iCurrUnit = 2; // stored 2 already
    store->SetUnitStatus(2);
    EXPECT_EQ(stored(0, 2), 2);
    ASSERT_TRUE(store->LoadBookUnits(0));
    EXPECT_EQ(store->arrBookUnit[0].UnitStatus, 3);
}

TEST_F(UnitStatus, MissingRowIsAddedWithNamesAndTheStatus)
{
    ASSERT_TRUE(open());
    ASSERT_TRUE(store->LoadBookUnits(0));
    ASSERT_TRUE(course.exec(QStringLiteral("delete from PEP_BookUnit where BookID = 0 and UnitID = 1")));
    store->iCurrUnit = 1;
    store->arrBookUnit[1].UnitStatus = 0;
    store->SetUnitStatus(2);
    const auto rows = course.rows(QStringLiteral("select BookName, UnitName, UnitStatus, VersionID from "
                                                 "PEP_BookUnit where BookID = 0 and UnitID = 1"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].toString(), QStringLiteral("三年级上册"));
    EXPECT_EQ(rows[0][1].toString(), QStringLiteral("Unit 2 Colours"));
    EXPECT_EQ(rows[0][2].toInt(), 2);
    EXPECT_EQ(rows[0][3].toInt(), 1);
    // The catalogue still sees two books and three units in book 0.
    ASSERT_TRUE(open());
    EXPECT_EQ(store->iBookNum, 2);
    ASSERT_TRUE(store->LoadBookUnits(0));
    EXPECT_EQ(store->iUnitNum, 3);
}

TEST_F(UnitStatus, SeveralRowsAreAllUpdated)
{
    course.units.push_back({0, QStringLiteral(" 三年级上册 "), 1, QStringLiteral("Unit 2 Colours"), 1});
    ASSERT_TRUE(open());
    ASSERT_TRUE(store->LoadBookUnits(0));
    store->iCurrUnit = 1;
    store->SetUnitStatus(2);
    const auto rows =
        course.rows(QStringLiteral("select UnitStatus from PEP_BookUnit where BookID = 0 and UnitID = 1"));
    ASSERT_EQ(rows.size(), 2u);
    for (const auto& row : rows)
        EXPECT_EQ(row[0].toInt(), 3);
    ASSERT_TRUE(store->LoadBookUnits(0));
    EXPECT_EQ(store->iUnitNum, 3);
}

class History : public StoreTest
{};

TEST_F(History, NewestFiftyOfThisLearnerOnly)
{
    for (int no = 1; no <= 60; ++no)
        course.history.push_back({no, 0, QStringLiteral("2026-12-%1").arg(no % 28 + 1),
                                  QStringLiteral("10:00"), QStringLiteral("任务%1").arg(no)});
    for (int no = 100; no < 110; ++no)
        course.history.push_back({no, 3, QStringLiteral("d"), QStringLiteral("t"), QStringLiteral("other")});
    ASSERT_TRUE(open());
    EXPECT_EQ(store->LoadHistory(), 50);
    ASSERT_EQ(store->arrHistory.size(), 50u);
    EXPECT_EQ(store->arrHistory.front().myTask, QStringLiteral("任务60"));
    EXPECT_EQ(store->arrHistory.back().myTask, QStringLiteral("任务11"));
    for (const CHisType& row : store->arrHistory)
        EXPECT_EQ(row.userID, 0);
}

TEST_F(History, NoRowsSaysSoAndKeepsThePreviousRows)
{
    course.history.push_back({1, 0, QStringLiteral("d"), QStringLiteral("t"), QStringLiteral("任务")});
    ASSERT_TRUE(open());
    ASSERT_EQ(store->LoadHistory(), 1);
    ASSERT_TRUE(course.exec(QStringLiteral("update History set userID = 2")));
    EXPECT_EQ(store->LoadHistory(), 0);
    EXPECT_EQ(store->arrHistory.size(), 1u);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].text, QStringLiteral("没有练习记录！"));
}

} // namespace
