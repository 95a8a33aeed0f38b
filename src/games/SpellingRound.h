#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace lexora {

class CWordType;

// The single words (not phrases) among the first wordNum records: the words a letter game masters.
std::int16_t CountSingleWords(const std::vector<CWordType>& words, int wordNum);

// Counts a word just arranged. Unaided (helpCount 0) it is mastered: true, marked tested. With help it
// counts as an error, however much help was taken, and stays in the game.
bool ScoreArrangedWord(CWordType& word, int helpCount);

// "单词排排看 3/12".
QString ScoreLine(int done, int total);

} // namespace lexora
