#pragma once

#include <QChar>
#include <QObject>
#include <functional>
#include <vector>

namespace lexora {

class TileBoard;
class MatchBoard;

// The card that an arrow key moves to on the four-by-four board: the nearest card still showing
// ahead in that direction (straight ahead first, else on a slant), else the card itself.
int CardInDirection(int from, int dx, int dy, const std::function<bool(int)>& showing);
// The showing card nearest to a card that has left the board, or -1 when none is left.
int NearestCard(int from, const std::function<bool(int)>& showing);

// Arrow keys move the focus between the cards of the matching board; the cards themselves answer
// Space and Enter like a click.
class CardKeys final : public QObject
{
    Q_OBJECT
public:
    CardKeys(QWidget& board, std::vector<QWidget*> cards);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<QWidget*> m_cards;
};

// The row a learner types on the letter board: each letter takes the next tile that carries it
// (lowest number first) to the end of the row, Backspace sends the last one back to where it lay.
class TypedRow
{
public:
    // The tile taken to the end of the row, or -1 when no free tile carries the letter. The letter's
    // own case is preferred, then the other one, so a capital can be typed without Shift.
    int take(TileBoard& board, QChar letter);
    // The tile sent back, or -1 when the row is empty.
    int giveBack(TileBoard& board);
    // A tile the pointer took is no longer part of the row.
    void forget(int tile);
    void clear() { m_row.clear(); }

    int size() const { return static_cast<int>(m_row.size()); }
    bool holds(int tile) const;
    // Where slot k of a row of n tiles lies, in twips: on the lowest grid row, one tile width apart,
    // closer together when a long word would run off the board.
    static int SlotLeft(const TileBoard& board, int slot, int n);
    static int RowTop(const TileBoard& board);

private:
    struct Entry
    {
        int tile;
        int left; // where it lay before it was typed
        int top;
    };
    int findFree(const TileBoard& board, QChar letter, Qt::CaseSensitivity cs) const;

    std::vector<Entry> m_row;
};

} // namespace lexora
