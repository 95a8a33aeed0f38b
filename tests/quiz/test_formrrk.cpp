// The single-word quiz: drawing its choices, judging, the right answer after a mistake.
#include "ViewTestKit.h"
#include "quiz/FormRRK.h"
#include "quiz/QuizDraw.h"
#include "store/WordStore.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>
#include <set>

namespace lexora::test {
namespace {

class ChoiceDraw : public ::testing::TestWithParam<int>
{};

// Fewer than four words offer as many choices as there are words; the right place is uniform.
TEST_P(ChoiceDraw, OffersTheAskedWordOnceAmongDistinctWordsOfTheList)
{
    const int count = GetParam();
    const int offered = std::min(count, kQuizChoices);
    ScriptedRandom random(static_cast<unsigned>(count));
    std::vector<int> rightAt(kQuizChoices, 0);
    for (int draw = 0; draw < 400; ++draw) {
        const QuizChoices c = DrawQuizChoices(draw % count, count, random);
        std::set<int> seen;
        for (int k = 0; k < kQuizChoices; ++k) {
            const int w = c[static_cast<size_t>(k)];
            ASSERT_EQ(w >= 0, k < offered);
            ASSERT_LT(w, count);
            ASSERT_TRUE(w < 0 || seen.insert(w).second) << "word " << w << " offered twice";
            rightAt[static_cast<size_t>(k)] += w == draw % count;
        }
    }
    for (int k = 0; k < offered; ++k)
        EXPECT_NEAR(rightAt[static_cast<size_t>(k)], 400.0 / offered, 140.0 / offered) << "place " << k;
    EXPECT_EQ(DrawQuizChoices(count, count, random), (QuizChoices{-1, -1, -1, -1}));
}

INSTANTIATE_TEST_SUITE_P(ListSizes, ChoiceDraw, ::testing::Values(1, 2, 3, 4, 12));

// A source stuck on one value would refuse for ever; the drawing still ends.
TEST(ChoiceDraw, AStuckSourceStillEnds)
{
    struct Stuck final : Random
    {
        double Rnd() override { return 0.0; }
        void Randomize() override {}
    } random;
    EXPECT_EQ(DrawAccepted(random, 5, [](int v) { return v == 3; }), 3);
    EXPECT_EQ(DrawAccepted(random, 5, [](int) { return false; }), -1);
    const QuizChoices c = DrawQuizChoices(0, 6, random);
    EXPECT_EQ(std::set<int>(c.begin(), c.end()).size(), 4u);
}

class QuizTest : public ::testing::Test
{
protected:
    // Every word has a voice; all but "hen" have pictures.
    void open(const QStringList& words)
    {
        world = std::make_unique<ViewWorld>(ViewWorld::courseOf(words));
        for (int i = 0; i < words.size(); ++i) {
            if (words[i] != QStringLiteral("hen"))
                world->addPicture(words[i]);
            world->addVoice(words[i], i + 1);
        }
        ASSERT_TRUE(world->open());
        quiz = std::make_unique<FormRRK>(world->program->context());
    }
    template <class T> T* child(const QString& name) const { return quiz->findChild<T*>(name); }
    QRadioButton* option(int k) const { return child<QRadioButton>(QStringLiteral("optAns_%1").arg(k)); }
    int placeOf(int word) const
    {
        const auto& c = quiz->choices();
        return static_cast<int>(std::find(c.begin(), c.end(), word) - c.begin());
    }
    void answer(int place)
    {
        quiz->imgWord_Click(place);
        child<QPushButton>(QStringLiteral("cmdOK"))->click();
    }

    std::unique_ptr<ViewWorld> world;
    std::unique_ptr<FormRRK> quiz;
};

TEST_F(QuizTest, AWrongAnswerShowsTheRightOneAndKeepsRetAnsFalse)
{
    open({QStringLiteral("cat"), QStringLiteral("dog"), QStringLiteral("pig"), QStringLiteral("hen")});
    quiz->SetTestWord(3);
    EXPECT_EQ(world->soundOut.played, std::vector<QByteArray>{world->voiceOf(4)});
    for (int k = 0; k < kQuizChoices; ++k) {
        const int w = quiz->choices()[static_cast<size_t>(k)];
        EXPECT_EQ(option(k)->text(), world->program->store.arrWords[static_cast<size_t>(w)].Chinese);
        EXPECT_EQ(child<QLabel>(QStringLiteral("imgWord_%1").arg(k))->pixmap().isNull(), w == 3);
    }
    const QuizChoices before = quiz->choices();
    answer(placeOf(3) == 0 ? 1 : 0);
    EXPECT_FALSE(quiz->retAns);
    EXPECT_NE(quiz->result(), QDialog::Accepted);
    EXPECT_EQ(child<QLabel>(QStringLiteral("lblAns"))->text(), QStringLiteral("正确答案： hen;中hen"));
    ASSERT_EQ(world->prompter.asked().size(), 1u);
    const auto& asked = world->prompter.asked()[0];
    EXPECT_EQ(asked.text, QStringLiteral("hen;中hen"));
    EXPECT_EQ(asked.title, QStringLiteral("错啦，要努力喔！"));
    EXPECT_EQ(asked.icon, Prompter::Icon::Critical);
    // The same choices stay; the right one closes, the mistake is kept.
    EXPECT_EQ(quiz->choices(), before);
    answer(placeOf(3));
    EXPECT_EQ(quiz->result(), QDialog::Accepted);
    EXPECT_FALSE(quiz->retAns);
}

TEST_F(QuizTest, AShortListOffersAsManyChoicesAsWordsAndARightFirstAnswerKeepsRetAns)
{
    open({QStringLiteral("cat"), QStringLiteral("dog")});
    quiz->SetTestWord(0);
    for (int k = 0; k < kQuizChoices; ++k)
        EXPECT_EQ(option(k)->isHidden(), k >= 2);
    quiz->imgWord_Click(3); // not offered: nothing is chosen
    EXPECT_FALSE(child<QPushButton>(QStringLiteral("cmdOK"))->isEnabled());
    answer(placeOf(0));
    EXPECT_EQ(quiz->result(), QDialog::Accepted);
    EXPECT_TRUE(quiz->retAns);
}

} // namespace
} // namespace lexora::test
