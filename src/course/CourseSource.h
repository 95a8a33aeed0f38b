#pragma once

#include <QString>
#include <optional>
#include <variant>
#include <vector>

namespace lexora {

// Where a word's picture comes from: drawn from an emoji, copied from a JPEG file, or none.
struct CoursePicture
{
    enum class Kind
    {
        None,
        Emoji,
        File
    };
    Kind kind = Kind::None;
    QString value; // the emoji text, or the absolute path of the JPEG
};

struct CourseBook
{
    int id = 0;
    QString name;
    int line = 0;
};

struct CourseUnit
{
    int book = 0;
    int id = 0;
    QString name;
    int line = 0;
};

struct CourseWord
{
    int book = 0;
    int unit = 0;
    QString english; // trimmed; names the word's media files
    QString chinese;
    CoursePicture picture;
    QString voiceFile; // absolute path of a WAV; empty: synthesised from the English text
    int line = 0;
};

// A parsed course: books in id order, each book's units in id order, words in source order.
struct CourseSource
{
    QString versionName;
    QString versionDB;
    // The course's identity, kept by every version of it; empty: the builder keeps the built tree's
    // or makes one.
    QString courseId;
    std::vector<CourseBook> books;
    std::vector<CourseUnit> units;
    std::vector<CourseWord> words;
};

struct CourseError
{
    int line = 0; // 0: the error concerns the whole file
    QString message;

    // "FILE:LINE: message", or "FILE: message" for a whole-file error.
    QString describe(const QString& file) const;
};

using CourseParse = std::variant<CourseSource, CourseError>;

// Parses the tab-separated course source; relative media paths are resolved against baseDir.
CourseParse ParseCourseSource(const QString& text, const QString& baseDir);

// Text of a course source or word list: UTF-8 with or without a byte order mark, or UTF-16 with
// one (a spreadsheet's "Unicode text"); every line end becomes "\n". Bad bytes are named by line.
std::variant<QString, CourseError> DecodeCourseText(const QByteArray& bytes);

// Reads a course source file and parses it.
CourseParse ReadCourseSource(const QString& path);

// Checks a parsed course against the rules of its structure: books and units numbered without gaps,
// every unit with words, every word in a unit, names that can name media files, media files that
// exist, one picture and voice per English text, a meaning on every row. The failure on the earliest
// line, or nothing.
std::optional<CourseError> CheckCourse(const CourseSource& course);

// The rows whose Chinese meaning is empty, all named in one error; nothing when every row has one.
std::optional<CourseError> MissingMeanings(const CourseSource& source);

// Whether a file lies outside a folder, by real paths: a link that leads out counts as outside.
bool IsOutsideFolder(const QString& path, const QString& folder);

// The first picture or voice file of the course outside folder, as the error a build stops at
// unless it is told to take such files.
std::optional<CourseError> MediaOutsideFolder(const CourseSource& source, const QString& folder);

// Why an English text cannot name media files (empty, a path separator, a control character,
// "." or "..", a single letter), or nothing when it can.
std::optional<QString> MediaNameProblem(const QString& english);

} // namespace lexora
