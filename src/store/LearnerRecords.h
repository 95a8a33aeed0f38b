#pragma once

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace lexora {

class Database;
class Locations;

// Opens a database in whichever header state it is in; `toggled` tells whether its head was turned to
// do so (the caller turns it back). On failure the file is left as found.
std::unique_ptr<Database> OpenInEitherState(const QString& file, bool* toggled, QString* error);

// The learner's part of a word database, which a new course must not lose: each word's result (known
// by its English text, book and unit), the unit status rows, the test history, the last book and unit.
struct LearnerRecords
{
    struct WordResult
    {
        QString english;
        qlonglong book = 0;
        qlonglong unit = 0;
        QString result;
    };
    struct UnitStatus
    {
        qlonglong book = 0;
        qlonglong unit = 0;
        qlonglong status = 0;
    };
    std::vector<WordResult> results;
    std::vector<UnitStatus> units;
    // NO, userID, Date, Time, Task.
    std::vector<QVariantList> history;
    qlonglong lastBook = 0;
    qlonglong lastUnit = 0;
};

// Reads the records of a database in either header state; the file itself is not touched.
std::optional<LearnerRecords> ReadLearnerRecords(const QString& dbFile, QString* error);

// Writes records into a course database (either header state, left as found). Words and units the
// course no longer has are dropped; the last book and unit are kept only when that unit still exists.
bool WriteLearnerRecords(const QString& dbFile, const LearnerRecords& records, QString* error);

// Called between the steps of an update; returning false stops right there, as a crash would.
using UpdateCheckpoint = std::function<bool(const QString& step)>;

// An installed learner's database beside the course it came from.
struct LearnerDatabaseOutcome
{
    enum class State
    {
        Ready,        // as it was: portable, or the course did not change
        Copied,       // first start: the course's database was copied
        Updated,      // the course changed: new content, the learner's records carried over
        UpdateFailed, // the course changed but the update failed; the old database is still in use
        Failed,       // there is no database to use
    };
    State state = State::Ready;
    QString error;
};

// Makes the learner's database ready before anything opens it. The update is built beside the old
// file and renamed over it; the old file is kept as the one backup.
LearnerDatabaseOutcome PrepareLearnerDatabase(const Locations& locations,
                                              const UpdateCheckpoint& checkpoint = {});

// What identifies a course's database file: its content's hash.
QByteArray CourseFingerprint(const QString& dbFile);

} // namespace lexora
