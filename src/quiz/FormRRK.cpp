#include "quiz/FormRRK.h"

#include "media/MediaFiles.h"
#include "media/PageScale.h"
#include "media/PictureBox.h"
#include "media/SoundPlayer.h"
#include "quiz/ChoiceKeys.h"
#include "store/Prompter.h"
#include "store/WordStore.h"
#include "ui/Art.h"
#include "ui_FormRRK.h"

namespace lexora {

FormRRK::FormRRK(const ViewContext& context, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::FormRRK>()), m_ctx(context)
{
    ui->setupUi(this);
    setFixedSize(size());
    arrChoice.fill(-1);
    m_optAns = {ui->optAns_0, ui->optAns_1, ui->optAns_2, ui->optAns_3};
    m_imgWord = {ui->imgWord_0, ui->imgWord_1, ui->imgWord_2, ui->imgWord_3};
    ShowEmoji(*ui->imgSound, QStringLiteral("🔊"), 36);
    for (int k = 0; k < kQuizChoices; ++k) {
        // Pressing a choice is enough to make the answer ready, before the button is released.
        connect(m_optAns[static_cast<size_t>(k)], &QRadioButton::pressed, ui->cmdOK,
                [this] { ui->cmdOK->setEnabled(true); });
        connect(m_optAns[static_cast<size_t>(k)], &QRadioButton::clicked, ui->cmdOK,
                [this] { ui->cmdOK->setEnabled(true); });
        connect(m_imgWord[static_cast<size_t>(k)], &ClickLabel::clicked, this,
                [this, k] { imgWord_Click(k); });
    }
    new ChoiceKeys(*this, m_optAns, *ui->cmdOK);
    connect(ui->imgSound, &ClickLabel::clicked, this, &FormRRK::imgSound_Click);
    connect(ui->cmdOK, &QPushButton::clicked, this, &FormRRK::cmdOK_Click);
}

FormRRK::~FormRRK() = default;

void FormRRK::SetTestWord(std::int16_t wordIndex)
{
    const WordStore& store = m_ctx.store;
    m_wordIndex = wordIndex;
    m_english.clear();
    m_chinese.clear();
    if (const CWordType* word = store.words().word(wordIndex)) {
        m_english = word->English;
        m_chinese = word->Chinese;
    }
    // The question names the dialog, for its title bar and for a screen reader.
    setWindowTitle(QStringLiteral("%1 是什么意思？").arg(m_english));
    setAccessibleName(windowTitle());
    arrChoice = DrawQuizChoices(wordIndex, store.words().count(), m_ctx.random);
    for (int k = 0; k < kQuizChoices; ++k)
        showChoice(k);
    ui->lblAns->hide();
    if (!m_english.isEmpty())
        m_ctx.sound.PlayWordSound(m_english);
}

void FormRRK::showChoice(int k)
{
    QRadioButton* option = m_optAns[static_cast<size_t>(k)];
    ClickLabel* picture = m_imgWord[static_cast<size_t>(k)];
    const CWordType* record = m_ctx.store.words().word(arrChoice[static_cast<size_t>(k)]);
    option->setVisible(record != nullptr);
    picture->setVisible(record != nullptr);
    picture->clear();
    if (!record) {
        option->setText(QString());
        return;
    }
    option->setText(record->Chinese);
    option->setAccessibleName(ChoiceKeys::ChoiceName(k, record->Chinese));
    // Named by the meaning beside it: the English would give the answer away.
    picture->setAccessibleName(QStringLiteral("图片：") + record->Chinese);
    if (const auto image = m_ctx.media.TakeWordPic(record->English))
        PageScale::showDrawn(*picture, [shown = *image](const QLabel& label) {
            return FitPixmap(shown, label.size() - QSize(2, 2));
        });
}

void FormRRK::imgWord_Click(int Index)
{
    if (Index < 0 || Index >= kQuizChoices || arrChoice[static_cast<size_t>(Index)] < 0)
        return;
    m_optAns[static_cast<size_t>(Index)]->setChecked(true);
    ui->cmdOK->setEnabled(true);
}

void FormRRK::imgSound_Click()
{
    if (!m_english.isEmpty())
        m_ctx.sound.PlayWordSound(m_english);
}

void FormRRK::cmdOK_Click()
{
    int selected = -1;
    for (int k = 0; k < kQuizChoices && selected < 0; ++k) {
        if (m_optAns[static_cast<size_t>(k)]->isChecked())
            selected = k;
    }
    if (selected >= 0 && m_wordIndex >= 0 && arrChoice[static_cast<size_t>(selected)] == m_wordIndex) {
        accept();
        return;
    }
    retAns = false;
    const QString answer = m_english + QLatin1Char(';') + m_chinese;
    ui->lblAns->setText(QStringLiteral("正确答案： ") + answer);
    ui->lblAns->show();
    m_ctx.prompter.message(answer, QStringLiteral("错啦，要努力喔！"), Prompter::Buttons::Ok,
                           Prompter::Icon::Critical);
}

} // namespace lexora
