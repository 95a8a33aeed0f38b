// The games in the main window: the menu and picture buttons start them, leaving the letter game asks
// it first, its help label opens the game's help text.
#include "GameTestKit.h"
#include "app/FormHelp.h"
#include "app/FormMain.h"
#include "games/FormTip.h"
#include "games/WordFFK.h"
#include "games/WordPPK2.h"
#include "quiz/FormRRK.h"
#include "store/WordStore.h"

#include <gtest/gtest.h>

namespace lexora::test {
namespace {

class GamesInWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        world = std::make_unique<GameWorld>(QStringList{"cat", "dog", "pig", "hen"});
        WriteFile(world->course.programFolder() + QStringLiteral("/AppPics/ppkhelp.txt"), "tiles help");
        WriteFile(world->course.programFolder() + QStringLiteral("/AppPics/help.txt"), "general help");
        window = std::make_unique<FormMain>(world->program->context());
        window->runModal = [this](QDialog& dialog) {
            // Game dialogs live only while shown: keep what they were.
            shown.push_back(QString::fromLatin1(dialog.metaObject()->className()));
            if (auto* help = dynamic_cast<FormHelp*>(&dialog))
                helpTexts.push_back(help->shownText());
            return 0;
        };
        ASSERT_TRUE(window->Form_Initialize());
        window->ShowFirstView();
    }
    bool visible(int view) const { return window->viewWidget(view)->isVisibleTo(window.get()); }
    template <class T> int count() const
    {
        return static_cast<int>(
            std::count(shown.begin(), shown.end(), QString::fromLatin1(T::staticMetaObject.className())));
    }

    std::unique_ptr<GameWorld> world;
    std::unique_ptr<FormMain> window;
    std::vector<QString> shown;
    std::vector<QString> helpTexts;
};

TEST_F(GamesInWindow, TheLetterGameStartsWithItsQuizAndAsksBeforeItIsLeft)
{
    window->imgCommand_Click(2);
    EXPECT_EQ(window->iDisplayCtrl, 3);
    EXPECT_TRUE(visible(3));
    EXPECT_EQ(count<FormRRK>(), 1);
    EXPECT_GT(window->letterGame().board().count(), 0);

    world->prompter.queueAnswer(Prompter::Answer::Cancel);
    window->mnuGAME_FFK_Click();
    EXPECT_EQ(world->prompter.texts(),
              std::vector<QString>{QStringLiteral("还没有完成游戏，你确定要结束吗?")});
    EXPECT_EQ(window->iDisplayCtrl, 3);
    EXPECT_TRUE(visible(3));

    window->mnuGAME_FFK_Click();
    EXPECT_EQ(window->iDisplayCtrl, 6);
    EXPECT_TRUE(visible(6));
    EXPECT_EQ(window->matchingGame().iGameWordNum(), 4);
    EXPECT_EQ(window->letterGame().board().count(), 0);
    // The matching game is left without a question.
    window->mnuLEARN_Lexivo_Click();
    EXPECT_EQ(window->iDisplayCtrl, 1);
    EXPECT_EQ(world->prompter.asked().size(), 2u);
}

TEST_F(GamesInWindow, TheGamesHelpLabelShowsTheGamesHelpText)
{
    window->mnuGAME_PPK_Click();
    window->letterGame().imgHelp_Click();
    window->mnuHELP_HowToUse_Click();
    EXPECT_EQ(helpTexts,
              (std::vector<QString>{QStringLiteral("tiles help"), QStringLiteral("general help")}));
}

TEST_F(GamesInWindow, FinishingTheLetterGameReturnsToTheReader)
{
    window->mnuGAME_PPK_Click();
    world->prompter.queueAnswer(Prompter::Answer::No);
    WordPPK2& game = window->letterGame();
    for (int word = 0; word < 4 && window->iDisplayCtrl == 3; ++word) {
        ArrangeInRow(game);
    }
    EXPECT_EQ(window->iDisplayCtrl, 1);
    EXPECT_TRUE(visible(1));
    EXPECT_EQ(count<FormTip>(), 3);
    EXPECT_EQ(world->course.rows(QStringLiteral("select UnitStatus from PEP_BookUnit"))[0], QVariantList{1});
}

} // namespace
} // namespace lexora::test
