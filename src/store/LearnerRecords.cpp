#include "store/LearnerRecords.h"

#include "store/CourseDatabase.h"
#include "store/FileHead.h"
#include "store/Locations.h"
#include "store/Schema.h"
#include "store/SqlCipher.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <filesystem>
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

bool syncFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && ::fsync(file.handle()) == 0;
}

bool replaceFile(const QString& from, const QString& to, QString* error)
{
    std::error_code code;
    std::filesystem::rename(QFile::encodeName(from).toStdString(), QFile::encodeName(to).toStdString(), code);
    if (code)
        *error = QStringLiteral("无法把 %1 改名为 %2：%3")
                     .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(to),
                          QString::fromStdString(code.message()));
    return !code;
}

// Copies a file to a temporary name beside the target, syncs it and renames it into place.
bool copyInto(const QString& from, const QString& to, QString* error)
{
    const QString temporary = to + QStringLiteral(".part");
    QFile::remove(temporary);
    if (!QFile::copy(from, temporary) || !syncFile(temporary)) {
        *error = QStringLiteral("无法复制 %1").arg(QDir::toNativeSeparators(from));
        QFile::remove(temporary);
        return false;
    }
    // A copy of a read-only course file is read-only too; the learner's copy must be writable.
    QFile::setPermissions(temporary, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return replaceFile(temporary, to, error);
}

bool writeTextFile(const QString& path, const QByteArray& text, QString* error)
{
    const QString temporary = path + QStringLiteral(".part");
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.flush() ||
        ::fsync(file.handle()) != 0) {
        *error = QStringLiteral("无法写入 %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    file.close();
    return replaceFile(temporary, path, error);
}

QByteArray readOrigin(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
}

bool readRecords(Database& db, LearnerRecords* records, QString* error)
{
    const auto stem = versionStem(db, error);
    if (!stem)
        return false;
    return eachRow(
               db, QStringLiteral("select LastBook, LastUnit from FeatureTable limit 1"), {},
               [records](const QVariantList& row) {
                   records->lastBook = row.value(0).toLongLong();
                   records->lastUnit = row.value(1).toLongLong();
               },
               error) &&
           eachRow(
               db,
               QStringLiteral("select English, Book, Unit, Result from %1 where Result is not null")
                   .arg(*stem),
               {},
               [records](const QVariantList& row) {
                   records->results.push_back({row.value(0).toString(), row.value(1).toLongLong(),
                                               row.value(2).toLongLong(), row.value(3).toString()});
               },
               error) &&
           eachRow(
               db,
               QStringLiteral("select BookID, UnitID, UnitStatus from %1_BookUnit where UnitStatus <> 0")
                   .arg(*stem),
               {},
               [records](const QVariantList& row) {
                   records->units.push_back(
                       {row.value(0).toLongLong(), row.value(1).toLongLong(), row.value(2).toLongLong()});
               },
               error) &&
           eachRow(
               db, QStringLiteral("select NO, userID, Date, Time, Task from History order by rowid"), {},
               [records](const QVariantList& row) { records->history.push_back(row); }, error);
}

bool writeRecords(Database& db, const LearnerRecords& records, QString* error)
{
    const auto stem = versionStem(db, error);
    if (!stem || !db.exec(QStringLiteral("BEGIN"), error))
        return false;
    bool ok = true;
    for (const auto& word : records.results) {
        ok = ok && run(db,
                       QStringLiteral("update %1 set Result = ? where English = ? and Book = ? and Unit = ?")
                           .arg(*stem),
                       {word.result, word.english, word.book, word.unit}, error);
    }
    for (const auto& unit : records.units) {
        ok = ok && run(db,
                       QStringLiteral("update %1_BookUnit set UnitStatus = ? where BookID = ? and UnitID = ?")
                           .arg(*stem),
                       {unit.status, unit.book, unit.unit}, error);
    }
    for (const QVariantList& row : records.history) {
        ok = ok && run(db,
                       QStringLiteral("insert into History (NO, userID, Date, Time, Task) "
                                      "values (?, ?, ?, ?, ?)"),
                       row, error);
    }
    ok = ok && run(db,
                   QStringLiteral("update FeatureTable set LastBook = ?, LastUnit = ? where exists "
                                  "(select 1 from %1_BookUnit where BookID = ? and UnitID = ?)")
                       .arg(*stem),
                   {records.lastBook, records.lastUnit, records.lastBook, records.lastUnit}, error);
    if (!ok) {
        db.exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    return db.exec(QStringLiteral("COMMIT"), error);
}

LearnerDatabaseOutcome failed(LearnerDatabaseOutcome::State state, const QString& error)
{
    return {state, error};
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
    return InEitherHeadState(file, attempt, error, toggled) ? std::move(db) : nullptr;
}

std::optional<LearnerRecords> ReadLearnerRecords(const QString& dbFile, QString* error)
{
    // Read from a private copy: the learner's file keeps its header state whatever happens here.
    QTemporaryDir work;
    const QString copy = work.filePath(QStringLiteral("records.pet"));
    if (!work.isValid() || !QFile::copy(dbFile, copy)) {
        *error = QStringLiteral("无法读取 %1").arg(QDir::toNativeSeparators(dbFile));
        return std::nullopt;
    }
    bool toggled = false;
    auto db = OpenInEitherState(copy, &toggled, error);
    LearnerRecords records;
    if (!db || !readRecords(*db, &records, error))
        return std::nullopt;
    return records;
}

bool WriteLearnerRecords(const QString& dbFile, const LearnerRecords& records, QString* error)
{
    bool toggled = false;
    bool ok = false;
    {
        auto db = OpenInEitherState(dbFile, &toggled, error);
        ok = db && writeRecords(*db, records, error);
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

LearnerDatabaseOutcome PrepareLearnerDatabase(const Locations& locations, const UpdateCheckpoint& checkpoint)
{
    using State = LearnerDatabaseOutcome::State;
    if (!locations.isInstalled())
        return {};
    const QString course = locations.courseDatabaseFile();
    const QString learner = locations.databaseFile();
    const QByteArray fingerprint = CourseFingerprint(course);
    const bool hasLearner = QFileInfo(learner).isFile();
    if (fingerprint.isEmpty())
        return failed(hasLearner ? State::Ready : State::Failed,
                      QStringLiteral("找不到课程 %1").arg(QDir::toNativeSeparators(course)));
    QString error;
    if (!hasLearner) {
        if (!QDir().mkpath(locations.dataFolder()) || !copyInto(course, learner, &error) ||
            !writeTextFile(locations.originFile(), fingerprint, &error))
            return failed(State::Failed, error.isEmpty()
                                             ? QStringLiteral("无法创建 %1").arg(locations.dataFolder())
                                             : error);
        return {State::Copied, {}};
    }
    if (readOrigin(locations.originFile()) == fingerprint)
        return {};

    bool stopped = false;
    auto step = [&](const char* name) {
        stopped = checkpoint && !checkpoint(QLatin1String(name));
        return !stopped;
    };
    const QString fresh = learner + QStringLiteral(".new");
    QFile::remove(fresh);
    const auto records = ReadLearnerRecords(learner, &error);
    bool ok = records && QFile::copy(course, fresh) &&
              QFile::setPermissions(fresh, QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
              step("copied") && WriteLearnerRecords(fresh, *records, &error) && syncFile(fresh) &&
              step("carried") && copyInto(learner, locations.backupFile(), &error) && step("kept") &&
              replaceFile(fresh, learner, &error) && step("replaced") &&
              writeTextFile(locations.originFile(), fingerprint, &error);
    if (!ok) {
        // A stop at a checkpoint leaves everything as a crash would; the next start cleans up.
        if (!stopped)
            QFile::remove(fresh);
        if (error.isEmpty())
            error = QStringLiteral("无法写入 %1").arg(QDir::toNativeSeparators(fresh));
        return failed(State::UpdateFailed, error);
    }
    return {State::Updated, {}};
}

} // namespace lexora
