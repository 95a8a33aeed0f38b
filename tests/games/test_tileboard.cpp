// The letter board's rules in twips: scattering, the row checks, taking and putting down, clamping.
#include "ScriptedRandom.h"
#include "games/TileBoard.h"

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
            EXPECT_TRUE(board.tile(i).visible && board.tile(i).caption == word[i - 1]) << i;
            lefts.insert(board.tile(i).left);
            tops.insert(board.tile(i).top);
        }
    }
    EXPECT_EQ(lefts,
              (std::set<int>{W, 2 * W, 3 * W, 4 * W, 5 * W, 6 * W, 7 * W, 8 * W, 9 * W, 10 * W, 11 * W}));
    EXPECT_EQ(tops, (std::set<int>{H, 2 * H, 3 * H, 4 * H, 5 * H, 6 * H, 7 * H}));
}

// Five tiles reach 4992 at most; tops differ by 360 at most; left edges stand 240 apart at least.
// Tiles 2 and 3 are door's two o's. Equal edges read the lower index first; a tile off the right
// edge is never read.
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
        EXPECT_EQ(std::pair(board.dragging(), board.dragChar()), std::pair(held > 0, held))
            << "tile " << tile;
    }
    // Moves over a tile that is not held change nothing.
    EXPECT_FALSE(board.moveOverTile(2, 600, 600));
    EXPECT_EQ(board.tile(2).left, 3 * W);
}

// The held tile stands at (5000, 4000), taken at (480, 540) inside it; the bare board does not clamp.
TEST(TileBoard, TheHeldTileFollowsThePointerAndStaysOnTheBoard)
{
    // Pointer, over the bare board, tile edges after.
    const std::tuple<double, double, bool, int, int> moves[] = {
        {580.4, 440.6, false, 5100, 3901},   {-5600, 540, false, 0, 4000},
        {480, -4500, false, 5000, 0},        {7000, 540, false, 11925 - W, 4000},
        {6445, 540, false, 11925 - W, 4000}, {480, 6000, false, 5000, 8790 - H},
        {-9000, -9000, false, 0, 0},         {9000, 9000, false, 11925 - W, 8790 - H},
        {100, 200, true, -380, -340}};
    for (const auto& [x, y, overBoard, left, top] : moves) {
        TileBoard board = Laid(QStringLiteral("a"), {{5000, 4000}});
        board.mouseDown(1, 480, 540);
        EXPECT_TRUE(overBoard ? board.moveOverBoard(x, y) : board.moveOverTile(1, x, y));
        EXPECT_EQ(std::pair(board.tile(1).left, board.tile(1).top), std::pair(left, top)) << x << ", " << y;
    }
}

TEST(TileBoard, DoubleClicksStepBackThroughTheFourBackgrounds)
{
    std::vector<int> seen{1};
    for (int i = 0; i < 4; ++i)
        seen.push_back(PreviousBackground(seen.back()));
    EXPECT_EQ(seen, (std::vector<int>{1, 4, 3, 2, 1}));
}

} // namespace
} // namespace lexora::test
