// The reader's recording panel: record, compare and throw away the learner's own reading.
#include "media/SoundPlayer.h"
#include "store/Prompter.h"
#include "store/WordStore.h"
#include "ui/ClockTimer.h"
#include "ui_Lexivo.h"
#include "views/Lexivo.h"
#include "views/ReadingCheck.h"

namespace lexora {

namespace {

const QString kStartCaption = QStringLiteral("开始录音");
const QString kStopCaption = QStringLiteral("停止");
const QString kHasReading = QStringLiteral("我的朗读");
const QString kNoReading = QStringLiteral("尚未录音");
const QString kHeading = QStringLiteral("朗读效果评价：");
const QString kListening = QStringLiteral("正在听……");
const QString kNoVoice = QStringLiteral("没有听到声音，再读一遍吧！");
const QString kNotKept = QStringLiteral("刚才的朗读没有保存下来。");
const QString kPanelTitle = QStringLiteral("跟读录音");

// How a mark looks when the verdict is its own: a coloured frame round its picture and its label.
void Highlight(QLabel* image, QLabel* label, bool on, const char* colour)
{
    const QString frame =
        on ? QStringLiteral("border: 2px solid %1; border-radius: 4px;").arg(QLatin1String(colour))
           : QString();
    image->setStyleSheet(frame);
    label->setStyleSheet(on ? frame + QStringLiteral(" color: %1;").arg(QLatin1String(colour)) : QString());
}

} // namespace

void Lexivo::connectPanel()
{
    const auto onClick = [this](ClickLabel* a, ClickLabel* b, void (Lexivo::*handler)()) {
        connect(a, &ClickLabel::clicked, this, handler);
        if (b)
            connect(b, &ClickLabel::clicked, this, handler);
    };
    onClick(ui->lblRecord, ui->imgRecord, &Lexivo::lblRecord_Click);
    onClick(ui->lblStandardAudio, ui->imgStandardAudio, &Lexivo::lblStandardAudio_Click);
    onClick(ui->lblMyAudio, ui->imgMyAudio, &Lexivo::lblMyAudio_Click);
    onClick(ui->lblBothAudio, ui->imgBothAudio, &Lexivo::lblBothAudio_Click);
    onClick(ui->imgReadBad, nullptr, &Lexivo::imgReadBad_Click);
    connect(m_timerRecord, &ClockTimer::timeout, this, &Lexivo::TimerRecord_Timer);
    m_check = new ReadingCheck(m_ctx.readingChecker, this);
    connect(m_check, &ReadingCheck::judged, this, &Lexivo::onJudged);
}

void Lexivo::showVerdict(ReadingVerdict verdict, const QList<qsizetype>& weakLetters)
{
    m_verdict = verdict;
    // On "again" the letters whose sounds were not heard stand out in the word, for the learner to try.
    const QString word = currentEnglish();
    QString marked;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const QString letter = QString(word[i]).toHtmlEscaped();
        marked += verdict == ReadingVerdict::Again && weakLetters.contains(i)
                      ? QStringLiteral("<span style=\"color:#d9480f; text-decoration:underline\">%1</span>")
                            .arg(letter)
                      : letter;
    }
    ui->txtEnglish->setTextFormat(marked == word ? Qt::PlainText : Qt::RichText);
    ui->txtEnglish->setText(marked == word ? word : marked);
    Highlight(ui->imgReadGood, ui->Label4, verdict == ReadingVerdict::Good, "#2e8b3a");
    Highlight(ui->imgReadBad, ui->Label5, verdict == ReadingVerdict::Again, "#d9480f");
    ui->Label1->setText(verdict == ReadingVerdict::Silent ? kHeading + kNoVoice : kHeading);
}

// Checks the reading that has just been saved; a recording that saved nothing held no voice.
void Lexivo::beginCheck()
{
    if (!m_check->enabled())
        return;
    if (!m_reading.lastSaved()) {
        showVerdict(ReadingVerdict::Silent);
        return;
    }
    const QString word = currentEnglish();
    const auto file = m_reading.readingFile(word);
    if (!file)
        return;
    QStringList words;
    for (int i = 0; i < wordNum(); ++i)
        words << m_ctx.store.words().records()[static_cast<std::size_t>(i)].English;
    ui->Label1->setText(kHeading + kListening);
    m_check->start(*file, word, words);
}

void Lexivo::onJudged(const QString& word, const ReadingResult& result)
{
    // The learner has moved on to another word: this verdict is not about what they see.
    if (word != currentEnglish()) {
        ui->Label1->setText(kHeading);
        return;
    }
    if (m_playingBack) {
        m_heldVerdict = {word, result};
        return;
    }
    showVerdict(result.verdict, result.weakLetters);
    if (result.verdict == ReadingVerdict::Good)
        m_ctx.sound.PlayAppSound(1);
    else if (result.verdict == ReadingVerdict::Again)
        m_ctx.sound.PlayAppSound(2);
}

void Lexivo::setMyAudio(bool hasReading)
{
    ui->lblMyAudio->setText(hasReading ? kHasReading : kNoReading);
    QPalette palette = ui->lblMyAudio->palette();
    palette.setColor(QPalette::WindowText, hasReading ? QColor(0, 0, 0) : QColor(255, 0, 0));
    ui->lblMyAudio->setPalette(palette);
}

void Lexivo::refreshMyAudio()
{
    setMyAudio(m_reading.hasReading(currentEnglish()));
    // A new word, or a reading just ended: an earlier verdict no longer applies.
    showVerdict(ReadingVerdict::Unavailable);
}

// A reading that could not be kept is said at once, with why; the panel already shows no reading.
bool Lexivo::reportLostReading()
{
    const QString why = m_reading.lastFailure();
    if (why.isEmpty())
        return false;
    m_check->cancel();
    ui->Label1->setText(kHeading + kNotKept);
    m_ctx.prompter.message(QStringLiteral("刚才的朗读没有保存下来：\n%1。\n\n"
                                          "请腾出磁盘空间，或者让录音文件夹可以写入，然后再录一次。")
                               .arg(why),
                           kPanelTitle, Prompter::Buttons::Ok, Prompter::Icon::Warning);
    return true;
}

void Lexivo::lblRecord_Click()
{
    StopAutoplay();
    if (!m_reading.recording()) {
        // Without a microphone the panel stays idle: the one message said why.
        if (!m_reading.start())
            return;
        ui->lblRecord->setText(kStopCaption);
        setMyAudio(true);
        m_check->cancel();
        showVerdict(ReadingVerdict::Unavailable);
        m_check->warmUp();
        m_timerRecord->setEnabled(true);
        return;
    }
    m_reading.stop(currentEnglish());
    refreshMyAudio();
    ui->lblRecord->setText(kStartCaption);
    m_timerRecord->setEnabled(false);
    if (reportLostReading())
        return; // nothing new to play back or judge
    beginCheck();
    // The check runs while the learner hears their reading; its verdict follows the playback.
    m_playingBack = true;
    lblMyAudio_Click();
    m_playingBack = false;
    if (const auto held = std::exchange(m_heldVerdict, std::nullopt))
        onJudged(held->first, held->second);
}

void Lexivo::TimerRecord_Timer()
{
    m_reading.timeOut(currentEnglish());
    ui->lblRecord->setText(kStartCaption);
    m_timerRecord->setEnabled(false);
    refreshMyAudio();
    if (!reportLostReading())
        beginCheck();
}

bool Lexivo::StopMyRecord()
{
    if (!m_reading.recording())
        return false;
    m_reading.stop(currentEnglish());
    ui->lblRecord->setText(kStartCaption);
    refreshMyAudio();
    m_timerRecord->setEnabled(false);
    return reportLostReading();
}

void Lexivo::lblStandardAudio_Click()
{
    StopAutoplay();
    StopMyRecord();
    Picture1_Click();
}

void Lexivo::playMine()
{
    if (wordNum() <= 0)
        return;
    // What is left under the word's name is older than the reading that was lost.
    if (m_reading.lostReading(currentEnglish())) {
        m_ctx.prompter.message(QStringLiteral("请先录音！"), kPanelTitle, Prompter::Buttons::Ok,
                               Prompter::Icon::Critical);
        return;
    }
    m_ctx.sound.PlayMyVoice(currentEnglish());
}

void Lexivo::lblMyAudio_Click()
{
    StopAutoplay();
    if (!StopMyRecord())
        playMine();
}

void Lexivo::lblBothAudio_Click()
{
    StopAutoplay();
    const bool lost = StopMyRecord();
    Picture1_Click();
    if (!lost)
        playMine();
}

void Lexivo::imgReadBad_Click()
{
    if (m_reading.throwAway(currentEnglish()))
        setMyAudio(false);
}

} // namespace lexora
