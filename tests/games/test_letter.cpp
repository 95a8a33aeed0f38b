// The letter game: its board's rules in twips, its rounds over a real course and the tip dialog's late OK.
#include "GameTestKit.h"
#include "games/FormTip.h"
#include "games/WordPPK2.h"
#include "quiz/FormRRK.h"
#include "store/WordStore.h"
#include "ui/ClockTimer.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <set>

namespace lexora::test {
namespace {

constexpr int W = kTileWidth, H = kTileHeight;
using Edges = std::vector<std::pair<int, int>>;

// A board at the design size (11925 × 8790) with one tile per letter of word at the given edges.
TileBoard Laid(const QString& word, const Edges& edges)
{
    TileBoard board;
    board.setBoardSize(11925, 8790);
    board.build(word);
    for (int i = 1; i <= board.count(); ++i)
        board.place(i, edges[i - 1].first, edges[i - 1].second);
    return board;
}

TEST(TileBoard, ScatteredTilesStartOnWholeCellsOffTheTopRowAndLeftColumn)
{
    const QString word = QStringLiteral("elephant");
    TileBoard board = Laid(word, Edges(8));
    ScriptedRandom random;
    std::set<int> lefts, tops;
    for (int round = 0; round < 200; ++round) {
        board.scatter(word, random);
        for (int i = 1; i <= board.count(); ++i) {
            EXPECT_TRUE(board.tile(i).visible) << i;
            EXPECT_EQ(board.tile(i).caption, word[i - 1]) << i;
            lefts.insert(board.tile(i).left);
            tops.insert(board.tile(i).top);
        }
    }
    EXPECT_EQ(lefts,
              (std::set<int>{W, 2 * W, 3 * W, 4 * W, 5 * W, 6 * W, 7 * W, 8 * W, 9 * W, 10 * W, 11 * W}));
    EXPECT_EQ(tops, (std::set<int>{H, 2 * H, 3 * H, 4 * H, 5 * H, 6 * H, 7 * H}));
}

// Limits: extent 4992 for five tiles, tops 360 apart, left edges 240 apart; door's o's may swap.
TEST(TileBoard, IsCompleteAndIsCorrectWordAtTheirLimits)
{
    // Word, tile edges, complete, read as, correct.
    const std::tuple<QString, Edges, bool, QString, bool> cases[] = {
        {"apple", {{0, H}, {1248, H}, {2496, H}, {3744, H}, {4992, H}}, true, "apple", true},
        {"apple", {{0, H}, {1248, H}, {2496, H}, {3744, H}, {4993, H}}, false, "apple", true},
        {"on", {{0, 1000}, {1000, 1360}}, true, "on", true},
        {"on", {{0, 1361}, {1000, 1000}}, false, "on", true},
        {"cat", {{0, H}, {239, H}, {1400, H}}, false, "cat", true},
        {"cat", {{0, H}, {240, H}, {1400, H}}, true, "cat", true},
        {"door", {{0, H}, {W, H}, {2 * W, H}, {3 * W, H}}, true, "door", true},
        {"door", {{0, H}, {2 * W, H}, {W, H}, {3 * W, H}}, true, "door", true},
        {"door", {{3 * W, H}, {2 * W, H}, {W, H}, {0, H}}, true, "door", false},
        {"door", {{0, H}, {W, H}, {2 * W, H}, {3 * W, H}}, true, "Door", false},
        {"ab", {{500, H}, {500, 3 * H}}, false, "ab", true},
        {"up", {{0, H}, {11925, H}}, false, "up", false},
        {"up", {{0, H}, {W, H}}, true, " up ", true}};
    for (const auto& [word, edges, complete, target, correct] : cases) {
        const TileBoard board = Laid(word, edges);
        EXPECT_EQ(std::pair(board.IsComplete(), board.IsCorrectWord(target)), std::pair(complete, correct))
            << target.toStdString() << " ending at " << edges.back().first << ", " << edges.back().second;
    }
}

TEST(TileBoard, ASecondTileClickedWhileHoldingPutsTheFirstDownAndIsNotTaken)
{
    TileBoard board = Laid(QStringLiteral("abc"), {{W, H}, {3 * W, H}, {5 * W, H}});
    using P = TileBoard::Press;
    // Tile clicked, what it did, tile held after.
    const std::vector<std::tuple<int, P, int>> steps = {
        {2, P::Took, 2}, {3, P::PutDown, -1}, {3, P::Took, 3}, {3, P::PutDown, -1}, {1, P::Took, 1}};
    for (const auto& [tile, press, held] : steps) {
        EXPECT_EQ(board.mouseDown(tile, 100, 200), press) << "tile " << tile;
        EXPECT_EQ(std::pair(board.dragging(), board.dragChar()), std::pair(held > 0, held)) << tile;
    }
    EXPECT_FALSE(board.moveOverTile(2, 600, 600)); // not held: no move
    EXPECT_EQ(board.tile(2).left, 3 * W);
}

// The held tile stands at (5000, 4000), taken at (480, 540) inside it; the bare board does not clamp.
TEST(TileBoard, TheHeldTileFollowsThePointerAndStaysOnTheBoard)
{
    // Pointer, over the bare board, tile edges after.
    const std::tuple<double, double, bool, int, int> moves[] = {
        {580.4, 440.6, false, 5100, 3901},   {-5600, 540, false, 0, 4000},
        {480, -4500, false, 5000, 0},        {7000, 540, false, 11925 - W, 4000},
        {6445, 540, false, 11925 - W, 4000}, {-9000, -9000, false, 0, 0},
        {480, 6000, false, 5000, 8790 - H},  {9000, 9000, false, 11925 - W, 8790 - H},
        {100, 200, true, -380, -340}};
    for (const auto& [x, y, overBoard, left, top] : moves) {
        TileBoard board = Laid(QStringLiteral("a"), {{5000, 4000}});
        board.mouseDown(1, 480, 540);
        EXPECT_TRUE(overBoard ? board.moveOverBoard(x, y) : board.moveOverTile(1, x, y));
        EXPECT_EQ(std::pair(board.tile(1).left, board.tile(1).top), std::pair(left, top)) << x << ", " << y;
    }
}

const QString kLastQuestion = QStringLiteral("恭喜你熟悉了全部单词，重来一遍?");
const QStringList kSingles = QStringLiteral("cat dog pig hen cow fox owl bee ant bat yak elk").split(' ');

class LetterGame : public ::testing::Test
{
protected:
    void start(int singles, const QStringList& phrases = {})
    {
        ppk.reset();
        world = std::make_unique<GameWorld>(kSingles.mid(0, singles), phrases);
        tips = quizzes = {};
        store().words().ResetTestFlagsSkipPhrases();
        ppk = std::make_unique<WordPPK2>(world->program->context(), world->host);
        ppk->runModal = [this](QDialog& dialog) { return onModal(dialog); };
        world->host.quiz = [this](std::int16_t word) {
            FormRRK quiz(world->program->context());
            quiz.SetTestWord(word);
            onModal(quiz);
            return quiz.retAns;
        };
        ppk->InitGamePPK();
    }
    // The quiz's unused choices are hidden; it is answered right, after a wrong answer if wrongQuiz.
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
        const CWordType before = store().words().records()[ppk->iGameWord];
        const CWordType& after = store().words().records()[ppk->iGameWord];
        for (int i = 0; i < giveUps; ++i)
            ppk->cmdTip_Click();
        ArrangeInRow(*ppk);
        EXPECT_EQ(world->count(world->successSound()), 1);
        EXPECT_EQ(std::tuple(after.testNum, after.errNum, after.rightNum, after.Tested),
                  std::tuple(before.testNum + 1, before.errNum + !mastered,
                             mastered ? before.rightNum + 1 : 0, mastered));
        EXPECT_EQ(score(), QStringLiteral("单词排排看 %1/4").arg(mastered ? 1 : 0));
        EXPECT_EQ(std::pair(tips.back(), quizzes.size()),
                  std::pair(before.English, size_t{2})); // tip, next quiz
    }
}

TEST_F(LetterGame, TwelveWordsAndThreePhrasesEndAtTwelveOfTwelveAndTheLastQuestionAsksToStartAgain)
{
    start(12, {"good morning", "thank you", "see you"});
    world->prompter.queueAnswer(Prompter::Answer::Yes);
    world->prompter.queueAnswer(Prompter::Answer::No);
    for (int word = 0; word < 12; ++word)
        ArrangeInRow(*ppk);
    ASSERT_EQ(asked(), std::vector{kLastQuestion}); // asked only now
    EXPECT_EQ(world->course.rows("select UnitStatus from PEP_BookUnit")[0][0], QVariant(1));
    // Yes: no tip for the twelfth word, a quiz for a new first word; the score line stays.
    EXPECT_EQ(std::pair(tips.size(), quizzes.size()), std::pair(size_t{11}, size_t{13}));
    EXPECT_EQ(store().words().testDone(), 0);
    EXPECT_EQ(score(), QStringLiteral("单词排排看 12/12"));
    EXPECT_TRUE(world->host.shown.empty());
    // No: the game ends without asking again and shows the reader.
    for (int word = 0; word < 12; ++word)
        ArrangeInRow(*ppk);
    EXPECT_EQ(asked(), std::vector(2, kLastQuestion));
    EXPECT_EQ(world->host.shown, (std::vector<std::pair<int, int>>{{1, 0}}));
    EXPECT_EQ(ppk->board().count(), 0);
}

// A list without any single word keeps the board empty and ends without the question.
TEST_F(LetterGame, EndingAnUnfinishedGameAsksCancelKeepsItAndAListWithoutSingleWordsEndsUnasked)
{
    start(1);
    world->prompter.queueAnswer(Prompter::Answer::Cancel);
    ppk->cmdReturn_Click();
    EXPECT_EQ(asked(), std::vector<QString>{"还没有完成游戏，你确定要结束吗?"});
    EXPECT_EQ(ppk->board().count(), 3);
    EXPECT_TRUE(world->host.shown.empty());
    ppk->cmdReturn_Click(); // OK
    EXPECT_EQ(ppk->picChar(1), nullptr);
    EXPECT_EQ(world->host.shown, (std::vector<std::pair<int, int>>{{1, 0}}));

    start(0, {"good morning", "thank you"});
    ppk->cmdTip_Click();
    ppk->imgStandardAudio_Click();
    EXPECT_TRUE(quizzes.empty());
    EXPECT_TRUE(tips.empty());
    EXPECT_TRUE(world->soundOut.played.empty());
    EXPECT_EQ(ppk->board().count(), 0);
    EXPECT_TRUE(ppk->EndGame());
    EXPECT_TRUE(asked().empty());
}

// The list replaced under a running game: the word on the board is no longer scored, and the game
// ends without asking.
TEST_F(LetterGame, AWordOfAReplacedListIsNotScoredAndTheGameEndsUnasked)
{
    start(4);
    ASSERT_TRUE(store().LoadUnitWords(0, 0));
    store().words().setCount(1);
    ArrangeInRow(*ppk);
    EXPECT_EQ(store().words().records()[0].testNum, 0);
    EXPECT_EQ(score(), QString());
    EXPECT_TRUE(ppk->EndGame());
    EXPECT_TRUE(asked().empty());
}

// Every way of closing the tip waits for the first second of each showing: Esc and the close box once
// closed it at once.
TEST(TipDialog, NoWayOfClosingWorksBeforeTheFirstSecondOfEachShowing)
{
    const std::pair<const char*, std::function<void(FormTip&)>> ways[] = {
        {"OK", [](FormTip& tip) { tip.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click(); }},
        {"Return",
         [](FormTip& tip) { QTest::keyClick(tip.focusWidget() ? tip.focusWidget() : &tip, Qt::Key_Return); }},
        {"Esc",
         [](FormTip& tip) { QTest::keyClick(tip.focusWidget() ? tip.focusWidget() : &tip, Qt::Key_Escape); }},
        {"close box", [](FormTip& tip) { tip.close(); }}};
    GameWorld world({"cat"});
    for (const auto& [name, closeIt] : ways) {
        SCOPED_TRACE(name);
        FormTip tip(world.program->context());
        for (int showing = 0; showing < 2; ++showing) {
            tip.show();
            for (int ms : {999, 1}) {
                world.clock.advance(ms);
                tip.Timer1().poll();
                closeIt(tip);
                EXPECT_EQ(tip.isVisible(), ms == 999) << "after " << ms << " ms of showing " << showing;
            }
        }
    }
}

} // namespace
} // namespace lexora::test
