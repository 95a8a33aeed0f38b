#pragma once

#include "ui/ReadingChecker.h"
#include "ui/ViewContext.h"
#include "views/ReaderLogic.h"
#include "views/ReadingPanel.h"

#include <QBasicTimer>
#include <QWidget>

class QLabel;

#include <cstdint>
#include <memory>

namespace Ui {
class Lexivo;
}

namespace lexora {

class ClickLabel;
class ClockTimer;
class PicturesAhead;
class ReadingCheck;
class ThumbStrip;
class ViewHost;

// The word reader: the current word's picture, spelling and meaning, its voice, a page of eight
// thumbnails, stepping by hand or by itself, and the panel for recording and comparing one's own
// reading.
class Lexivo final : public QWidget
{
    Q_OBJECT
public:
    Lexivo(const ViewContext& context, ViewHost& host, QWidget* parent = nullptr);
    ~Lexivo() override;

    void InitUserControl();
    void LoadWord();
    void LoadPic();
    void LoadArrPics();
    void LoadWordPic();
    void ChangeWord(std::int16_t Index);
    // Starts decoding the current word's picture and its thumbnail page on worker threads, so that
    // showing the word finds them ready.
    void ReadAhead();
    void StopAutoplay();
    // The program's first word: in the order of the start-up its slide runs before the window is on
    // screen, so the learner sees its picture whole, and its voice follows at once.
    void ShowNextPictureWhole() { m_pictureWhole = true; }
    // The reader is no longer the shown view: automatic stepping and a spelling in progress stop.
    void StopActivity();
    // A spelling in progress stops after the letter that is sounding.
    void StopSpelling() { m_spellingStopped = true; }
    bool isSpelling() const { return m_spelling; }

    // Set by the main window each time it shows the reader.
    bool bReaderShown = false;

    // Navigation and the check boxes.
    void cmdFirstWord_Click();
    void cmdLastWord_Click();
    void cmdNextWord_Click();
    void cmdPrevWord_Click();
    void cmdToWordList_Click();
    void ArrImages_Click(int Index);
    void picNextWord_Click();
    void picPrevWord_Click();
    void Picture1_Click();
    void txtEnglish_Click();
    void chkAutoplay_Click();
    void TimerAutoplay_Timer();

    // The recording panel.
    void lblRecord_Click();
    void TimerRecord_Timer();
    // True when the reading just ended could not be kept (the learner has been told).
    bool StopMyRecord();
    void lblStandardAudio_Click();
    void lblMyAudio_Click();
    void lblBothAudio_Click();
    void imgReadBad_Click();

    ClockTimer& TimerAutoplay() { return *m_timerAutoplay; }
    ClockTimer& TimerRecord() { return *m_timerRecord; }
    int iArrStart() const { return m_page.start; }
    int iArrCount() const { return m_page.count; }
    const ReadingPanel& readingPanel() const { return m_reading; }
    ReadingPanel& readingPanel() { return m_reading; }
    // Listens to each reading as it ends; without a checker the panel shows no verdict.
    ReadingCheck& readingCheck() { return *m_check; }
    // Good or Again: that mark is highlighted; Silent: the hint is shown; Unavailable: neither.
    ReadingVerdict shownVerdict() const { return m_verdict; }
    // Shows how many of the notebook's words are due today, or nothing when none is.
    void RefreshMistakeNote();
    // English and Chinese font sizes that fit the picture's width.
    std::pair<int, int> FitWordFonts() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void connectControls();
    // The reader's keys: true when key is one of them (and it was acted on, for a press).
    bool readerKey(const QKeyEvent& key, bool act);
    void connectPanel();
    void drawPictures();
    void drawPanelPictures();
    void showPanel(bool shown);
    int wordNum() const;
    QString currentEnglish() const;
    QString currentChinese() const;
    void UpdateNavButtons(int index);
    void GotoNextWord();
    void GotoPrevWord();
    void stepTo(std::optional<int> word);
    // Moves to the word a page button leads to, or says there is no more.
    bool pageTo(std::optional<int> word);
    void ShowPicEffect();
    void readPictureAhead(int index);
    // The picture area of a word without a picture: its meaning, or the fallback picture while the
    // meaning is hidden (it would give the answer away).
    void showMissingPicture();
    void chkChinese_Toggled(bool shown);
    void showEmptyList();
    void refreshMyAudio();
    void setMyAudio(bool hasReading);
    void placeWordLabel(QLabel* label, int pointSize, const QString& text);
    void playMine();
    bool reportLostReading();
    void beginCheck();
    void onJudged(const QString& word, const ReadingResult& result);
    void showVerdict(ReadingVerdict verdict, const QList<qsizetype>& weakLetters = {});

    std::unique_ptr<Ui::Lexivo> ui;
    ViewContext m_ctx;
    ViewHost& m_host;
    ReadingPanel m_reading;
    ClockTimer* m_timerAutoplay;
    ClockTimer* m_timerRecord;
    ReadingCheck* m_check = nullptr;
    ReadingVerdict m_verdict = ReadingVerdict::Unavailable;
    // The learner's own reading is playing: a verdict waits for it to end.
    bool m_playingBack = false;
    std::optional<std::pair<QString, ReadingResult>> m_heldVerdict;
    ThumbStrip* m_thumbs = nullptr;
    // The picture of the word most likely shown next, being decoded.
    std::unique_ptr<PicturesAhead> m_pictureAhead;
    QBasicTimer m_aheadTimer;
    int m_aheadWord = -1;
    ThumbPage m_page;
    bool bPlayingWord = false;
    // Marks a transition this view started, so a new word arriving during it can stop it.
    bool m_effectRunning = false;
    bool m_pictureWhole = false;
    bool m_spelling = false;
    bool m_spellingStopped = false;
    bool m_hasPicture = false;
};

} // namespace lexora
