// The course source parser: any text is a course or an error naming a line of it.
#include "course/CourseSource.h"

#include <cstdlib>

using namespace lexora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto text =
        DecodeCourseText(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (const auto* error = std::get_if<CourseError>(&text))
        return 0;
    const QString& source = std::get<QString>(text);
    // Media paths resolve against a folder that does not exist, so that no file of the machine is named.
    const CourseParse parsed = ParseCourseSource(source, QStringLiteral("/nonexistent/lexora-fuzz"));
    if (const auto* error = std::get_if<CourseError>(&parsed)) {
        if (error->line < 0 || error->line > source.count(QLatin1Char('\n')) + 1)
            std::abort();
    }
    return 0;
}
