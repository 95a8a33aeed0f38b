#pragma once

#include "ui/ViewHost.h"

#include <QDate>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace lexora {

class CWordType;
class WordStore;

// A test needs a wrong word to offer beside the asked one.
inline constexpr int kMinTestWords = 2;

// What the three test modes show.
struct ModeControls
{
    bool soundVisible;
    bool questionVisible;
};
// Nothing for a mode outside 0 to 2.
std::optional<ModeControls> ControlsForMode(TestMode mode);

enum class Verdict
{
    Right,
    Wrong
};

// Counts one answer on the asked word: a right one passes it for this run and adds to the run's
// progress; a wrong one marks it and restarts its streak of right answers.
Verdict JudgeAnswer(CWordType& asked, bool right, std::int16_t& testDone);

// Every word of the list passed in this run.
bool AllWordsTested(const std::vector<CWordType>& words, int wordNum);
// Words answered wrongly at least once in this run.
int CountErrors(const std::vector<CWordType>& words, int wordNum);
// Stores the counters of the words passed in this run, all in one go; the others keep what is
// stored. Words answered wrong (passed or not) go into the notebook, words passed at once count as
// reviewed right there. False when nothing could be stored.
bool SaveTestResults(WordStore& store, const QDate& today);

QString AnswerText(const CWordType& asked);
QString ProgressText(int done, int wordNum);
QString RunWithErrorsText(int wordNum, int errors);

} // namespace lexora
