#include "games/SpellingRound.h"

#include "store/Records.h"

#include <algorithm>

namespace lexora {

std::int16_t CountSingleWords(const std::vector<CWordType>& words, int wordNum)
{
    const int count = std::clamp(wordNum, 0, static_cast<int>(words.size()));
    return static_cast<std::int16_t>(std::count_if(words.begin(), words.begin() + count,
                                                   [](const CWordType& w) { return w.Composition == 0; }));
}

bool ScoreArrangedWord(CWordType& word, int helpCount)
{
    ++word.testNum;
    if (helpCount != 0) {
        ++word.errNum;
        word.rightNum = 0;
        return false;
    }
    word.Tested = true;
    ++word.rightNum;
    return true;
}

QString ScoreLine(int done, int total)
{
    return QStringLiteral("单词排排看 %1/%2").arg(done).arg(total);
}

} // namespace lexora
