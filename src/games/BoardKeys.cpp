#include "games/BoardKeys.h"

#include "games/MatchDeal.h"
#include "games/TileBoard.h"

#include <QKeyEvent>
#include <QWidget>
#include <algorithm>

namespace lexora {

namespace {

constexpr int kBoardColumns = 4;

} // namespace

int CardInDirection(int from, int dx, int dy, const std::function<bool(int)>& showing)
{
    const int col = from % kBoardColumns;
    const int row = from / kBoardColumns;
    int best = from;
    int bestDistance = 0;
    for (int card = 0; card < kMatchCards; ++card) {
        const int across = card % kBoardColumns - col;
        const int down = card / kBoardColumns - row;
        const int ahead = across * dx + down * dy;
        if (ahead <= 0 || !showing(card))
            continue;
        // A step aside counts double, so the card straight ahead wins over one as near on a slant.
        const int aside = dx != 0 ? down : across;
        const int distance = ahead * ahead + 2 * aside * aside;
        if (best == from || distance < bestDistance) {
            best = card;
            bestDistance = distance;
        }
    }
    return best;
}

int NearestCard(int from, const std::function<bool(int)>& showing)
{
    int best = -1;
    int bestDistance = 0;
    for (int card = 0; card < kMatchCards; ++card) {
        if (card == from || !showing(card))
            continue;
        const int across = card % kBoardColumns - from % kBoardColumns;
        const int down = card / kBoardColumns - from / kBoardColumns;
        const int distance = across * across + down * down;
        if (best < 0 || distance < bestDistance) {
            best = card;
            bestDistance = distance;
        }
    }
    return best;
}

CardKeys::CardKeys(QWidget& board, std::vector<QWidget*> cards) : QObject(&board), m_cards(std::move(cards))
{
    board.installEventFilter(this);
    for (QWidget* card : m_cards)
        card->installEventFilter(this);
}

bool CardKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    const int dx = key == Qt::Key_Left ? -1 : key == Qt::Key_Right ? 1 : 0;
    const int dy = key == Qt::Key_Up ? -1 : key == Qt::Key_Down ? 1 : 0;
    if (dx == 0 && dy == 0)
        return false;
    const auto showing = [this](int card) { return m_cards[static_cast<size_t>(card)]->isVisible(); };
    const auto it = std::find(m_cards.begin(), m_cards.end(), watched);
    int target = -1;
    if (it != m_cards.end()) {
        target = CardInDirection(static_cast<int>(it - m_cards.begin()), dx, dy, showing);
    } else {
        // From outside the cards the first card still showing takes the focus.
        for (int card = 0; card < static_cast<int>(m_cards.size()) && target < 0; ++card)
            target = showing(card) ? card : -1;
    }
    if (target >= 0)
        m_cards[static_cast<size_t>(target)]->setFocus(Qt::TabFocusReason);
    return true;
}

bool TypedRow::holds(int tile) const
{
    return std::any_of(m_row.begin(), m_row.end(), [tile](const Entry& e) { return e.tile == tile; });
}

int TypedRow::findFree(const TileBoard& board, QChar letter, Qt::CaseSensitivity cs) const
{
    for (int i = 1; i <= board.count(); ++i) {
        const Tile& t = board.tile(i);
        if (t.visible && !holds(i) && t.caption.compare(QString(letter), cs) == 0)
            return i;
    }
    return -1;
}

int TypedRow::SlotLeft(const TileBoard& board, int slot, int n)
{
    // The row starts one tile in from the left edge and ends at least one tile before the right.
    int step = kTileWidth;
    if (n > 1 && (n + 1) * kTileWidth > board.width())
        step = std::max(kTileWidth / 4, (board.width() - 2 * kTileWidth) / (n - 1));
    return kTileWidth + slot * step;
}

int TypedRow::RowTop(const TileBoard& board)
{
    return std::max(1, board.gridRows() - 1) * kTileHeight;
}

int TypedRow::take(TileBoard& board, QChar letter)
{
    int tile = findFree(board, letter, Qt::CaseSensitive);
    if (tile < 0)
        tile = findFree(board, letter, Qt::CaseInsensitive);
    if (tile < 0)
        return -1;
    const Tile& t = board.tile(tile);
    m_row.push_back({tile, t.left, t.top});
    board.place(tile, SlotLeft(board, size() - 1, board.count()), RowTop(board));
    return tile;
}

int TypedRow::giveBack(TileBoard& board)
{
    if (m_row.empty())
        return -1;
    const Entry last = m_row.back();
    m_row.pop_back();
    board.place(last.tile, last.left, last.top);
    return last.tile;
}

void TypedRow::forget(int tile)
{
    m_row.erase(std::remove_if(m_row.begin(), m_row.end(), [tile](const Entry& e) { return e.tile == tile; }),
                m_row.end());
}

} // namespace lexora
