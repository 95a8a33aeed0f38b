#include "quiz/QuizDraw.h"

#include "store/Random.h"

#include <algorithm>

namespace lexora {

namespace {

// Far more than a fair source ever needs for the sizes drawn here (at most 16 values).
constexpr int kMaxRefusals = 1000;

} // namespace

int DrawAccepted(Random& random, int n, const std::function<bool(int)>& accept)
{
    if (n <= 0)
        return -1;
    for (int draw = 0; draw < kMaxRefusals; ++draw) {
        const int r = random.below(n);
        if (accept(r))
            return r;
    }
    for (int r = 0; r < n; ++r) {
        if (accept(r))
            return r;
    }
    return -1;
}

QuizChoices DrawQuizChoices(int wordIndex, int wordCount, Random& random)
{
    QuizChoices choices;
    choices.fill(-1);
    if (wordIndex < 0 || wordIndex >= wordCount)
        return choices;
    const int offered = std::min(wordCount, kQuizChoices);
    random.Randomize();
    const int right = random.below(offered);
    choices[static_cast<size_t>(right)] = static_cast<std::int16_t>(wordIndex);
    for (int k = 0; k < offered; ++k) {
        if (k == right)
            continue;
        const int r = DrawAccepted(random, wordCount, [&](int candidate) {
            return candidate != wordIndex &&
                   std::find(choices.begin(), choices.begin() + k, candidate) == choices.begin() + k;
        });
        choices[static_cast<size_t>(k)] = static_cast<std::int16_t>(r);
    }
    return choices;
}

} // namespace lexora
