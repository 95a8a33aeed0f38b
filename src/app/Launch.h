#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace lexora {

class Locations;
struct CarryCount;
class Prompter;

// What the command line asks of the program.
struct CommandLine
{
    enum class Action
    {
        Run,
        Help,
        Version,
        ExportRecords,
        ImportRecords,
        Report,
        Error
    };
    Action action = Action::Run;
    // --course DIR: a course tree to use instead of the one the program finds itself.
    QString course;
    // --learner NAME: whose record to open, without asking.
    QString learner;
    // --export-records FILE, --import-records FILE: the learner's records file, moved without a window.
    QString recordsFile;
    // --report FILE: the progress report written as a PDF, without a window.
    QString reportFile;
    // Help or version text for standard output, or the error for standard error.
    QString text;
};

// Parses lexora's options (--help, --version, --course DIR). Needs no application object, so help and
// version work without a display.
CommandLine ParseCommandLine(const QStringList& arguments);

// The learner a start opens: the one named on the command line, the only one there is, or the one the
// child picks through `ask` (the names in, the index chosen or -1 out). Nothing when the name is
// unknown (the person was told) or no one was picked.
std::optional<QString> PickLearner(const QString& dataFolder, const QString& named, Prompter& prompter,
                                   const std::function<int(const QStringList&)>& ask);

// Prepares the learner's own database before it is opened and tells the learner when an update of
// the course failed. False when there is no database to start with (the learner was told).
bool PrepareLearner(const Locations& locations, Prompter& prompter);
// What an update of the course kept and dropped, for the learner, once.
QString UpdateReport(const CarryCount& count);

} // namespace lexora
