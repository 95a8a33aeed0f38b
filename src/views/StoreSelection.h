#pragma once

#include "store/Records.h"

#include <cstdint>
#include <vector>

namespace lexora {

class WordStore;

// The store's current choice and word list, kept aside while a dialog tries another choice, so that
// a failed load or a cancelled dialog leaves the learner where they were.
struct StoreSelection
{
    std::int16_t book = 0;
    std::int16_t unit = 0;
    std::int16_t word = 0;
    std::vector<CBookUnit> units;
    std::int16_t unitNum = 0;
    std::vector<CWordType> words;
    std::int16_t wordNum = 0;

    static StoreSelection take(const WordStore& store);
    void restoreWords(WordStore& store) const;
    void restoreAll(WordStore& store) const;
};

} // namespace lexora
