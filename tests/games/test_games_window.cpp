// The games in the main window: the menu starts them, leaving the letter game asks it first, its
// help label opens the game's help text, finishing it marks the unit and returns to the reader.
#include "GameTestKit.h"
#include "app/FormHelp.h"
#include "app/FormMain.h"
#include "games/WordFFK.h"
#include "games/WordPPK2.h"
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
        window = std::make_unique<FormMain>(world->program->context());
        window->runModal = [this](QDialog& dialog) {
            // Game dialogs live only while shown: keep what they were.
            shown.push_back(QString::fromLatin1(dialog.metaObject()->className()));
            if (auto* help = dynamic_cast<FormHelp*>(&dialog))
                shown.push_back(help->shownText());
            return 0;
        };
        ASSERT_TRUE(window->Form_Initialize());
        window->ShowFirstView();
    }
    bool visible(int view) const { return window->viewWidget(view)->isVisibleTo(window.get()); }

    std::unique_ptr<GameWorld> world;
    std::unique_ptr<FormMain> window;
    std::vector<QString> shown;
};

TEST_F(GamesInWindow, TheLetterGameStartsWithItsQuizAndAsksBeforeItIsLeft)
{
    window->imgCommand_Click(2);
    EXPECT_TRUE(visible(3));
    EXPECT_EQ(shown, std::vector<QString>{QStringLiteral("lexora::FormRRK")});
    EXPECT_GT(window->letterGame().board().count(), 0);
    window->letterGame().imgHelp_Click();
    EXPECT_EQ(shown.back(), QStringLiteral("tiles help"));

    world->prompter.queueAnswer(Prompter::Answer::Cancel);
    window->mnuGAME_FFK_Click();
    EXPECT_EQ(world->prompter.texts(),
              std::vector<QString>{QStringLiteral("还没有完成游戏，你确定要结束吗?")});
    EXPECT_EQ(window->iDisplayCtrl, 3);
    EXPECT_TRUE(visible(3));

    window->imgCommand_Click(6);
    EXPECT_TRUE(visible(6));
    EXPECT_EQ(window->matchingGame().iGameWordNum(), 4);
    EXPECT_EQ(window->letterGame().board().count(), 0);
    window->mnuLEARN_Lexivo_Click(); // the matching game is left without a question
    EXPECT_EQ(window->iDisplayCtrl, 1);
    EXPECT_EQ(world->prompter.asked().size(), 2u);
}

TEST_F(GamesInWindow, FinishingTheLetterGameMarksTheUnitAndReturnsToTheReader)
{
    window->mnuGAME_PPK_Click();
    world->prompter.queueAnswer(Prompter::Answer::No);
    for (int word = 0; word < 4 && window->iDisplayCtrl == 3; ++word)
        ArrangeInRow(window->letterGame());
    EXPECT_TRUE(visible(1));
    EXPECT_EQ(std::count(shown.begin(), shown.end(), QStringLiteral("lexora::FormTip")), 3);
    EXPECT_EQ(world->course.rows(QStringLiteral("select UnitStatus from PEP_BookUnit"))[0][0], QVariant(1));
}

} // namespace
} // namespace lexora::test
