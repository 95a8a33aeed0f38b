#include "views/StoreSelection.h"

#include "store/WordStore.h"

namespace lexora {

StoreSelection StoreSelection::take(const WordStore& store)
{
    return {store.iCurrBook, store.iCurrUnit, store.iCurrWord, store.arrBookUnit,
            store.iUnitNum,  store.arrWords,  store.iWordNum};
}

void StoreSelection::restoreWords(WordStore& store) const
{
    store.iCurrBook = book;
    store.iCurrUnit = unit;
    store.iCurrWord = word;
    store.arrWords = words;
    store.iWordNum = wordNum;
}

void StoreSelection::restoreAll(WordStore& store) const
{
    restoreWords(store);
    store.arrBookUnit = units;
    store.iUnitNum = unitNum;
}

} // namespace lexora
