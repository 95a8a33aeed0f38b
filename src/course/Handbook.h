#pragma once

#include <QString>
#include <QStringList>

namespace lexora {

// The program's handbook: one HTML page, opened in the desktop's browser, made from the help texts
// the help dialog shows (each a title line, then blocks separated by blank lines). A short unindented
// line without closing punctuation heads a part of its text; every other line keeps its indentation.
QString HandbookHtml(const QStringList& helpTexts);

} // namespace lexora
