#pragma once

#include "store/LearnerRecords.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace lexora {

class Locations;

// A learner's records of every course, moved between computers as one small plain SQLite file
// (the format is described in the README, "Moving a child's record").
inline constexpr int kRecordsFormat = 1;

struct CourseRecords
{
    struct Reading
    {
        QString name; // a file name in myvoice, nothing more
        QByteArray data;
    };
    QString courseId;
    QString title; // VersionName
    QString stem;  // VersionDB
    LearnerRecords records;
    std::vector<Reading> readings;
};

struct RecordsContent
{
    QString learner;
    std::vector<CourseRecords> courses;
};

// What an import did, summed over its courses.
struct ImportReport
{
    int coursesMerged = 0; // into a record on this computer
    int coursesAside = 0;  // kept until their course is installed
    int wordsKept = 0;     // the learner's own result was as high or higher
    int wordsRaised = 0;   // a result new or raised from the file
    int unitsRaised = 0;
    int historyAdded = 0;
    int readingsAdded = 0;
    int wordsDropped = 0; // words and units the course here does not have
    int unitsDropped = 0;
};

// Writes the records of every course folder under the learner's folder into one file (built beside
// it and renamed into place). Returns the number of courses written, or nothing with error.
std::optional<int> ExportRecords(const QString& learnerFolder, const QString& file, QString* error);

// Reads and checks a records file; a damaged, foreign, truncated or newer file gives nothing and a
// reason in Chinese.
std::optional<RecordsContent> ReadRecordsFile(const QString& file, QString* error);
bool WriteRecordsFile(const RecordsContent& content, const QString& file, QString* error);

// Merges the records of a file into the learner's: courses with a record folder here (or the course
// being started, `current`) at once, the others kept aside in <learner>/pending/<course id>.lexrec.
// Nothing lowers a count: see MergeResult. The file is read and checked whole before anything is
// written; each database gets the rotated backups and is replaced in one rename.
bool ImportRecords(const QString& file, const QString& learnerFolder, const Locations& current,
                   ImportReport* report, QString* error, const UpdateCheckpoint& checkpoint = {});

// Merges records kept aside for this course, once its record is ready; the pending file goes when
// merged. True when there was none.
bool MergePendingRecords(const Locations& locations, ImportReport* report, QString* error,
                         const UpdateCheckpoint& checkpoint = {});

// The higher of two results ("tests|errors|rights"), count by count; a null side gives the other.
QString MergeResult(const QString& stored, const QString& incoming);

} // namespace lexora
