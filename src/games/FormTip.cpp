#include "games/FormTip.h"

#include "media/MediaFiles.h"
#include "media/SoundPlayer.h"
#include "ui_FormTip.h"
#include "views/ClockTimer.h"

namespace lexora {

namespace {

constexpr int kOkDelayMs = 1000;

} // namespace

FormTip::FormTip(const ViewContext& context, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::FormTip>()), m_ctx(context),
      m_timer1(new ClockTimer(context.clock, kOkDelayMs, this))
{
    ui->setupUi(this);
    setFixedSize(size());
    connect(m_timer1, &ClockTimer::timeout, this, &FormTip::Timer1_Timer);
    connect(ui->imgWord, &ClickLabel::clicked, this, &FormTip::imgWord_Click);
    connect(ui->cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    m_timer1->setEnabled(true);
    LoadWordPic();
}

FormTip::~FormTip() = default;

void FormTip::SetGameWord(const QString& vGameword, const QString& vChinese)
{
    m_english = TrimBlanks(vGameword);
    m_chinese = vChinese;
    ui->lblChinese->setText(m_chinese);
    ui->lblEnglish->setText(m_english);
    LoadWordPic();
}

void FormTip::LoadWordPic()
{
    const auto image = m_english.isEmpty() ? std::nullopt : m_ctx.media.TakeWordPic(m_english);
    if (image) {
        ui->imgWord->setPixmap(QPixmap::fromImage(
            image->scaled(ui->imgWord->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        ui->imgWord->show();
    } else {
        ui->imgWord->clear();
        ui->imgWord->hide();
    }
    ui->lblChinese->setText(m_chinese);
}

void FormTip::showEvent(QShowEvent* event)
{
    // Each showing starts its own second.
    ui->cmdOK->setEnabled(false);
    m_timer1->setEnabled(false);
    m_timer1->setEnabled(true);
    QDialog::showEvent(event);
}

void FormTip::done(int result)
{
    // The close box and Esc reach here as a rejection; both wait like OK.
    if (!ui->cmdOK->isEnabled())
        return;
    QDialog::done(result);
}

void FormTip::Timer1_Timer()
{
    ui->cmdOK->setEnabled(true);
    m_timer1->setEnabled(false);
}

void FormTip::imgWord_Click()
{
    m_ctx.sound.PlayWordSound(m_english);
}

} // namespace lexora
