#pragma once

#include "ui/ViewContext.h"
#include "ui/ViewHost.h"

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QDialog;

namespace Ui {
class FormMain;
}

namespace lexora {

class FormBookUnit;
class FormHelp;
class ScaledFrame;
class Lexivo;
class WordList;
class WordPicList;
class WordRRK;
class WordFFK;
class WordPPK2;

// The handbook page in AppPics that the help entry and the maker's links open, made from the help
// texts when the course is built; and the caption of the link that names it.
inline constexpr auto kHandbookFileName = "handbook.html";
inline constexpr auto kHandbookCaption = "Lexora 使用手册";

// The program's window: the menu bar, the picture buttons, and the container in which one view at a
// time is shown. Start-up, switching views and the exit question live here.
class FormMain final : public QMainWindow
{
    Q_OBJECT
public:
    explicit FormMain(const ViewContext& context, QWidget* parent = nullptr);
    ~FormMain() override;

    // Start-up up to the first view: false when the course cannot be read (the learner was told).
    bool Form_Initialize();
    // The last start-up step, the reader on the current word; run once the window is on screen.
    void ShowFirstView();

    void RefreshCaption();
    void InitControls();
    void HideAllCtrls();
    void StopReaderAutoplay();
    void ShowUserControl(ViewId ctrlIndex, TestMode mode = TestMode::ChooseEnglish);
    // The reader command as the book and unit dialog calls it.
    void ShowReader();
    // The word list with the result of the test just ended.
    void ShowTestResults();
    // The letter game's help text in the help dialog.
    void ShowGameHelp();
    // The single-word quiz the letter game shows before each word; false after a wrong answer.
    bool AskWordQuiz(std::int16_t wordIndex);
    // Asks the running test or letter game to end; once it has, it is not asked again until the next
    // view is shown.
    bool EndOtherCtrl();
    void ExitProgram();

    ViewId iDisplayCtrl = ViewId::None;
    // The test mode handed to the recognition test (0, 1, 2).
    TestMode iTestMode = TestMode::ChooseEnglish;

    // Asked by EndOtherCtrl while the letter game or the recognition test runs.
    std::function<bool()> EndGame;
    std::function<bool()> EndTest;
    // How modal dialogs are run: exec() in the program, scripted in tests.
    std::function<int(QDialog&)> runModal;

    // Menu commands.
    void mnuFILE_BookUnit_Click();
    void mnuFILE_Learners_Click();
    void mnuLEARN_Lexivo_Click();
    void mnuLEARN_WordList_Click();
    void mnuGAME_PPK_Click();
    void mnuGAME_FFK_Click();
    void mnuTEST_Select_Click(TestMode mode);
    // The notebook's words due today, in the reader; false (the learner told) when none is due.
    bool mnuTEST_Mistakes_Click();
    void mnuHELP_HowToUse_Click();
    void mnuHELP_OnLine_Click();
    void imgCommand_Click(int Index);
    // The record views: unit status, test history and every word's error counts. Their menu entries
    // are switched off for the learner.
    void mnuTEST_Result_Click();
    void mnuTEST_History_Click();
    void mnuTEST_WordErrNum_Click();
    // The progress report for parents, with the record views above one click away.
    void mnuPARENT_Report_Click();
    void lblMyWeb_Click();

    // The views other than the reader are built on first use, in the places the form keeps for them.
    Lexivo& reader() { return *m_reader; }
    WordList& wordList();
    WordPicList& picList();
    WordRRK& recognitionTest();
    WordPPK2& letterGame();
    WordFFK& matchingGame();
    FormBookUnit& bookUnitDialog();
    FormHelp& helpDialog();
    // The view's place in the container (the view itself once built).
    QWidget* viewWidget(ViewId ctrlIndex) const;
    // The frame that scales the client area to the window.
    ScaledFrame& frame() const { return *m_frame; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The window as the views see it.
    class Host final : public ViewHost
    {
    public:
        explicit Host(FormMain& window) : m_window(window) {}
        void ShowUserControl(ViewId ctrlIndex, TestMode mode) override;
        bool EndOtherCtrl() override { return m_window.EndOtherCtrl(); }
        void ShowReader() override { m_window.ShowReader(); }
        void ShowTestResults() override { m_window.ShowTestResults(); }
        void ShowGameHelp() override { m_window.ShowGameHelp(); }
        bool AskWordQuiz(std::int16_t wordIndex) override { return m_window.AskWordQuiz(wordIndex); }
        bool ShowMistakeReview() override { return m_window.mnuTEST_Mistakes_Click(); }

    private:
        FormMain& m_window;
    };

    void connectMenus();
    // The learner's name for the caption: only when several learn on this account.
    void learnerNameChanged();
    void hostPage();
    void drawButtons();
    bool hostsView(ViewId ctrlIndex) const { return viewWidget(ctrlIndex) != nullptr; }
    void showActivity(ViewId ctrlIndex, TestMode mode = TestMode::ChooseEnglish);
    void openHandbook();
    // The view takes the place (and the name) of the form's placeholder.
    void replacePlace(QWidget*& place, QWidget* view);
    // The view built on first use in its place.
    template <class View> View& inPlace(View*& view, QWidget*& place);
    // The game fills its place, so showing and hiding the place shows the game.
    void fillPlace(QWidget* place, QWidget* view);

    std::unique_ptr<Ui::FormMain> ui;
    ViewContext m_ctx;
    QString m_learnerName;
    Host m_host{*this};
    Lexivo* m_reader;
    WordList* m_wordList = nullptr;
    WordPicList* m_picList = nullptr;
    WordRRK* m_test = nullptr;
    WordPPK2* m_ppk = nullptr;
    WordFFK* m_ffk = nullptr;
    std::unique_ptr<FormBookUnit> m_bookUnit;
    std::unique_ptr<FormHelp> m_help;
    ScaledFrame* m_frame = nullptr;
    bool m_starting = false;
    bool m_firstShown = false;
    bool m_exiting = false;
    // The running test or letter game agreed to end and has ended; its view may still be showing.
    bool m_activityEnded = false;
};

} // namespace lexora
