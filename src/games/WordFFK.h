#pragma once

#include "games/MatchDeal.h"
#include "ui/ViewContext.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QLabel;

namespace Ui {
class WordFFK;
}

namespace lexora {

class CWordType;
class ClickLabel;

// The matching game: up to eight words dealt as face-up pairs on a four-by-four board, one card of
// each pair with the English, the other with the picture (or the meaning). Two cards of one word
// leave the board; three wrong pairings lose the deal.
class WordFFK final : public QWidget
{
    Q_OBJECT
public:
    explicit WordFFK(const ViewContext& context, QWidget* parent = nullptr);
    ~WordFFK() override;

    void StartGameFFK();
    void PicWord_Click(int Index);
    void cmdRestart_Click();
    void cmdNext_Click();

    std::int16_t iGameWordNum() const { return static_cast<std::int16_t>(m_gameWords.size()); }
    const std::vector<int>& arrGameWords() const { return m_gameWords; }
    const MatchBoard& board() const { return m_board; }
    int background() const { return m_deal.background; }

private:
    void chooseWords();
    void deal();
    void showCard(int card, const CWordType& word, bool english);
    // Game word k, or null when its list has been replaced.
    const CWordType* gameWord(int k) const;
    void highlight(int card, bool on);
    QString title() const;

    std::unique_ptr<Ui::WordFFK> ui;
    ViewContext m_ctx;
    std::array<ClickLabel*, kMatchCards> m_picWord{};
    std::array<QLabel*, kMatchCards> m_imgWord{};
    std::array<QLabel*, kMatchCards> m_lblWord{};
    std::vector<int> m_gameWords;
    MatchDeal m_deal;
    MatchBoard m_board;
    // The word list the game words were drawn from.
    std::uint32_t m_listStamp = 0;
};

} // namespace lexora
