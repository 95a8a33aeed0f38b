#include "views/Lexivo.h"

#include "media/MediaFiles.h"
#include "media/PageScale.h"
#include "media/PicturesAhead.h"
#include "media/SoundPlayer.h"
#include "media/Transition.h"
#include "store/Clock.h"
#include "store/Prompter.h"
#include "store/Random.h"
#include "store/WordStore.h"
#include "ui/Art.h"
#include "ui/ClockTimer.h"
#include "ui/ViewHost.h"
#include "ui_Lexivo.h"
#include "views/ThumbStrip.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimerEvent>

namespace lexora {

namespace {

constexpr int kAutoplayMs = 3000;
constexpr int kRecordMs = 15000;
constexpr int kEnglishStartPt = 36;
constexpr int kChineseStartPt = 26;
// Below this a word is no longer readable by a child; a longer text is cut at the picture's edge.
constexpr int kMinFontPt = 8;
constexpr int kTransStep = 5;
constexpr int kTransStripe = 1;

} // namespace

Lexivo::Lexivo(const ViewContext& context, ViewHost& host, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::Lexivo>()), m_ctx(context), m_host(host),
      m_reading(context.recorder, context.media.folders()),
      m_timerAutoplay(new ClockTimer(context.clock, kAutoplayMs, this)),
      m_timerRecord(new ClockTimer(context.clock, kRecordMs, this))
{
    ui->setupUi(this);
    m_thumbs = new ThumbStrip({ui->ArrImages_0, ui->ArrImages_1, ui->ArrImages_2, ui->ArrImages_3,
                               ui->ArrImages_4, ui->ArrImages_5, ui->ArrImages_6, ui->ArrImages_7},
                              {ui->arrChs_0, ui->arrChs_1, ui->arrChs_2, ui->arrChs_3, ui->arrChs_4,
                               ui->arrChs_5, ui->arrChs_6, ui->arrChs_7},
                              this);
    m_thumbs->setMeaningsShown(ui->chkChinese->isChecked());
    connectControls();
    connectPanel();
    setMyAudio(false);
    // Every control of the reader passes the reader's keys on and reports clicks that stop a spelling.
    for (QWidget* control : findChildren<QWidget*>())
        control->installEventFilter(this);
}

Lexivo::~Lexivo() = default;

void Lexivo::showEvent(QShowEvent* event)
{
    // The arrows' emoji font is opened when the reader is first shown, after the window is on screen.
    if (ui->picPrevWord->pixmap().isNull())
        drawPictures();
    QWidget::showEvent(event);
}

void Lexivo::drawPictures()
{
    ShowEmoji(*ui->picPrevWord, QStringLiteral("⬅️"), 30);
    ShowEmoji(*ui->picNextWord, QStringLiteral("➡️"), 30);
}

void Lexivo::showPanel(bool shown)
{
    // The panel's pictures are drawn when it is first shown, not with the first screen.
    if (shown && ui->imgRecord->pixmap().isNull())
        drawPanelPictures();
    ui->FrameRecorder->setVisible(shown);
}

void Lexivo::drawPanelPictures()
{
    ShowEmoji(*ui->imgRecord, QStringLiteral("🎤"), 38);
    ShowEmoji(*ui->imgStandardAudio, QStringLiteral("🔊"), 38);
    ShowEmoji(*ui->imgMyAudio, QStringLiteral("🧒"), 38);
    ShowEmoji(*ui->imgBothAudio, QStringLiteral("🔁"), 38);
    ShowEmoji(*ui->imgReadGood, QStringLiteral("👍"), 34);
    ShowEmoji(*ui->imgReadBad, QStringLiteral("🔄"), 34);
}

void Lexivo::connectControls()
{
    connect(ui->cmdFirstWord, &QPushButton::clicked, this, &Lexivo::cmdFirstWord_Click);
    connect(ui->cmdLastWord, &QPushButton::clicked, this, &Lexivo::cmdLastWord_Click);
    connect(ui->cmdNextWord, &QPushButton::clicked, this, &Lexivo::cmdNextWord_Click);
    connect(ui->cmdPrevWord, &QPushButton::clicked, this, &Lexivo::cmdPrevWord_Click);
    connect(ui->cmdToWordList, &QPushButton::clicked, this, &Lexivo::cmdToWordList_Click);
    connect(ui->picNextWord, &ClickLabel::clicked, this, &Lexivo::picNextWord_Click);
    connect(ui->picPrevWord, &ClickLabel::clicked, this, &Lexivo::picPrevWord_Click);
    connect(ui->txtEnglish, &ClickLabel::clicked, this, &Lexivo::txtEnglish_Click);
    connect(ui->lblMistakeNote, &ClickLabel::clicked, this, [this] { m_host.ShowMistakeReview(); });
    connect(m_thumbs, &ThumbStrip::clicked, this, &Lexivo::ArrImages_Click);
    connect(ui->chkAutoplay, &QCheckBox::clicked, this, &Lexivo::chkAutoplay_Click);
    connect(ui->chkEnglish, &QCheckBox::toggled, ui->txtEnglish, &QWidget::setVisible);
    connect(ui->chkChinese, &QCheckBox::toggled, this, &Lexivo::chkChinese_Toggled);
    connect(ui->chkRead, &QCheckBox::toggled, this, &Lexivo::showPanel);
    connect(m_timerAutoplay, &ClockTimer::timeout, this, &Lexivo::TimerAutoplay_Timer);
    ui->Picture1->setCursor(Qt::PointingHandCursor);
}

bool Lexivo::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        // Space ticks the focused box, as it does everywhere else.
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space && qobject_cast<QCheckBox*>(watched))
            break;
        // Taken here, before the focused control: a key never both works a button and steps.
        if (readerKey(*static_cast<QKeyEvent*>(event), event->type() == QEvent::KeyPress))
            return true;
        break;
    case QEvent::MouseButtonPress:
        StopSpelling();
        break;
    case QEvent::MouseButtonRelease:
        if (watched == ui->Picture1 && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            Picture1_Click();
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------- public operations

void Lexivo::InitUserControl()
{
    bReaderShown = false;
    m_ctx.transition.setDelay(1);
}

int Lexivo::wordNum() const
{
    // A load that found nothing leaves the old records behind with a count of 0: the count rules.
    return std::clamp<int>(m_ctx.store.words().count(), 0,
                           static_cast<int>(m_ctx.store.words().records().size()));
}

QString Lexivo::currentEnglish() const
{
    return wordNum() > 0 ? m_ctx.store.words().currentEnglish() : QString();
}

QString Lexivo::currentChinese() const
{
    return wordNum() > 0 ? m_ctx.store.words().currentChinese() : QString();
}

void Lexivo::ChangeWord(std::int16_t Index)
{
    StopAutoplay();
    m_ctx.store.words().setCurrent(Index >= 0 && Index < wordNum() ? Index : 0);
    UpdateNavButtons(m_ctx.store.words().current());
    LoadWordPic();
}

void Lexivo::ReadAhead()
{
    const int count = wordNum();
    const int current = m_ctx.store.words().current();
    if (current < 0 || current >= count)
        return;
    m_thumbs->readAhead(ThumbPageFor(current, count), m_ctx.store.words().records(), m_ctx.media);
    readPictureAhead(current);
}

void Lexivo::readPictureAhead(int index)
{
    const QStringList word{m_ctx.store.words().records()[static_cast<size_t>(index)].English};
    if (!m_pictureAhead || m_pictureAhead->words() != word)
        m_pictureAhead = std::make_unique<PicturesAhead>(m_ctx.media.folders(), word, QSize());
}

void Lexivo::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_aheadTimer.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    m_aheadTimer.stop();
    // The list may have changed meanwhile.
    if (m_aheadWord >= 0 && m_aheadWord < wordNum())
        readPictureAhead(m_aheadWord);
}

void Lexivo::StopAutoplay()
{
    m_timerAutoplay->setEnabled(false);
    ui->chkAutoplay->setChecked(false);
}

void Lexivo::StopActivity()
{
    StopAutoplay();
    StopSpelling();
}

void Lexivo::LoadWordPic()
{
    StopSpelling();
    const int count = wordNum();
    if (count == 0) {
        showEmptyList();
        return;
    }
    WordStore& store = m_ctx.store;
    if (store.words().current() < 0 || store.words().current() >= count)
        store.words().setCurrent(0);
    store.words().SetCurrWordText();
    ui->lblWordNum->setText(WordNumberText(store.words().current(), count));
    LoadWord();
    LoadArrPics();
    LoadPic();
    m_pictureWhole = false;
    // In list order the next word is known: its picture is decoded while this one is heard.
    if (!ui->chkRnd->isChecked()) {
        m_aheadWord = (store.words().current() + 1) % count;
        m_aheadTimer.start(kReadAheadDelayMs, this);
    }
    // Checked again: clicks let through during the slide may have changed the list.
    const CWordType* word = store.words().word(store.words().current());
    if (word && ui->chkAutoRead->isChecked())
        m_ctx.sound.PlayWordSound(word->English);
}

void Lexivo::showEmptyList()
{
    ui->lblWordNum->setText(WordNumberText(0, 0));
    ui->txtEnglish->clear();
    ui->LabelChinese->clear();
    ui->lblCh->hide();
    ui->Picture1->clearImage();
    ui->Picture2->clearImage();
    ui->Picture3->clearImage();
    m_page = {};
    m_thumbs->clear();
    UpdateNavButtons(-1);
    refreshMyAudio();
}

std::pair<int, int> Lexivo::FitWordFonts() const
{
    const int width = PageScale::geometry(*ui->Picture1).width();
    auto fit = [width](const QFont& base, const QString& text, int start) {
        return FitFontSize(
            start, width,
            [&](int pt) {
                QFont font(base);
                font.setPointSize(pt);
                return QFontMetrics(font).horizontalAdvance(text);
            },
            kMinFontPt);
    };
    return {fit(PageScale::font(*ui->txtEnglish), currentEnglish(), kEnglishStartPt),
            fit(PageScale::font(*ui->LabelChinese), currentChinese(), kChineseStartPt)};
}

void Lexivo::placeWordLabel(QLabel* label, int pointSize, const QString& text)
{
    QFont font = PageScale::font(*label);
    font.setPointSize(pointSize);
    PageScale::setFont(*label, font);
    label->setText(text);
    // The label is as wide as its text, from the picture's left edge, never wider than the picture.
    const QRect picture = PageScale::geometry(*ui->Picture1);
    const QRect place = PageScale::geometry(*label);
    const int width = std::min(QFontMetrics(font).horizontalAdvance(text) + 4, picture.width());
    PageScale::setGeometry(*label, QRect(picture.x(), place.y(), std::max(width, 1), place.height()));
}

void Lexivo::LoadWord()
{
    ui->txtEnglish->hide();
    ui->LabelChinese->hide();
    const auto [english, chinese] = FitWordFonts();
    placeWordLabel(ui->txtEnglish, english, currentEnglish());
    placeWordLabel(ui->LabelChinese, chinese, currentChinese());
    ui->txtEnglish->setVisible(ui->chkEnglish->isChecked());
    ui->LabelChinese->setVisible(ui->chkChinese->isChecked());
    refreshMyAudio();
}

void Lexivo::LoadPic()
{
    const QString word = currentEnglish();
    std::optional<QImage> picture;
    if (m_pictureAhead && m_pictureAhead->words() == QStringList{word})
        picture = std::exchange(m_pictureAhead, nullptr)->take(word);
    if (!picture)
        picture = m_ctx.media.TakeWordPic(word);
    m_hasPicture = picture.has_value();
    if (!picture) {
        showMissingPicture();
        return;
    }
    // The new picture waits in Picture2 and slides over the old one in Picture1.
    ui->Picture2->setImage(*picture);
    ui->Picture3->copyImageFrom(*ui->Picture2);
    ui->lblCh->hide();
    ShowPicEffect();
}

void Lexivo::showMissingPicture()
{
    const bool meaning = ui->chkChinese->isChecked();
    const QImage fallback = meaning ? QImage() : QImage(m_ctx.media.folders().fallbackPicture());
    for (PictureBox* box : {ui->Picture1, ui->Picture2, ui->Picture3}) {
        if (fallback.isNull())
            box->clearImage();
        else
            box->setImage(fallback);
    }
    ui->lblCh->setText(currentChinese());
    ui->lblCh->setVisible(meaning);
    ui->lblCh->raise();
}

void Lexivo::chkChinese_Toggled(bool shown)
{
    ui->LabelChinese->setVisible(shown);
    m_thumbs->setMeaningsShown(shown);
    if (wordNum() == 0)
        return;
    LoadArrPics();
    if (!m_hasPicture)
        showMissingPicture();
}

void Lexivo::ShowPicEffect()
{
    Transition& trans = m_ctx.transition;
    if (m_effectRunning) {
        // A new word arrived while our slide ran: stop it and show the new picture whole.
        trans.stop();
        m_effectRunning = false;
        ui->Picture1->copyImageFrom(*ui->Picture2);
        return;
    }
    if (m_pictureWhole) {
        ui->Picture1->copyImageFrom(*ui->Picture2);
        // On screen before the voice starts: the scaled page draws it in a round or two of events.
        m_ctx.clock.sleep(1);
        return;
    }
    if (!trans.IsTransIdle()) {
        ui->Picture1->copyImageFrom(*ui->Picture2);
        return;
    }
    m_effectRunning = true;
    trans.setDelay(1);
    m_ctx.random.Randomize();
    const int direction = m_ctx.random.below(2) + 1;
    trans.TransInterleave(*ui->Picture1, *ui->Picture2, direction, kTransStep, kTransStripe, true);
    // Stopped early (the view changed, or a newer word) the slide leaves a part drawn: finish it
    // with whatever picture is current now.
    ui->Picture1->copyImageFrom(*ui->Picture2);
    ui->Picture1->update();
    m_effectRunning = false;
    if (!bReaderShown) {
        ui->Picture2->update();
        ui->Picture3->update();
    }
}

void Lexivo::LoadArrPics()
{
    m_page = ThumbPageFor(m_ctx.store.words().current(), wordNum());
    m_thumbs->show(m_page, m_ctx.store.words().records(), m_ctx.media);
}

void Lexivo::UpdateNavButtons(int index)
{
    const NavEnable enable = NavButtonsFor(index, wordNum());
    ui->cmdFirstWord->setEnabled(enable.first);
    ui->cmdPrevWord->setEnabled(enable.prev);
    ui->cmdNextWord->setEnabled(enable.next);
    ui->cmdLastWord->setEnabled(enable.last);
}

// ---------------------------------------------------------------- stepping

void Lexivo::stepTo(std::optional<int> word)
{
    if (!word)
        return;
    m_ctx.store.words().setCurrent(static_cast<std::int16_t>(*word));
    UpdateNavButtons(*word);
    LoadWordPic();
}

void Lexivo::GotoNextWord()
{
    stepTo(NextWordIndex(m_ctx.store.words().current(), wordNum(), ui->chkRnd->isChecked(), m_ctx.random));
}

void Lexivo::GotoPrevWord()
{
    stepTo(PrevWordIndex(m_ctx.store.words().current(), wordNum(), ui->chkRnd->isChecked(), m_ctx.random));
}

void Lexivo::cmdFirstWord_Click()
{
    StopAutoplay();
    if (wordNum() == 0)
        return;
    ChangeWord(0);
}

void Lexivo::cmdLastWord_Click()
{
    StopAutoplay();
    if (wordNum() == 0)
        return;
    ChangeWord(static_cast<std::int16_t>(wordNum() - 1));
}

void Lexivo::cmdNextWord_Click()
{
    StopAutoplay();
    GotoNextWord();
}

void Lexivo::cmdPrevWord_Click()
{
    StopAutoplay();
    GotoPrevWord();
}

void Lexivo::cmdToWordList_Click()
{
    StopAutoplay();
    m_host.ShowUserControl(ViewId::PictureList);
}

void Lexivo::ArrImages_Click(int Index)
{
    const int word = m_page.start + Index;
    if (Index < 0 || Index >= m_page.count || word == m_ctx.store.words().current())
        return;
    ChangeWord(static_cast<std::int16_t>(word));
}

bool Lexivo::pageTo(std::optional<int> word)
{
    if (!word) {
        m_ctx.prompter.message(QStringLiteral("没有了！"), QStringLiteral("选择单词"), Prompter::Buttons::Ok,
                               Prompter::Icon::Information);
        return false;
    }
    m_ctx.store.words().setCurrent(static_cast<std::int16_t>(*word));
    return true;
}

void Lexivo::picNextWord_Click()
{
    if (pageTo(NextPageWord(m_page, wordNum())))
        LoadWordPic();
}

void Lexivo::picPrevWord_Click()
{
    if (!pageTo(PrevPageWord(m_page)))
        return;
    LoadArrPics();
    LoadWordPic();
}

void Lexivo::chkAutoplay_Click()
{
    const bool on = ui->chkAutoplay->isChecked();
    if (on)
        GotoNextWord();
    // Counted from the end of the first step, as each later interval is.
    m_timerAutoplay->setEnabled(on);
}

void Lexivo::TimerAutoplay_Timer()
{
    // Another view is shown: the reader stays silent behind it.
    if (testAttribute(Qt::WA_WState_ExplicitShowHide) && isHidden()) {
        StopAutoplay();
        return;
    }
    GotoNextWord();
}

void Lexivo::Picture1_Click()
{
    const CWordType* word = m_ctx.store.words().word(m_ctx.store.words().current());
    if (bPlayingWord || !word)
        return;
    bPlayingWord = true;
    m_ctx.sound.PlayWordSound(word->English);
    bPlayingWord = false;
}

void Lexivo::txtEnglish_Click()
{
    // A click on the word while it is being spelt only stops that spelling.
    if (m_spelling)
        return;
    const QString word = currentEnglish();
    m_spelling = true;
    m_spellingStopped = false;
    ui->txtEnglish->clear();
    for (int i = 1; i <= word.size() && !m_spellingStopped; ++i) {
        ui->txtEnglish->setText(word.left(i));
        ui->txtEnglish->repaint();
        m_ctx.sound.PlayWaveFile(word.mid(i - 1, 1));
        // Clicks and keys held back while the letter sounded run now and may stop the rest.
        m_ctx.inputClock.processEvents();
    }
    m_spelling = false;
    if (m_spellingStopped)
        ui->txtEnglish->setText(currentEnglish());
}

bool Lexivo::readerKey(const QKeyEvent& key, bool act)
{
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (key.key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        if (act)
            cmdPrevWord_Click();
        return true;
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (act)
            cmdNextWord_Click();
        return true;
    default:
        return false;
    }
}

void Lexivo::keyPressEvent(QKeyEvent* event)
{
    if (!readerKey(*event, true)) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void Lexivo::keyReleaseEvent(QKeyEvent* event)
{
    if (!readerKey(*event, false)) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    event->accept();
}

void Lexivo::mousePressEvent(QMouseEvent* event)
{
    StopSpelling();
    QWidget::mousePressEvent(event);
}

void Lexivo::hideEvent(QHideEvent* event)
{
    // Hidden by the program, not by the desktop minimising the window.
    if (!event->spontaneous())
        StopActivity();
    QWidget::hideEvent(event);
}

void Lexivo::RefreshMistakeNote()
{
    const int due = m_ctx.store.NotebookDueCount(m_ctx.clock.today());
    const QString note = MistakeNoteText(due);
    ui->lblMistakeNote->setText(note);
    ui->lblMistakeNote->setAccessibleName(note.isEmpty() ? QStringLiteral("错词本") : note);
    ui->lblMistakeNote->setVisible(!note.isEmpty());
}

} // namespace lexora
