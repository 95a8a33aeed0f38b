#pragma once

#include <array>
#include <cstdint>

namespace lexora {

class Random;

inline constexpr int kQuizChoices = 4;
// Word indices shown on the four choices; -1 marks a choice not offered.
using QuizChoices = std::array<std::int16_t, kQuizChoices>;

// The asked word at a random position (the generator is reseeded first), the other positions distinct
// other words of the list. A list of fewer than four words offers as many choices as it has words
// (positions from 0 up); an index outside the list offers none. Bounded whatever the source yields.
QuizChoices DrawQuizChoices(int wordIndex, int wordCount, Random& random);

} // namespace lexora
