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
#include <QRadioButton>
#include <gtest/gtest.h>

namespace lexora::test {
namespace {

const QString kEndQuestion = QStringLiteral("还没有完成游戏，你确定要结束吗?");
const QString kLastQuestion = QStringLiteral("恭喜你熟悉了全部单词，重来一遍?");
const QStringList kSingles = {"cat", "dog", "pig", "hen", "cow", "fox",
                              "owl", "bee", "ant", "bat", "yak", "elk"};
const std::vector<std::pair<int, int>> kReader = {{1, 0}};

class LetterGame : public ::testing::Test
{
protected:
    void start(int singles, const QStringList& phrases = {})
    {
        ppk.reset();
        world = std::make_unique<GameWorld>(kSingles.mid(0, singles), QStringList(), phrases);
        tips.clear();
        quizzes.clear();
        store().ResetTestFlagsSkipPhrases();
        ppk = std::make_unique<WordPPK2>(world->program->context(), world->host);
        ppk->runModal = [this](QDialog& dialog) { return onModal(dialog); };
        ppk->InitGamePPK();
    }
    // The quiz offers as many choices as words, the rest hidden; it is answered right, after one wrong
    // answer when wrongQuiz says so.
    int onModal(QDialog& dialog)
    {
        if (auto* tip = dynamic_cast<FormTip*>(&dialog))
            tips.push_back(tip->english());
        auto* quiz = dynamic_cast<FormRRK*>(&dialog);
        if (!quiz)
            return 0;
        quizzes.push_back(ppk->strGameWord);
        const auto& c = quiz->choices();
        for (int k = 0; k < kQuizChoices; ++k)
            EXPECT_EQ(quiz->findChild<QRadioButton*>(QStringLiteral("optAns_%1").arg(k))->isHidden(),
                      c[k] < 0);
        const int right = static_cast<int>(std::find(c.begin(), c.end(), ppk->iGameWord) - c.begin());
        for (int place : wrongQuiz ? std::vector{right == 0 ? 1 : 0, right} : std::vector{right}) {
            quiz->imgWord_Click(place);
            quiz->cmdOK_Click();
        }
        return quiz->result();
    }
    WordStore& store() { return world->program->store; }
    QString score() const { return ppk->findChild<QLabel*>(QStringLiteral("lblResult"))->text(); }
    QVariant unitStatus() const { return world->course.rows("select UnitStatus from PEP_BookUnit")[0][0]; }
    std::vector<QString> asked() const { return world->prompter.texts(); }

    std::unique_ptr<GameWorld> world;
    std::unique_ptr<WordPPK2> ppk;
    bool wrongQuiz = false;
    std::vector<QString> quizzes, tips;
};

// A word is mastered only without help; a wrong quiz answer and any number of give-ups count once.
TEST_F(LetterGame, HelpCountsOnceAndOnlyAWordArrangedWithoutItIsMastered)
{
    for (const auto& [wrong, giveUps] : {std::pair{false, 0}, {true, 0}, {false, 3}, {true, 2}}) {
        SCOPED_TRACE(testing::Message() << "wrong quiz " << wrong << ", give-ups " << giveUps);
        const bool mastered = !wrong && giveUps == 0;
        wrongQuiz = wrong;
        start(4);
        const CWordType before = store().arrWords[ppk->iGameWord];
        const CWordType& after = store().arrWords[ppk->iGameWord];
        for (int i = 0; i < giveUps; ++i)
            ppk->cmdTip_Click();
        EXPECT_EQ(tips.size(), static_cast<size_t>(giveUps));
        ArrangeInRow(*ppk, false);
        EXPECT_TRUE(score().isEmpty()); // the last tile is still held
        ppk->picChar_MouseDown(ppk->board().count(), 0, 0);
        EXPECT_EQ(world->count(world->successSound()), 1);
        EXPECT_EQ(std::tuple(after.testNum, after.errNum, after.rightNum, after.Tested),
                  std::tuple(before.testNum + 1, before.errNum + !mastered,
                             mastered ? before.rightNum + 1 : 0, mastered));
        EXPECT_EQ(score(), QStringLiteral("单词排排看 %1/4").arg(mastered ? 1 : 0));
        EXPECT_EQ(tips.back(), before.English); // the word's tip, then the next quiz
        EXPECT_EQ(quizzes.size(), 2u);
    }
}

TEST_F(LetterGame, TwelveWordsAndThreePhrasesEndAtTwelveOfTwelveAndTheLastQuestionAsksToStartAgain)
{
    start(12, {"good morning", "thank you", "see you"});
    world->prompter.queueAnswer(Prompter::Answer::Yes);
    world->prompter.queueAnswer(Prompter::Answer::No);
    EXPECT_EQ(store().iTestTotal, 12);
    for (int word = 0; word < 12; ++word) {
        EXPECT_TRUE(asked().empty());
        ArrangeInRow(*ppk);
    }
    for (const QString& q : quizzes)
        EXPECT_FALSE(q.contains(' ')) << q.toStdString();
    ASSERT_EQ(asked(), std::vector{kLastQuestion});
    EXPECT_EQ(world->prompter.asked()[0].buttons, Prompter::Buttons::YesNo);
    EXPECT_EQ(unitStatus(), QVariant(1));
    // Yes: no tip for the twelfth word, a quiz for a new first word; the score line stays.
    EXPECT_EQ(std::pair(tips.size(), quizzes.size()), std::pair(size_t{11}, size_t{13}));
    EXPECT_EQ(store().iTestDone, 0);
    EXPECT_EQ(score(), QStringLiteral("单词排排看 12/12"));
    EXPECT_TRUE(world->host.shown.empty());
    // No: the game ends without asking again and shows the reader.
    for (int word = 0; word < 12; ++word)
        ArrangeInRow(*ppk);
    EXPECT_EQ(asked(), std::vector(2, kLastQuestion));
    EXPECT_EQ(world->host.shown, kReader);
    EXPECT_EQ(ppk->board().count(), 0);
}

TEST_F(LetterGame, EndingAnUnfinishedGameAsksAndCancelKeepsTheBoard)
{
    start(1);
    world->prompter.queueAnswer(Prompter::Answer::Cancel);
    ppk->cmdReturn_Click();
    EXPECT_EQ(asked(), std::vector{kEndQuestion});
    EXPECT_EQ(world->prompter.asked()[0].buttons, Prompter::Buttons::OkCancel);
    EXPECT_EQ(ppk->board().count(), 3);
    EXPECT_TRUE(world->host.shown.empty());
    ppk->cmdReturn_Click(); // OK
    EXPECT_EQ(ppk->picChar(1), nullptr);
    EXPECT_EQ(world->host.shown, kReader);
}

TEST_F(LetterGame, AListWithoutSingleWordsLeavesTheBoardEmptyAndEndsWithoutAsking)
{
    start(0, {"good morning", "thank you"});
    ppk->cmdTip_Click();
    ppk->imgStandardAudio_Click();
    EXPECT_TRUE(quizzes.empty() && tips.empty() && world->soundOut.played.empty());
    EXPECT_EQ(ppk->board().count(), 0);
    EXPECT_TRUE(ppk->EndGame());
    EXPECT_TRUE(asked().empty());
}

TEST(TipDialog, OkWorksOnlyAfterTheFirstSecondOfEachShowing)
{
    GameWorld world({"cat"});
    FormTip tip(world.program->context());
    tip.SetGameWord(QStringLiteral("  cat "), QStringLiteral(" 猫"));
    EXPECT_EQ(tip.findChild<QLabel*>(QStringLiteral("lblEnglish"))->text(), QStringLiteral("cat"));
    auto* ok = tip.findChild<QPushButton*>(QStringLiteral("cmdOK"));
    tip.show();
    for (int ms : {999, 1}) {
        world.clock.advance(ms);
        tip.Timer1().poll();
        ok->click();
        EXPECT_EQ(tip.isVisible(), ms == 999) << ms;
    }
    EXPECT_EQ(tip.result(), QDialog::Accepted);
    tip.show();
    EXPECT_FALSE(ok->isEnabled());
}

} // namespace
} // namespace lexora::test
