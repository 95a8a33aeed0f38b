#include "quiz/WordRRK.h"

#include "media/MediaFiles.h"
#include "media/PageScale.h"
#include "media/PictureBox.h"
#include "media/SoundPlayer.h"
#include "quiz/ChoiceKeys.h"
#include "store/Clock.h"
#include "store/Prompter.h"
#include "store/WordStore.h"
#include "ui/Art.h"
#include "ui/ViewHost.h"
#include "ui_WordRRK.h"

#include <QRadioButton>
#include <algorithm>

namespace lexora {

namespace {

const QString kTitle = QStringLiteral("单词认知测试");
// The progress label says what its count is to a screen reader.
const QString kProgressName = QStringLiteral("测试进度 ");

// English in a clean Latin face, Chinese in the CJK face, whichever a text holds.
void UseMixedFamilies(QWidget* widget)
{
    QFont font = PageScale::font(*widget);
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")});
    PageScale::setFont(*widget, font);
}

} // namespace

WordRRK::WordRRK(const ViewContext& context, ViewHost& host, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::WordRRK>()), m_ctx(context), m_host(host)
{
    ui->setupUi(this);
    m_optAns = {ui->optAns_0, ui->optAns_1, ui->optAns_2, ui->optAns_3};
    ShowEmoji(*ui->imgSound, QStringLiteral("🔊"), 48);
    UseMixedFamilies(ui->lblTestWord);
    UseMixedFamilies(ui->lblAns);
    for (int k = 0; k < kQuizChoices; ++k) {
        QRadioButton* choice = m_optAns[static_cast<size_t>(k)];
        UseMixedFamilies(choice);
        connect(choice, &QRadioButton::clicked, this, [this, k] { optAns_Click(k); });
    }
    new ChoiceKeys(*this, m_optAns, *ui->cmdOK);
    connect(ui->cmdOK, &QPushButton::clicked, this, &WordRRK::cmdOK_Click);
    connect(ui->cmdEndTest, &QPushButton::clicked, this, &WordRRK::cmdEndTest_Click);
    connect(ui->cmdExit, &ClickLabel::clicked, this, &WordRRK::cmdEndTest_Click);
    connect(ui->imgSound, &ClickLabel::clicked, this, &WordRRK::imgSound_Click);
}

WordRRK::~WordRRK() = default;

int WordRRK::wordNum() const
{
    return m_ctx.store.words().count();
}

bool WordRRK::stale() const
{
    return m_ctx.store.words().stamp() != m_listStamp;
}

CWordType* WordRRK::askedWord()
{
    return stale() ? nullptr : m_ctx.store.words().word(m_testWord);
}

bool WordRRK::MayStart()
{
    if (wordNum() >= kMinTestWords)
        return true;
    m_ctx.prompter.message(QStringLiteral("单词太少了，至少要有两个单词才能测试！"), kTitle,
                           Prompter::Buttons::Ok, Prompter::Icon::Information);
    return false;
}

void WordRRK::SetMode(TestMode mode)
{
    m_mode = mode;
    const auto controls = ControlsForMode(mode);
    if (!controls)
        return;
    ui->imgSound->setVisible(controls->soundVisible);
    ui->lblTestWord->setVisible(controls->questionVisible);
}

void WordRRK::clearSelection()
{
    // Exclusive radio buttons refuse to be unchecked one by one.
    for (QRadioButton* choice : m_optAns) {
        choice->setAutoExclusive(false);
        choice->setChecked(false);
        choice->setAutoExclusive(true);
    }
}

int WordRRK::selectedChoice() const
{
    for (int k = 0; k < kQuizChoices; ++k) {
        if (m_optAns[static_cast<size_t>(k)]->isChecked())
            return k;
    }
    return -1;
}

void WordRRK::SetTestWord()
{
    clearSelection();
    ui->lblAns->hide();
    m_listStamp = m_ctx.store.words().stamp();
    // An empty list has no word to ask, and no run to call perfect either.
    if (wordNum() == 0) {
        m_testWord = -1;
        m_choices.fill(-1);
        ui->cmdOK->setEnabled(false);
        return;
    }
    m_testWord = m_ctx.store.RandUntestedWord();
    if (m_testWord < 0) {
        endOfRun();
        return;
    }
    const CWordType* asked = askedWord();
    if (!asked) {
        m_testWord = -1;
        ui->cmdOK->setEnabled(false);
        return;
    }
    m_choices = DrawQuizChoices(m_testWord, wordNum(), m_ctx.random);
    showQuestion(*asked);
    ui->cmdOK->setEnabled(false);
    showPicture(asked->English);
}

void WordRRK::showQuestion(const CWordType& asked)
{
    const bool chineseQuestion = m_mode == TestMode::ChooseEnglish;
    ui->lblTestWord->setText(chineseQuestion ? asked.Chinese : asked.English);
    for (int k = 0; k < kQuizChoices; ++k) {
        QRadioButton* choice = m_optAns[static_cast<size_t>(k)];
        const CWordType* shown = m_ctx.store.words().word(m_choices[static_cast<size_t>(k)]);
        choice->setVisible(shown != nullptr);
        if (!shown) {
            choice->setText(QString());
            continue;
        }
        choice->setText(chineseQuestion ? shown->English : shown->Chinese);
        choice->setAccessibleName(ChoiceKeys::ChoiceName(k, choice->text()));
    }
}

void WordRRK::showPicture(const QString& english)
{
    ui->imgWord->hide();
    // Loaded in memory, so the picture folder never keeps a plain picture behind.
    if (const auto image = m_ctx.media.TakeWordPic(english))
        PageScale::showDrawn(*ui->imgWord, [shown = *image](const QLabel& label) {
            return FitPixmap(shown, label.size(), Qt::IgnoreAspectRatio);
        });
    else
        ui->imgWord->clear();
}

void WordRRK::optAns_Click(int Index)
{
    if (Index >= 0 && Index < kQuizChoices)
        ui->cmdOK->setEnabled(true);
}

void WordRRK::cmdOK_Click()
{
    const int s = selectedChoice();
    // Only an answer to a question of the current list is judged, and saved.
    CWordType* question = askedWord();
    if (s < 0 || !question)
        return;
    WordStore& store = m_ctx.store;
    CWordType& asked = *question;
    const bool right = m_choices[static_cast<size_t>(s)] == m_testWord;
    std::int16_t done = store.words().testDone();
    const Verdict verdict = JudgeAnswer(asked, right, done);
    store.words().setTestDone(done);
    if (verdict == Verdict::Wrong) {
        m_ctx.sound.PlayWordSound(asked.English);
        const QString answer = AnswerText(asked);
        ui->lblAns->setText(answer);
        ui->lblAns->show();
        ui->imgWord->show();
        m_ctx.prompter.message(answer, QStringLiteral("错啦！"), Prompter::Buttons::Ok);
        return;
    }
    ui->cmdOK->setEnabled(false);
    if (m_mode == TestMode::ChooseEnglish)
        m_ctx.sound.PlayWordSound(asked.English);
    ui->lblTestedNum->setText(ProgressText(store.words().testDone(), wordNum()));
    ui->lblTestedNum->setAccessibleName(kProgressName + ui->lblTestedNum->text());
    SetTestWord();
    if (m_mode == TestMode::ChooseChinese || m_mode == TestMode::ListenChooseChinese)
        playQuestion();
}

void WordRRK::playQuestion()
{
    m_ctx.sound.PlayWordSound(TrimBlanks(ui->lblTestWord->text()));
}

void WordRRK::endOfRun()
{
    ui->Frame1->setEnabled(false);
    SaveTestResults(m_ctx.store, m_ctx.clock.today());
    const int errors = GetErrNum();
    m_ctx.store.LogTestRun(m_ctx.clock.today(), wordNum(), errors);
    if (errors > 0) {
        m_ctx.prompter.message(RunWithErrorsText(wordNum(), errors), kTitle, Prompter::Buttons::Ok);
        m_host.ShowTestResults();
        return;
    }
    if (!m_ctx.store.ReviewingNotebook())
        m_ctx.store.SetUnitStatus(UnitMark::TestDone);
    m_ctx.prompter.message(QStringLiteral("你好棒喔！全对了耶！！"), kTitle, Prompter::Buttons::Ok);
    if (EndTest())
        m_host.ShowUserControl(ViewId::Reader);
}

bool WordRRK::IsTestComplete() const
{
    return AllWordsTested(m_ctx.store.words().records(), wordNum());
}

std::int16_t WordRRK::GetErrNum() const
{
    return static_cast<std::int16_t>(CountErrors(m_ctx.store.words().records(), wordNum()));
}

bool WordRRK::EndTest()
{
    // Nothing of a run whose list was replaced is left to ask about or to save.
    if (stale())
        return true;
    if (!IsTestComplete()) {
        const auto answer = m_ctx.prompter.message(QStringLiteral("还没有完成测试，你确定要结束单元测试吗?"),
                                                   QStringLiteral("单词测试"), Prompter::Buttons::OkCancel);
        if (answer == Prompter::Answer::Cancel) {
            SaveTestResults(m_ctx.store, m_ctx.clock.today());
            return false;
        }
    }
    SaveTestResults(m_ctx.store, m_ctx.clock.today());
    return true;
}

void WordRRK::cmdEndTest_Click()
{
    if (EndTest())
        m_host.ShowUserControl(ViewId::Reader);
}

void WordRRK::UserControl_Show()
{
    ui->Frame1->setEnabled(true);
    playQuestion();
    ui->lblTestedNum->clear();
    ui->lblTestedNum->setAccessibleName(kProgressName);
}

void WordRRK::imgSound_Click()
{
    playQuestion();
}

} // namespace lexora
