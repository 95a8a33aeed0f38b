#include "games/MatchDeal.h"

#include "store/Random.h"
#include "store/Records.h"

#include <QSet>
#include <algorithm>

namespace lexora {

std::vector<int> ChooseGameWords(const std::vector<CWordType>& words, int wordNum, Random& random)
{
    const int count = std::clamp(wordNum, 0, static_cast<int>(words.size()));
    QSet<QString> texts;
    for (int i = 0; i < count; ++i)
        texts.insert(words[static_cast<size_t>(i)].English);
    const int n = std::min<int>(kMatchWordsMax, static_cast<int>(texts.size()));
    random.Randomize();
    std::vector<int> chosen;
    QSet<QString> taken;
    while (static_cast<int>(chosen.size()) < n) {
        const int r = DrawAccepted(random, count, [&](int candidate) {
            return !taken.contains(words[static_cast<size_t>(candidate)].English);
        });
        chosen.push_back(r);
        taken.insert(words[static_cast<size_t>(r)].English);
    }
    return chosen;
}

MatchDeal DealCards(int n, Random& random)
{
    MatchDeal deal;
    n = std::clamp(n, 0, kMatchWordsMax);
    deal.background = random.below(3) + 1;
    random.Randomize();
    deal.tags.fill(-1);
    for (int k = n; k < 2 * n; ++k) {
        deal.tags[static_cast<size_t>(k)] = DrawAccepted(random, n, [&](int p) {
            return std::find(deal.tags.begin() + n, deal.tags.begin() + k, p) == deal.tags.begin() + k;
        });
    }
    for (int k = 0; k < n; ++k)
        deal.coins.push_back(random.below(2));
    return deal;
}

void MatchBoard::start(const MatchDeal& deal, int n)
{
    m_n = std::clamp(n, 0, kMatchWordsMax);
    m_tags = deal.tags;
    for (int i = 0; i < kMatchCards; ++i)
        m_showing[static_cast<size_t>(i)] = i < 2 * m_n;
    m_selected = -1;
    m_errors = 0;
}

MatchBoard::Click MatchBoard::click(int card)
{
    Click result;
    if (!showing(card) || card == m_selected)
        return result;
    result.previous = m_selected;
    if (m_selected < 0) {
        m_selected = card;
        result.outcome = Outcome::Selected;
        return result;
    }
    const int s = m_selected;
    m_selected = -1;
    if (tag(s) == card || tag(card) == s) {
        m_showing[static_cast<size_t>(s)] = false;
        m_showing[static_cast<size_t>(card)] = false;
        result.outcome = Outcome::Matched;
        result.word = std::max(s, card) - m_n;
        result.won = std::none_of(m_showing.begin(), m_showing.end(), [](bool shown) { return shown; });
        return result;
    }
    ++m_errors;
    result.outcome = m_errors >= kMatchErrorsToLose ? Outcome::Lost : Outcome::Missed;
    return result;
}

} // namespace lexora
