#include "games/WordPPK2.h"

#include "games/FormTip.h"
#include "games/SpellingRound.h"
#include "media/MediaFiles.h"
#include "media/PageScale.h"
#include "media/SoundPlayer.h"
#include "store/Clock.h"
#include "store/Prompter.h"
#include "store/WordStore.h"
#include "ui/Art.h"
#include "ui/Geometry.h"
#include "ui/ViewHost.h"
#include "ui_WordPPK2.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace lexora {

namespace {

const QString kGameTitle = QStringLiteral("单词排排看");

// Pixels of the board at its present scale, in the board's design twips.
double Twips(double pixels, const QWidget* board)
{
    return pixels / PageScale::of(board) * kTwipsPerPixel;
}

} // namespace

WordPPK2::WordPPK2(const ViewContext& context, ViewHost& host, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::WordPPK2>()), m_ctx(context), m_host(host)
{
    ui->setupUi(this);
    ShowEmoji(*ui->imgStandardAudio, QStringLiteral("🔊"), 28);
    // Tiles follow the pointer with no button held: take with one click, put down with the next.
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    runModal = [](QDialog& dialog) { return dialog.exec(); };
    connect(ui->cmdTip, &ClickLabel::clicked, this, &WordPPK2::cmdTip_Click);
    connect(ui->cmdReturn, &ClickLabel::clicked, this, &WordPPK2::cmdReturn_Click);
    connect(ui->imgHelp, &ClickLabel::clicked, this, &WordPPK2::imgHelp_Click);
    connect(ui->imgStandardAudio, &ClickLabel::clicked, this, &WordPPK2::imgStandardAudio_Click);
    fitBoard();
}

WordPPK2::~WordPPK2() = default;

// ---------------------------------------------------------------- rounds

void WordPPK2::InitGamePPK()
{
    WordStore& store = m_ctx.store;
    m_board.release();
    destroyTiles();
    store.words().setTestDone(0);
    iBackground = 1;
    NextGameWord();
    LoadBackground();
    store.words().setTestTotal(CountSingleWords(store.words().records(), store.words().count()));
}

CWordType* WordPPK2::gameWord() const
{
    return m_ctx.store.words().stamp() == m_listStamp ? m_ctx.store.words().word(iGameWord) : nullptr;
}

void WordPPK2::NextGameWord()
{
    WordStore& store = m_ctx.store;
    iGameWord = store.RandUntestedWord();
    m_listStamp = store.words().stamp();
    const CWordType* word = gameWord();
    if (!word) {
        iGameWord = -1;
        return;
    }
    strGameWord = word->English;
    strGameChinese = word->Chinese;
    iHelpCount = 0;
    ui->cmdTip->setText(QStringLiteral("我认输啦"));
    ui->cmdTip->setEnabled(true);
    const bool right = m_host.AskWordQuiz(iGameWord);
    if (!right)
        iHelpCount = 1;
    m_ctx.store.RecordNotebookAnswers({{strGameWord, right ? NotebookAnswer::Right : NotebookAnswer::Wrong}},
                                      m_ctx.clock.today());
    RandWord(strGameWord);
}

std::int16_t WordPPK2::IsOK()
{
    // Only a word of the current list is scored.
    CWordType* arranged = gameWord();
    if (!arranged)
        return 1;
    WordStore& store = m_ctx.store;
    if (ScoreArrangedWord(*arranged, iHelpCount))
        store.words().setTestDone(store.words().testDone() + 1);
    ui->lblResult->setText(ScoreLine(store.words().testDone(), store.words().testTotal()));
    if (store.words().testDone() >= store.words().testTotal()) {
        if (!store.ReviewingNotebook())
            store.SetUnitStatus(UnitMark::SpellingDone);
        const auto again =
            m_ctx.prompter.message(QStringLiteral("恭喜你熟悉了全部单词，重来一遍?"), kGameTitle,
                                   Prompter::Buttons::YesNo, Prompter::Icon::Question);
        if (again == Prompter::Answer::Yes) {
            store.words().ResetTestFlagsSkipPhrases();
            NextGameWord();
            return 1;
        }
        if (EndGame())
            m_host.ShowUserControl(ViewId::Reader);
        return 0;
    }
    m_board.hideAll();
    syncTiles();
    m_ctx.sound.PlayWordSound(strGameWord);
    showTip();
    NextGameWord();
    return 1;
}

void WordPPK2::showTip()
{
    FormTip tip(m_ctx, this);
    tip.SetGameWord(strGameWord, strGameChinese);
    runModal(tip);
}

bool WordPPK2::EndGame()
{
    const WordStore& store = m_ctx.store;
    // A game whose list was replaced has nothing left to finish.
    const bool running =
        store.words().stamp() == m_listStamp && store.words().testDone() < store.words().testTotal();
    if (running &&
        m_ctx.prompter.message(QStringLiteral("还没有完成游戏，你确定要结束吗?"), kGameTitle,
                               Prompter::Buttons::OkCancel, Prompter::Icon::Question) != Prompter::Answer::Ok)
        return false;
    destroyTiles();
    return true;
}

void WordPPK2::cmdTip_Click()
{
    // Before the first word, or with no single word in the list, there is nothing to give up.
    if (!hasGameWord())
        return;
    m_ctx.sound.PlayWordSound(strGameWord);
    showTip();
    RefreshWord2();
    ++iHelpCount;
}

void WordPPK2::cmdReturn_Click()
{
    if (EndGame())
        m_host.ShowUserControl(ViewId::Reader);
}

void WordPPK2::imgHelp_Click()
{
    m_host.ShowGameHelp();
}

void WordPPK2::imgStandardAudio_Click()
{
    if (hasGameWord())
        m_ctx.sound.PlayWordSound(strGameWord);
}

// ---------------------------------------------------------------- board

QLabel* WordPPK2::picChar(int Index) const
{
    if (Index == 0)
        return ui->picChar_0;
    if (Index < 1 || Index > static_cast<int>(m_tiles.size()))
        return nullptr;
    return m_tiles[static_cast<size_t>(Index - 1)];
}

void WordPPK2::destroyTiles()
{
    // A tile may be destroyed from inside its own click (the last letter put down), so it goes later.
    for (QLabel* tile : m_tiles) {
        tile->hide();
        tile->removeEventFilter(this);
        tile->deleteLater();
    }
    m_tiles.clear();
    m_board.clear();
    m_typed.clear();
}

void WordPPK2::UnloadLastWord()
{
    destroyTiles();
    m_board.build(strGameWord);
    const QLabel* templ = ui->picChar_0;
    for (int i = 1; i <= m_board.count(); ++i) {
        auto* tile = new QLabel(this);
        tile->setObjectName(QStringLiteral("picChar_%1").arg(i));
        PageScale::setFont(*tile, PageScale::font(*templ));
        tile->setAlignment(templ->alignment());
        tile->setStyleSheet(templ->styleSheet());
        PageScale::setGeometry(*tile, QRect(QPoint(), PageScale::geometry(*templ).size()));
        tile->setMouseTracking(true);
        tile->setCursor(Qt::OpenHandCursor);
        tile->installEventFilter(this);
        tile->hide();
        m_tiles.push_back(tile);
    }
}

void WordPPK2::RandWord(const QString& /*word*/)
{
    // The tiles always come from the game word.
    UnloadLastWord();
    RefreshWord2();
}

void WordPPK2::RefreshWord2()
{
    fitBoard();
    m_typed.clear();
    m_board.scatter(strGameWord, m_ctx.random);
    syncTiles();
    nameTiles();
}

void WordPPK2::nameTiles()
{
    // Tiles of a repeated letter are told apart by their order among those tiles.
    for (int i = 1; i <= m_board.count(); ++i) {
        const QString& caption = m_board.tile(i).caption;
        int same = 0, before = 0;
        for (int j = 1; j <= m_board.count(); ++j) {
            if (m_board.tile(j).caption != caption)
                continue;
            ++same;
            before += j < i ? 1 : 0;
        }
        picChar(i)->setAccessibleName(same > 1
                                          ? QStringLiteral("字母 %1（第%2个）").arg(caption).arg(before + 1)
                                          : QStringLiteral("字母 %1").arg(caption));
    }
}

void WordPPK2::syncTile(int Index)
{
    QLabel* label = picChar(Index);
    if (!label || Index < 1)
        return;
    const Tile& t = m_board.tile(Index);
    label->setText(t.caption);
    PageScale::move(*label, QPoint(Px(t.left), Px(t.top)));
    label->setVisible(t.visible);
}

void WordPPK2::syncTiles()
{
    for (int i = 1; i <= m_board.count(); ++i)
        syncTile(i);
}

void WordPPK2::picChar_MouseDown(int Index, double x, double y)
{
    if (m_board.mouseDown(Index, x, y) == TileBoard::Press::Took) {
        m_typed.forget(Index);
        if (QLabel* held = picChar(Index))
            held->raise();
        LoadBackground();
        return;
    }
    checkRow();
}

void WordPPK2::checkRow()
{
    // Both checks always run; only a row that spells the word counts.
    const bool complete = IsComplete();
    const bool correct = IsCorrectWord();
    if (complete && correct && m_board.count() > 0) {
        m_ctx.sound.PlayAppSound(1);
        IsOK();
    }
}

void WordPPK2::picChar_MouseMove(int Index, double x, double y)
{
    if (m_board.moveOverTile(Index, x, y))
        syncTile(Index);
}

void WordPPK2::UserControl_MouseMove(double x, double y)
{
    const int held = m_board.dragChar();
    if (m_board.moveOverBoard(x, y))
        syncTile(held);
}

bool WordPPK2::TypeKey(int key, const QString& text)
{
    // A held tile is the pointer's; the keyboard waits until it is put down.
    if (m_board.dragging() || m_board.count() == 0)
        return false;
    if (key == Qt::Key_Backspace) {
        syncTile(m_typed.giveBack(m_board));
        return true;
    }
    if (text.size() != 1 || !text[0].isPrint() || text[0].isSpace())
        return false;
    const int tile = m_typed.take(m_board, text[0]);
    if (tile < 0)
        return true;
    picChar(tile)->raise();
    syncTile(tile);
    if (m_typed.size() == m_board.count())
        checkRow();
    return true;
}

void WordPPK2::UserControl_DblClick()
{
    iBackground = PreviousBackground(iBackground);
    LoadBackground();
}

void WordPPK2::LoadBackground()
{
    // A missing picture leaves the board's plain colour.
    m_background =
        QImage(m_ctx.media.folders().appPics() + QStringLiteral("/Background%1.jpg").arg(iBackground));
    update();
}

void WordPPK2::fitBoard()
{
    m_board.setBoardSize(static_cast<int>(Twips(width(), this)), static_cast<int>(Twips(height(), this)));
}

// ---------------------------------------------------------------- events

bool WordPPK2::eventFilter(QObject* watched, QEvent* event)
{
    const auto it = std::find(m_tiles.begin(), m_tiles.end(), watched);
    if (it == m_tiles.end())
        return QWidget::eventFilter(watched, event);
    const int index = static_cast<int>(it - m_tiles.begin()) + 1;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    // The second click of a quick pair is a put-down (or a take) like any other.
    case QEvent::MouseButtonDblClick: {
        const QPointF p = static_cast<QMouseEvent*>(event)->position();
        picChar_MouseDown(index, Twips(p.x(), this), Twips(p.y(), this));
        return true;
    }
    case QEvent::MouseMove: {
        const QPointF p = static_cast<QMouseEvent*>(event)->position();
        picChar_MouseMove(index, Twips(p.x(), this), Twips(p.y(), this));
        return true;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void WordPPK2::mouseMoveEvent(QMouseEvent* event)
{
    UserControl_MouseMove(Twips(event->position().x(), this), Twips(event->position().y(), this));
}

void WordPPK2::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Double-clicks on the band's labels reach here too; only the bare board changes the picture.
    if (!childAt(event->position().toPoint()))
        UserControl_DblClick();
}

void WordPPK2::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier) || !TypeKey(event->key(), event->text()))
        QWidget::keyPressEvent(event);
}

void WordPPK2::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    if (m_background.isNull())
        painter.fillRect(rect(), QColor(0xf4, 0xef, 0xe1));
    else
        painter.drawImage(rect(), m_background);
}

void WordPPK2::resizeEvent(QResizeEvent* event)
{
    fitBoard();
    QWidget::resizeEvent(event);
}

void WordPPK2::showEvent(QShowEvent* event)
{
    fitBoard();
    iBackground = 2;
    QWidget::showEvent(event);
}

} // namespace lexora
