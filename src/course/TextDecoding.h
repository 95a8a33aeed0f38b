#pragma once

#include "course/CourseSource.h"

#include <QByteArray>
#include <QString>
#include <variant>

namespace lexora {

// A word list's text and the encoding it was read in, named for the author ("UTF-8", "GBK", ...).
struct DecodedText
{
    QString text;
    QString encoding;
};

// Reads a word list as a spreadsheet or an editor saved it: UTF-8 (with or without a byte order
// mark) and UTF-16 with one are taken as they are; any other text is tried as GB18030 (GBK) and as
// Big5, and read in the one encoding that gives plausible Chinese text. A file that no encoding reads
// plausibly, or that two read alike, is refused with how to save it as UTF-8. Every line end
// becomes "\n". An encoding the author names ("UTF-8", "GBK", "GB18030", "Big5"; any case) is used
// instead of the guess, strictly: bytes it does not read are refused with their line.
std::variant<DecodedText, CourseError> DecodeWordListText(const QByteArray& bytes,
                                                          const QString& encoding = {});

// Whether DecodeWordListText knows the encoding's name.
bool IsKnownWordListEncoding(const QString& encoding);

} // namespace lexora
