#pragma once

#include "quiz/QuizDraw.h"
#include "quiz/RecognitionRound.h"
#include "ui/ViewContext.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

class QRadioButton;

namespace Ui {
class WordRRK;
}

namespace lexora {

class ViewHost;

// The recognition test: every word of the current list is asked as a multiple choice until it has
// been answered right; a run without a mistake marks the unit's test as done.
class WordRRK final : public QWidget
{
    Q_OBJECT
public:
    WordRRK(const ViewContext& context, ViewHost& host, QWidget* parent = nullptr);
    ~WordRRK() override;

    // False, after telling the learner, when the current list is too short for a test.
    bool MayStart();
    void SetMode(TestMode mode);
    void SetTestWord();
    bool EndTest();
    bool IsTestComplete() const;
    std::int16_t GetErrNum() const;
    // What the view does each time it is shown.
    void UserControl_Show();

    void optAns_Click(int Index);
    void cmdOK_Click();
    void cmdEndTest_Click();
    void imgSound_Click();

    std::int16_t iTestWord() const { return m_testWord; }
    const QuizChoices& arrChoice() const { return m_choices; }
    TestMode iTestMode() const { return m_mode; }

private:
    int wordNum() const;
    // The asked word, or null when there is none or the list it was drawn from has been replaced.
    CWordType* askedWord();
    bool stale() const;
    void clearSelection();
    int selectedChoice() const;
    void showQuestion(const CWordType& asked);
    void showPicture(const QString& english);
    void endOfRun();
    void playQuestion();

    std::unique_ptr<Ui::WordRRK> ui;
    ViewContext m_ctx;
    ViewHost& m_host;
    std::array<QRadioButton*, kQuizChoices> m_optAns{};
    std::int16_t m_testWord = -1;
    QuizChoices m_choices{-1, -1, -1, -1};
    TestMode m_mode = TestMode::ChooseChinese;
    // The word list the question was drawn from.
    std::uint32_t m_listStamp = 0;
};

} // namespace lexora
