#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

namespace lexora {

// Which letters of a word's text spell each of its phones: for every phone, the positions in the text of
// its letters (a letter that is not heard, like a final "e", goes with the phone before it). Phones that
// no letter spells get none.
QList<QList<qsizetype>> LettersOfPhones(const QString& text, const QStringList& phones);

// The phones of `word` that `heard` lacks or replaces, by their positions in `word`.
QList<qsizetype> MissedPhones(const QStringList& word, const QStringList& heard);

// The letters of the text that spell the phones missed, in order.
QList<qsizetype> MissedLetters(const QString& text, const QStringList& phones, const QStringList& heard);

} // namespace lexora
