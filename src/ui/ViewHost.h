#pragma once

#include <cstdint>

namespace lexora {

// The views the main window hosts, by the numbers their switch has always used.
enum class ViewId : std::int16_t
{
    None = 0,
    Reader = 1,
    WordList = 2,
    LetterGame = 3,
    RecognitionTest = 4,
    MatchingGame = 6,
    PictureList = 8
};

// The recognition test's three ways of asking, by the numbers its menu has always passed.
enum class TestMode : std::int16_t
{
    ChooseEnglish = 0,       // the meaning is shown, the word is chosen
    ChooseChinese = 1,       // the word is shown and heard, its meaning is chosen
    ListenChooseChinese = 2, // the word is only heard, its meaning is chosen
};

// What the views may ask of the window that hosts them. The main window implements it and hands it
// to each view, so no view includes the main window or a sibling view.
class ViewHost
{
public:
    virtual ~ViewHost() = default;
    // Hides every view and shows the one asked for (the recognition test in the mode given).
    virtual void ShowUserControl(ViewId view, TestMode mode = TestMode::ChooseEnglish) = 0;
    // Asks the running test or letter game whether it may be left; true once it has ended (it then
    // is not asked again) or when nothing needs asking.
    virtual bool EndOtherCtrl() = 0;
    // The main window's reader command: ends the running activity, then shows the reader.
    virtual void ShowReader() = 0;
    // Shows the word list with the result of the recognition test run that has just ended.
    virtual void ShowTestResults() = 0;
    // The letter game's help text in the help dialog, shown modally.
    virtual void ShowGameHelp() = 0;
    // The single-word quiz on word wordIndex of the current list, shown modally; false when the
    // learner chose a wrong meaning before the right one.
    virtual bool AskWordQuiz(std::int16_t wordIndex) = 0;
    // The notebook's review: the words due today in the reader. False, after saying so kindly, when
    // none is due, or when the running test or game was not left.
    virtual bool ShowMistakeReview() = 0;
};

} // namespace lexora
