#pragma once

#include "course/CourseSource.h"

#include <QString>
#include <optional>
#include <variant>
#include <vector>

namespace lexora {

// How `lexora-course import` and `build` read a word list that is not a course source.
struct ImportOptions
{
    QString english; // column or identifier by name or number; empty: found by its name
    QString chinese;
    QString book;          // name of the book of words that name none; empty: the file's title or name
    int unitSize = 10;     // words per unit for words outside any lesson or unit
    QString course = {};   // name of the course when the file has no title; empty: the file's name
    QString encoding = {}; // of a text file; empty: told from its bytes
};

// One word as a reader found it, before it is placed in a unit.
struct ImportRow
{
    int line = 0;
    QString entry; // the vocabulary file's entry id, named in reports
    QString book;  // empty: the default book
    QString english;
    QString chinese;
    QString picture; // as written: emoji:..., or a path relative to the imported file
    QString voice;
};

// A named unit (a lesson, or the rows of one name in a unit column) with its rows in order.
struct ImportUnit
{
    QString book;
    QString name;
    int line = 0;
    std::vector<ImportRow> rows;
};

// What a reader found: named units in order, then the words of no unit.
struct ImportList
{
    QString title;
    QString columns; // which columns or identifiers gave English and Chinese, for the author
    std::vector<ImportUnit> units;
    std::vector<ImportRow> loose;
    std::vector<CourseError> notes;
};

using ImportRead = std::variant<ImportList, CourseError>;

enum class CourseFileFormat
{
    CourseSource,
    Kvtml,
    Spreadsheet,
    PlainList
};

// A word list placed into books and units, every row checked by the course source's rules; what
// was left out or needs the author is in notes, each with the line of the imported file.
struct CourseImport
{
    CourseSource course;
    QString columns;
    QString encoding;            // the text's encoding as read ("UTF-8", "GBK", "Big5", ...); empty for XML
    bool namedAfterFile = false; // the course name is the file's, for want of a title or --course-name
    bool bookNamedAfterFile = false; // so is the name of the book of rows that name none
    std::vector<CourseError> notes;
};

using ImportResult = std::variant<CourseImport, CourseError>;

// Tells a course source from a vocabulary file, a spreadsheet with a header row and a plain list.
std::variant<CourseFileFormat, CourseError> DetectCourseFileFormat(const QString& path,
                                                                   const ImportOptions& options);

// Reads a vocabulary file, spreadsheet or plain list.
ImportResult ImportCourse(const QString& path, const ImportOptions& options);

// The course as course source text; media paths are written relative to targetDir.
QString CourseSourceText(const CourseImport& imported, const QString& origin, const QString& targetDir);

// Writes the course source file whole or not at all.
std::optional<CourseError> WriteCourseSourceFile(const CourseImport& imported, const QString& origin,
                                                 const QString& path);

// Reads what `build` is given: a course source as it is, any other word list imported in memory and
// parsed by the course source's rules, its errors naming lines of the word list. Import notes go
// to `notes`.
CourseParse ReadAnyCourse(const QString& path, const ImportOptions& options, std::vector<CourseError>* notes);

} // namespace lexora
