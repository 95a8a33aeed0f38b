#include "games/TileBoard.h"

#include "media/SoundPlayer.h"
#include "store/Random.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace lexora {

void TileBoard::setBoardSize(int widthTwips, int heightTwips)
{
    m_width = std::max(0, widthTwips);
    m_height = std::max(0, heightTwips);
}

void TileBoard::build(const QString& word)
{
    clear();
    for (const QChar c : word)
        m_tiles.push_back({QString(c), 0, 0, false});
}

void TileBoard::clear()
{
    m_tiles.clear();
    release();
}

void TileBoard::scatter(const QString& word, Random& random)
{
    random.Randomize();
    for (int i = 1; i <= count(); ++i) {
        Tile& t = m_tiles[static_cast<size_t>(i - 1)];
        const int col = static_cast<int>(std::floor(random.Rnd() * (gridCols() - 1))) + 1;
        const int row = static_cast<int>(std::floor(random.Rnd() * (gridRows() - 1))) + 1;
        t.caption = i <= word.size() ? QString(word[i - 1]) : QString();
        t.left = col * kTileWidth;
        t.top = row * kTileHeight;
        t.visible = true;
    }
}

void TileBoard::hideAll()
{
    for (Tile& t : m_tiles)
        t.visible = false;
}

void TileBoard::place(int i, int left, int top)
{
    if (!valid(i))
        return;
    m_tiles[static_cast<size_t>(i - 1)].left = left;
    m_tiles[static_cast<size_t>(i - 1)].top = top;
}

bool TileBoard::IsComplete() const
{
    const int n = count();
    if (n == 0)
        return true;
    const auto [minLeft, maxLeft] = std::minmax_element(
        m_tiles.begin(), m_tiles.end(), [](const Tile& a, const Tile& b) { return a.left < b.left; });
    // Whole-number forms of "extent ≤ (n − 1) × W × 1.3" and "≤ H / 3": no rounding at the limits.
    if ((maxLeft->left - minLeft->left) * 10 > (n - 1) * kTileWidth * 13)
        return false;
    const auto [minTop, maxTop] = std::minmax_element(
        m_tiles.begin(), m_tiles.end(), [](const Tile& a, const Tile& b) { return a.top < b.top; });
    if ((maxTop->top - minTop->top) * 3 > kTileHeight)
        return false;
    for (int a = 0; a < n; ++a) {
        for (int b = a + 1; b < n; ++b) {
            if (std::abs(m_tiles[static_cast<size_t>(a)].left - m_tiles[static_cast<size_t>(b)].left) * 4 <
                kTileWidth)
                return false;
        }
    }
    return true;
}

bool TileBoard::IsCorrectWord(const QString& word) const
{
    std::vector<bool> read(m_tiles.size(), false);
    QString text;
    for (int pass = 0; pass < count(); ++pass) {
        int pick = -1;
        int smallest = m_width;
        for (int i = 0; i < count(); ++i) {
            if (!read[static_cast<size_t>(i)] && m_tiles[static_cast<size_t>(i)].left < smallest) {
                smallest = m_tiles[static_cast<size_t>(i)].left;
                pick = i;
            }
        }
        if (pick < 0)
            continue;
        text += TrimBlanks(m_tiles[static_cast<size_t>(pick)].caption);
        read[static_cast<size_t>(pick)] = true;
    }
    return TrimBlanks(text) == TrimBlanks(word);
}

TileBoard::Press TileBoard::mouseDown(int i, double x, double y)
{
    m_dragging = !m_dragging;
    if (m_dragging && valid(i)) {
        m_dragChar = i;
        m_grabX = x;
        m_grabY = y;
        return Press::Took;
    }
    release();
    return Press::PutDown;
}

bool TileBoard::moveOverTile(int i, double x, double y)
{
    if (!m_dragging || i != m_dragChar || !valid(i))
        return false;
    const Tile& t = tile(i);
    int left = static_cast<int>(std::lround(t.left + x - m_grabX));
    int top = static_cast<int>(std::lround(t.top + y - m_grabY));
    if (top < 0)
        top = 0;
    if (left < 0)
        left = 0;
    if (left + kTileWidth > m_width)
        left = m_width - kTileWidth;
    if (top + kTileHeight > m_height)
        top = m_height - kTileHeight;
    place(i, left, top);
    return true;
}

bool TileBoard::moveOverBoard(double x, double y)
{
    if (m_dragChar < 1 || !valid(m_dragChar))
        return false;
    place(m_dragChar, static_cast<int>(std::lround(x - m_grabX)), static_cast<int>(std::lround(y - m_grabY)));
    return true;
}

void TileBoard::release()
{
    m_dragging = false;
    m_dragChar = -1;
}

int PreviousBackground(int background)
{
    return ((background - 1 + 3) % 4) + 1;
}

} // namespace lexora
