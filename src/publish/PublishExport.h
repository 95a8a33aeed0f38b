#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

namespace lexora {

// "复制到剪贴板": each item preceded by a line break, so the text starts with one and has none at
// its end; no items give an empty text.
QString ClipboardText(const QStringList& items);

// The public picture search for a word; the word travels percent-encoded as one query value, so
// blanks, "&", "#" and "+" search for exactly the word's own text.
QUrl ImageSearchUrl(const QString& word);

} // namespace lexora
