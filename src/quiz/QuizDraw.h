#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace lexora {

class Random;

// Uniform draws of 0..n-1 until accept() takes one. A source that keeps refusing (few acceptable
// values, or a scripted one) must not hang the window: after many refusals the first acceptable
// value in order is taken. -1 when nothing in 0..n-1 is acceptable.
int DrawAccepted(Random& random, int n, const std::function<bool(int)>& accept);

inline constexpr int kQuizChoices = 4;
// Word indices shown on the four choices; -1 marks a choice not offered.
using QuizChoices = std::array<std::int16_t, kQuizChoices>;

// The asked word at a random position (the generator is reseeded first), the other positions distinct
// other words of the list. A list of fewer than four words offers as many choices as it has words
// (positions from 0 up); an index outside the list offers none. Bounded whatever the source yields.
QuizChoices DrawQuizChoices(int wordIndex, int wordCount, Random& random);

} // namespace lexora
