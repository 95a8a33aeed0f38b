#pragma once

#include "app/RecordsCommand.h"

#include <QDate>
#include <QString>

namespace lexora {

struct CommandLine;
class Locations;

// The child's name as the report prints it; empty for a portable tree, which keeps one nameless record.
QString ReportLearnerName(const Locations& locations);

// --report FILE: writes the learner's progress report on the course as a PDF, as of `today`, without a
// window. The learner's lock is taken first: the file is never read while their Lexora runs.
CommandOutcome RunReportCommand(const CommandLine& line, const Locations& locations, QDate today);

} // namespace lexora
