#include "app/FormMain.h"

#include "app/ButtonFace.h"
#include "app/FocusRing.h"
#include "app/FontPages.h"
#include "app/FormHelp.h"
#include "app/FormLearners.h"
#include "app/ReportCommand.h"
#include "app/ScaledFrame.h"
#include "app/WindowKeys.h"
#include "games/WordFFK.h"
#include "games/WordPPK2.h"
#include "media/MediaFiles.h"
#include "media/PageScale.h"
#include "media/SoundPlayer.h"
#include "media/StartupTrace.h"
#include "media/Transition.h"
#include "quiz/FormHistory.h"
#include "quiz/FormLearnStatus.h"
#include "quiz/FormRRK.h"
#include "quiz/WordRRK.h"
#include "report/FormReport.h"
#include "store/Clock.h"
#include "store/Prompter.h"
#include "store/WordStore.h"
#include "ui/Art.h"
#include "ui_FormMain.h"
#include "views/FormBookUnit.h"
#include "views/Lexivo.h"
#include "views/StoreSelection.h"
#include "views/WordList.h"
#include "views/WordPicList.h"

#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <optional>

namespace lexora {

namespace {

constexpr ViewId kViews[] = {ViewId::Reader,          ViewId::WordList,     ViewId::LetterGame,
                             ViewId::RecognitionTest, ViewId::MatchingGame, ViewId::PictureList};

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

// Room left for the title bar and borders a window manager adds around the window.
const QSize kWindowFrameRoom(16, 48);

} // namespace

FormMain::FormMain(const ViewContext& context, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::FormMain>()), m_ctx(context)
{
    ui->setupUi(this);
    // Tick marks and radio circles are drawn at the scale of the page or dialog they are on.
    PageScale::installStyle();
    m_reader = new Lexivo(m_ctx, m_host, ui->MainFrame);
    m_reader->setObjectName(QStringLiteral("Lexivo1"));
    m_reader->hide();
    runModal = [this](QDialog& dialog) {
        PageScale::fitDialog(dialog, this);
        CenterOver(dialog, *this);
        return dialog.exec();
    };
    EndTest = [this] { return recognitionTest().EndTest(); };
    EndGame = [this] { return letterGame().EndGame(); };
    drawButtons();
    connectMenus();
    hostPage();
}

void FormMain::hostPage()
{
    // The whole client area is laid out at its design size and scaled as one page to the window.
    const QSize design = ui->centralwidget->minimumSize();
    QWidget* page = takeCentralWidget();
    m_frame = new ScaledFrame(page, design, this);
    m_frame->setObjectName(QStringLiteral("PageFrame"));
    setCentralWidget(m_frame);
    // The menus are read from the same distance as the page: they grow with it.
    m_frame->scaleAlong(*menuBar());
    for (QMenu* menu : menuBar()->findChildren<QMenu*>())
        m_frame->scaleAlong(*menu);
    new FocusRing(*m_frame);
    // The design size to begin with, rather than Qt's two thirds of a small screen, unless the screen
    // is smaller than that. The room the menus take is known once the page has its size.
    const QRect available = screen()->availableGeometry();
    QSize chrome;
    for (int tries = 0; tries < 3; ++tries) {
        const QSize measured = sizeHint() - m_frame->sizeHint() + kWindowFrameRoom;
        if (measured == chrome)
            break;
        chrome = measured;
        m_frame->resize(FirstWindowSize(design, chrome, available) - chrome);
        m_frame->refit();
    }
    resize(FirstWindowSize(design, chrome, available) - kWindowFrameRoom);
    InstallWindowKeys(*this);
}

FormMain::~FormMain() = default;

void FormMain::replacePlace(QWidget*& place, QWidget* view)
{
    view->setObjectName(place->objectName());
    PageScale::setGeometry(*view, PageScale::geometry(*place));
    view->hide();
    delete place;
    place = view;
    m_frame->refit();
}

void FormMain::fillPlace(QWidget* place, QWidget* view)
{
    auto* layout = new QVBoxLayout(place);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    m_frame->refit();
}

template <class View> View& FormMain::inPlace(View*& view, QWidget*& place)
{
    if (!view) {
        view = new View(m_ctx, m_host, ui->MainFrame);
        replacePlace(place, view);
    }
    return *view;
}

WordList& FormMain::wordList()
{
    return inPlace(m_wordList, ui->WordList1);
}

WordPicList& FormMain::picList()
{
    return inPlace(m_picList, ui->WordPicList1);
}

WordRRK& FormMain::recognitionTest()
{
    return inPlace(m_test, ui->WordRRK1);
}

WordPPK2& FormMain::letterGame()
{
    if (!m_ppk) {
        m_ppk = new WordPPK2(m_ctx, m_host);
        fillPlace(ui->WordPPK21, m_ppk);
        // The game's quiz and tip dialogs run the way every dialog of the window runs.
        m_ppk->runModal = [this](QDialog& dialog) { return runModal(dialog); };
    }
    return *m_ppk;
}

WordFFK& FormMain::matchingGame()
{
    if (!m_ffk) {
        m_ffk = new WordFFK(m_ctx);
        fillPlace(ui->WordFFK1, m_ffk);
    }
    return *m_ffk;
}

void FormMain::drawButtons()
{
    std::vector<ButtonFace*> faces;
    for (const PictureButton& b : kButtons) {
        auto* button = findChild<QToolButton*>(QStringLiteral("imgCommand_%1").arg(b.index));
        faces.push_back(
            new ButtonFace(*button, QString::fromUtf8(b.emoji), QString::fromUtf8(b.name), b.colour));
        connect(button, &QToolButton::clicked, this, [this, index = b.index] { imgCommand_Click(index); });
    }
    ButtonFace::DrawAhead(faces);
}

void FormMain::connectMenus()
{
    connect(ui->mnuFILE_BookUnit, &QAction::triggered, this, &FormMain::mnuFILE_BookUnit_Click);
    connect(ui->mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(ui->mnuFILE_Learners, &QAction::triggered, this, &FormMain::mnuFILE_Learners_Click);
    // A portable tree keeps one record in itself; learners are the installed program's.
    ui->mnuFILE_Learners->setVisible(m_ctx.store.locations().isInstalled());
    connect(ui->mnuLEARN_Lexivo, &QAction::triggered, this, &FormMain::mnuLEARN_Lexivo_Click);
    connect(ui->mnuLEARN_WordList, &QAction::triggered, this, &FormMain::mnuLEARN_WordList_Click);
    connect(ui->mnuGAME_PPK, &QAction::triggered, this, &FormMain::mnuGAME_PPK_Click);
    connect(ui->mnuGAME_FFK, &QAction::triggered, this, &FormMain::mnuGAME_FFK_Click);
    connect(ui->mnuTEST_SelectChinese, &QAction::triggered, this,
            [this] { mnuTEST_Select_Click(TestMode::ChooseChinese); });
    connect(ui->mnuTEST_SelectChineseByListen, &QAction::triggered, this,
            [this] { mnuTEST_Select_Click(TestMode::ListenChooseChinese); });
    connect(ui->mnuTEST_SelectEnglish, &QAction::triggered, this,
            [this] { mnuTEST_Select_Click(TestMode::ChooseEnglish); });
    connect(ui->mnuTEST_Mistakes, &QAction::triggered, this, &FormMain::mnuTEST_Mistakes_Click);
    connect(ui->mnuHELP_HowToUse, &QAction::triggered, this, &FormMain::mnuHELP_HowToUse_Click);
    connect(ui->mnuHELP_OnLine, &QAction::triggered, this, &FormMain::mnuHELP_OnLine_Click);
    connect(ui->lblMyWeb, &ClickLabel::clicked, this, &FormMain::lblMyWeb_Click);
    connect(ui->lblMyWebName, &ClickLabel::clicked, this, &FormMain::lblMyWeb_Click);
    connect(ui->mnuTEST_Result, &QAction::triggered, this, &FormMain::mnuTEST_Result_Click);
    connect(ui->mnuTEST_History, &QAction::triggered, this, &FormMain::mnuTEST_History_Click);
    connect(ui->mnuTEST_WordErrNum, &QAction::triggered, this, &FormMain::mnuTEST_WordErrNum_Click);
    connect(ui->mnuPARENT_Report, &QAction::triggered, this, &FormMain::mnuPARENT_Report_Click);
}

// ---------------------------------------------------------------- start-up

bool FormMain::Form_Initialize()
{
    WordStore& store = m_ctx.store;
    m_starting = true;
    // The first screen's reads share one header toggle each way; none is held over the dialog.
    auto burst = std::make_optional<CourseDatabase::Burst>(store.database());
    if (!store.LoadSettings()) {
        m_starting = false;
        return false;
    }
    store.LoadBookUnits(store.catalogue().currentBook());
    if (!store.LoadUnitWords(store.catalogue().currentBook(), store.catalogue().currentUnit())) {
        burst.reset();
        runModal(bookUnitDialog());
        burst.emplace(store.database());
    }
    learnerNameChanged();
    ui->lblMyWeb->setText(QString::fromUtf8(kHandbookCaption));
    InitControls();
    store.LoadBookUnits(store.catalogue().currentBook());
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
    m_reader->ShowNextPictureWhole();
    mnuLEARN_Lexivo_Click();
    // The first screen is drawn and its glyphs cached: the font pages read for them can go.
    ReleaseFontPages();
}

void FormMain::RefreshCaption()
{
    const WordStore& store = m_ctx.store;
    const QString unitName = store.catalogue().currentUnitName();
    // With several children on the account, the caption says whose record is open.
    const QString learner = m_learnerName.isEmpty() ? QString() : QStringLiteral("【%1】").arg(m_learnerName);
    setWindowTitle(store.catalogue().versionName() + learner + QStringLiteral("Lexora -- ") +
                   store.catalogue().bookName(store.catalogue().currentBook()) + QStringLiteral("  ") +
                   unitName);
}

void FormMain::InitControls()
{
    HideAllCtrls();
    for (ViewId index : kViews)
        PageScale::setGeometry(*viewWidget(index),
                               QRect(QPoint(), PageScale::geometry(*ui->MainFrame).size()));
    m_reader->InitUserControl();
    m_reader->LoadWord();
}

// ---------------------------------------------------------------- views

QWidget* FormMain::viewWidget(ViewId ctrlIndex) const
{
    switch (ctrlIndex) {
    case ViewId::Reader:
        return m_reader;
    case ViewId::WordList:
        return ui->WordList1;
    case ViewId::LetterGame:
        return ui->WordPPK21;
    case ViewId::RecognitionTest:
        return ui->WordRRK1;
    case ViewId::MatchingGame:
        return ui->WordFFK1;
    case ViewId::PictureList:
        return ui->WordPicList1;
    case ViewId::None:
        break;
    }
    return nullptr;
}

void FormMain::HideAllCtrls()
{
    for (ViewId index : {ViewId::Reader, ViewId::LetterGame, ViewId::WordList, ViewId::PictureList,
                         ViewId::RecognitionTest, ViewId::MatchingGame})
        viewWidget(index)->setVisible(false);
    // Whichever route leads away from the reader, nothing of it goes on sounding behind the next view.
    m_reader->StopActivity();
}

void FormMain::StopReaderAutoplay()
{
    m_reader->StopAutoplay();
}

void FormMain::ShowUserControl(ViewId ctrlIndex, TestMode mode)
{
    HideAllCtrls();
    iDisplayCtrl = ctrlIndex;
    m_activityEnded = false;
    WordStore& store = m_ctx.store;
    switch (ctrlIndex) {
    case ViewId::Reader:
        m_reader->setVisible(true);
        m_ctx.transition.stop();
        m_reader->bReaderShown = true;
        m_reader->setFocus();
        m_reader->ChangeWord(store.words().current());
        m_reader->RefreshMistakeNote();
        break;
    case ViewId::LetterGame: {
        store.words().ResetTestFlagsSkipPhrases();
        WordPPK2& game = letterGame();
        ui->WordPPK21->setVisible(true);
        game.setFocus();
        game.InitGamePPK();
        break;
    }
    case ViewId::RecognitionTest: {
        store.words().ResetTestFlags();
        iTestMode = mode;
        WordRRK& test = recognitionTest();
        test.SetMode(mode);
        test.SetTestWord();
        test.setVisible(true);
        test.setFocus();
        test.UserControl_Show();
        break;
    }
    case ViewId::MatchingGame: {
        store.words().ResetTestFlags();
        WordFFK& game = matchingGame();
        game.StartGameFFK();
        ui->WordFFK1->setVisible(true);
        game.setFocus();
        break;
    }
    case ViewId::WordList:
        wordList().setVisible(true);
        // The keyboard starts in the list, whatever had the focus before it.
        wordList().setFocus();
        break;
    case ViewId::PictureList:
        picList().setVisible(true);
        m_picList->InitWordPicList();
        picList().setFocus();
        break;
    case ViewId::None:
        break;
    }
    // Any other number (5, 7, outside 1 to 8) leaves every view hidden.
}

bool FormMain::EndOtherCtrl()
{
    if (m_activityEnded)
        return true;
    std::function<bool()>* ask = iDisplayCtrl == ViewId::LetterGame        ? &EndGame
                                 : iDisplayCtrl == ViewId::RecognitionTest ? &EndTest
                                                                           : nullptr;
    if (!ask || !*ask)
        return true;
    m_activityEnded = (*ask)();
    return m_activityEnded;
}

void FormMain::showActivity(ViewId ctrlIndex, TestMode mode)
{
    if (!EndOtherCtrl() || !hostsView(ctrlIndex))
        return;
    ShowUserControl(ctrlIndex, mode);
}

void FormMain::Host::ShowUserControl(ViewId ctrlIndex, TestMode mode)
{
    m_window.ShowUserControl(ctrlIndex, mode);
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

bool FormMain::AskWordQuiz(std::int16_t wordIndex)
{
    FormRRK quiz(m_ctx, this);
    quiz.SetTestWord(wordIndex);
    runModal(quiz);
    return quiz.retAns;
}

// ---------------------------------------------------------------- commands

void FormMain::mnuFILE_Learners_Click()
{
    const Locations& locations = m_ctx.store.locations();
    Learners learners(locations.legacyFolder());
    FormLearners dialog(learners, m_ctx.prompter, locations.learnerId(), this);
    PageScale::fitDialog(dialog, this);
    dialog.exec();
    learnerNameChanged();
}

void FormMain::learnerNameChanged()
{
    const Locations& locations = m_ctx.store.locations();
    m_learnerName.clear();
    if (locations.isInstalled()) {
        const Learners learners(locations.legacyFolder());
        const auto me = learners.find(locations.learnerId());
        if (me && learners.list().size() > 1)
            m_learnerName = me->name;
    }
    RefreshCaption();
}

void FormMain::mnuFILE_BookUnit_Click()
{
    // The running test or letter game is asked once, when a choice is confirmed (the dialog asks):
    // browsing and cancelling leave it as it was, and declining keeps the old list.
    StopReaderAutoplay();
    runModal(bookUnitDialog());
    // It agreed to end but no new list came: its view has nothing left to run.
    if (m_activityEnded)
        ShowUserControl(ViewId::Reader);
    RefreshCaption();
}

void FormMain::mnuLEARN_Lexivo_Click()
{
    showActivity(ViewId::Reader);
}

void FormMain::mnuLEARN_WordList_Click()
{
    if (!EndOtherCtrl())
        return;
    StopReaderAutoplay();
    ShowUserControl(ViewId::PictureList);
}

void FormMain::mnuGAME_PPK_Click()
{
    showActivity(ViewId::LetterGame);
}

void FormMain::mnuGAME_FFK_Click()
{
    showActivity(ViewId::MatchingGame);
}

void FormMain::mnuTEST_Select_Click(TestMode mode)
{
    if (!EndOtherCtrl())
        return;
    // Too few words for a test: the learner is told and stays with (or goes back to) the reader.
    if (!recognitionTest().MayStart()) {
        if (iDisplayCtrl != ViewId::Reader)
            ShowUserControl(ViewId::Reader);
        return;
    }
    ShowUserControl(ViewId::RecognitionTest, mode);
}

bool FormMain::mnuTEST_Mistakes_Click()
{
    WordStore& store = m_ctx.store;
    const QDate today = m_ctx.clock.today();
    const auto nothingDue = [this] {
        m_ctx.prompter.message(QStringLiteral("错词本里今天没有要复习的单词，真棒！"),
                               QStringLiteral("错词复习"), Prompter::Buttons::Ok,
                               Prompter::Icon::Information);
        return false;
    };
    if (store.NotebookDueCount(today) == 0)
        return nothingDue();
    if (!EndOtherCtrl())
        return false;
    StopReaderAutoplay();
    const StoreSelection kept = StoreSelection::take(store);
    if (!store.LoadNotebookWords(today)) {
        // The words are no longer in this course: the learner goes on with what they had.
        kept.restoreWords(store);
        return nothingDue();
    }
    ShowUserControl(ViewId::Reader);
    return true;
}

void FormMain::ShowTestResults()
{
    ShowUserControl(ViewId::WordList);
    wordList().FillWordTestResultList();
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
    ShowUserControl(ViewId::WordList);
    wordList().FillWordErrNum();
}

void FormMain::mnuPARENT_Report_Click()
{
    StopReaderAutoplay();
    QString error;
    const auto report =
        ReadProgressReport(m_ctx.store.database(), m_ctx.media.folders(), m_ctx.clock.today(), &error);
    if (!report) {
        m_ctx.prompter.message(QStringLiteral("无法读出学习记录，不能生成学习报告。\n%1").arg(error),
                               m_ctx.store.messageTitle(), Prompter::Buttons::Ok, Prompter::Icon::Critical);
        return;
    }
    FormReport dialog(*report, ReportLearnerName(m_ctx.store.locations()), m_ctx.prompter, this);
    connect(&dialog, &FormReport::historyRequested, this, &FormMain::mnuTEST_History_Click);
    connect(&dialog, &FormReport::statusRequested, this, &FormMain::mnuTEST_Result_Click);
    if (runModal(dialog) == FormReport::kShowErrorCounts)
        mnuTEST_WordErrNum_Click();
}

void FormMain::mnuHELP_HowToUse_Click()
{
    helpDialog().Load_Help();
    runModal(helpDialog());
}

void FormMain::mnuHELP_OnLine_Click()
{
    openHandbook();
}

void FormMain::lblMyWeb_Click()
{
    openHandbook();
}

void FormMain::openHandbook()
{
    const QString page =
        m_ctx.media.folders().appPics() + QLatin1Char('/') + QLatin1String(kHandbookFileName);
    if (!QFileInfo::exists(page)) {
        m_ctx.prompter.message(
            QStringLiteral("找不到 Lexora 使用手册：%1").arg(QDir::toNativeSeparators(page)),
            QStringLiteral("英语Lexora"), Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return;
    }
    m_ctx.sound.ShellOpen(page);
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
        mnuTEST_Select_Click(TestMode::ChooseChinese);
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
    m_ctx.transition.stop();
    m_reader->bReaderShown = true;
    StopReaderAutoplay();
    // A reading still being recorded is kept rather than lost with the device.
    m_reader->StopMyRecord();
    // Words already passed in a test that is closed with the window keep what they earned.
    if (iDisplayCtrl == ViewId::RecognitionTest)
        SaveTestResults(m_ctx.store, m_ctx.clock.today());
    m_ctx.store.SaveLastBookUnit();
}

} // namespace lexora
