#pragma once

#include "games/BoardKeys.h"
#include "games/TileBoard.h"
#include "ui/ViewContext.h"

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QDialog;
class QLabel;

namespace Ui {
class WordPPK2;
}

namespace lexora {

class CWordType;
class ViewHost;

// The letter game: each single word of the list is heard and its meaning chosen in a quiz, then its
// letters are scattered as tiles that the learner takes and puts down with clicks until they spell the
// word in one row. A word counts as mastered only when arranged without help; mastering every word
// marks the unit's spelling as done.
class WordPPK2 final : public QWidget
{
    Q_OBJECT
public:
    WordPPK2(const ViewContext& context, ViewHost& host, QWidget* parent = nullptr);
    ~WordPPK2() override;

    // Rounds.
    void InitGamePPK();
    // Records the word just arranged and moves on; 0 when the learner ended the game at the end.
    std::int16_t IsOK();
    // False when the learner wants to go on with an unfinished game.
    bool EndGame();
    void cmdTip_Click();
    void cmdReturn_Click();
    void imgHelp_Click();
    void imgStandardAudio_Click();

    // Board.
    void UnloadLastWord();
    void RandWord(const QString& word);
    void RefreshWord2();
    bool IsComplete() const { return m_board.IsComplete(); }
    bool IsCorrectWord() const { return m_board.IsCorrectWord(strGameWord); }
    // Mouse positions in twips: inside tile Index, or on the bare board.
    void picChar_MouseDown(int Index, double x, double y);
    void picChar_MouseMove(int Index, double x, double y);
    void UserControl_MouseMove(double x, double y);
    void UserControl_DblClick();
    // Keys: a letter takes the next tile that carries it to the row being typed, Backspace sends
    // the last one back.
    bool TypeKey(int key, const QString& text);

    std::int16_t iGameWord = -1;
    QString strGameWord;
    QString strGameChinese;
    std::int16_t iHelpCount = 0;
    int iBackground = 2;

    // How the tip dialog is run: exec() in the program, scripted in tests.
    std::function<int(QDialog&)> runModal;

    const TileBoard& board() const { return m_board; }
    QLabel* picChar(int Index) const;
    const QImage& backgroundPicture() const { return m_background; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void NextGameWord();
    void LoadBackground();
    void showTip();
    void destroyTiles();
    void syncTile(int Index);
    void syncTiles();
    void fitBoard();
    void checkRow();
    void nameTiles();
    bool hasGameWord() const { return gameWord() != nullptr; }
    // The current word, or null when there is none or its list has been replaced.
    CWordType* gameWord() const;

    std::unique_ptr<Ui::WordPPK2> ui;
    ViewContext m_ctx;
    ViewHost& m_host;
    TileBoard m_board;
    TypedRow m_typed;
    std::vector<QLabel*> m_tiles; // tile i at i - 1
    QImage m_background;
    // The word list the current word was drawn from.
    std::uint32_t m_listStamp = 0;
};

} // namespace lexora
