#pragma once

#include "course/CourseSource.h"

#include <QString>
#include <optional>

namespace lexora {

class EmojiNames;

// Writes one self-contained HTML page (pictures embedded as data: URIs) that shows every word of
// the course, unit by unit, with its meaning and the picture the build would give it: the one the
// course gives, or the one found by name marked sure or check, or none with the reason. Drawing the
// pictures needs a QGuiApplication.
std::optional<CourseError> WriteCoursePreview(const CourseSource& course, const QString& htmlPath,
                                              const EmojiNames* names);

} // namespace lexora
