#pragma once

#include <QString>
#include <QStringList>

namespace lexora {

class Database;

// Fixed names of the course database.
inline constexpr auto kDatabasePassword = "quillbent";
inline constexpr auto kDatabaseFileName = "lexora.pet";
inline constexpr auto kAppPicsFolder = "AppPics";
inline constexpr auto kCommonFolder = "Common";
// The course's identity beside its database: letters, digits and '-', at most 64 of them.
inline constexpr auto kCourseIdFileName = "course.id";
inline constexpr int kMaxCourseIdLength = 64;
bool IsValidCourseId(const QString& id);
// A new identity for a course.
QString NewCourseId();

// The media folders inside the common data folder (the learner's readings in an installed program's
// data folder instead). Names are spelt one way: a case-sensitive file system finds nothing else.
inline constexpr auto kVoiceFolder = "voice";
inline constexpr auto kPicsFolder = "pics";
inline constexpr auto kAppVoiceFolder = "appvoice";
inline constexpr auto kMyVoiceFolder = "myvoice";

// Statements that create every table the program reads or writes, for the version whose table
// stem is versionDB.
QStringList CourseSchemaStatements(const QString& versionDB);

// True when versionDB can stand in SQL text as a table stem (letters, digits, underscore).
bool IsValidTableStem(const QString& versionDB);

bool CreateCourseSchema(Database& db, const QString& versionDB, QString* error);

} // namespace lexora
