// The letter game's rounds over a real course: the quiz before each word, arranging, help, the score
// line, the last question, ending; and the tip dialog.
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
    const QStringList all = {"cat", "dog", "pig", "hen", "cow", "fox",
                             "owl", "bee", "ant", "bat", "yak", "elk"};
    return all.mid(0, n);
}

class LetterGame : public ::testing::Test
{
protected:
    void open(const QStringList& words, const QStringList& phrases = {})
    {
        world = std::make_unique<GameWorld>(words, QStringList(), phrases);
        store().ResetTestFlagsSkipPhrases();
        ppk = std::make_unique<WordPPK2>(world->program->context(), world->gameHost);
        ppk->runModal = [this](QDialog& dialog) { return onModal(dialog); };
    }
    int onModal(QDialog& dialog)
    {
        if (auto* quiz = dynamic_cast<FormRRK*>(&dialog)) {
            quizzes.push_back(ppk->strGameWord);
            const bool wrongFirst = !wrongQuizzes.empty() && wrongQuizzes.front();
            if (!wrongQuizzes.empty())
                wrongQuizzes.pop_front();
            const auto& c = quiz->choices();
            const int right = static_cast<int>(std::find(c.begin(), c.end(), ppk->iGameWord) - c.begin());
            if (wrongFirst) {
                quiz->imgWord_Click(right == 0 ? 1 : 0);
                quiz->cmdOK_Click();
            }
            quiz->imgWord_Click(right);
            quiz->cmdOK_Click();
            return quiz->result();
        }
        if (auto* tip = dynamic_cast<FormTip*>(&dialog))
            tips.push_back(tip->english());
        return QDialog::Accepted;
    }
    void arrange() { ArrangeInRow(*ppk); }
    WordStore& store() { return world->program->store; }
    const CWordType& current() { return store().arrWords[static_cast<size_t>(ppk->iGameWord)]; }
    QString score() const { return ppk->findChild<QLabel*>(QStringLiteral("lblResult"))->text(); }
    std::vector<QString> askedTexts() const { return world->prompter.texts(); }

    std::unique_ptr<GameWorld> world;
    std::unique_ptr<WordPPK2> ppk;
    std::deque<bool> wrongQuizzes;
    std::vector<QString> quizzes;
    std::vector<QString> tips;
};

TEST_F(LetterGame, StartsWithAQuizThenScattersTheWordsLetters)
{
    open(Singles(3), {QStringLiteral("good morning")});
    ppk->InitGamePPK();
    ASSERT_EQ(quizzes.size(), 1u);
    EXPECT_EQ(store().iTestTotal, 3);
    EXPECT_EQ(store().iTestDone, 0);
    EXPECT_EQ(ppk->iBackground, 1);
    EXPECT_TRUE(score().isEmpty());
    const QString word = ppk->strGameWord;
    ASSERT_EQ(ppk->board().count(), word.size());
    for (int i = 1; i <= word.size(); ++i) {
        EXPECT_EQ(ppk->picChar(i)->text(), QString(word[i - 1]));
        EXPECT_FALSE(ppk->picChar(i)->isHidden());
        EXPECT_EQ(ppk->picChar(i)->font().pointSize(), 48);
    }
    EXPECT_TRUE(ppk->picChar(0)->isHidden());
}

TEST_F(LetterGame, PuttingTheLastTileDownCompletesTheWordNotMovingIt)
{
    open(Singles(3));
    ppk->InitGamePPK();
    const int n = ppk->board().count();
    ArrangeInRow(*ppk, false);
    EXPECT_TRUE(ppk->board().dragging());
    EXPECT_TRUE(ppk->IsComplete());
    EXPECT_TRUE(ppk->IsCorrectWord());
    EXPECT_EQ(world->count(world->successSound()), 0);
    EXPECT_TRUE(score().isEmpty());
    ppk->picChar_MouseDown(n, 0, 0);
    EXPECT_EQ(world->count(world->successSound()), 1);
    EXPECT_EQ(score(), QStringLiteral("单词排排看 1/3"));
}

struct HelpCase
{
    const char* name;
    bool wrongQuiz;
    int giveUps;
    bool mastered;
};

class HelpCounting : public LetterGame, public ::testing::WithParamInterface<HelpCase>
{};

TEST_P(HelpCounting, AWordCountsAsMasteredOnlyWithoutHelp)
{
    const HelpCase& c = GetParam();
    open(Singles(4));
    wrongQuizzes = {c.wrongQuiz};
    ppk->InitGamePPK();
    const std::int16_t word = ppk->iGameWord;
    const CWordType before = current();
    for (int i = 0; i < c.giveUps; ++i)
        ppk->cmdTip_Click();
    EXPECT_EQ(ppk->iHelpCount, (c.wrongQuiz ? 1 : 0) + c.giveUps);
    EXPECT_EQ(tips.size(), static_cast<size_t>(c.giveUps));
    arrange();
    const CWordType& after = store().arrWords[static_cast<size_t>(word)];
    EXPECT_EQ(after.testNum, before.testNum + 1);
    EXPECT_EQ(after.errNum, before.errNum + (c.mastered ? 0 : 1));
    EXPECT_EQ(after.rightNum, c.mastered ? before.rightNum + 1 : 0);
    EXPECT_EQ(after.Tested, c.mastered);
    EXPECT_EQ(score(), c.mastered ? QStringLiteral("单词排排看 1/4") : QStringLiteral("单词排排看 0/4"));
    // The word's tip follows, then the next quiz.
    EXPECT_EQ(tips.back(), before.English);
    EXPECT_EQ(quizzes.size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Cases, HelpCounting,
                         ::testing::Values(HelpCase{"Unaided", false, 0, true},
                                           HelpCase{"WrongQuiz", true, 0, false},
                                           HelpCase{"OneGiveUp", false, 1, false},
                                           HelpCase{"ThreeGiveUps", false, 3, false},
                                           HelpCase{"WrongQuizAndGiveUps", true, 2, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LetterGame, AGiveUpScattersTheSameTilesAgain)
{
    open(Singles(2));
    ppk->InitGamePPK();
    const QString word = ppk->strGameWord;
    QLabel* first = ppk->picChar(1);
    ppk->cmdTip_Click();
    EXPECT_EQ(ppk->picChar(1), first);
    EXPECT_EQ(ppk->strGameWord, word);
    // Heard in the quiz, then again on giving up.
    EXPECT_EQ(world->count(world->voiceOf(static_cast<int>(Singles(2).indexOf(word)) + 1)), 2);
}

class FullGame : public LetterGame
{
protected:
    // Twelve single words and three phrases, every word arranged unaided.
    void playAll()
    {
        open(Singles(12),
             {QStringLiteral("good morning"), QStringLiteral("thank you"), QStringLiteral("see you")});
        ppk->InitGamePPK();
        EXPECT_EQ(store().iTestTotal, 12);
        for (int word = 0; word < 12; ++word) {
            if (word == 11) {
                EXPECT_TRUE(askedTexts().empty());
            }
            arrange();
        }
    }
    std::vector<QVariantList> unitStatus() const
    {
        return world->course.rows(QStringLiteral("select UnitStatus from PEP_BookUnit"));
    }
};

TEST_F(FullGame, EndsAtTwelveOfTwelveAndYesStartsAgainWithoutTheLastTip)
{
    playAll();
    EXPECT_EQ(score(), QStringLiteral("单词排排看 12/12"));
    for (const QString& q : quizzes)
        EXPECT_FALSE(q.contains(QLatin1Char(' '))) << q.toStdString();
    ASSERT_EQ(world->prompter.asked().size(), 1u);
    EXPECT_EQ(world->prompter.asked()[0].text, kLastQuestion);
    EXPECT_EQ(world->prompter.asked()[0].title, QStringLiteral("单词排排看"));
    EXPECT_EQ(world->prompter.asked()[0].buttons, Prompter::Buttons::YesNo);
    // Yes (the fake's first answer): no tip for the twelfth word, a quiz for a new first word.
    EXPECT_EQ(tips.size(), 11u);
    EXPECT_EQ(quizzes.size(), 13u);
    EXPECT_EQ(store().iTestDone, 0);
    EXPECT_EQ(store().iTestTotal, 12);
    EXPECT_EQ(score(), QStringLiteral("单词排排看 12/12"));
    EXPECT_TRUE(world->gameHost.shown.empty());
    EXPECT_EQ(unitStatus()[0], QVariantList{1});
}

TEST_F(FullGame, NoEndsTheGameWithoutAskingAndShowsTheReader)
{
    open(Singles(1));
    world->prompter.queueAnswer(Prompter::Answer::No);
    ppk->InitGamePPK();
    arrange();
    EXPECT_EQ(world->prompter.texts(), std::vector<QString>{kLastQuestion});
    EXPECT_EQ(world->gameHost.shown, (std::vector<std::pair<int, int>>{{1, 0}}));
    EXPECT_EQ(ppk->board().count(), 0);
    EXPECT_EQ(unitStatus()[0], QVariantList{1});
}

TEST_F(LetterGame, EndingAnUnfinishedGameAsksFirst)
{
    open(Singles(3));
    ppk->InitGamePPK();
    world->prompter.queueAnswer(Prompter::Answer::Cancel);
    ppk->cmdReturn_Click();
    EXPECT_EQ(askedTexts(), std::vector<QString>{kEndQuestion});
    EXPECT_EQ(world->prompter.asked()[0].buttons, Prompter::Buttons::OkCancel);
    EXPECT_EQ(ppk->board().count(), ppk->strGameWord.size());
    EXPECT_FALSE(ppk->picChar(1)->isHidden());
    EXPECT_TRUE(world->gameHost.shown.empty());

    ppk->cmdReturn_Click(); // OK
    EXPECT_EQ(askedTexts().size(), 2u);
    EXPECT_EQ(ppk->board().count(), 0);
    EXPECT_EQ(ppk->picChar(1), nullptr);
    EXPECT_EQ(world->gameHost.shown, (std::vector<std::pair<int, int>>{{1, 0}}));
}

TEST_F(LetterGame, AListWithoutSingleWordsLeavesTheBoardEmptyAndEndsWithoutAsking)
{
    open({}, {QStringLiteral("good morning"), QStringLiteral("thank you")});
    ppk->InitGamePPK();
    EXPECT_TRUE(quizzes.empty());
    EXPECT_EQ(ppk->iGameWord, -1);
    EXPECT_EQ(ppk->board().count(), 0);
    EXPECT_EQ(store().iTestTotal, 0);
    ppk->cmdTip_Click();
    ppk->imgStandardAudio_Click();
    EXPECT_TRUE(tips.empty());
    EXPECT_TRUE(world->soundOut.played.empty());
    EXPECT_TRUE(ppk->EndGame());
    EXPECT_TRUE(askedTexts().empty());
}

TEST_F(LetterGame, HelpLoudspeakerAndBackgrounds)
{
    open(Singles(2));
    ppk->InitGamePPK();
    ppk->imgHelp_Click();
    EXPECT_EQ(world->gameHost.helps, 1);
    const size_t before = world->soundOut.played.size();
    ppk->imgStandardAudio_Click();
    ASSERT_EQ(world->soundOut.played.size(), before + 1);
    EXPECT_EQ(world->soundOut.played.back(),
              world->voiceOf(static_cast<int>(Singles(2).indexOf(ppk->strGameWord)) + 1));

    QImage four(40, 30, QImage::Format_RGB32);
    four.fill(Qt::darkGreen);
    ASSERT_TRUE(four.save(world->course.programFolder() + QStringLiteral("/AppPics/Background4.jpg")));
    ppk->UserControl_DblClick();
    EXPECT_EQ(ppk->iBackground, 4);
    EXPECT_EQ(ppk->backgroundPicture().size(), QSize(40, 30));
    ppk->UserControl_DblClick();
    EXPECT_EQ(ppk->iBackground, 3);
}

TEST_F(LetterGame, AClickOnATileTakesItAndTheNextPutsItDown)
{
    open(Singles(2));
    ppk->InitGamePPK();
    QTest::mouseClick(ppk->picChar(1), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(ppk->board().dragging());
    EXPECT_EQ(ppk->board().dragChar(), 1);
    QTest::mouseClick(ppk->picChar(2), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(ppk->board().dragging());
    EXPECT_EQ(ppk->board().dragChar(), -1);
}

class TipDialog : public ::testing::Test
{
protected:
    void open(const QStringList& withoutPicture = {})
    {
        world = std::make_unique<GameWorld>(QStringList{QStringLiteral("cat")}, withoutPicture);
        tip = std::make_unique<FormTip>(world->program->context());
        tip->SetGameWord(QStringLiteral("  cat "), QStringLiteral(" 猫"));
    }
    QLabel* label(const char* name) const { return tip->findChild<QLabel*>(QLatin1String(name)); }
    QPushButton* ok() const { return tip->findChild<QPushButton*>(QStringLiteral("cmdOK")); }

    std::unique_ptr<GameWorld> world;
    std::unique_ptr<FormTip> tip;
};

TEST_F(TipDialog, OkWorksOnlyAfterTheFirstSecond)
{
    open();
    tip->show();
    EXPECT_EQ(tip->windowTitle(), QStringLiteral("提示信息"));
    world->clock.advance(999);
    tip->Timer1().poll();
    ok()->click();
    EXPECT_FALSE(ok()->isEnabled());
    EXPECT_TRUE(tip->isVisible());
    world->clock.advance(1);
    tip->Timer1().poll();
    EXPECT_TRUE(ok()->isEnabled());
    EXPECT_FALSE(tip->Timer1().isEnabled());
    ok()->click();
    EXPECT_EQ(tip->result(), QDialog::Accepted);
    EXPECT_FALSE(tip->isVisible());
    // A second showing waits its own second.
    tip->show();
    EXPECT_FALSE(ok()->isEnabled());
}

TEST_F(TipDialog, ShowsTheTrimmedWordItsMeaningAndPicture)
{
    open();
    EXPECT_EQ(label("lblEnglish")->text(), QStringLiteral("cat"));
    EXPECT_EQ(label("lblChinese")->text(), QStringLiteral(" 猫"));
    EXPECT_FALSE(label("imgWord")->isHidden());
    EXPECT_FALSE(label("imgWord")->pixmap().isNull());
    tip->imgWord_Click();
    ASSERT_EQ(world->soundOut.played.size(), 1u);
    EXPECT_EQ(world->soundOut.played[0], world->voiceOf(1));
}

TEST_F(TipDialog, AWordWithoutPictureHidesTheImage)
{
    open({QStringLiteral("cat")});
    EXPECT_TRUE(label("imgWord")->isHidden());
    EXPECT_EQ(label("lblEnglish")->text(), QStringLiteral("cat"));
}

} // namespace
} // namespace lexora::test
