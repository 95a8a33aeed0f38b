// The recognition test's rules: drawing the choices and judging; the unit status cells.
#include "ScriptedRandom.h"
#include "quiz/RecognitionRound.h"
#include "quiz/RecordLists.h"
#include "store/Records.h"

#include <gtest/gtest.h>
#include <set>

namespace lexora::test {
namespace {

struct DrawCase
{
    int wordNum;
    int asked;
};

class ChoiceDraws : public ::testing::TestWithParam<DrawCase>
{};

TEST_P(ChoiceDraws, DistinctWordsBesideTheAskedOneWhichSitsAnywhereAlike)
{
    const auto [wordNum, asked] = GetParam();
    const int offered = std::min(kChoiceCount, wordNum);
    ScriptedRandom random(777u + static_cast<unsigned>(wordNum));
    constexpr int kDraws = 8000;
    std::vector<int> askedAt(kChoiceCount, 0);
    for (int d = 0; d < kDraws; ++d) {
        const Choices c = DrawChoices(asked, wordNum, random);
        std::set<int> seen;
        int askedCount = 0;
        for (int k = 0; k < kChoiceCount; ++k) {
            const int word = c[static_cast<size_t>(k)];
            if (k >= offered) {
                EXPECT_EQ(word, -1) << "position " << k;
                continue;
            }
            ASSERT_GE(word, 0);
            ASSERT_LT(word, wordNum);
            EXPECT_TRUE(seen.insert(word).second) << "word " << word << " twice";
            if (word == asked) {
                ++askedCount;
                ++askedAt[static_cast<size_t>(k)];
            }
        }
        ASSERT_EQ(askedCount, 1);
    }
    EXPECT_EQ(random.reseeds(), kDraws);
    // Chi-square over the offered positions; the bounds are the 0.1 % points for 1 to 3 degrees of freedom.
    const double expected = static_cast<double>(kDraws) / offered;
    double chi2 = 0;
    for (int k = 0; k < offered; ++k)
        chi2 += (askedAt[static_cast<size_t>(k)] - expected) * (askedAt[static_cast<size_t>(k)] - expected) /
                expected;
    const double bounds[] = {0, 10.83, 13.82, 16.27};
    EXPECT_LT(chi2, bounds[offered - 1]);
}

INSTANTIATE_TEST_SUITE_P(Lists, ChoiceDraws,
                         ::testing::Values(DrawCase{12, 5}, DrawCase{4, 0}, DrawCase{4, 3}, DrawCase{3, 1},
                                           DrawCase{2, 1}));

TEST(ChoiceDrawsEdges, NoWordOrAnAskedWordOutsideTheListOffersNothing)
{
    ScriptedRandom random;
    const Choices none{-1, -1, -1, -1};
    EXPECT_EQ(DrawChoices(0, 0, random), none);
    EXPECT_EQ(DrawChoices(-1, 5, random), none);
    EXPECT_EQ(DrawChoices(5, 5, random), none);
    EXPECT_EQ(DrawChoices(0, 1, random), (Choices{0, -1, -1, -1}));
}

TEST(ChoiceDrawsEdges, TheRightPositionComesFromTheFirstDrawAndDistractorsSkipRepeats)
{
    ScriptedRandom random;
    // Position 0.6 * 4 = 2; then words 3 (asked: redrawn), 0, 0 (repeat: redrawn), 1, 4.
    for (double v : {0.6, 0.35, 0.0, 0.0, 0.15, 0.45})
        random.queue(v);
    EXPECT_EQ(DrawChoices(3, 10, random), (Choices{0, 1, 3, 4}));
}

struct JudgeCase
{
    const char* name;
    std::vector<bool> answers;
    int testNum, errNum, rightNum;
    bool tested, currErr;
    int done;
};

class Judging : public ::testing::TestWithParam<JudgeCase>
{};

TEST_P(Judging, CountersAndFlagsAfterTheAnswers)
{
    const JudgeCase& c = GetParam();
    CWordType word;
    word.testNum = 5;
    word.errNum = 1;
    word.rightNum = 4;
    std::int16_t done = 2;
    for (bool right : c.answers)
        EXPECT_EQ(JudgeAnswer(word, right, done), right ? Verdict::Right : Verdict::Wrong);
    EXPECT_EQ(word.testNum, 5 + c.testNum) << c.name;
    EXPECT_EQ(word.errNum, 1 + c.errNum) << c.name;
    EXPECT_EQ(word.rightNum, c.rightNum) << c.name;
    EXPECT_EQ(word.Tested, c.tested) << c.name;
    EXPECT_EQ(word.CurrErr, c.currErr) << c.name;
    EXPECT_EQ(done, 2 + c.done) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Judging,
    ::testing::Values(JudgeCase{"right", {true}, 1, 0, 5, true, false, 1},
                      JudgeCase{"wrong then right", {false, true}, 2, 1, 1, true, true, 1},
                      JudgeCase{"wrong twice", {false, false}, 2, 2, 0, false, true, 0}));

TEST(UnitStatusRows, StatusColumnsForEveryValue)
{
    const QString done = QStringLiteral("完成"), notDone = QStringLiteral("未完成");
    const std::pair<int, QStringList> rows[] = {{0, {notDone, notDone}},     {1, {done, notDone}},
                                                {2, {notDone, done}},        {3, {done, done}},
                                                {4, {QString(), QString()}}, {-1, {QString(), QString()}}};
    for (const auto& [status, cells] : rows) {
        CBookUnit unit;
        unit.UnitName = QStringLiteral("Unit 1");
        unit.UnitStatus = static_cast<std::int16_t>(status);
        EXPECT_EQ(UnitStatusRow(9, unit),
                  (QStringList{QStringLiteral("10"), QStringLiteral("Unit 1")} + cells))
            << status;
    }
}

} // namespace
} // namespace lexora::test
