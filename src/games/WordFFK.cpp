#include "games/WordFFK.h"

#include "games/BoardKeys.h"
#include "media/MediaFiles.h"
#include "media/PageScale.h"
#include "media/PictureBox.h"
#include "media/SoundPlayer.h"
#include "store/Prompter.h"
#include "store/Random.h"
#include "store/WordStore.h"
#include "ui_WordFFK.h"

namespace lexora {

namespace {

const QString kLatinFont = QStringLiteral("DejaVu Sans");
const QString kChineseFont = QStringLiteral("Noto Sans CJK SC");

QString CardStyle(int card, bool selected)
{
    return QStringLiteral(
               "#PicWord_%1 { background: rgba(255, 255, 255, 235); border: %2; border-radius: 8px; }")
        .arg(card)
        .arg(selected ? QStringLiteral("3px solid #e74c3c") : QStringLiteral("1px solid #9bb7c9"));
}

} // namespace

WordFFK::WordFFK(const ViewContext& context, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::WordFFK>()), m_ctx(context)
{
    ui->setupUi(this);
    for (int i = 0; i < kMatchCards; ++i) {
        const QString n = QString::number(i);
        m_picWord[static_cast<size_t>(i)] = findChild<ClickLabel*>(QStringLiteral("PicWord_") + n);
        m_imgWord[static_cast<size_t>(i)] = findChild<QLabel*>(QStringLiteral("imgWord_") + n);
        m_lblWord[static_cast<size_t>(i)] = findChild<QLabel*>(QStringLiteral("lblWord_") + n);
        // The card's picture and text take the card's click.
        m_imgWord[static_cast<size_t>(i)]->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_lblWord[static_cast<size_t>(i)]->setAttribute(Qt::WA_TransparentForMouseEvents);
        connect(m_picWord[static_cast<size_t>(i)], &ClickLabel::clicked, this,
                [this, i] { PicWord_Click(i); });
        highlight(i, false);
    }
    new CardKeys(*this, std::vector<QWidget*>(m_picWord.begin(), m_picWord.end()));
    connect(ui->cmdRestart, &ClickLabel::clicked, this, &WordFFK::cmdRestart_Click);
    connect(ui->cmdNext, &ClickLabel::clicked, this, &WordFFK::cmdNext_Click);
}

WordFFK::~WordFFK() = default;

QString WordFFK::title() const
{
    return m_ctx.store.catalogue().versionName();
}

void WordFFK::StartGameFFK()
{
    chooseWords();
    deal();
}

void WordFFK::chooseWords()
{
    m_gameWords = ChooseGameWords(m_ctx.store.words().records(), m_ctx.store.words().count(), m_ctx.random);
    m_listStamp = m_ctx.store.words().stamp();
}

const CWordType* WordFFK::gameWord(int k) const
{
    if (m_ctx.store.words().stamp() != m_listStamp || k < 0 || k >= iGameWordNum())
        return nullptr;
    return m_ctx.store.words().word(m_gameWords[static_cast<size_t>(k)]);
}

void WordFFK::deal()
{
    const int n = iGameWordNum();
    m_deal = DealCards(n, m_ctx.random);
    const QImage background(m_ctx.media.folders().appPics() +
                            QStringLiteral("/Background%1.jpg").arg(m_deal.background));
    // A missing picture leaves the plain colour of the board.
    PageScale::showDrawn(*ui->PicGame, [background](const QLabel& label) {
        return FitPixmap(background, label.size(), Qt::IgnoreAspectRatio);
    });
    for (int i = 0; i < kMatchCards; ++i) {
        m_picWord[static_cast<size_t>(i)]->setVisible(i < 2 * n);
        m_imgWord[static_cast<size_t>(i)]->clear();
        m_lblWord[static_cast<size_t>(i)]->clear();
        highlight(i, false);
    }
    for (int k = 0; k < n; ++k) {
        const CWordType* word = gameWord(k);
        if (!word)
            continue;
        const int partner = m_deal.tags[static_cast<size_t>(n + k)];
        const bool englishFirst = m_deal.coins[static_cast<size_t>(k)] == 0;
        showCard(englishFirst ? partner : n + k, *word, true);
        showCard(englishFirst ? n + k : partner, *word, false);
    }
    m_board.start(m_deal, n);
    if (n == 0)
        m_ctx.prompter.message(QStringLiteral("当前单词表里没有单词，请先选择词库。"), title());
}

void WordFFK::showCard(int card, const CWordType& w, bool english)
{
    QLabel* label = m_lblWord[static_cast<size_t>(card)];
    QLabel* picture = m_imgWord[static_cast<size_t>(card)];
    const auto image = english ? std::nullopt : m_ctx.media.TakeWordPic(w.English);
    if (image) {
        PageScale::showDrawn(
            *picture, [shown = *image](const QLabel& label) { return FitPixmap(shown, label.size()); });
        m_picWord[static_cast<size_t>(card)]->setAccessibleName(QStringLiteral("图片：") + w.English);
        return;
    }
    const QString text = english ? w.English : w.Chinese;
    QFont font(english ? kLatinFont : kChineseFont);
    font.setPointSize(english ? 20 : 18);
    font.setBold(english);
    // A long phrase shrinks until its widest line fits the card.
    const QRect slot(QPoint(), PageScale::geometry(*label).size());
    while (font.pointSize() > 10 &&
           QFontMetrics(font).boundingRect(slot, Qt::TextWordWrap | Qt::AlignCenter, text).width() >
               slot.width())
        font.setPointSize(font.pointSize() - 2);
    PageScale::setFont(*label, font);
    label->setText(text);
    m_picWord[static_cast<size_t>(card)]->setAccessibleName(text);
}

void WordFFK::highlight(int card, bool on)
{
    m_picWord[static_cast<size_t>(card)]->setStyleSheet(CardStyle(card, on));
    m_lblWord[static_cast<size_t>(card)]->setStyleSheet(on ? QStringLiteral("color: #e00000;")
                                                           : QStringLiteral("color: #000000;"));
}

void WordFFK::PicWord_Click(int Index)
{
    // Cards dealt from a list that has been replaced are not played: the game starts on the new one.
    if (m_ctx.store.words().stamp() != m_listStamp) {
        StartGameFFK();
        return;
    }
    const MatchBoard::Click click = m_board.click(Index);
    if (click.outcome == MatchBoard::Outcome::Ignored)
        return;
    if (click.previous >= 0)
        highlight(click.previous, false);
    switch (click.outcome) {
    case MatchBoard::Outcome::Selected:
        highlight(Index, true);
        break;
    case MatchBoard::Outcome::Matched: {
        // The focus goes to the nearest card left rather than on along the window's Tab order.
        const int next = NearestCard(Index, [this, &click, Index](int card) {
            return card != click.previous && card != Index &&
                   m_picWord[static_cast<size_t>(card)]->isVisible();
        });
        if (next >= 0)
            m_picWord[static_cast<size_t>(next)]->setFocus(Qt::TabFocusReason);
        m_picWord[static_cast<size_t>(click.previous)]->hide();
        m_picWord[static_cast<size_t>(Index)]->hide();
        if (const CWordType* w = gameWord(click.word))
            m_ctx.sound.PlayWordSound(w->English);
        break;
    }
    case MatchBoard::Outcome::Missed:
        m_ctx.sound.PlayAppSound(2);
        break;
    case MatchBoard::Outcome::Lost:
        m_ctx.prompter.message(QStringLiteral("没有过关啊，你要努力喔！！"), title());
        deal();
        return;
    case MatchBoard::Outcome::Ignored:
        break;
    }
    if (click.won) {
        m_ctx.sound.PlayAppSound(1);
        m_ctx.prompter.message(QStringLiteral("恭喜你过关啦，你好棒喔！！"), title());
        deal();
    }
}

void WordFFK::cmdRestart_Click()
{
    if (m_board.selected() >= 0)
        highlight(m_board.selected(), false);
    deal();
}

void WordFFK::cmdNext_Click()
{
    if (m_board.selected() >= 0)
        highlight(m_board.selected(), false);
    chooseWords();
    deal();
}

} // namespace lexora
