#include "publish/CourseCatalogue.h"

#include "store/Random.h"
#include "store/WordStore.h"

#include <QTextStream>
#include <cstdio>

namespace lexora {

Prompter::Answer ConsolePrompter::message(const QString& text, const QString& title, Buttons buttons, Icon)
{
    std::fprintf(stderr, "[%s] %s\n", qUtf8Printable(title), qUtf8Printable(text));
    switch (buttons) {
    case Buttons::Ok:
    case Buttons::OkCancel:
        return Answer::Ok;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        return Answer::Yes;
    }
    return Answer::Ok;
}

std::optional<QString> ConsolePrompter::input(const QString& prompt, const QString& title, const QString&)
{
    // Nobody answers at a build console.
    std::fprintf(stderr, "[%s] %s (no answer)\n", qUtf8Printable(title), qUtf8Printable(prompt));
    return std::nullopt;
}

bool PrintCatalogue(const QString& programFolder, Prompter& prompter, QTextStream& out)
{
    SystemRandom random;
    WordStore store(programFolder, prompter, random);
    store.MakeConnectString();
    if (!store.LoadSettings())
        return false;
    out << store.strVersionName << "  [" << store.strVersionDB << "]\n";
    bool ok = true;
    int totalWords = 0;
    for (std::int16_t book = 0; book < store.iBookNum; ++book) {
        out << "\nBook " << book << ": " << store.GetBookName(book) << '\n';
        if (!store.LoadBookUnits(book)) {
            ok = false;
            continue;
        }
        // A copy: the word loads below run further queries through the store.
        const std::vector<CBookUnit> units = store.arrBookUnit;
        for (const CBookUnit& unit : units) {
            const bool loaded = store.LoadUnitWords(book, unit.UnitID);
            ok = ok && loaded;
            const int words = loaded ? store.iWordNum : 0;
            totalWords += words;
            out << "  Unit " << unit.UnitID << ": " << unit.UnitName << "  (" << words
                << (words == 1 ? " word" : " words") << ", status " << unit.UnitStatus << ")\n";
        }
    }
    out << "\n" << store.iBookNum << " books, " << totalWords << " words\n";
    out.flush();
    return ok;
}

} // namespace lexora
