#pragma once

#include <QString>
#include <vector>

namespace lexora {

class Random;

// The template tile, in twips.
inline constexpr int kTileWidth = 960;
inline constexpr int kTileHeight = 1080;

struct Tile
{
    QString caption;
    int left = 0; // twips from the board's left edge
    int top = 0;
    bool visible = false;
};

// The letter board's rules in twips, apart from any widget: tiles scattered over a grid, taken and
// put down by clicks, moved with the pointer inside the board, and the two checks of a finished row.
// Tiles are numbered from 1, as the template is tile 0.
class TileBoard
{
public:
    enum class Press
    {
        Took,
        PutDown
    };

    void setBoardSize(int widthTwips, int heightTwips);
    int width() const { return m_width; }
    int height() const { return m_height; }
    // Whole tiles that fit across and down the board.
    int gridCols() const { return m_width / kTileWidth; }
    int gridRows() const { return m_height / kTileHeight; }

    // New hidden tiles, one per character of word (UnloadLastWord).
    void build(const QString& word);
    void clear();
    // Every tile gets its letter and a random cell off the top row and left column, and is shown.
    void scatter(const QString& word, Random& random);
    void hideAll();

    int count() const { return static_cast<int>(m_tiles.size()); }
    const Tile& tile(int i) const { return m_tiles[static_cast<size_t>(i - 1)]; }
    void place(int i, int left, int top);

    // One row: extent within 1.3 tile widths per gap, tops within a third of a tile, no two tiles
    // closer than a quarter tile width.
    bool IsComplete() const;
    // The captions read from left to right spell word.
    bool IsCorrectWord(const QString& word) const;

    // A press on tile i at (x, y) inside the tile flips between holding and free.
    Press mouseDown(int i, double x, double y);
    // Moves with the pointer over the held tile keep it on the board; true when it moved.
    bool moveOverTile(int i, double x, double y);
    // Moves over the bare board while holding: the tile follows without being kept on the board.
    bool moveOverBoard(double x, double y);
    void release();

    bool dragging() const { return m_dragging; }
    int dragChar() const { return m_dragChar; }

private:
    bool valid(int i) const { return i >= 1 && i <= count(); }

    int m_width = 0;
    int m_height = 0;
    std::vector<Tile> m_tiles;
    bool m_dragging = false;
    int m_dragChar = -1;
    double m_grabX = 0;
    double m_grabY = 0;
};

// The background shown after a double-click: 1 → 4 → 3 → 2 → 1.
int PreviousBackground(int background);

} // namespace lexora
