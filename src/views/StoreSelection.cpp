#include "views/StoreSelection.h"

#include "store/WordStore.h"

namespace lexora {

StoreSelection StoreSelection::take(const WordStore& store)
{
    const Catalogue& catalogue = store.catalogue();
    const StudyWords& list = store.words();
    return {catalogue.currentBook(), catalogue.currentUnit(), list.current(), catalogue.units(),
            static_cast<std::int16_t>(catalogue.unitCount()), list.records(), static_cast<std::int16_t>(list.count())};
}

void StoreSelection::restoreWords(WordStore& store) const
{
    store.catalogue().setCurrent(book, unit);
    store.words().restore(words, wordNum);
    store.words().setCurrent(word);
}

void StoreSelection::restoreAll(WordStore& store) const
{
    restoreWords(store);
    store.catalogue().restoreUnits(units, unitNum);
}

} // namespace lexora
