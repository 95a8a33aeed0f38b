#pragma once

#include "course/CourseSource.h"

#include <QColor>
#include <QSet>
#include <QString>
#include <optional>
#include <vector>

namespace lexora {

class EmojiNames;

// The colour a colour word teaches ("red", "dark blue", "grey"), unless its Chinese meaning shows
// the word names a thing instead: "orange" meaning 橙子 is the fruit, meaning 橙色 the colour.
std::optional<QColor> ColourOfWord(const QString& english, const QString& chinese);

// A picture found for a word the course gives none.
struct FoundPicture
{
    enum class Kind
    {
        None,
        Emoji,
        Colour
    };
    Kind kind = Kind::None;
    QString value; // the emoji, or the colour as #rrggbb
    QString name;  // the emoji's English name, or "colour red"
    bool sure = false;
    QString remark; // why an author should check it, or why there is none
};

// Pictures for the words (one entry per word, in order) so that no two words of the course share
// one: a word with several candidates takes the next free one, and words whose best candidate is
// the surest choose first. `given` holds the emoji the course gives its other words itself.
std::vector<FoundPicture> FindPictures(const std::vector<const CourseWord*>& words, const EmojiNames* names,
                                       const QSet<QString>& given);

// The same for a course's words (each English text once): the words the course gives no picture,
// with what they find; the emoji it gives the others are taken.
std::vector<std::pair<const CourseWord*, FoundPicture>>
FindCoursePictures(const std::vector<const CourseWord*>& words, const EmojiNames* names);

// The emoji without its variation selectors, so that two spellings of one picture compare equal.
QString EmojiKey(const QString& emoji);

} // namespace lexora
