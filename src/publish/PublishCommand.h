#pragma once

#include "course/ConsolePrompter.h"

#include <QStringList>

class QTextStream;

namespace lexora {

// Exit statuses of the command line.
enum PublishExit : int
{
    kPublishDone = 0,       // nothing missing, refused or failed
    kPublishIncomplete = 1, // something is missing or was not copied
    kPublishUsage = 2,
    kPublishRefused = 3, // wrong access code
};

// True when the first argument names one of the tool's subcommands rather than window options.
bool IsPublishCommand(const QStringList& arguments);

// Runs one subcommand (arguments as the program got them, its name first). Listed words and files
// go to `out`, one a line, for scripts; the status line and the closing message go to `err`.
int RunPublishCommand(const QStringList& arguments, Prompter& prompter, QTextStream& out, QTextStream& err);

} // namespace lexora
