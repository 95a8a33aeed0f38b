#include "store/RecordsFile.h"

#include "store/FileMoves.h"
#include "store/Locations.h"
#include "store/Schema.h"
#include "store/SqlCipher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <sqlcipher/sqlite3.h>
#include <unistd.h>

namespace lexora {

namespace {

const QString kProgram = QStringLiteral("lexora");
const QString kPendingFolder = QStringLiteral("pending");
const QString kPendingSuffix = QStringLiteral(".lexrec");

// The file is plain SQLite: opened without a key, SQLCipher reads and writes it unencrypted.
class PlainFile
{
public:
    static std::optional<PlainFile> open(const QString& path, int flags, QString* error)
    {
        sqlite3* raw = nullptr;
        const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, flags, nullptr);
        DbHandle db(raw);
        if (rc != SQLITE_OK) {
            *error = QStringLiteral("无法打开 %1").arg(QDir::toNativeSeparators(path));
            return std::nullopt;
        }
        return PlainFile(std::move(db));
    }

    bool each(const QString& sql, const QVariantList& params,
              const std::function<void(const QVariantList&)>& row)
    {
        sqlite3_stmt* raw = nullptr;
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v2(m_db.get(), text.constData(), static_cast<int>(text.size()), &raw, nullptr) !=
            SQLITE_OK) {
            sqlite3_finalize(raw);
            return false;
        }
        StatementHandle statement(raw);
        for (int i = 0; i < params.size(); ++i) {
            if (!BindValue(raw, i + 1, params[i]))
                return false;
        }
        const int columns = sqlite3_column_count(raw);
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
            QVariantList values;
            for (int c = 0; c < columns; ++c)
                values.append(ColumnValue(raw, c));
            if (row)
                row(values);
        }
        return rc == SQLITE_DONE;
    }

    bool run(const QString& sql, const QVariantList& params = {}) { return each(sql, params, {}); }
    qlonglong lastRowId() const { return sqlite3_last_insert_rowid(m_db.get()); }

private:
    explicit PlainFile(DbHandle db) : m_db(std::move(db)) {}
    DbHandle m_db;
};

const QStringList kSchema = {
    QStringLiteral("create table meta (key text primary key, value)"),
    QStringLiteral(
        "create table courses (id integer primary key, course_id text not null unique, title text, "
        "stem text, last_book integer, last_unit integer, last_book_name text, last_unit_name text)"),
    QStringLiteral(
        "create table results (course integer not null, english text not null, result text not null)"),
    QStringLiteral("create table units (course integer not null, book integer, unit integer, book_name text, "
                   "unit_name text, status integer not null)"),
    QStringLiteral("create table history (course integer not null, no, user_id, date, time, task)"),
    QStringLiteral("create table readings (course integer not null, name text not null, data blob not null)"),
    QStringLiteral(
        "create table notebook (course integer not null, english text not null, box integer not null, "
        "since text, entered text)"),
    QStringLiteral("create table test_runs (course integer not null, date, time, asked, wrong, task)"),
};
const QString kNotebookDay = QLatin1String(kNotebookDayFormat);

// Of the same word's notebook rows in two records, the one that asks for more review: a lower box.
bool asksMore(const NotebookEntry& incoming, const NotebookEntry& stored)
{
    return incoming.box < stored.box;
}

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// A reading's name stands alone in myvoice: no folder, no way out of it.
bool isReadingName(const QString& name)
{
    return name.endsWith(QStringLiteral(".wav"), Qt::CaseInsensitive) && name.size() > 4 &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar());
}

int countOf(const QString& result, int index)
{
    return result.section(QLatin1Char('|'), index, index).toInt();
}

// --- export ---

std::optional<std::pair<QString, QString>> titleAndStem(const QString& dbFile, QString* error)
{
    QTemporaryDir work;
    const QString copy = work.filePath(QStringLiteral("title.pet"));
    if (!work.isValid() || !CopyFileAfresh(dbFile, copy, error))
        return std::nullopt;
    bool toggled = false;
    auto db = OpenInEitherState(copy, &toggled, error);
    if (!db)
        return std::nullopt;
    StatementHandle statement = db->prepare(
        QStringLiteral("select VersionName, VersionDB from VersionInfo where ID = (select VersionID from "
                       "FeatureTable limit 1)"),
        {}, error);
    if (!statement || sqlite3_step(statement.get()) != SQLITE_ROW) {
        *error = QStringLiteral("单词库中没有课程版本：%1").arg(native(dbFile));
        return std::nullopt;
    }
    return std::pair(ColumnValue(statement.get(), 0).toString(), ColumnValue(statement.get(), 1).toString());
}

std::vector<CourseRecords::Reading> readingsIn(const QString& folder)
{
    std::vector<CourseRecords::Reading> readings;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.wav")}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (isReadingName(name) && file.open(QIODevice::ReadOnly))
            readings.push_back({name, file.readAll()});
    }
    return readings;
}

std::optional<CourseRecords> courseRecordsIn(const QString& courseFolder, QString* error)
{
    const QString dbFile = courseFolder + QLatin1Char('/') + QLatin1String(kDatabaseFileName);
    CourseRecords course;
    course.courseId = QFileInfo(courseFolder).fileName();
    const auto title = titleAndStem(dbFile, error);
    auto records = title ? ReadLearnerRecords(dbFile, error) : std::nullopt;
    if (!records)
        return std::nullopt;
    course.title = title->first;
    course.stem = title->second;
    course.records = std::move(*records);
    course.readings = readingsIn(courseFolder + QLatin1Char('/') + QLatin1String(kMyVoiceFolder));
    return course;
}

bool writeCourse(PlainFile& out, const CourseRecords& course)
{
    const LearnerRecords& r = course.records;
    if (!out.run(QStringLiteral(
                     "insert into courses (course_id, title, stem, last_book, last_unit, last_book_name, "
                     "last_unit_name) values (?, ?, ?, ?, ?, ?, ?)"),
                 {course.courseId, course.title, course.stem, r.lastBook, r.lastUnit, r.lastBookName,
                  r.lastUnitName}))
        return false;
    const qlonglong id = out.lastRowId();
    bool ok = true;
    for (const auto& word : r.results)
        ok = ok &&
             out.run(QStringLiteral("insert into results values (?, ?, ?)"), {id, word.english, word.result});
    for (const auto& unit : r.units)
        ok = ok && out.run(QStringLiteral("insert into units values (?, ?, ?, ?, ?, ?)"),
                           {id, unit.book, unit.unit, unit.bookName, unit.unitName, unit.status});
    for (const QVariantList& row : r.history)
        ok = ok &&
             out.run(QStringLiteral("insert into history values (?, ?, ?, ?, ?, ?)"), QVariantList{id} + row);
    for (const auto& reading : course.readings)
        ok = ok && out.run(QStringLiteral("insert into readings values (?, ?, ?)"),
                           {id, reading.name, reading.data});
    for (const NotebookRow& row : r.notebook)
        ok = ok && out.run(QStringLiteral("insert into notebook values (?, ?, ?, ?, ?)"),
                           {id, row.english, row.entry.box, row.entry.since.toString(kNotebookDay),
                            row.entry.entered.toString(kNotebookDay)});
    for (const QVariantList& row : r.testRuns)
        ok = ok && out.run(QStringLiteral("insert into test_runs values (?, ?, ?, ?, ?, ?)"),
                           QVariantList{id} + row);
    return ok;
}

// --- reading and checking ---

QString foreignFile(const QString& file)
{
    return QStringLiteral("%1 不是 Lexora 导出的学习记录文件，没有导入任何内容。").arg(native(file));
}

QString damagedFile(const QString& file)
{
    return QStringLiteral("学习记录文件 %1 已损坏或不完整，没有导入任何内容。").arg(native(file));
}

bool readCourses(PlainFile& in, RecordsContent* content)
{
    std::map<qlonglong, std::size_t> byId;
    bool ok =
        in.each(QStringLiteral("select id, course_id, title, stem, last_book, last_unit, last_book_name, "
                               "last_unit_name from courses order by id"),
                {}, [&](const QVariantList& row) {
                    CourseRecords course;
                    course.courseId = row.value(1).toString();
                    course.title = row.value(2).toString();
                    course.stem = row.value(3).toString();
                    course.records.lastBook = row.value(4).toLongLong();
                    course.records.lastUnit = row.value(5).toLongLong();
                    course.records.lastBookName = row.value(6).toString();
                    course.records.lastUnitName = row.value(7).toString();
                    byId[row.value(0).toLongLong()] = content->courses.size();
                    content->courses.push_back(std::move(course));
                });
    // Rows of a course the file does not list mean the file was not written by us whole.
    bool orphans = false;
    const auto courseOf = [&](const QVariant& id) -> CourseRecords* {
        const auto it = byId.find(id.toLongLong());
        if (it == byId.end()) {
            orphans = true;
            return nullptr;
        }
        return &content->courses[it->second];
    };
    ok =
        ok &&
        in.each(QStringLiteral("select course, english, result from results order by rowid"), {},
                [&](const QVariantList& row) {
                    if (auto* course = courseOf(row.value(0)))
                        course->records.results.push_back({row.value(1).toString(), row.value(2).toString()});
                });
    ok = ok &&
         in.each(QStringLiteral("select course, book, unit, book_name, unit_name, status from units "
                                "order by rowid"),
                 {}, [&](const QVariantList& row) {
                     if (auto* course = courseOf(row.value(0)))
                         course->records.units.push_back(
                             {row.value(1).toLongLong(), row.value(2).toLongLong(), row.value(3).toString(),
                              row.value(4).toString(), row.value(5).toLongLong()});
                 });
    ok = ok &&
         in.each(QStringLiteral("select course, no, user_id, date, time, task from history order by rowid"),
                 {}, [&](const QVariantList& row) {
                     if (auto* course = courseOf(row.value(0)))
                         course->records.history.push_back(row.mid(1));
                 });
    ok = ok &&
         in.each(QStringLiteral("select course, name, data from readings order by rowid"), {},
                 [&](const QVariantList& row) {
                     if (auto* course = courseOf(row.value(0)))
                         course->readings.push_back({row.value(1).toString(), row.value(2).toByteArray()});
                 });
    // Files written before the notebook was kept have no table for it.
    bool hasNotebook = false;
    ok = ok &&
         in.each(QStringLiteral("select 1 from sqlite_master where type = 'table' and name = 'notebook'"), {},
                 [&hasNotebook](const QVariantList&) { hasNotebook = true; });
    ok =
        ok &&
        (!hasNotebook ||
         in.each(QStringLiteral("select course, english, box, since, entered from notebook order by rowid"),
                 {}, [&](const QVariantList& row) {
                     if (auto* course = courseOf(row.value(0)))
                         course->records.notebook.push_back(
                             {row.value(1).toString().trimmed(),
                              {row.value(2).toInt(), QDate::fromString(row.value(3).toString(), kNotebookDay),
                               QDate::fromString(row.value(4).toString(), kNotebookDay)}});
                 }));
    // Nor for the test runs, logged later still.
    bool hasTestRuns = false;
    ok = ok &&
         in.each(QStringLiteral("select 1 from sqlite_master where type = 'table' and name = 'test_runs'"),
                 {}, [&hasTestRuns](const QVariantList&) { hasTestRuns = true; });
    ok = ok && (!hasTestRuns ||
                in.each(QStringLiteral(
                            "select course, date, time, asked, wrong, task from test_runs order by rowid"),
                        {}, [&](const QVariantList& row) {
                            if (auto* course = courseOf(row.value(0)))
                                course->records.testRuns.push_back(row.mid(1));
                        }));
    return ok && !orphans;
}

bool wellFormed(const RecordsContent& content)
{
    std::set<QString> ids;
    for (const CourseRecords& course : content.courses) {
        if (!IsValidCourseId(course.courseId) || !ids.insert(course.courseId).second)
            return false;
        for (const auto& reading : course.readings) {
            if (!isReadingName(reading.name))
                return false;
        }
    }
    return true;
}

// --- merging ---

struct CourseShape
{
    std::set<QString> words;                     // trimmed English
    std::set<std::pair<QString, QString>> units; // trimmed book and unit names
};

std::optional<CourseShape> shapeOf(const QString& dbFile, const QString& stem, QString* error)
{
    QTemporaryDir work;
    const QString copy = work.filePath(QStringLiteral("shape.pet"));
    if (!IsValidTableStem(stem)) {
        *error = QStringLiteral("无法读取 %1").arg(native(dbFile));
        return std::nullopt;
    }
    if (!work.isValid() || !CopyFileAfresh(dbFile, copy, error))
        return std::nullopt;
    bool toggled = false;
    auto db = OpenInEitherState(copy, &toggled, error);
    if (!db)
        return std::nullopt;
    CourseShape shape;
    const auto rows = [&](const QString& sql, const std::function<void(sqlite3_stmt*)>& row) {
        StatementHandle statement = db->prepare(sql, {}, error);
        if (!statement)
            return false;
        while (sqlite3_step(statement.get()) == SQLITE_ROW)
            row(statement.get());
        return true;
    };
    const bool ok = rows(QStringLiteral("select distinct trim(English) from %1").arg(stem),
                         [&](sqlite3_stmt* s) { shape.words.insert(ColumnValue(s, 0).toString()); }) &&
                    rows(QStringLiteral("select trim(BookName), trim(UnitName) from %1_BookUnit").arg(stem),
                         [&](sqlite3_stmt* s) {
                             shape.units.insert({ColumnValue(s, 0).toString(), ColumnValue(s, 1).toString()});
                         });
    if (!ok)
        return std::nullopt;
    return shape;
}

// What a merge writes into a learner's database: only what the file raises or adds.
struct MergePlan
{
    LearnerRecords changes;
    std::vector<CourseRecords::Reading> readings;
    bool lastChanged = false;
    bool changesDatabase() const
    {
        return !changes.results.empty() || !changes.units.empty() || !changes.history.empty() ||
               !changes.notebook.empty() || !changes.testRuns.empty() || lastChanged;
    }
};

// Adds to added the incoming rows that neither the stored rows nor an earlier incoming row hold;
// returns how many.
int addMissingRows(std::vector<QVariantList> stored, const std::vector<QVariantList>& incoming,
                   std::vector<QVariantList>* added)
{
    int count = 0;
    for (const QVariantList& row : incoming) {
        if (std::find(stored.begin(), stored.end(), row) != stored.end())
            continue;
        stored.push_back(row);
        added->push_back(row);
        ++count;
    }
    return count;
}

MergePlan planMerge(const LearnerRecords& stored, const CourseShape& shape, const CourseRecords& incoming,
                    const QString& voiceFolder, ImportReport* report)
{
    MergePlan plan;
    std::map<QString, QString> results;
    for (const auto& word : stored.results)
        results[word.english] = word.result;
    for (const auto& word : incoming.records.results) {
        const QString english = word.english.trimmed();
        if (!shape.words.contains(english)) {
            ++report->wordsDropped;
            continue;
        }
        const QString before = results[english];
        const QString merged = MergeResult(before, word.result);
        if (merged == before) {
            ++report->wordsKept;
            continue;
        }
        results[english] = merged;
        plan.changes.results.push_back({english, merged});
        ++report->wordsRaised;
    }

    std::map<std::pair<QString, QString>, qlonglong> status;
    for (const auto& unit : stored.units)
        status[{unit.bookName, unit.unitName}] = unit.status;
    for (const auto& unit : incoming.records.units) {
        const std::pair names(unit.bookName.trimmed(), unit.unitName.trimmed());
        if (!shape.units.contains(names)) {
            ++report->unitsDropped;
            continue;
        }
        // The bits say which of spelling (1) and test (2) are done: a merge keeps every one.
        const qlonglong merged = status[names] | unit.status;
        if (merged == status[names])
            continue;
        status[names] = merged;
        auto changed = unit;
        changed.status = merged;
        plan.changes.units.push_back(changed);
        ++report->unitsRaised;
    }

    report->historyAdded += addMissingRows(stored.history, incoming.records.history, &plan.changes.history);
    addMissingRows(stored.testRuns, incoming.records.testRuns, &plan.changes.testRuns);

    std::map<QString, NotebookEntry> notebook;
    for (const NotebookRow& row : stored.notebook)
        notebook[row.english] = row.entry;
    for (const NotebookRow& row : incoming.records.notebook) {
        const auto it = notebook.find(row.english);
        if (!shape.words.contains(row.english) || (it != notebook.end() && !asksMore(row.entry, it->second)))
            continue;
        notebook[row.english] = row.entry;
        plan.changes.notebook.push_back(row);
    }

    // Where the learner has nothing yet, they go on where they left off on the other computer.
    const bool fresh = stored.results.empty() && stored.units.empty() && stored.history.empty();
    const LearnerRecords& last =
        fresh && !incoming.records.lastUnitName.isEmpty() ? incoming.records : stored;
    plan.changes.lastBook = last.lastBook;
    plan.changes.lastUnit = last.lastUnit;
    plan.changes.lastBookName = last.lastBookName;
    plan.changes.lastUnitName = last.lastUnitName;
    plan.lastChanged = last.lastBookName != stored.lastBookName || last.lastUnitName != stored.lastUnitName;

    const QDir voices(voiceFolder);
    for (const auto& reading : incoming.readings) {
        if (!QFileInfo::exists(voices.filePath(reading.name)))
            plan.readings.push_back(reading);
    }
    report->readingsAdded += static_cast<int>(plan.readings.size());
    return plan;
}

bool writeReading(const QString& folder, const CourseRecords::Reading& reading, QString* error)
{
    const QString target = folder + QLatin1Char('/') + reading.name;
    const QString temporary = target + QStringLiteral(".part");
    QFile::remove(temporary);
    QFile file(temporary);
    if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly | QIODevice::NewOnly) ||
        file.write(reading.data) != reading.data.size() || !file.flush() || ::fsync(file.handle()) != 0) {
        *error = QStringLiteral("无法写入 %1").arg(native(target));
        QFile::remove(temporary);
        return false;
    }
    file.close();
    return ReplaceFile(temporary, target, error);
}

// Merges one course's records into a learner's database: the merge is made on a copy beside it,
// the database is kept as the newest backup, then the copy is renamed over it.
bool mergeInto(const QString& dbFile, const QString& voiceFolder, const CourseRecords& incoming,
               ImportReport* report, QString* error, const UpdateCheckpoint& checkpoint)
{
    const auto stored = ReadLearnerRecords(dbFile, error);
    const auto title = stored ? titleAndStem(dbFile, error) : std::nullopt;
    const auto shape = title ? shapeOf(dbFile, title->second, error) : std::nullopt;
    if (!shape)
        return false;
    ImportReport counted;
    const MergePlan plan = planMerge(*stored, *shape, incoming, voiceFolder, &counted);

    const auto step = [&checkpoint](const char* name) {
        return !checkpoint || checkpoint(QLatin1String(name));
    };
    if (plan.changesDatabase()) {
        const QString fresh = dbFile + QStringLiteral(".import");
        // A copy left by an import that was killed, with the journal of its last write.
        QFile::remove(fresh);
        QFile::remove(fresh + QStringLiteral("-journal"));
        bool stopped = false;
        const auto at = [&](const char* name) {
            stopped = !step(name);
            return !stopped;
        };
        const bool ok = CopyFileAfresh(dbFile, fresh, error) && at("copied") &&
                        WriteLearnerRecords(fresh, plan.changes, error) && SyncFile(fresh) && at("merged") &&
                        KeepDatabaseBackups(dbFile, error) && at("kept") &&
                        ReplaceFile(fresh, dbFile, error) && at("replaced");
        if (!ok) {
            if (!stopped)
                QFile::remove(fresh);
            if (error->isEmpty())
                *error = QStringLiteral("无法写入 %1").arg(native(dbFile));
            return false;
        }
    }
    for (const auto& reading : plan.readings) {
        if (!writeReading(voiceFolder, reading, error))
            return false;
    }
    report->wordsKept += counted.wordsKept;
    report->wordsRaised += counted.wordsRaised;
    report->unitsRaised += counted.unitsRaised;
    report->historyAdded += counted.historyAdded;
    report->readingsAdded += counted.readingsAdded;
    report->wordsDropped += counted.wordsDropped;
    report->unitsDropped += counted.unitsDropped;
    ++report->coursesMerged;
    return true;
}

// Two sets of records of a course kept aside, as one: the same rules as a merge into a database.
CourseRecords mergeAside(CourseRecords kept, const CourseRecords& incoming)
{
    for (const auto& word : incoming.records.results) {
        auto it = std::find_if(kept.records.results.begin(), kept.records.results.end(),
                               [&word](const auto& w) { return w.english == word.english; });
        if (it == kept.records.results.end())
            kept.records.results.push_back(word);
        else
            it->result = MergeResult(it->result, word.result);
    }
    for (const auto& unit : incoming.records.units) {
        auto it = std::find_if(kept.records.units.begin(), kept.records.units.end(), [&unit](const auto& u) {
            return u.bookName == unit.bookName && u.unitName == unit.unitName;
        });
        if (it == kept.records.units.end())
            kept.records.units.push_back(unit);
        else
            it->status |= unit.status;
    }
    addMissingRows(kept.records.history, incoming.records.history, &kept.records.history);
    addMissingRows(kept.records.testRuns, incoming.records.testRuns, &kept.records.testRuns);
    for (const NotebookRow& row : incoming.records.notebook) {
        auto it = std::find_if(kept.records.notebook.begin(), kept.records.notebook.end(),
                               [&row](const NotebookRow& r) { return r.english == row.english; });
        if (it == kept.records.notebook.end())
            kept.records.notebook.push_back(row);
        else if (asksMore(row.entry, it->entry))
            it->entry = row.entry;
    }
    for (const auto& reading : incoming.readings) {
        if (std::none_of(kept.readings.begin(), kept.readings.end(),
                         [&reading](const auto& r) { return r.name == reading.name; }))
            kept.readings.push_back(reading);
    }
    return kept;
}

QString pendingFile(const QString& learnerFolder, const QString& courseId)
{
    return learnerFolder + QLatin1Char('/') + kPendingFolder + QLatin1Char('/') + courseId + kPendingSuffix;
}

bool keepAside(const QString& learnerFolder, const QString& learner, const CourseRecords& incoming,
               QString* error)
{
    const QString file = pendingFile(learnerFolder, incoming.courseId);
    CourseRecords course = incoming;
    if (QFileInfo::exists(file)) {
        const auto kept = ReadRecordsFile(file, error);
        if (!kept || kept->courses.size() != 1)
            return false;
        course = mergeAside(kept->courses.front(), incoming);
    }
    if (!QDir().mkpath(QFileInfo(file).path())) {
        *error = QStringLiteral("无法创建 %1").arg(native(QFileInfo(file).path()));
        return false;
    }
    return WriteRecordsFile({learner, {course}}, file, error);
}

} // namespace

QString MergeResult(const QString& stored, const QString& incoming)
{
    if (incoming.isEmpty())
        return stored;
    if (stored.isEmpty())
        return incoming;
    bool raised = false;
    QStringList counts;
    for (int i = 0; i < 3; ++i) {
        raised = raised || countOf(incoming, i) > countOf(stored, i);
        counts << QString::number(std::max(countOf(stored, i), countOf(incoming, i)));
    }
    // Nothing higher in the file: the stored text stays as it is written.
    return raised ? counts.join(QLatin1Char('|')) : stored;
}

bool WriteRecordsFile(const RecordsContent& content, const QString& file, QString* error)
{
    const QString temporary = file + QStringLiteral(".part");
    QFile::remove(temporary);
    bool ok = false;
    {
        auto out = PlainFile::open(temporary, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error);
        if (!out)
            return false;
        ok = out->run(QStringLiteral("BEGIN"));
        for (const QString& statement : kSchema)
            ok = ok && out->run(statement);
        ok = ok &&
             out->run(QStringLiteral("insert into meta values ('program', ?), ('format', ?), ('learner', ?)"),
                      {kProgram, kRecordsFormat, content.learner});
        for (const CourseRecords& course : content.courses)
            ok = ok && writeCourse(*out, course);
        ok = ok && out->run(QStringLiteral("COMMIT"));
    }
    if (!ok || !SyncFile(temporary)) {
        QFile::remove(temporary);
        *error = QStringLiteral("无法写入 %1").arg(native(file));
        return false;
    }
    return ReplaceFile(temporary, file, error);
}

std::optional<int> ExportRecords(const QString& learnerFolder, const QString& file, QString* error)
{
    const QDir learner(learnerFolder);
    RecordsContent content{learner.dirName(), {}};
    std::set<QString> ids;
    for (const QString& name : learner.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString folder = learner.filePath(name);
        if (!IsValidCourseId(name) ||
            !QFileInfo(folder + QLatin1Char('/') + QLatin1String(kDatabaseFileName)).isFile())
            continue;
        auto course = courseRecordsIn(folder, error);
        if (!course)
            return std::nullopt;
        ids.insert(course->courseId);
        content.courses.push_back(std::move(*course));
    }
    // Records kept aside for a course not installed here are the child's too: they travel on.
    const QDir pending(learner.filePath(kPendingFolder));
    for (const QString& name :
         pending.entryList({QStringLiteral("*") + kPendingSuffix}, QDir::Files, QDir::Name)) {
        const auto kept = ReadRecordsFile(pending.filePath(name), error);
        if (!kept)
            return std::nullopt;
        for (const CourseRecords& course : kept->courses) {
            if (ids.insert(course.courseId).second)
                content.courses.push_back(course);
        }
    }
    if (content.courses.empty()) {
        *error = QStringLiteral("%1 中还没有学习记录，没有导出。").arg(native(learnerFolder));
        return std::nullopt;
    }
    if (!WriteRecordsFile(content, file, error))
        return std::nullopt;
    return static_cast<int>(content.courses.size());
}

std::optional<RecordsContent> ReadRecordsFile(const QString& file, QString* error)
{
    QFile raw(file);
    if (!raw.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("无法读取 %1").arg(native(file));
        return std::nullopt;
    }
    static const QByteArray sqliteHead("SQLite format 3\0", 16);
    if (raw.read(16) != sqliteHead) {
        *error = foreignFile(file);
        return std::nullopt;
    }
    raw.close();
    auto in = PlainFile::open(file, SQLITE_OPEN_READONLY, error);
    if (!in)
        return std::nullopt;
    QString check;
    if (!in->each(QStringLiteral("pragma quick_check"), {},
                  [&check](const QVariantList& row) { check += row.value(0).toString(); }) ||
        check != QLatin1String("ok")) {
        *error = damagedFile(file);
        return std::nullopt;
    }
    std::map<QString, QVariant> meta;
    if (!in->each(QStringLiteral("select key, value from meta"), {},
                  [&meta](const QVariantList& row) { meta[row.value(0).toString()] = row.value(1); }) ||
        meta[QStringLiteral("program")].toString() != kProgram) {
        *error = foreignFile(file);
        return std::nullopt;
    }
    bool isNumber = false;
    const int format = meta[QStringLiteral("format")].toString().toInt(&isNumber);
    if (isNumber && format > kRecordsFormat) {
        *error = QStringLiteral("学习记录文件 %1 来自更新版本的 Lexora（格式 %2），请先更新 Lexora 再导入。"
                                "没有导入任何内容。")
                     .arg(native(file))
                     .arg(format);
        return std::nullopt;
    }
    RecordsContent content;
    content.learner = meta[QStringLiteral("learner")].toString();
    if (!isNumber || format < 1 || !readCourses(*in, &content) || !wellFormed(content)) {
        *error = damagedFile(file);
        return std::nullopt;
    }
    return content;
}

bool ImportRecords(const QString& file, const QString& learnerFolder, const Locations& current,
                   ImportReport* report, QString* error, const UpdateCheckpoint& checkpoint)
{
    // Read and checked whole first: a bad file changes nothing.
    const auto content = ReadRecordsFile(file, error);
    if (!content)
        return false;
    const QString learner = QDir(learnerFolder).dirName();
    for (const CourseRecords& course : content->courses) {
        const QString folder = learnerFolder + QLatin1Char('/') + course.courseId;
        const QString dbFile = folder + QLatin1Char('/') + QLatin1String(kDatabaseFileName);
        if (!QFileInfo(dbFile).isFile() && current.isInstalled() && current.courseId() == course.courseId) {
            const LearnerDatabaseOutcome ready = PrepareLearnerDatabase(current);
            if (ready.state == LearnerDatabaseOutcome::State::Failed) {
                *error = ready.error;
                return false;
            }
        }
        if (!QFileInfo(dbFile).isFile()) {
            if (!keepAside(learnerFolder, learner, course, error))
                return false;
            ++report->coursesAside;
            continue;
        }
        if (!mergeInto(dbFile, folder + QLatin1Char('/') + QLatin1String(kMyVoiceFolder), course, report,
                       error, checkpoint))
            return false;
    }
    return true;
}

bool MergePendingRecords(const Locations& locations, ImportReport* report, QString* error,
                         const UpdateCheckpoint& checkpoint)
{
    if (!locations.isInstalled())
        return true;
    const QString file = pendingFile(QFileInfo(locations.dataFolder()).path(), locations.courseId());
    if (!QFileInfo::exists(file))
        return true;
    const auto content = ReadRecordsFile(file, error);
    if (!content)
        return false;
    for (const CourseRecords& course : content->courses) {
        if (course.courseId == locations.courseId() &&
            !mergeInto(locations.databaseFile(), locations.myVoiceFolder(), course, report, error,
                       checkpoint))
            return false;
    }
    return QFile::remove(file);
}

} // namespace lexora
