#pragma once

#include "store/MistakeNotebook.h"

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

// The learner's part of a word database, which a new course must not lose: each word's result (one
// per English text, whatever rows hold it), the units' status (known by their book and unit names),
// the test history, the notebook of wrong words, the last book and unit.
struct LearnerRecords
{
    struct WordResult
    {
        QString english; // trimmed
        QString result;
    };
    struct UnitStatus
    {
        qlonglong book = 0;
        qlonglong unit = 0;
        QString bookName; // trimmed
        QString unitName;
        qlonglong status = 0;
    };
    std::vector<WordResult> results;
    std::vector<UnitStatus> units;
    // NO, userID, Date, Time, Task.
    std::vector<QVariantList> history;
    std::vector<NotebookRow> notebook;
    // Date, Time, Asked, Wrong, Task of each finished test run, oldest first.
    std::vector<QVariantList> testRuns;
    qlonglong lastBook = 0;
    qlonglong lastUnit = 0;
    QString lastBookName;
    QString lastUnitName;
};

// What a carry kept and what the new course no longer has.
struct CarryCount
{
    int wordsKept = 0;
    int wordsGone = 0;
    int unitsGone = 0;
};

// Reads the records of a database in either header state; the file itself is not touched.
std::optional<LearnerRecords> ReadLearnerRecords(const QString& dbFile, QString* error);

// Writes records into a course database (either header state, left as found). A word's result goes to
// every row of its English text, wherever it now stands; a unit's status to the unit of the same book
// and unit names (or, when that name is gone, the unit at the same place); the last book and unit
// likewise; a notebook row replaces the word's row. Words and units the course no longer has are
// dropped and counted (notebook rows of such words are dropped without a count).
bool WriteLearnerRecords(const QString& dbFile, const LearnerRecords& records, QString* error,
                         CarryCount* count = nullptr);

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
    CarryCount carried; // for Updated
    // Records imported while this course was not installed here, merged now (with what the course
    // does not have, left out); or why not.
    bool pendingMerged = false;
    CarryCount pendingDropped;
    QString pendingError;
    // A learner's file that held no database, and what took its place; empty when there was none.
    QString repaired;
};

// Makes the learner's database ready before anything opens it. The update is built beside the old
// file and renamed over it; the last kBackups databases are kept. A record left by a Lexora that kept
// one per user is taken over when it is of this course.
LearnerDatabaseOutcome PrepareLearnerDatabase(const Locations& locations,
                                              const UpdateCheckpoint& checkpoint = {});

// Keeps a learner's database as its newest backup (<file>.bak1), the older ones shifted down
// and the oldest of Locations::kBackups gone.
bool KeepDatabaseBackups(const QString& dbFile, QString* error);

// What identifies a course's database file: its content's hash.
QByteArray CourseFingerprint(const QString& dbFile);

} // namespace lexora
