#include "quiz/RecognitionRound.h"

#include "store/WordStore.h"

#include <algorithm>

namespace lexora {

namespace {

int usable(const std::vector<CWordType>& words, int wordNum)
{
    return std::clamp(wordNum, 0, static_cast<int>(words.size()));
}

} // namespace

std::optional<ModeControls> ControlsForMode(TestMode mode)
{
    switch (mode) {
    case TestMode::ChooseEnglish:
        return ModeControls{false, true};
    case TestMode::ChooseChinese:
        return ModeControls{true, true};
    case TestMode::ListenChooseChinese:
        return ModeControls{true, false};
    default:
        return std::nullopt;
    }
}

Verdict JudgeAnswer(CWordType& asked, bool right, std::int16_t& testDone)
{
    ++asked.testNum;
    if (right) {
        ++asked.rightNum;
        asked.Tested = true;
        ++testDone;
        return Verdict::Right;
    }
    asked.CurrErr = true;
    ++asked.errNum;
    asked.rightNum = 0;
    return Verdict::Wrong;
}

bool AllWordsTested(const std::vector<CWordType>& words, int wordNum)
{
    const int n = usable(words, wordNum);
    return std::all_of(words.begin(), words.begin() + n, [](const CWordType& w) { return w.Tested; });
}

int CountErrors(const std::vector<CWordType>& words, int wordNum)
{
    const int n = usable(words, wordNum);
    return static_cast<int>(
        std::count_if(words.begin(), words.begin() + n, [](const CWordType& w) { return w.CurrErr; }));
}

bool SaveTestResults(WordStore& store, const QDate& today)
{
    const int n = usable(store.words().records(), store.words().count());
    std::vector<int> passed;
    NotebookAnswers answers;
    for (int i = 0; i < n; ++i) {
        const CWordType& word = store.words().records()[static_cast<size_t>(i)];
        if (word.Tested)
            passed.push_back(i);
        // Saving again in the same run changes nothing: the rule moves a word at most once a day.
        if (word.CurrErr)
            answers.emplace_back(word.English, NotebookAnswer::Wrong);
        else if (word.Tested)
            answers.emplace_back(word.English, NotebookAnswer::Right);
    }
    const bool saved = store.SaveWordResults(passed);
    store.RecordNotebookAnswers(answers, today);
    return saved;
}

QString AnswerText(const CWordType& asked)
{
    return QStringLiteral("正确答案是： ") + asked.English + QStringLiteral(" : ") + asked.Chinese;
}

QString ProgressText(int done, int wordNum)
{
    return QStringLiteral("%1/%2").arg(done).arg(wordNum);
}

QString RunWithErrorsText(int wordNum, int errors)
{
    return QStringLiteral("本次共测试了%1个单词,有%2次错误！还要继续努力喔！").arg(wordNum).arg(errors);
}

} // namespace lexora
