#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace lexora {

class CWordType;
class Random;
class WordStore;

inline constexpr int kChoiceCount = 4;
// A test needs a wrong word to offer beside the asked one.
inline constexpr int kMinTestWords = 2;

// Word indices shown on the four choices; -1 marks a choice that is not offered.
using Choices = std::array<std::int16_t, kChoiceCount>;

// The asked word at a uniformly drawn position and distinct other words of the list at the rest.
// With fewer than four words only as many choices as words are offered, the others left at -1.
// The generator is reseeded first.
Choices DrawChoices(int asked, int wordNum, Random& random);

// What the three test modes show.
struct ModeControls
{
    bool soundVisible;
    bool questionVisible;
};
// Nothing for a mode outside 0 to 2.
std::optional<ModeControls> ControlsForMode(int mode);

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
// stored. False when nothing could be stored.
bool SaveTestResults(WordStore& store);

QString AnswerText(const CWordType& asked);
QString ProgressText(int done, int wordNum);
QString RunWithErrorsText(int wordNum, int errors);

} // namespace lexora
