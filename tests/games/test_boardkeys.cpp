// The games at the keyboard: walking the card board and typing the letter row.
#include "ScriptedRandom.h"
#include "games/BoardKeys.h"
#include "games/MatchDeal.h"
#include "games/TileBoard.h"

#include <gtest/gtest.h>

namespace lexora::test {
namespace {

constexpr int W = kTileWidth, H = kTileHeight;

TEST(CardKeys, ArrowsGoToTheNearestShowingCardAheadOrStay)
{
    // Cards 0 to 5 of a three-word deal are dealt; 2 has left the board.
    const auto showing = [](int card) { return card <= 5 && card != 2; };
    // from, dx, dy, to
    const std::tuple<int, int, int, int> cases[] = {
        {0, 1, 0, 1}, {1, 1, 0, 3},  {3, 1, 0, 3},  {3, 0, 1, 5},  {1, 0, 1, 5},  {5, 0, 1, 5},
        {5, 1, 0, 3}, {5, -1, 0, 4}, {4, 0, -1, 0}, {0, -1, 0, 0}, {0, 0, -1, 0}, {4, 1, 0, 5},
    };
    for (const auto& [from, dx, dy, to] : cases)
        EXPECT_EQ(CardInDirection(from, dx, dy, showing), to) << from << " by " << dx << "," << dy;
    const auto all = [](int) { return true; };
    EXPECT_EQ(CardInDirection(3, 0, 1, all), 7);
    EXPECT_EQ(CardInDirection(12, 0, -1, all), 8);
    EXPECT_EQ(CardInDirection(15, 1, 0, all), 15);
    // After a match the focus goes to the nearest card left, none when the board is clear.
    EXPECT_EQ(NearestCard(2, showing), 1);
    EXPECT_EQ(NearestCard(2, [](int) { return false; }), -1);
}

// The word's tiles scattered the same way on every call.
TileBoard Scattered(const QString& word, int width = 11925)
{
    TileBoard board;
    board.setBoardSize(width, 8790);
    board.build(word);
    ScriptedRandom random(3);
    board.scatter(word, random);
    return board;
}

TEST(TypedRow, EachLetterTakesTheNextFreeTileAndBackspaceReturnsTheLast)
{
    TileBoard board = Scattered(QStringLiteral("Door"));
    TypedRow row;
    const int top = TypedRow::RowTop(board);
    EXPECT_EQ(top, 7 * H);
    // typed, tile taken (-1 none)
    const std::pair<QChar, int> typed[] = {{u'x', -1}, {u'd', 1},  {u'o', 2},
                                           {u'o', 3},  {u'o', -1}, {u'r', 4}};
    int slot = 0;
    for (const auto& [letter, tile] : typed) {
        EXPECT_EQ(row.take(board, letter), tile) << QString(letter).toStdString();
        if (tile < 0)
            continue;
        EXPECT_EQ(std::pair(board.tile(tile).left, board.tile(tile).top), std::pair((slot + 1) * W, top))
            << tile;
        ++slot;
    }
    EXPECT_TRUE(board.IsComplete());
    EXPECT_TRUE(board.IsCorrectWord(QStringLiteral("Door")));

    const Tile scattered = Scattered(QStringLiteral("Door")).tile(4);
    EXPECT_EQ(row.giveBack(board), 4);
    EXPECT_EQ(std::pair(board.tile(4).left, board.tile(4).top), std::pair(scattered.left, scattered.top));
    row.forget(2);
    EXPECT_EQ(row.size(), 2);
    EXPECT_FALSE(row.holds(2));
    EXPECT_EQ(row.giveBack(board), 3);
    EXPECT_EQ(row.giveBack(board), 1);
    EXPECT_EQ(row.giveBack(board), -1);
}

} // namespace
} // namespace lexora::test
