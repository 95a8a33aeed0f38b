#include "quiz/QuizDraw.h"

#include "store/Random.h"

#include <algorithm>

namespace lexora {

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
