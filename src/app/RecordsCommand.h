#pragma once

#include <QString>

namespace lexora {

struct CommandLine;
struct ImportReport;
class Locations;

// What a records command printed and how it ended.
struct CommandOutcome
{
    int code = 0;
    QString out; // one summary line on success
    QString err; // the reason of a failure, or what an import had to leave out
};

// --export-records FILE and --import-records FILE, without a window. The learner's lock is taken
// first: records are never moved while their Lexora runs.
CommandOutcome RunRecordsCommand(const CommandLine& line, const Locations& locations);

// The learner's words for an import: what it kept and added, and, when it left anything out, how much.
QString ImportSummary(const ImportReport& report, const QString& file);
QString DroppedReport(const ImportReport& report);

} // namespace lexora
