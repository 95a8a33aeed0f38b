#include "app/FormMain.h"

#include "app/FormHelp.h"
#include "games/WordFFK.h"
#include "games/WordPPK2.h"
#include "media/MediaFiles.h"
#include "media/SoundPlayer.h"
#include "media/StartupTrace.h"
#include "media/Transition.h"
#include "quiz/FormHistory.h"
#include "quiz/FormLearnStatus.h"
#include "quiz/WordRRK.h"
#include "store/Prompter.h"
#include "store/WordStore.h"
#include "ui_FormMain.h"
#include "views/Art.h"
#include "views/FormBookUnit.h"
#include "views/Lexivo.h"
#include "views/WordList.h"
#include "views/WordPicList.h"

#include <QCloseEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <optional>

namespace lexora {

namespace {

struct PictureButton
{
    int index;
    const char* emoji;
    const char* name;
    QColor colour;
};

const PictureButton kButtons[] = {
    {3, "📝", "单元测试", QColor(0xf3, 0x9c, 0x12)},      {0, "📚", "选择词库", QColor(0x27, 0xae, 0x60)},
    {1, "📖", "Lexora", QColor(0x29, 0x80, 0xb9)},        {2, "🔤", "单词排排看", QColor(0x8e, 0x44, 0xad)},
    {6, "🧩", "单词连连看", QColor(0xe7, 0x4c, 0x3c)}, {5, "❓", "帮助", QColor(0x16, 0xa0, 0x85)},
};

} // namespace

FormMain::FormMain(const ViewContext& context, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::FormMain>()), m_ctx(context)
{
    ui->setupUi(this);
    m_reader = new Lexivo(m_ctx, m_host, ui->MainFrame);
    m_reader->setObjectName(QStringLiteral("Lexivo1"));
    m_reader->hide();
    hostListAndTestViews();
    runModal = [](QDialog& dialog) { return dialog.exec(); };
    hostGames();
    drawButtons();
    connectMenus();
    setFixedSize(sizeHint());
}

FormMain::~FormMain() = default;

void FormMain::hostListAndTestViews()
{
    // The views take the places (and names) of the form's placeholders.
    auto host = [this](QWidget*& placeholder, QWidget* view) {
        view->setObjectName(placeholder->objectName());
        view->setGeometry(placeholder->geometry());
        view->hide();
        delete placeholder;
        placeholder = view;
    };
    m_wordList = new WordList(m_ctx, m_host, ui->MainFrame);
    host(ui->WordList1, m_wordList);
    m_picList = new WordPicList(m_ctx, m_host, ui->MainFrame);
    host(ui->WordPicList1, m_picList);
    m_test = new WordRRK(m_ctx, m_host, ui->MainFrame);
    host(ui->WordRRK1, m_test);
    EndTest = [this] { return m_test->EndTest(); };
    connect(ui->mnuTEST_Result, &QAction::triggered, this, &FormMain::mnuTEST_Result_Click);
    connect(ui->mnuTEST_History, &QAction::triggered, this, &FormMain::mnuTEST_History_Click);
    connect(ui->mnuTEST_WordErrNum, &QAction::triggered, this, &FormMain::mnuTEST_WordErrNum_Click);
}

void FormMain::drawButtons()
{
    for (const PictureButton& b : kButtons) {
        auto* button = findChild<QToolButton*>(QStringLiteral("imgCommand_%1").arg(b.index));
        button->setIcon(QIcon(PictureButtonFace(QString::fromUtf8(b.emoji), QString::fromUtf8(b.name),
                                                b.colour, button->iconSize())));
        connect(button, &QToolButton::clicked, this, [this, index = b.index] { imgCommand_Click(index); });
    }
}

void FormMain::hostGames()
{
    // Each game fills its place in the container, so showing and hiding the place shows the game.
    auto fill = [](QWidget* place, QWidget* view) {
        auto* layout = new QVBoxLayout(place);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(view);
    };
    m_ppk = new WordPPK2(m_ctx, m_host);
    fill(ui->WordPPK21, m_ppk);
    m_ffk = new WordFFK(m_ctx);
    fill(ui->WordFFK1, m_ffk);
    // The game's quiz and tip dialogs run the way every dialog of the window runs.
    m_ppk->runModal = [this](QDialog& dialog) { return runModal(dialog); };
    EndGame = [this] { return m_ppk->EndGame(); };
}

void FormMain::connectMenus()
{
    connect(ui->mnuFILE_BookUnit, &QAction::triggered, this, &FormMain::mnuFILE_BookUnit_Click);
    connect(ui->mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(ui->mnuLEARN_Lexivo, &QAction::triggered, this, &FormMain::mnuLEARN_Lexivo_Click);
    connect(ui->mnuLEARN_WordList, &QAction::triggered, this, &FormMain::mnuLEARN_WordList_Click);
    connect(ui->mnuGAME_PPK, &QAction::triggered, this, &FormMain::mnuGAME_PPK_Click);
    connect(ui->mnuGAME_FFK, &QAction::triggered, this, &FormMain::mnuGAME_FFK_Click);
    connect(ui->mnuTEST_SelectChinese, &QAction::triggered, this, [this] { mnuTEST_Select_Click(1); });
    connect(ui->mnuTEST_SelectChineseByListen, &QAction::triggered, this,
            [this] { mnuTEST_Select_Click(2); });
    connect(ui->mnuTEST_SelectEnglish, &QAction::triggered, this, [this] { mnuTEST_Select_Click(0); });
    connect(ui->mnuHELP_HowToUse, &QAction::triggered, this, &FormMain::mnuHELP_HowToUse_Click);
    connect(ui->mnuHELP_OnLine, &QAction::triggered, this, &FormMain::mnuHELP_OnLine_Click);
    connect(ui->lblMyWeb, &ClickLabel::clicked, this, &FormMain::lblMyWeb_Click);
    connect(ui->lblMyWebName, &ClickLabel::clicked, this, &FormMain::lblMyWeb_Click);
}

// ---------------------------------------------------------------- start-up

bool FormMain::Form_Initialize()
{
    WordStore& store = m_ctx.store;
    m_starting = true;
    store.MakeConnectString();
    // The first screen's reads share one header toggle each way; none is held over the dialog.
    auto burst = std::make_optional<WordStore::Burst>(store);
    if (!store.LoadSettings()) {
        m_starting = false;
        return false;
    }
    store.LoadBookUnits(store.iCurrBook);
    if (!store.LoadUnitWords(store.iCurrBook, store.iCurrUnit)) {
        burst.reset();
        runModal(bookUnitDialog());
        burst.emplace(store);
    }
    RefreshCaption();
    ui->lblMyWeb->setText(QLatin1String(kMakerSiteName));
    InitControls();
    store.LoadBookUnits(store.iCurrBook);
    burst.reset();
    m_starting = false;
    // The first word (its slide and its voice) waits until the window is on screen.
    winId(); // the platform window exists from here on, so its first exposure can be watched
    windowHandle()->installEventFilter(this);
    return true;
}

bool FormMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Expose && watched == windowHandle() && !m_firstShown &&
        windowHandle()->isExposed()) {
        m_firstShown = true;
        qCDebug(lcStartup, "mapped");
        QTimer::singleShot(0, this, &FormMain::ShowFirstView);
    }
    return QMainWindow::eventFilter(watched, event);
}

void FormMain::ShowFirstView()
{
    m_firstShown = true;
    mnuLEARN_Lexivo_Click();
}

void FormMain::RefreshCaption()
{
    const WordStore& store = m_ctx.store;
    // A stored unit the book no longer has shows an empty unit name.
    const bool unitKnown = store.iCurrUnit >= 0 && store.iCurrUnit < store.iUnitNum &&
                           static_cast<size_t>(store.iCurrUnit) < store.arrBookUnit.size();
    const QString unitName =
        unitKnown ? store.arrBookUnit[static_cast<size_t>(store.iCurrUnit)].UnitName : QString();
    setWindowTitle(store.strVersionName + QStringLiteral("Lexora -- ") + store.GetBookName(store.iCurrBook) +
                   QStringLiteral("  ") + unitName);
}

void FormMain::InitControls()
{
    HideAllCtrls();
    for (int index : {1, 2, 3, 4, 6, 8})
        viewWidget(index)->setGeometry(0, 0, ui->MainFrame->width(), ui->MainFrame->height());
    m_reader->InitUserControl();
    m_reader->LoadWord();
}

// ---------------------------------------------------------------- views

QWidget* FormMain::viewWidget(int ctrlIndex) const
{
    switch (ctrlIndex) {
    case 1:
        return m_reader;
    case 2:
        return ui->WordList1;
    case 3:
        return ui->WordPPK21;
    case 4:
        return ui->WordRRK1;
    case 6:
        return ui->WordFFK1;
    case 8:
        return ui->WordPicList1;
    default:
        return nullptr;
    }
}

void FormMain::HideAllCtrls()
{
    for (int index : {1, 3, 2, 8, 4, 6})
        viewWidget(index)->setVisible(false);
}

void FormMain::StopReaderAutoplay()
{
    m_reader->StopAutoplay();
}

void FormMain::ShowUserControl(std::int16_t ctrlIndex, std::int16_t para)
{
    HideAllCtrls();
    iDisplayCtrl = ctrlIndex;
    WordStore& store = m_ctx.store;
    switch (ctrlIndex) {
    case 1:
        m_reader->setVisible(true);
        m_ctx.transition.bTransRunning = false;
        m_reader->bReaderShown = true;
        m_reader->setFocus();
        m_reader->ChangeWord(store.iCurrWord);
        break;
    case 3:
        store.ResetTestFlagsSkipPhrases();
        ui->WordPPK21->setVisible(true);
        m_ppk->InitGamePPK();
        break;
    case 4:
        store.ResetTestFlags();
        iTestMode = para;
        m_test->SetMode(para);
        m_test->SetTestWord();
        m_test->setVisible(true);
        m_test->UserControl_Show();
        break;
    case 6:
        store.ResetTestFlags();
        m_ffk->StartGameFFK();
        ui->WordFFK1->setVisible(true);
        break;
    case 2:
        m_wordList->setVisible(true);
        break;
    case 8:
        m_picList->setVisible(true);
        m_picList->InitWordPicList();
        break;
    default:
        // 5, 7 and anything outside 1 to 8 leave every view hidden.
        break;
    }
}

bool FormMain::EndOtherCtrl()
{
    if (iDisplayCtrl == 3 && EndGame)
        return EndGame();
    if (iDisplayCtrl == 4 && EndTest)
        return EndTest();
    return true;
}

bool FormMain::hostsView(int ctrlIndex) const
{
    return ctrlIndex == 1 || ctrlIndex == 2 || ctrlIndex == 3 || ctrlIndex == 4 || ctrlIndex == 6 ||
           ctrlIndex == 8;
}

void FormMain::showActivity(int ctrlIndex, std::int16_t para)
{
    if (!EndOtherCtrl() || !hostsView(ctrlIndex))
        return;
    ShowUserControl(static_cast<std::int16_t>(ctrlIndex), para);
}

void FormMain::Host::ShowUserControl(std::int16_t ctrlIndex, std::int16_t para)
{
    if (m_window.hostsView(ctrlIndex))
        m_window.ShowUserControl(ctrlIndex, para);
}

void FormMain::ShowReader()
{
    // During start-up the reader is shown by the last step, once the window is on screen.
    if (m_starting)
        return;
    mnuLEARN_Lexivo_Click();
}

void FormMain::ShowGameHelp()
{
    helpDialog().Load_PPKHelp();
    runModal(helpDialog());
}

// ---------------------------------------------------------------- commands

void FormMain::mnuFILE_BookUnit_Click()
{
    if (!EndOtherCtrl())
        return;
    runModal(bookUnitDialog());
    RefreshCaption();
}

void FormMain::mnuLEARN_Lexivo_Click()
{
    showActivity(1);
}

void FormMain::mnuLEARN_WordList_Click()
{
    if (!EndOtherCtrl())
        return;
    StopReaderAutoplay();
    if (hostsView(8))
        ShowUserControl(8);
}

void FormMain::mnuGAME_PPK_Click()
{
    showActivity(3);
}

void FormMain::mnuGAME_FFK_Click()
{
    showActivity(6);
}

void FormMain::mnuTEST_Select_Click(std::int16_t mode)
{
    if (!EndOtherCtrl())
        return;
    // Too few words for a test: the learner is told and stays with (or goes back to) the reader.
    if (!m_test->MayStart()) {
        if (iDisplayCtrl != 1)
            ShowUserControl(1);
        return;
    }
    ShowUserControl(4, mode);
}

void FormMain::ShowTestResults()
{
    ShowUserControl(2);
    m_wordList->FillWordTestResultList();
}

void FormMain::mnuTEST_Result_Click()
{
    FormLearnStatus dialog(m_ctx.store, this);
    runModal(dialog);
}

void FormMain::mnuTEST_History_Click()
{
    if (m_ctx.store.LoadHistory() <= 0)
        return;
    FormHistory dialog(m_ctx.store, this);
    runModal(dialog);
}

void FormMain::mnuTEST_WordErrNum_Click()
{
    if (!EndOtherCtrl())
        return;
    StopReaderAutoplay();
    ShowUserControl(2);
    m_wordList->FillWordErrNum();
}

void FormMain::SwitchOnRecordEntries()
{
    for (QAction* entry : {ui->mnuTEST_Result, ui->mnuTEST_History, ui->mnuTEST_WordErrNum})
        entry->setEnabled(true);
}

void FormMain::mnuHELP_HowToUse_Click()
{
    helpDialog().Load_Help();
    runModal(helpDialog());
}

void FormMain::mnuHELP_OnLine_Click()
{
    m_ctx.sound.ShellOpen(QLatin1String(kMakerOnlineHelp));
}

void FormMain::lblMyWeb_Click()
{
    m_ctx.sound.ShellOpen(QLatin1String(kMakerHomePage));
}

void FormMain::imgCommand_Click(int Index)
{
    StopReaderAutoplay();
    switch (Index) {
    case 0:
        mnuFILE_BookUnit_Click();
        break;
    case 1:
        mnuLEARN_Lexivo_Click();
        break;
    case 2:
        mnuGAME_PPK_Click();
        break;
    case 3:
        mnuTEST_Select_Click(1);
        break;
    case 5:
        mnuHELP_HowToUse_Click();
        break;
    case 6:
        mnuGAME_FFK_Click();
        break;
    default:
        break;
    }
}

FormBookUnit& FormMain::bookUnitDialog()
{
    if (!m_bookUnit)
        m_bookUnit = std::make_unique<FormBookUnit>(m_ctx.store, m_ctx.prompter, m_host, this);
    return *m_bookUnit;
}

FormHelp& FormMain::helpDialog()
{
    if (!m_help)
        m_help = std::make_unique<FormHelp>(m_ctx.media.folders().appPics(), this);
    return *m_help;
}

// ---------------------------------------------------------------- exit

void FormMain::closeEvent(QCloseEvent* event)
{
    if (m_exiting) {
        event->accept();
        return;
    }
    const auto answer = m_ctx.prompter.message(QStringLiteral("真的要退出吗?"), QStringLiteral("英语Lexora"),
                                               Prompter::Buttons::YesNo, Prompter::Icon::Question);
    if (answer != Prompter::Answer::Yes) {
        event->ignore();
        return;
    }
    ExitProgram();
    event->accept();
}

void FormMain::ExitProgram()
{
    m_exiting = true;
    m_ctx.transition.bTransRunning = false;
    m_reader->bReaderShown = true;
    StopReaderAutoplay();
    // A reading still being recorded is kept rather than lost with the device.
    m_reader->StopMyRecord();
    // Words already passed in a test that is closed with the window keep what they earned.
    if (iDisplayCtrl == 4)
        SaveTestResults(m_ctx.store);
    m_ctx.store.SaveLastBookUnit();
}

} // namespace lexora
