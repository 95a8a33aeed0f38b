// The letter board's rules in twips: scattering, the row checks, taking and putting down, clamping.
#include "ScriptedRandom.h"
#include "games/TileBoard.h"

#include <gtest/gtest.h>
#include <set>

namespace lexora::test {
namespace {

constexpr int W = kTileWidth;
constexpr int H = kTileHeight;

// A board at the design size with one tile per letter of word, laid out at the given edges.
TileBoard Laid(const QString& word, const std::vector<std::pair<int, int>>& edges)
{
    TileBoard board;
    board.setBoardSize(11925, 8790);
    board.build(word);
    for (int i = 1; i <= board.count(); ++i)
        board.place(i, edges[static_cast<size_t>(i - 1)].first, edges[static_cast<size_t>(i - 1)].second);
    return board;
}

TEST(TileScatter, StartsEveryTileOnAWholeCellOffTheTopRowAndLeftColumn)
{
    struct Case
    {
        int width, height, cols, rows;
    };
    for (const Case c : {Case{11925, 8790, 12, 8}, Case{12240, 8175, 12, 7}, Case{2000, 2200, 2, 2}}) {
        TileBoard board;
        board.setBoardSize(c.width, c.height);
        EXPECT_EQ(board.gridCols(), c.cols);
        EXPECT_EQ(board.gridRows(), c.rows);
        ScriptedRandom random(static_cast<unsigned>(c.width));
        std::set<int> lefts, tops;
        for (int round = 0; round < 200; ++round) {
            board.build(QStringLiteral("elephant"));
            board.scatter(QStringLiteral("elephant"), random);
            for (int i = 1; i <= board.count(); ++i) {
                const Tile& t = board.tile(i);
                EXPECT_TRUE(t.visible);
                EXPECT_EQ(t.caption, QString(QStringLiteral("elephant")[i - 1]));
                lefts.insert(t.left);
                tops.insert(t.top);
            }
        }
        std::set<int> wantLefts, wantTops;
        for (int col = 1; col <= std::max(1, c.cols - 1); ++col)
            wantLefts.insert(col * W);
        for (int row = 1; row <= std::max(1, c.rows - 1); ++row)
            wantTops.insert(row * H);
        EXPECT_EQ(lefts, wantLefts) << c.width;
        EXPECT_EQ(tops, wantTops) << c.height;
    }
}

TEST(TileScatter, DrawsColumnThenRowForEachTileAfterReseeding)
{
    TileBoard board;
    board.setBoardSize(11925, 8790);
    board.build(QStringLiteral("go"));
    ScriptedRandom random;
    for (double r : {0.0, 0.999, 0.5, 0.3})
        random.queue(r);
    board.scatter(QStringLiteral("go"), random);
    EXPECT_EQ(random.reseeds(), 1);
    EXPECT_EQ(board.tile(1).left, 1 * W);
    EXPECT_EQ(board.tile(1).top, 7 * H);
    EXPECT_EQ(board.tile(2).left, 6 * W); // floor(0.5 * 11) + 1
    EXPECT_EQ(board.tile(2).top, 3 * H);  // floor(0.3 * 7) + 1
}

struct RowCase
{
    const char* name;
    QString word;
    std::vector<std::pair<int, int>> edges;
    bool complete;
};

class RowCheck : public ::testing::TestWithParam<RowCase>
{};

TEST_P(RowCheck, IsComplete)
{
    const RowCase& c = GetParam();
    EXPECT_EQ(Laid(c.word, c.edges).IsComplete(), c.complete);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, RowCheck,
    ::testing::Values(
        RowCase{"ExtentAtTheLimit",
                QStringLiteral("apple"),
                {{0, H}, {1248, H}, {2496, H}, {3744, H}, {4992, H}},
                true},
        RowCase{"ExtentOneTwipOver",
                QStringLiteral("apple"),
                {{0, H}, {1248, H}, {2496, H}, {3744, H}, {4993, H}},
                false},
        RowCase{"ExtentOrderDoesNotMatter",
                QStringLiteral("apple"),
                {{4992, H}, {0, H}, {2496, H}, {1248, H}, {3744, H}},
                true},
        RowCase{"TopsAThirdApart", QStringLiteral("on"), {{0, 1000}, {1000, 1360}}, true},
        RowCase{"TopsOneTwipMore", QStringLiteral("on"), {{0, 1361}, {1000, 1000}}, false},
        RowCase{"LeftEdges239Apart", QStringLiteral("cat"), {{0, H}, {239, H}, {1400, H}}, false},
        RowCase{"LeftEdges240Apart", QStringLiteral("cat"), {{0, H}, {240, H}, {1400, H}}, true},
        RowCase{"SameCell", QStringLiteral("it"), {{W, H}, {W, H}}, false},
        RowCase{"OneTileAnywhere", QStringLiteral("a"), {{7 * W, 5 * H}}, true}),
    [](const auto& info) { return std::string(info.param.name); });

struct ReadCase
{
    const char* name;
    QString word;
    std::vector<std::pair<int, int>> edges;
    QString target;
    bool correct;
};

class WordCheck : public ::testing::TestWithParam<ReadCase>
{};

TEST_P(WordCheck, IsCorrectWord)
{
    const ReadCase& c = GetParam();
    EXPECT_EQ(Laid(c.word, c.edges).IsCorrectWord(c.target), c.correct);
}

INSTANTIATE_TEST_SUITE_P(
    Reading, WordCheck,
    ::testing::Values(
        // Tiles 2 and 3 are the two o's of door.
        ReadCase{"DoorFirstOSecond",
                 QStringLiteral("door"),
                 {{0, H}, {W, H}, {2 * W, H}, {3 * W, H}},
                 QStringLiteral("door"),
                 true},
        ReadCase{"DoorSecondOSecond",
                 QStringLiteral("door"),
                 {{0, H}, {2 * W, H}, {W, H}, {3 * W, H}},
                 QStringLiteral("door"),
                 true},
        ReadCase{"Reversed",
                 QStringLiteral("door"),
                 {{3 * W, H}, {2 * W, H}, {W, H}, {0, H}},
                 QStringLiteral("door"),
                 false},
        ReadCase{"CaseCounts",
                 QStringLiteral("door"),
                 {{0, H}, {W, H}, {2 * W, H}, {3 * W, H}},
                 QStringLiteral("Door"),
                 false},
        ReadCase{"EqualEdgesReadLowerIndexFirst",
                 QStringLiteral("ab"),
                 {{500, H}, {500, 3 * H}},
                 QStringLiteral("ab"),
                 true},
        ReadCase{"EqualEdgesNotTheOtherWay",
                 QStringLiteral("ab"),
                 {{500, H}, {500, 3 * H}},
                 QStringLiteral("ba"),
                 false},
        ReadCase{"RowsDoNotMatter", QStringLiteral("up"), {{0, 7 * H}, {W, H}}, QStringLiteral("up"), true},
        ReadCase{"ATileOffTheRightIsNotRead",
                 QStringLiteral("up"),
                 {{0, H}, {11925, H}},
                 QStringLiteral("up"),
                 false},
        ReadCase{"BlanksAroundTheWordIgnored",
                 QStringLiteral("up"),
                 {{0, H}, {W, H}},
                 QStringLiteral(" up "),
                 true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TileHolding, ASecondTileClickedWhileHoldingPutsTheFirstDownAndIsNotTaken)
{
    TileBoard board = Laid(QStringLiteral("abc"), {{W, H}, {3 * W, H}, {5 * W, H}});
    struct Step
    {
        int tile;
        TileBoard::Press press;
        bool dragging;
        int dragChar;
    };
    const Step steps[] = {
        {2, TileBoard::Press::Took, true, 2}, {3, TileBoard::Press::PutDown, false, -1},
        {3, TileBoard::Press::Took, true, 3}, {3, TileBoard::Press::PutDown, false, -1},
        {1, TileBoard::Press::Took, true, 1},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(board.mouseDown(s.tile, 100, 200), s.press) << "tile " << s.tile;
        EXPECT_EQ(board.dragging(), s.dragging);
        EXPECT_EQ(board.dragChar(), s.dragChar);
    }
    // Tile 3 was put down where it stood; nothing moved.
    EXPECT_EQ(board.tile(3).left, 5 * W);
}

TEST(TileHolding, OnlyTheHeldTileFollowsThePointer)
{
    TileBoard board = Laid(QStringLiteral("ab"), {{W, H}, {3 * W, H}});
    EXPECT_FALSE(board.moveOverTile(1, 600, 600)); // nothing held
    board.mouseDown(1, 100, 200);
    EXPECT_FALSE(board.moveOverTile(2, 600, 600));
    EXPECT_TRUE(board.moveOverTile(1, 400.4, 700.6));
    EXPECT_EQ(board.tile(1).left, W + 300);
    EXPECT_EQ(board.tile(1).top, H + 501);
    EXPECT_EQ(board.tile(2).left, 3 * W);
    board.mouseDown(1, 0, 0);
    EXPECT_FALSE(board.moveOverBoard(5000, 5000));
}

struct ClampCase
{
    const char* name;
    double x, y;   // pointer inside the held tile
    int left, top; // where the tile ends up
};

class TileClamp : public ::testing::TestWithParam<ClampCase>
{};

// The held tile stands at (5000, 4000), taken at (480, 540) inside it, on the design-size board.
TEST_P(TileClamp, KeepsTheHeldTileOnTheBoard)
{
    const ClampCase& c = GetParam();
    TileBoard board = Laid(QStringLiteral("a"), {{5000, 4000}});
    board.mouseDown(1, 480, 540);
    board.moveOverTile(1, c.x, c.y);
    EXPECT_EQ(board.tile(1).left, c.left);
    EXPECT_EQ(board.tile(1).top, c.top);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, TileClamp,
    ::testing::Values(ClampCase{"Inside", 480 + 100, 540 - 100, 5100, 3900},
                      ClampCase{"PastTheLeft", 480 - 6000, 540, 0, 4000},
                      ClampCase{"PastTheTop", 480, 540 - 5000, 5000, 0},
                      ClampCase{"PastTheRight", 480 + 7000, 540, 11925 - W, 4000},
                      ClampCase{"RightEdgeExactlyOnTheBoard", 480 + 11925 - W - 5000, 540, 11925 - W, 4000},
                      ClampCase{"PastTheBottom", 480, 540 + 6000, 5000, 8790 - H},
                      ClampCase{"PastTheTopLeftCorner", -9000, -9000, 0, 0},
                      ClampCase{"PastTheBottomRightCorner", 9000, 9000, 11925 - W, 8790 - H}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TileHolding, OverTheBareBoardTheTileFollowsWithoutClamping)
{
    TileBoard board = Laid(QStringLiteral("a"), {{5000, 4000}});
    board.mouseDown(1, 480, 540);
    EXPECT_TRUE(board.moveOverBoard(100, 200));
    EXPECT_EQ(board.tile(1).left, -380);
    EXPECT_EQ(board.tile(1).top, -340);
}

TEST(Background, DoubleClicksStepBackThroughTheFourPictures)
{
    int b = 1;
    std::vector<int> seen;
    for (int i = 0; i < 5; ++i) {
        b = PreviousBackground(b);
        seen.push_back(b);
    }
    EXPECT_EQ(seen, (std::vector<int>{4, 3, 2, 1, 4}));
}

} // namespace
} // namespace lexora::test
