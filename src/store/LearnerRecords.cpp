#include "store/LearnerRecords.h"

#include "store/CourseDatabase.h"
#include "store/ErrorText.h"
#include "store/FileHead.h"
#include "store/FileMoves.h"
#include "store/Locations.h"
#include "store/RecordsFile.h"
#include "store/Schema.h"
#include "store/SqlCipher.h"
#include "store/TestRuns.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <filesystem>
#include <map>
#include <sqlcipher/sqlite3.h>
#include <unistd.h>

namespace lexora {

namespace {

// Runs a query and hands each row's values to `row`; false with error when it fails.
bool eachRow(Database& db, const QString& sql, const QVariantList& params,
             const std::function<void(const QVariantList&)>& row, QString* error)
{
    StatementHandle statement = db.prepare(sql, params, error);
    if (!statement)
        return false;
    const int columns = sqlite3_column_count(statement.get());
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
        QVariantList values;
        for (int c = 0; c < columns; ++c)
            values.append(ColumnValue(statement.get(), c));
        row(values);
    }
    if (rc != SQLITE_DONE) {
        *error = db.lastError();
        return false;
    }
    return true;
}

bool run(Database& db, const QString& sql, const QVariantList& params, QString* error)
{
    return eachRow(
        db, sql, params, [](const QVariantList&) {}, error);
}

// The table stem of the database's version, checked before it goes into SQL text.
std::optional<QString> versionStem(Database& db, QString* error)
{
    std::optional<QString> stem;
    const bool ok = eachRow(
        db,
        QStringLiteral("select VersionDB from VersionInfo where ID = (select VersionID from FeatureTable "
                       "limit 1)"),
        {}, [&stem](const QVariantList& row) { stem = row.value(0).toString(); }, error);
    if (!ok)
        return std::nullopt;
    if (!stem || !IsValidTableStem(*stem)) {
        *error = QStringLiteral("单词库中没有课程版本");
        return std::nullopt;
    }
    return stem;
}

// Copies a file to a temporary name beside the target, syncs it and renames it into place.
bool copyInto(const QString& from, const QString& to, QString* error)
{
    // A copy of a read-only course file is made writable: it is opened to sync and to write.
    const QString temporary = to + QStringLiteral(".part");
    return CopyFileAfresh(from, temporary, error) && ReplaceFile(temporary, to, error);
}

bool writeTextFile(const QString& path, const QByteArray& text, QString* error)
{
    const QString temporary = path + QStringLiteral(".part");
    // Made afresh: a name planted there (a link to another file) is removed, never followed.
    QFile::remove(temporary);
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || file.write(text) != text.size() ||
        !file.flush() || ::fsync(file.handle()) != 0) {
        const int fault = errno;
        file.remove();
        *error =
            QStringLiteral("无法写入 %1：%2").arg(QDir::toNativeSeparators(path), DescribeFileError(fault));
        return false;
    }
    file.close();
    return ReplaceFile(temporary, path, error);
}

QByteArray readOrigin(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
}

// The count of tests a result holds ("tests|errors|rights"), to keep the fuller of two.
int testsOf(const QString& result)
{
    return result.section(QLatin1Char('|'), 0, 0).toInt();
}

bool readRecords(Database& db, LearnerRecords* records, QString* error)
{
    const auto stem = versionStem(db, error);
    if (!stem)
        return false;
    // One result per English text: rows that disagree (older records) keep the one with most tests.
    std::map<QString, QString> results;
    const bool ok =
        eachRow(
            db, QStringLiteral("select LastBook, LastUnit from FeatureTable limit 1"), {},
            [records](const QVariantList& row) {
                records->lastBook = row.value(0).toLongLong();
                records->lastUnit = row.value(1).toLongLong();
            },
            error) &&
        eachRow(
            db, QStringLiteral("select English, Result from %1 where Result is not null").arg(*stem), {},
            [&results](const QVariantList& row) {
                const QString english = row.value(0).toString().trimmed();
                const QString result = row.value(1).toString();
                auto [it, added] = results.try_emplace(english, result);
                if (!added && testsOf(result) > testsOf(it->second))
                    it->second = result;
            },
            error) &&
        eachRow(
            db,
            QStringLiteral("select BookID, UnitID, BookName, UnitName, max(UnitStatus) from %1_BookUnit "
                           "group by BookID, UnitID")
                .arg(*stem),
            {},
            [records](const QVariantList& row) {
                const LearnerRecords::UnitStatus unit{
                    row.value(0).toLongLong(), row.value(1).toLongLong(), row.value(2).toString().trimmed(),
                    row.value(3).toString().trimmed(), row.value(4).toLongLong()};
                if (unit.book == records->lastBook && unit.unit == records->lastUnit) {
                    records->lastBookName = unit.bookName;
                    records->lastUnitName = unit.unitName;
                }
                if (unit.status != 0)
                    records->units.push_back(unit);
            },
            error) &&
        eachRow(
            db, QStringLiteral("select NO, userID, Date, Time, Task from History order by rowid"), {},
            [records](const QVariantList& row) { records->history.push_back(row); }, error);
    for (auto& [english, result] : results)
        records->results.push_back({english, result});
    if (!ok)
        return false;
    auto notebook = ReadNotebookRows(db, error);
    if (!notebook)
        return false;
    records->notebook = std::move(*notebook);
    // Records kept before test runs were logged have no table for them.
    bool logged = false;
    return db.hasTable(QLatin1String(kTestRunsTable), &logged, error) &&
           (!logged ||
            eachRow(
                db, QStringLiteral("select Date, Time, Asked, Wrong, Task from TestRuns order by rowid"), {},
                [records](const QVariantList& row) { records->testRuns.push_back(row); }, error));
}

// The new course's unit for a unit of the old one: the same book and unit names, or, when no unit
// has those names any more (a renamed unit), the unit at the same place.
std::optional<std::pair<qlonglong, qlonglong>> unitFor(Database& db, const QString& stem, qlonglong book,
                                                       qlonglong unit, const QString& bookName,
                                                       const QString& unitName, QString* error)
{
    std::optional<std::pair<qlonglong, qlonglong>> found;
    const auto take = [&found](const QVariantList& row) {
        found = std::pair(row.value(0).toLongLong(), row.value(1).toLongLong());
    };
    if (!eachRow(db,
                 QStringLiteral("select BookID, UnitID from %1_BookUnit where trim(BookName) = ? and "
                                "trim(UnitName) = ? limit 1")
                     .arg(stem),
                 {bookName, unitName}, take, error))
        return std::nullopt;
    if (found)
        return found;
    bool named = false;
    if (!eachRow(
            db, QStringLiteral("select 1 from %1_BookUnit where trim(UnitName) = ? limit 1").arg(stem),
            {unitName}, [&named](const QVariantList&) { named = true; }, error) ||
        named)
        return std::nullopt;
    eachRow(db,
            QStringLiteral("select BookID, UnitID from %1_BookUnit where BookID = ? and UnitID = ? and "
                           "trim(BookName) = ? limit 1")
                .arg(stem),
            {book, unit, bookName}, take, error);
    return found;
}

bool writeRecords(Database& db, const LearnerRecords& records, QString* error, CarryCount* count)
{
    const auto stem = versionStem(db, error);
    if (!stem || !db.exec(QStringLiteral("BEGIN"), error))
        return false;
    bool ok = true;
    CarryCount counted;
    for (const auto& word : records.results) {
        ok = ok && run(db, QStringLiteral("update %1 set Result = ? where trim(English) = ?").arg(*stem),
                       {word.result, word.english}, error);
        if (ok)
            ++(sqlite3_changes(db.handle()) > 0 ? counted.wordsKept : counted.wordsGone);
    }
    for (const auto& unit : records.units) {
        const auto target =
            ok ? unitFor(db, *stem, unit.book, unit.unit, unit.bookName, unit.unitName, error) : std::nullopt;
        if (!target) {
            ++counted.unitsGone;
            continue;
        }
        ok = ok && run(db,
                       QStringLiteral("update %1_BookUnit set UnitStatus = ? where BookID = ? and UnitID = ?")
                           .arg(*stem),
                       {unit.status, target->first, target->second}, error);
    }
    for (const NotebookRow& row : records.notebook) {
        bool known = false;
        ok = ok && eachRow(
                       db, QStringLiteral("select 1 from %1 where trim(English) = ? limit 1").arg(*stem),
                       {row.english}, [&known](const QVariantList&) { known = true; }, error);
        ok = ok && (!known || WriteNotebookRow(db, row, error));
    }
    for (const QVariantList& row : records.history) {
        ok = ok && run(db,
                       QStringLiteral("insert into History (NO, userID, Date, Time, Task) "
                                      "values (?, ?, ?, ?, ?)"),
                       row, error);
    }
    if (!records.testRuns.empty())
        ok = ok && db.exec(QLatin1String(kTestRunsSchema), error);
    for (const QVariantList& row : records.testRuns) {
        ok = ok && run(db,
                       QStringLiteral(
                           "insert into TestRuns (Date, Time, Asked, Wrong, Task) values (?, ?, ?, ?, ?)"),
                       row, error);
    }
    if (ok) {
        const auto last = unitFor(db, *stem, records.lastBook, records.lastUnit, records.lastBookName,
                                  records.lastUnitName, error);
        if (last)
            ok = run(db, QStringLiteral("update FeatureTable set LastBook = ?, LastUnit = ?"),
                     {last->first, last->second}, error);
    }
    if (!ok) {
        db.exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    if (count)
        *count = counted;
    return db.exec(QStringLiteral("COMMIT"), error);
}

LearnerDatabaseOutcome failed(LearnerDatabaseOutcome::State state, const QString& error)
{
    return {state, error, {}, false, {}, {}, {}};
}

} // namespace

std::unique_ptr<Database> OpenInEitherState(const QString& file, bool* toggled, QString* error)
{
    std::unique_ptr<Database> db;
    const auto attempt = [&](QString* e) {
        db = Database::open(file, QLatin1String(kDatabasePassword), nullptr, e);
        if (db && !run(*db, QStringLiteral("select count(*) from sqlite_master"), {}, e))
            db.reset();
        return db != nullptr;
    };
    // Each try derives its key afresh: a file at rest is tried turned first, the state it opens in.
    return InEitherHeadState(file, attempt, error, toggled, HeadFirst::Turned) ? std::move(db) : nullptr;
}

std::optional<LearnerRecords> ReadLearnerRecords(const QString& dbFile, QString* error)
{
    // Read from a private copy: the learner's file keeps its header state whatever happens here.
    QTemporaryDir work;
    const QString copy = work.filePath(QStringLiteral("records.pet"));
    if (!work.isValid() || !CopyFileAfresh(dbFile, copy, error))
        return std::nullopt;
    bool toggled = false;
    auto db = OpenInEitherState(copy, &toggled, error);
    LearnerRecords records;
    if (!db || !readRecords(*db, &records, error))
        return std::nullopt;
    return records;
}

bool WriteLearnerRecords(const QString& dbFile, const LearnerRecords& records, QString* error,
                         CarryCount* count)
{
    bool toggled = false;
    bool ok = false;
    {
        auto db = OpenInEitherState(dbFile, &toggled, error);
        ok = db && writeRecords(*db, records, error, count);
    }
    if (toggled && !CryptFileHead(dbFile)) {
        *error = QStringLiteral("无法写入 %1").arg(QDir::toNativeSeparators(dbFile));
        return false;
    }
    return ok;
}

QByteArray CourseFingerprint(const QString& dbFile)
{
    QFile file(dbFile);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return hash.result().toHex();
}

namespace {

// The course version stem of a database, read from a private copy.
std::optional<QString> storedStem(const QString& dbFile)
{
    QTemporaryDir work;
    const QString copy = work.filePath(QStringLiteral("stem.pet"));
    QString error;
    if (!work.isValid() || !CopyFileAfresh(dbFile, copy, &error))
        return std::nullopt;
    bool toggled = false;
    auto db = OpenInEitherState(copy, &toggled, &error);
    return db ? versionStem(*db, &error) : std::nullopt;
}

// A Lexora that kept one record per user left it in the data folder itself; it belongs to this course
// when it was copied from this very database or is of the same course version stem (an older version
// of it). Anything else is another course's and stays where it is.
bool adoptLegacyRecord(const Locations& locations, const QByteArray& fingerprint, QString* error)
{
    const QString legacy = locations.legacyFolder() + QLatin1Char('/') + QLatin1String(kDatabaseFileName);
    if (!QFileInfo(legacy).isFile())
        return true;
    const QString legacyOrigin = locations.legacyFolder() + QStringLiteral("/course-origin");
    const bool same = readOrigin(legacyOrigin) == fingerprint;
    if (!same) {
        const auto legacyStem = storedStem(legacy);
        const auto courseStem = storedStem(locations.courseDatabaseFile());
        if (!legacyStem || !courseStem || *legacyStem != *courseStem)
            return true;
    }
    if (!QDir().mkpath(locations.dataFolder()) || !ReplaceFile(legacy, locations.databaseFile(), error))
        return false;
    if (same)
        ReplaceFile(legacyOrigin, locations.originFile(), error);
    else
        QFile::remove(legacyOrigin);
    const QString oldVoices = locations.legacyFolder() + QLatin1Char('/') + QLatin1String(kMyVoiceFolder);
    if (QFileInfo(oldVoices).isDir() && !QFileInfo::exists(locations.myVoiceFolder()))
        ReplaceFile(oldVoices, locations.myVoiceFolder(), error);
    QFile::remove(legacy + QStringLiteral(".bak"));
    error->clear();
    return true;
}

} // namespace

bool KeepDatabaseBackups(const QString& dbFile, QString* error)
{
    const auto backup = [&dbFile](int generation) {
        return dbFile + QStringLiteral(".bak%1").arg(generation);
    };
    for (int generation = Locations::kBackups - 1; generation >= 1; --generation) {
        const QString from = backup(generation);
        if (QFileInfo::exists(from) && !ReplaceFile(from, backup(generation + 1), error))
            return false;
    }
    return copyInto(dbFile, backup(1), error);
}

namespace {

// No database is smaller than one page.
constexpr qint64 kSmallestDatabase = 512;

// A learner's file too short to be a database (cut short by a full disk or a crash while it was first
// written) holds nothing to keep: the newest backup takes its place and is carried into the course as
// after an update; without one the record starts afresh from the course. What was done goes in note.
bool replaceEmptyRecord(const Locations& locations, QString* note, QString* error)
{
    const QString learner = locations.databaseFile();
    const QFileInfo info(learner);
    if (!info.isFile() || info.size() >= kSmallestDatabase)
        return true;
    const QString shown = QDir::toNativeSeparators(learner);
    for (int generation = 1; generation <= Locations::kBackups; ++generation) {
        const QFileInfo backup(learner + QStringLiteral(".bak%1").arg(generation));
        if (!backup.isFile() || backup.size() < kSmallestDatabase)
            continue;
        if (!copyInto(backup.filePath(), learner, error))
            return false;
        QFile::remove(locations.originFile());
        *note = QStringLiteral("学习记录文件 %1 是空的，已经用 %2 的备份恢复。")
                    .arg(shown, backup.lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm")));
        return true;
    }
    if (!QFile::remove(learner)) {
        *error = QStringLiteral("无法删除空的学习记录文件 %1").arg(shown);
        return false;
    }
    QFile::remove(locations.originFile());
    *note = QStringLiteral("学习记录文件 %1 是空的，也没有可用的备份，学习记录从头开始。").arg(shown);
    return true;
}

LearnerDatabaseOutcome prepare(const Locations& locations, const UpdateCheckpoint& checkpoint)
{
    using State = LearnerDatabaseOutcome::State;
    if (!locations.isInstalled())
        return {};
    const QString course = locations.courseDatabaseFile();
    const QString learner = locations.databaseFile();
    const QByteArray fingerprint = CourseFingerprint(course);
    QString error;
    if (!fingerprint.isEmpty() && !QFileInfo(learner).isFile() &&
        !adoptLegacyRecord(locations, fingerprint, &error))
        return failed(State::Failed, error);
    const bool hasLearner = QFileInfo(learner).isFile();
    if (fingerprint.isEmpty())
        return failed(hasLearner ? State::Ready : State::Failed,
                      QStringLiteral("找不到课程 %1").arg(QDir::toNativeSeparators(course)));
    if (!hasLearner) {
        if (!QDir().mkpath(locations.dataFolder()) || !copyInto(course, learner, &error) ||
            !writeTextFile(locations.originFile(), fingerprint, &error))
            return failed(State::Failed, error.isEmpty()
                                             ? QStringLiteral("无法创建 %1").arg(locations.dataFolder())
                                             : error);
        return {State::Copied, {}, {}, false, {}, {}, {}};
    }
    if (readOrigin(locations.originFile()) == fingerprint)
        return {};

    bool stopped = false;
    auto step = [&](const char* name) {
        stopped = checkpoint && !checkpoint(QLatin1String(name));
        return !stopped;
    };
    const QString fresh = learner + QStringLiteral(".new");
    // A copy left by an update that was killed, with the journal of its last write.
    QFile::remove(fresh);
    QFile::remove(fresh + QStringLiteral("-journal"));
    CarryCount carried;
    const auto records = ReadLearnerRecords(learner, &error);
    bool ok = records && CopyFileAfresh(course, fresh, &error) && step("copied") &&
              WriteLearnerRecords(fresh, *records, &error, &carried) && SyncFile(fresh) && step("carried") &&
              KeepDatabaseBackups(learner, &error) && step("kept") && ReplaceFile(fresh, learner, &error) &&
              step("replaced") && writeTextFile(locations.originFile(), fingerprint, &error);
    if (!ok) {
        // A stop at a checkpoint leaves everything as a crash would; the next start cleans up.
        if (!stopped)
            QFile::remove(fresh);
        if (error.isEmpty())
            error = QStringLiteral("无法写入 %1").arg(QDir::toNativeSeparators(fresh));
        return failed(State::UpdateFailed, error);
    }
    return {State::Updated, {}, carried, false, {}, {}, {}};
}

} // namespace

LearnerDatabaseOutcome PrepareLearnerDatabase(const Locations& locations, const UpdateCheckpoint& checkpoint)
{
    QString repaired;
    QString error;
    if (locations.isInstalled() && !replaceEmptyRecord(locations, &repaired, &error))
        return failed(LearnerDatabaseOutcome::State::Failed, error);
    LearnerDatabaseOutcome outcome = prepare(locations, checkpoint);
    outcome.repaired = repaired;
    // Records imported before this course was installed join its record once it is there; a merge
    // that fails keeps them aside for the next start.
    if (outcome.state != LearnerDatabaseOutcome::State::Failed &&
        QFileInfo(locations.databaseFile()).isFile()) {
        ImportReport merged;
        outcome.pendingMerged =
            MergePendingRecords(locations, &merged, &outcome.pendingError) && merged.coursesMerged > 0;
        outcome.pendingDropped = {0, merged.wordsDropped, merged.unitsDropped};
    }
    return outcome;
}

} // namespace lexora
