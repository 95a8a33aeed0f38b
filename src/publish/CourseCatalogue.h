#pragma once

#include "store/Prompter.h"

#include <QString>

class QTextStream;

namespace lexora {

// Message boxes of a command-line tool: the text goes to stderr, the first offered answer is taken.
class ConsolePrompter final : public Prompter
{
public:
    Answer message(const QString& text, const QString& title, Buttons buttons = Buttons::Ok,
                   Icon icon = Icon::None) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText = {}) override;
};

// Reads the course of a program folder through the word store, as the program does, and prints the
// version, its books and units, each unit's word count and status. False when any of it cannot
// be read; the store's messages went to the prompter.
bool PrintCatalogue(const QString& programFolder, Prompter& prompter, QTextStream& out);

} // namespace lexora
