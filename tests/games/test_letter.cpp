// The letter game's rounds over a real course: the quiz before each word, arranging, help, the score
// line, the last question, ending; and the tip dialog's late OK.
#include "GameTestKit.h"
#include "games/FormTip.h"
#include "games/WordPPK2.h"
#include "quiz/FormRRK.h"
#include "store/WordStore.h"
#include "views/ClockTimer.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <deque>
#include <gtest/gtest.h>

namespace lexora::test {
namespace {

const QString kEndQuestion = QStringLiteral("还没有完成游戏，你确定要结束吗?");
const QString kLastQuestion = QStringLiteral("恭喜你熟悉了全部单词，重来一遍?");

QStringList Singles(int n)
{
    return QStringList{"cat", "dog", "pig", "hen", "cow", "fox", "owl", "bee", "ant", "bat", "yak", "elk"}
        .mid(0, n);
}

class LetterGame : public ::testing::Test
{
protected:
    void start(const QStringList& words, const QStringList& phrases = {})
    {
        world = std::make_unique<GameWorld>(words, QStringList(), phrases);
        store().ResetTestFlagsSkipPhrases();
        ppk = std::make_unique<WordPPK2>(world->program->context(), world->gameHost);
        ppk->runModal = [this](QDialog& dialog) { return onModal(dialog); };
        ppk->InitGamePPK();
    }
    // The quiz is answered right, after one wrong answer when wrongQuiz says so.
    int onModal(QDialog& dialog)
    {
        if (auto* tip = dynamic_cast<FormTip*>(&dialog))
            tips.push_back(tip->english());
        auto* quiz = dynamic_cast<FormRRK*>(&dialog);
        if (!quiz)
            return 0;
        quizzes.push_back(ppk->strGameWord);
        const auto& c = quiz->choices();
        const int right = static_cast<int>(std::find(c.begin(), c.end(), ppk->iGameWord) - c.begin());
        if (wrongQuiz) {
            quiz->imgWord_Click(right == 0 ? 1 : 0);
            quiz->cmdOK_Click();
        }
        quiz->imgWord_Click(right);
        quiz->cmdOK_Click();
        return quiz->result();
    }
    WordStore& store() { return world->program->store; }
    QString score() const { return ppk->findChild<QLabel*>(QStringLiteral("lblResult"))->text(); }
    QVariant unitStatus() const
    {
        return world->course.rows(QStringLiteral("select UnitStatus from PEP_BookUnit"))[0][0];
    }

    std::unique_ptr<GameWorld> world;
    std::unique_ptr<WordPPK2> ppk;
    bool wrongQuiz = false;
    std::vector<QString> quizzes;
    std::vector<QString> tips;
};

class HelpCounting : public LetterGame, public ::testing::WithParamInterface<std::tuple<bool, int>>
{};

TEST_P(HelpCounting, AWordIsMasteredOnlyWithoutHelpAndHelpCountsOnce)
{
    const auto [wrong, giveUps] = GetParam();
    const bool mastered = !wrong && giveUps == 0;
    wrongQuiz = wrong;
    start(Singles(4));
    const auto word = static_cast<size_t>(ppk->iGameWord);
    const CWordType before = store().arrWords[word];
    for (int i = 0; i < giveUps; ++i)
        ppk->cmdTip_Click();
    EXPECT_EQ(tips.size(), static_cast<size_t>(giveUps));
    ArrangeInRow(*ppk, false);
    EXPECT_TRUE(score().isEmpty()); // the last tile is still held
    ppk->picChar_MouseDown(ppk->board().count(), 0, 0);
    EXPECT_EQ(world->count(world->successSound()), 1);
    const CWordType& after = store().arrWords[word];
    EXPECT_EQ(after.testNum, before.testNum + 1);
    EXPECT_EQ(after.errNum, before.errNum + (mastered ? 0 : 1));
    EXPECT_EQ(after.rightNum, mastered ? before.rightNum + 1 : 0);
    EXPECT_EQ(after.Tested, mastered);
    EXPECT_EQ(score(), mastered ? QStringLiteral("单词排排看 1/4") : QStringLiteral("单词排排看 0/4"));
    EXPECT_EQ(tips.back(), before.English); // the word's tip, then the next quiz
    EXPECT_EQ(quizzes.size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(WrongQuizAndGiveUps, HelpCounting,
                         ::testing::Values(std::tuple{false, 0}, std::tuple{true, 0}, std::tuple{false, 3},
                                           std::tuple{true, 2}));

TEST_F(LetterGame, TwelveWordsAndThreePhrasesEndAtTwelveOfTwelveAndYesStartsAgain)
{
    start(Singles(12),
          {QStringLiteral("good morning"), QStringLiteral("thank you"), QStringLiteral("see you")});
    EXPECT_EQ(store().iTestTotal, 12);
    for (int word = 0; word < 12; ++word) {
        EXPECT_TRUE(world->prompter.asked().empty());
        ArrangeInRow(*ppk);
    }
    EXPECT_EQ(score(), QStringLiteral("单词排排看 12/12"));
    for (const QString& q : quizzes)
        EXPECT_FALSE(q.contains(QLatin1Char(' '))) << q.toStdString();
    ASSERT_EQ(world->prompter.texts(), std::vector<QString>{kLastQuestion});
    EXPECT_EQ(world->prompter.asked()[0].title, QStringLiteral("单词排排看"));
    EXPECT_EQ(world->prompter.asked()[0].buttons, Prompter::Buttons::YesNo);
    EXPECT_EQ(unitStatus(), QVariant(1));
    // Yes: no tip for the twelfth word, a quiz for a new first word; the score line stays.
    EXPECT_EQ(tips.size(), 11u);
    EXPECT_EQ(quizzes.size(), 13u);
    EXPECT_EQ(store().iTestDone, 0);
    EXPECT_EQ(score(), QStringLiteral("单词排排看 12/12"));
    EXPECT_TRUE(world->gameHost.shown.empty());
}

TEST_F(LetterGame, NoAtTheEndEndsWithoutAskingAgainAndShowsTheReader)
{
    start(Singles(1));
    world->prompter.queueAnswer(Prompter::Answer::No);
    ArrangeInRow(*ppk);
    EXPECT_EQ(world->prompter.texts(), std::vector<QString>{kLastQuestion});
    EXPECT_EQ(world->gameHost.shown, (std::vector<std::pair<int, int>>{{1, 0}}));
    EXPECT_EQ(ppk->board().count(), 0);
    EXPECT_EQ(unitStatus(), QVariant(1));
}

TEST_F(LetterGame, EndingAnUnfinishedGameAsksAndCancelKeepsTheBoard)
{
    start(Singles(3));
    world->prompter.queueAnswer(Prompter::Answer::Cancel);
    ppk->cmdReturn_Click();
    EXPECT_EQ(world->prompter.texts(), std::vector<QString>{kEndQuestion});
    EXPECT_EQ(world->prompter.asked()[0].buttons, Prompter::Buttons::OkCancel);
    EXPECT_EQ(ppk->board().count(), ppk->strGameWord.size());
    EXPECT_TRUE(world->gameHost.shown.empty());
    ppk->cmdReturn_Click(); // OK
    EXPECT_EQ(ppk->picChar(1), nullptr);
    EXPECT_EQ(world->gameHost.shown, (std::vector<std::pair<int, int>>{{1, 0}}));
}

TEST_F(LetterGame, AListWithoutSingleWordsLeavesTheBoardEmptyAndEndsWithoutAsking)
{
    start({}, {QStringLiteral("good morning"), QStringLiteral("thank you")});
    EXPECT_TRUE(quizzes.empty());
    EXPECT_EQ(ppk->board().count(), 0);
    ppk->cmdTip_Click();
    ppk->imgStandardAudio_Click();
    EXPECT_TRUE(tips.empty());
    EXPECT_TRUE(world->soundOut.played.empty());
    EXPECT_TRUE(ppk->EndGame());
    EXPECT_TRUE(world->prompter.asked().empty());
}

TEST_F(LetterGame, AClickOnATileTakesItAndAClickOnAnotherPutsItDown)
{
    start(Singles(2));
    QTest::mouseClick(ppk->picChar(1), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(ppk->board().dragChar(), 1);
    QTest::mouseClick(ppk->picChar(2), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(ppk->board().dragging());
    ppk->imgHelp_Click();
    EXPECT_EQ(world->gameHost.helps, 1);
}

TEST(TipDialog, OkWorksOnlyAfterTheFirstSecondOfEachShowing)
{
    GameWorld world({QStringLiteral("cat"), QStringLiteral("dog")}, {QStringLiteral("dog")});
    FormTip tip(world.program->context());
    tip.SetGameWord(QStringLiteral("  cat "), QStringLiteral(" 猫"));
    EXPECT_EQ(tip.findChild<QLabel*>(QStringLiteral("lblEnglish"))->text(), QStringLiteral("cat"));
    EXPECT_FALSE(tip.findChild<QLabel*>(QStringLiteral("imgWord"))->isHidden());
    auto* ok = tip.findChild<QPushButton*>(QStringLiteral("cmdOK"));
    tip.show();
    world.clock.advance(999);
    tip.Timer1().poll();
    ok->click();
    EXPECT_TRUE(tip.isVisible());
    world.clock.advance(1);
    tip.Timer1().poll();
    ok->click();
    EXPECT_FALSE(tip.isVisible());
    EXPECT_EQ(tip.result(), QDialog::Accepted);
    tip.show();
    EXPECT_FALSE(ok->isEnabled());
    // A word without a picture hides the image rather than showing the fallback.
    tip.SetGameWord(QStringLiteral("dog"), QStringLiteral("狗"));
    EXPECT_TRUE(tip.findChild<QLabel*>(QStringLiteral("imgWord"))->isHidden());
}

} // namespace
} // namespace lexora::test
