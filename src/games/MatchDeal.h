#pragma once

#include <QString>
#include <array>
#include <vector>

namespace lexora {

class CWordType;
class Random;

inline constexpr int kMatchCards = 16;
inline constexpr int kMatchWordsMax = 8;

// Up to eight words of the list (indices), distinct by English text, drawn uniformly. A list with
// fewer distinct texts than words gives as many words as it has texts; an empty list none.
std::vector<int> ChooseGameWords(const std::vector<CWordType>& words, int wordNum, Random& random);

// One deal of n words (0 to 8): cards 0..n-1 are the first half, card n+k belongs to game word k and
// its tag is the index of its partner in the first half; every other tag is -1. coin[k] = 0 puts the
// English on the first-half card, 1 on the second-half card.
struct MatchDeal
{
    int background = 1; // 1, 2 or 3
    std::array<int, kMatchCards> tags{};
    std::vector<int> coins;
};

MatchDeal DealCards(int n, Random& random);

// The board's rules: selecting, matching, counting wrong pairings.
class MatchBoard
{
public:
    enum class Outcome
    {
        Ignored,  // the selected card again, or a card not on the board
        Selected, // first card of a pairing
        Matched,  // both cards leave the board
        Missed,   // a wrong pairing, fewer than three so far
        Lost      // the third wrong pairing of the deal
    };
    struct Click
    {
        Outcome outcome = Outcome::Ignored;
        int previous = -1; // the card selected before this click (its highlight goes)
        int word = -1;     // the game word of a match
        bool won = false;  // no card is left showing
    };

    void start(const MatchDeal& deal, int n);
    Click click(int card);

    int selected() const { return m_selected; }
    int errors() const { return m_errors; }
    bool showing(int card) const
    {
        return card >= 0 && card < kMatchCards && m_showing[static_cast<size_t>(card)];
    }
    int tag(int card) const { return m_tags[static_cast<size_t>(card)]; }

private:
    int m_n = 0;
    std::array<int, kMatchCards> m_tags{};
    std::array<bool, kMatchCards> m_showing{};
    int m_selected = -1;
    int m_errors = 0;
};

inline constexpr int kMatchErrorsToLose = 3;

} // namespace lexora
