// The letter board's rules in twips: scattering, the row checks, taking and putting down, clamping.
#include "ScriptedRandom.h"
#include "games/TileBoard.h"

#include <gtest/gtest.h>
#include <set>

namespace lexora::test {
namespace {

constexpr int W = kTileWidth;
constexpr int H = kTileHeight;
using Edges = std::vector<std::pair<int, int>>;

// A board at the design size (11925 × 8790) with one tile per letter of word at the given edges.
TileBoard Laid(const QString& word, const Edges& edges)
{
    TileBoard board;
    board.setBoardSize(11925, 8790);
    board.build(word);
    for (int i = 1; i <= board.count(); ++i)
        board.place(i, edges[static_cast<size_t>(i - 1)].first, edges[static_cast<size_t>(i - 1)].second);
    return board;
}

TEST(TileBoard, ScatteredTilesStartOnWholeCellsOffTheTopRowAndLeftColumn)
{
    TileBoard board = Laid(QStringLiteral("elephant"), Edges(8));
    ASSERT_EQ(board.gridCols(), 12);
    ASSERT_EQ(board.gridRows(), 8);
    ScriptedRandom random;
    std::set<int> lefts, tops;
    for (int round = 0; round < 200; ++round) {
        board.scatter(QStringLiteral("elephant"), random);
        for (int i = 1; i <= board.count(); ++i) {
            EXPECT_EQ(board.tile(i).caption, QString(QStringLiteral("elephant")[i - 1]));
            EXPECT_TRUE(board.tile(i).visible);
            lefts.insert(board.tile(i).left);
            tops.insert(board.tile(i).top);
        }
    }
    EXPECT_EQ(lefts,
              (std::set<int>{W, 2 * W, 3 * W, 4 * W, 5 * W, 6 * W, 7 * W, 8 * W, 9 * W, 10 * W, 11 * W}));
    EXPECT_EQ(tops, (std::set<int>{H, 2 * H, 3 * H, 4 * H, 5 * H, 6 * H, 7 * H}));
}

struct CheckCase
{
    QString word;
    Edges edges;
    bool complete;
    QString target; // read left to right
    bool correct;
};

class TileChecks : public ::testing::TestWithParam<CheckCase>
{};

TEST_P(TileChecks, IsCompleteAndIsCorrectWord)
{
    const CheckCase& c = GetParam();
    const TileBoard board = Laid(c.word, c.edges);
    EXPECT_EQ(board.IsComplete(), c.complete);
    EXPECT_EQ(board.IsCorrectWord(c.target), c.correct);
}

const QString kApple = QStringLiteral("apple");
const QString kDoor = QStringLiteral("door");

INSTANTIATE_TEST_SUITE_P(
    Limits, TileChecks,
    ::testing::Values(
        // Five tiles: extent 4992 is the limit.
        CheckCase{kApple, {{0, H}, {1248, H}, {2496, H}, {3744, H}, {4992, H}}, true, kApple, true},
        CheckCase{kApple, {{0, H}, {1248, H}, {2496, H}, {3744, H}, {4993, H}}, false, kApple, true},
        // Tops within a third of a tile: 360 passes, 361 fails.
        CheckCase{"on", {{0, 1000}, {1000, 1360}}, true, "on", true},
        CheckCase{"on", {{0, 1361}, {1000, 1000}}, false, "on", true},
        // Left edges a quarter tile apart: 239 fails, 240 passes.
        CheckCase{"cat", {{0, H}, {239, H}, {1400, H}}, false, "cat", true},
        CheckCase{"cat", {{0, H}, {240, H}, {1400, H}}, true, "cat", true},
        CheckCase{"a", {{7 * W, 5 * H}}, true, "a", true},
        // Tiles 2 and 3 are door's two o's: either may stand second.
        CheckCase{kDoor, {{0, H}, {W, H}, {2 * W, H}, {3 * W, H}}, true, kDoor, true},
        CheckCase{kDoor, {{0, H}, {2 * W, H}, {W, H}, {3 * W, H}}, true, kDoor, true},
        CheckCase{kDoor, {{3 * W, H}, {2 * W, H}, {W, H}, {0, H}}, true, kDoor, false},
        CheckCase{kDoor, {{0, H}, {W, H}, {2 * W, H}, {3 * W, H}}, true, "Door", false},
        // Equal edges read the lower index first; a tile off the right edge is never read.
        CheckCase{"ab", {{500, H}, {500, 3 * H}}, false, "ab", true},
        CheckCase{"ab", {{500, H}, {500, 3 * H}}, false, "ba", false},
        CheckCase{"up", {{0, H}, {11925, H}}, false, "up", false},
        CheckCase{"up", {{0, H}, {W, H}}, true, " up ", true}));

TEST(TileBoard, ASecondTileClickedWhileHoldingPutsTheFirstDownAndIsNotTaken)
{
    TileBoard board = Laid(QStringLiteral("abc"), {{W, H}, {3 * W, H}, {5 * W, H}});
    using P = TileBoard::Press;
    const std::vector<std::tuple<int, P, int>> steps = {// tile clicked, what it did, tile held after
                                                        {2, P::Took, 2},
                                                        {3, P::PutDown, -1},
                                                        {3, P::Took, 3},
                                                        {3, P::PutDown, -1},
                                                        {1, P::Took, 1}};
    for (const auto& [tile, press, held] : steps) {
        EXPECT_EQ(board.mouseDown(tile, 100, 200), press) << "tile " << tile;
        EXPECT_EQ(board.dragging(), held > 0);
        EXPECT_EQ(board.dragChar(), held);
    }
    // Moves over a tile that is not held change nothing.
    EXPECT_FALSE(board.moveOverTile(2, 600, 600));
    EXPECT_EQ(board.tile(2).left, 3 * W);
}

struct MoveCase
{
    double x, y;    // pointer: inside the held tile, or on the bare board
    bool overBoard; // the bare board does not clamp
    int left, top;
};

class TileMoves : public ::testing::TestWithParam<MoveCase>
{};

// The held tile stands at (5000, 4000), taken at (480, 540) inside it.
TEST_P(TileMoves, TheHeldTileFollowsThePointerAndStaysOnTheBoard)
{
    const MoveCase& c = GetParam();
    TileBoard board = Laid(QStringLiteral("a"), {{5000, 4000}});
    board.mouseDown(1, 480, 540);
    EXPECT_TRUE(c.overBoard ? board.moveOverBoard(c.x, c.y) : board.moveOverTile(1, c.x, c.y));
    EXPECT_EQ(board.tile(1).left, c.left);
    EXPECT_EQ(board.tile(1).top, c.top);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, TileMoves,
    ::testing::Values(MoveCase{580.4, 440.6, false, 5100, 3901}, MoveCase{-5600, 540, false, 0, 4000},
                      MoveCase{480, -4500, false, 5000, 0}, MoveCase{7000, 540, false, 11925 - W, 4000},
                      MoveCase{6445, 540, false, 11925 - W, 4000}, // exactly on the edge
                      MoveCase{480, 6000, false, 5000, 8790 - H}, MoveCase{-9000, -9000, false, 0, 0},
                      MoveCase{9000, 9000, false, 11925 - W, 8790 - H},
                      MoveCase{100, 200, true, -380, -340}));

TEST(TileBoard, DoubleClicksStepBackThroughTheFourBackgrounds)
{
    std::vector<int> seen{1};
    for (int i = 0; i < 4; ++i)
        seen.push_back(PreviousBackground(seen.back()));
    EXPECT_EQ(seen, (std::vector<int>{1, 4, 3, 2, 1}));
}

} // namespace
} // namespace lexora::test
