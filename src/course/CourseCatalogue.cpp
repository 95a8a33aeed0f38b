#include "course/CourseCatalogue.h"

#include "store/Random.h"
#include "store/WordStore.h"

#include <QTextStream>
#include <cstdio>

namespace lexora {

bool PrintCatalogue(const QString& programFolder, Prompter& prompter, QTextStream& out)
{
    SystemRandom random;
    WordStore store(programFolder, prompter, random);
    if (!store.LoadSettings())
        return false;
    out << store.catalogue().versionName() << "  [" << store.catalogue().tableStem() << "]\n";
    bool ok = true;
    int totalWords = 0;
    for (std::int16_t book = 0; book < store.catalogue().bookCount(); ++book) {
        out << "\nBook " << book << ": " << store.catalogue().bookName(book) << '\n';
        if (!store.LoadBookUnits(book)) {
            ok = false;
            continue;
        }
        // A copy: the word loads below run further queries through the store.
        const std::vector<CBookUnit> units = store.catalogue().units();
        for (const CBookUnit& unit : units) {
            const bool loaded = store.LoadUnitWords(book, unit.UnitID);
            ok = ok && loaded;
            const int words = loaded ? store.words().count() : 0;
            totalWords += words;
            out << "  Unit " << unit.UnitID << ": " << unit.UnitName << "  (" << words
                << (words == 1 ? " word" : " words") << ", status " << unit.UnitStatus << ")\n";
        }
    }
    out << "\n" << store.catalogue().bookCount() << " books, " << totalWords << " words\n";
    out.flush();
    return ok;
}

} // namespace lexora
