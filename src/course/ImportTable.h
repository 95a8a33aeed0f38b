#pragma once

#include "course/CourseImport.h"

#include <QString>
#include <variant>

namespace lexora {

// Whether the first line that is not blank names spreadsheet columns: an English column and
// nothing but known column names.
bool IsSpreadsheetHeader(const QString& text);

// A spreadsheet saved as CSV or TSV: a header row, then one word a row (RFC 4180 quoting).
ImportRead ReadSpreadsheet(const QString& text, const ImportOptions& options);

// One English word or phrase a line, optionally followed by a tab and its Chinese meaning.
ImportRead ReadPlainList(const QString& text);

} // namespace lexora
