// The single-word quiz: drawing its choices, judging, the right answer after a mistake.
#include "ViewTestKit.h"
#include "quiz/FormRRK.h"
#include "quiz/QuizDraw.h"
#include "store/WordStore.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <gtest/gtest.h>
#include <set>

namespace lexora::test {
namespace {

class ChoiceDraw : public ::testing::TestWithParam<int>
{};

TEST_P(ChoiceDraw, OffersTheAskedWordOnceAmongDistinctWordsOfTheList)
{
    const int count = GetParam();
    const int offered = std::min(count, kQuizChoices);
    ScriptedRandom random(static_cast<unsigned>(count));
    std::vector<int> rightAt(kQuizChoices, 0);
    for (int draw = 0; draw < 400; ++draw) {
        const int asked = draw % count;
        const QuizChoices c = DrawQuizChoices(asked, count, random);
        std::set<int> seen;
        for (int k = 0; k < kQuizChoices; ++k) {
            const int w = c[static_cast<size_t>(k)];
            if (k >= offered) {
                EXPECT_EQ(w, -1);
                continue;
            }
            ASSERT_GE(w, 0);
            ASSERT_LT(w, count);
            EXPECT_TRUE(seen.insert(w).second) << "word " << w << " offered twice";
            if (w == asked)
                ++rightAt[static_cast<size_t>(k)];
        }
        EXPECT_EQ(seen.count(asked), 1u);
    }
    // The right answer's place is uniform over the offered places.
    for (int k = 0; k < offered; ++k)
        EXPECT_NEAR(rightAt[static_cast<size_t>(k)], 400.0 / offered, 400.0 / offered * 0.35)
            << "place " << k;
}

INSTANTIATE_TEST_SUITE_P(ListSizes, ChoiceDraw, ::testing::Values(1, 2, 3, 4, 5, 12));

TEST(ChoiceDraw, AnIndexOutsideTheListOffersNothing)
{
    ScriptedRandom random;
    for (const auto& [asked, count] : std::vector<std::pair<int, int>>{{-1, 5}, {5, 5}, {0, 0}})
        EXPECT_EQ(DrawQuizChoices(asked, count, random), (QuizChoices{-1, -1, -1, -1}));
}

// A source stuck on one value would draw for ever; the drawing still ends with an accepted value.
class StuckRandom final : public Random
{
public:
    double Rnd() override { return 0.0; }
    void Randomize() override {}
};

TEST(ChoiceDraw, AStuckSourceStillEnds)
{
    StuckRandom random;
    EXPECT_EQ(DrawAccepted(random, 5, [](int v) { return v == 3; }), 3);
    EXPECT_EQ(DrawAccepted(random, 5, [](int) { return false; }), -1);
    const QuizChoices c = DrawQuizChoices(0, 6, random);
    EXPECT_EQ(std::set<int>(c.begin(), c.end()).size(), 4u);
}

class QuizTest : public ::testing::Test
{
protected:
    bool open(const QStringList& words, const QStringList& withPictures)
    {
        world = std::make_unique<ViewWorld>(ViewWorld::courseOf(words));
        for (const QString& w : withPictures)
            world->addPicture(w);
        for (int i = 0; i < words.size(); ++i)
            world->addVoice(words[i], i + 1);
        if (!world->open())
            return false;
        quiz = std::make_unique<FormRRK>(world->program->context());
        return true;
    }
    QRadioButton* option(int k) const
    {
        return quiz->findChild<QRadioButton*>(QStringLiteral("optAns_%1").arg(k));
    }
    QLabel* picture(int k) const { return quiz->findChild<QLabel*>(QStringLiteral("imgWord_%1").arg(k)); }
    QPushButton* ok() const { return quiz->findChild<QPushButton*>(QStringLiteral("cmdOK")); }
    QLabel* answer() const { return quiz->findChild<QLabel*>(QStringLiteral("lblAns")); }
    int placeOf(int word) const
    {
        const auto& c = quiz->choices();
        return static_cast<int>(std::find(c.begin(), c.end(), word) - c.begin());
    }
    int wrongPlace(int word) const { return placeOf(word) == 0 ? 1 : 0; }

    std::unique_ptr<ViewWorld> world;
    std::unique_ptr<FormRRK> quiz;
};

TEST_F(QuizTest, ShowsMeaningsAndPicturesAndPlaysTheWord)
{
    ASSERT_TRUE(open({QStringLiteral("cat"), QStringLiteral("dog"), QStringLiteral("pig"),
                      QStringLiteral("hen"), QStringLiteral("cow")},
                     {QStringLiteral("cat"), QStringLiteral("dog"), QStringLiteral("pig"),
                      QStringLiteral("hen"), QStringLiteral("cow")}));
    quiz->SetTestWord(2);
    ASSERT_EQ(world->soundOut.played.size(), 1u);
    EXPECT_EQ(world->soundOut.played[0], world->voiceOf(3));
    EXPECT_FALSE(ok()->isEnabled());
    for (int k = 0; k < kQuizChoices; ++k) {
        const int w = quiz->choices()[static_cast<size_t>(k)];
        EXPECT_EQ(option(k)->text(), world->program->store.arrWords[static_cast<size_t>(w)].Chinese);
        EXPECT_FALSE(option(k)->isChecked());
        EXPECT_FALSE(picture(k)->pixmap().isNull());
    }
}

TEST_F(QuizTest, ARightFirstAnswerClosesWithRetAnsTrue)
{
    ASSERT_TRUE(open(
        {QStringLiteral("cat"), QStringLiteral("dog"), QStringLiteral("pig"), QStringLiteral("hen")}, {}));
    quiz->SetTestWord(1);
    quiz->imgWord_Click(placeOf(1));
    EXPECT_TRUE(option(placeOf(1))->isChecked());
    EXPECT_TRUE(ok()->isEnabled());
    ok()->click();
    EXPECT_EQ(quiz->result(), QDialog::Accepted);
    EXPECT_TRUE(quiz->retAns);
    EXPECT_TRUE(world->prompter.asked().empty());
}

TEST_F(QuizTest, AWrongAnswerShowsTheRightOneAndKeepsRetAnsFalse)
{
    ASSERT_TRUE(open(
        {QStringLiteral("cat"), QStringLiteral("dog"), QStringLiteral("pig"), QStringLiteral("hen")}, {}));
    quiz->SetTestWord(3);
    const auto before = quiz->choices();
    quiz->imgWord_Click(wrongPlace(3));
    ok()->click();
    EXPECT_FALSE(quiz->retAns);
    EXPECT_NE(quiz->result(), QDialog::Accepted);
    EXPECT_FALSE(answer()->isHidden());
    EXPECT_EQ(answer()->text(), QStringLiteral("正确答案： hen;中hen"));
    ASSERT_EQ(world->prompter.asked().size(), 1u);
    const auto& asked = world->prompter.asked()[0];
    EXPECT_EQ(asked.text, QStringLiteral("hen;中hen"));
    EXPECT_EQ(asked.title, QStringLiteral("错啦，要努力喔！"));
    EXPECT_EQ(asked.buttons, Prompter::Buttons::Ok);
    EXPECT_EQ(asked.icon, Prompter::Icon::Critical);
    // The same choices stay; the right one still closes, but the mistake is kept.
    EXPECT_EQ(quiz->choices(), before);
    quiz->imgWord_Click(placeOf(3));
    ok()->click();
    EXPECT_EQ(quiz->result(), QDialog::Accepted);
    EXPECT_FALSE(quiz->retAns);
}

TEST_F(QuizTest, AWordWithoutPictureKeepsItsMeaning)
{
    ASSERT_TRUE(
        open({QStringLiteral("cat"), QStringLiteral("dog"), QStringLiteral("pig"), QStringLiteral("hen")},
             {QStringLiteral("cat"), QStringLiteral("dog"), QStringLiteral("pig")}));
    quiz->SetTestWord(3);
    const int k = placeOf(3);
    EXPECT_TRUE(picture(k)->pixmap().isNull());
    EXPECT_EQ(option(k)->text(), QStringLiteral("中hen"));
}

TEST_F(QuizTest, AShortListOffersAsManyChoicesAsWords)
{
    ASSERT_TRUE(open({QStringLiteral("cat"), QStringLiteral("dog")}, {}));
    quiz->SetTestWord(0);
    EXPECT_FALSE(option(0)->isHidden());
    EXPECT_FALSE(option(1)->isHidden());
    EXPECT_TRUE(option(2)->isHidden());
    EXPECT_TRUE(option(3)->isHidden());
    quiz->imgWord_Click(3); // not offered: nothing is chosen
    EXPECT_FALSE(ok()->isEnabled());
    quiz->imgWord_Click(placeOf(0));
    ok()->click();
    EXPECT_EQ(quiz->result(), QDialog::Accepted);
}

TEST_F(QuizTest, ClosingOtherwiseKeepsRetAnsTrue)
{
    ASSERT_TRUE(open(
        {QStringLiteral("cat"), QStringLiteral("dog"), QStringLiteral("pig"), QStringLiteral("hen")}, {}));
    quiz->SetTestWord(0);
    quiz->reject();
    EXPECT_TRUE(quiz->retAns);
}

} // namespace
} // namespace lexora::test
