// The reader's recording panel: record, compare and throw away the learner's own reading.
#include "media/SoundPlayer.h"
#include "ui_Lexivo.h"
#include "views/ClockTimer.h"
#include "views/Lexivo.h"

namespace lexora {

namespace {

const QString kStartCaption = QStringLiteral("开始录音");
const QString kStopCaption = QStringLiteral("停止");
const QString kHasReading = QStringLiteral("我的朗读");
const QString kNoReading = QStringLiteral("尚未录音");

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
        m_timerRecord->setEnabled(true);
        return;
    }
    m_reading.stop(currentEnglish());
    refreshMyAudio();
    ui->lblRecord->setText(kStartCaption);
    m_timerRecord->setEnabled(false);
    lblMyAudio_Click();
}

void Lexivo::TimerRecord_Timer()
{
    m_reading.timeOut(currentEnglish());
    ui->lblRecord->setText(kStartCaption);
    m_timerRecord->setEnabled(false);
    refreshMyAudio();
}

void Lexivo::StopMyRecord()
{
    if (!m_reading.recording())
        return;
    m_reading.stop(currentEnglish());
    ui->lblRecord->setText(kStartCaption);
    refreshMyAudio();
    m_timerRecord->setEnabled(false);
}

void Lexivo::lblStandardAudio_Click()
{
    StopAutoplay();
    StopMyRecord();
    Picture1_Click();
}

void Lexivo::playMine()
{
    if (wordNum() > 0)
        m_ctx.sound.PlayMyVoice(currentEnglish());
}

void Lexivo::lblMyAudio_Click()
{
    StopAutoplay();
    StopMyRecord();
    playMine();
}

void Lexivo::lblBothAudio_Click()
{
    StopAutoplay();
    StopMyRecord();
    Picture1_Click();
    playMine();
}

void Lexivo::imgReadBad_Click()
{
    if (m_reading.throwAway(currentEnglish()))
        setMyAudio(false);
}

} // namespace lexora
