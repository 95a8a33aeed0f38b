#pragma once

#include "course/ConsolePrompter.h"

#include <QString>

class QTextStream;

namespace lexora {

// Reads the course of a program folder through the word store, as the program does, and prints the
// version, its books and units, each unit's word count and status. False when any of it cannot
// be read; the store's messages went to the prompter.
bool PrintCatalogue(const QString& programFolder, Prompter& prompter, QTextStream& out);

} // namespace lexora
