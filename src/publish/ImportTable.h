#pragma once

#include "publish/CourseImport.h"

#include <QByteArray>
#include <QString>
#include <variant>

namespace lexora {

// Text of a word list: UTF-8 with or without a byte order mark, or UTF-16 with one (a spreadsheet's
// "Unicode text"); every line end becomes "\n".
std::variant<QString, CourseError> DecodeImportText(const QByteArray& bytes);

// Whether the first line that is not blank names spreadsheet columns: an English column and
// nothing but known column names.
bool IsSpreadsheetHeader(const QString& text);

// A spreadsheet saved as CSV or TSV: a header row, then one word a row (RFC 4180 quoting).
ImportRead ReadSpreadsheet(const QString& text, const ImportOptions& options);

// One English word or phrase a line, optionally followed by a tab and its Chinese meaning.
ImportRead ReadPlainList(const QString& text);

} // namespace lexora
