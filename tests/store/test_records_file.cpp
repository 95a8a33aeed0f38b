#include "CourseFixture.h"
#include "FakePrompter.h"
#include "ScriptedRandom.h"
#include "store/LearnerRecords.h"
#include "store/Locations.h"
#include "store/RecordsFile.h"
#include "store/SqlCipher.h"
#include "store/WordStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>

namespace lexora::test {
namespace {

using Rows = std::vector<QVariantList>;

const QString kResults =
    QStringLiteral("select English, Book, Unit, Result from PEP order by Book, Unit, English");
const QString kStatus =
    QStringLiteral("select BookID, UnitID, UnitStatus from PEP_BookUnit order by BookID, UnitID");
const QString kHistory = QStringLiteral("select NO, userID, Date, Time, Task from History order by NO");
const QString kSettings = QStringLiteral("select LastBook, LastUnit from FeatureTable");
const QString kTestRuns =
    QStringLiteral("select Date, Time, Asked, Wrong, Task from TestRuns order by rowid");
const QString kNotebook =
    QStringLiteral("select English, Box, Since, Entered from MistakeNotebook order by English");
const QByteArray kReading("RIFF a child reading hello");

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Runs SQL on a plain (unkeyed) SQLite file, as anything other than Lexora would write one.
bool execPlain(const QString& path, const char* sql)
{
    sqlite3* db = nullptr;
    const bool opened = sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK;
    const bool ran = opened && sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ran;
}

// Two computers with the same course: "home", where the child has studied, and "away".
class RecordsFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        ASSERT_TRUE(away.isValid());
        ASSERT_TRUE(work.isValid());
        ASSERT_TRUE(course.build());
    }

    Locations homePlace() const { return Locations::installed(course.root(), home.path()); }
    Locations awayPlace() const { return Locations::installed(course.root(), away.path()); }
    static QString learnerOf(const Locations& place) { return QFileInfo(place.dataFolder()).path(); }
    QString recordsFile() const { return work.filePath(QStringLiteral("child.lexrec")); }

    static void setRecords(const Locations& place, const QString& sql)
    {
        if (!QFileInfo(place.databaseFile()).isFile()) {
            ASSERT_EQ(PrepareLearnerDatabase(place).state, LearnerDatabaseOutcome::State::Copied);
        }
        ASSERT_TRUE(CourseFixture::execOn(place.databaseFile(), sql));
    }

    void studyAtHome()
    {
        setRecords(
            homePlace(),
            QStringLiteral("update PEP set Result = '2|1|1' where English = 'hello';"
                           "update PEP set Result = '5|0|5' where English = 'apple';"
                           "update PEP_BookUnit set UnitStatus = 1 where BookID = 0 and UnitID = 1;"
                           "update PEP_BookUnit set UnitStatus = 3 where BookID = 1 and UnitID = 1;"
                           "insert into History values (1, 0, '2026-12-01', '08:00', 'Unit 1');"
                           "insert into History values (2, 0, '2026-12-02', '09:30', 'Unit 2');"
                           "create table MistakeNotebook (English TEXT PRIMARY KEY, Box INTEGER NOT NULL, "
                           "Since TEXT NOT NULL, Entered TEXT NOT NULL);"
                           "insert into MistakeNotebook values ('hello', 2, '2026-12-02', '2026-12-01');"
                           "create table TestRuns (Date text not null, Time text not null, Asked integer not "
                           "null, Wrong integer not null, Task text);"
                           "insert into TestRuns values ('2026-12-02', '09:40', 3, 1, 'Unit 2');"
                           "update FeatureTable set LastBook = 0, LastUnit = 2"));
        ASSERT_TRUE(QDir().mkpath(homePlace().myVoiceFolder()));
        ASSERT_TRUE(writeBytes(homePlace().myVoiceFolder() + QStringLiteral("/hello.wav"), kReading));
    }

    void exportHome()
    {
        QString error;
        const auto courses = ExportRecords(learnerOf(homePlace()), recordsFile(), &error);
        ASSERT_TRUE(courses.has_value()) << error.toStdString();
        EXPECT_EQ(*courses, 1);
    }

    ImportReport importAway(const UpdateCheckpoint& checkpoint = {}, bool expectSuccess = true)
    {
        ImportReport report;
        QString error;
        const bool ok =
            ImportRecords(recordsFile(), learnerOf(awayPlace()), awayPlace(), &report, &error, checkpoint);
        EXPECT_EQ(ok, expectSuccess) << error.toStdString();
        return report;
    }

    static Rows rowsAt(const Locations& place, const QString& sql)
    {
        return CourseFixture::rowsOf(place.databaseFile(), sql);
    }
    static QVariant helloAt(const Locations& place)
    {
        return rowsAt(place, QStringLiteral("select Result from PEP where English = 'hello'")).at(0).at(0);
    }

    // The program opens the learner's database as it does at start-up.
    bool programCanOpen(const Locations& place)
    {
        FakePrompter prompter;
        ScriptedRandom random;
        WordStore store(place, prompter, random);
        return store.LoadSettings() &&
               store.LoadUnitWords(store.catalogue().currentBook(), store.catalogue().currentUnit());
    }

    CourseFixture course = CourseFixture::fresh();
    QTemporaryDir home;
    QTemporaryDir away;
    QTemporaryDir work;
};

TEST_F(RecordsFileTest, ARecordTravelsWholeToAComputerThatHasNone)
{
    studyAtHome();
    exportHome();
    const ImportReport report = importAway();
    EXPECT_EQ(report.coursesMerged, 1);
    EXPECT_EQ(report.readingsAdded, 1);
    for (const QString& sql : {kResults, kStatus, kHistory, kSettings, kNotebook, kTestRuns})
        EXPECT_EQ(rowsAt(awayPlace(), sql), rowsAt(homePlace(), sql)) << sql.toStdString();
    EXPECT_EQ(rowsAt(awayPlace(), kNotebook).size(), 1u);
    EXPECT_EQ(rowsAt(awayPlace(), kTestRuns).size(), 1u);
    EXPECT_EQ(contentOf(awayPlace().myVoiceFolder() + QStringLiteral("/hello.wav")), kReading);
    EXPECT_TRUE(programCanOpen(awayPlace()));
    // The record as it was before the import is the newest backup.
    EXPECT_EQ(CourseFixture::rowsOf(awayPlace().backupFile(1),
                                    QStringLiteral("select Result from PEP where English = 'hello'")),
              (Rows{{QVariant()}}));
}

// Every course the learner has a record of travels, and each merges into its own record here,
// whichever course the import is started with.
TEST_F(RecordsFileTest, EachCourseMergesIntoItsOwnRecord)
{
    CourseFixture other = CourseFixture::fresh();
    ASSERT_TRUE(other.build());
    const Locations otherHome = Locations::installed(other.root(), home.path());
    const Locations otherAway = Locations::installed(other.root(), away.path());
    studyAtHome();
    setRecords(otherHome, QStringLiteral("update PEP set Result = '6|0|6' where English = 'pen'"));
    setRecords(awayPlace(), QStringLiteral("select 1"));
    setRecords(otherAway, QStringLiteral("select 1"));

    QString error;
    EXPECT_EQ(ExportRecords(learnerOf(homePlace()), recordsFile(), &error), std::optional<int>(2));
    ImportReport report;
    ASSERT_TRUE(ImportRecords(recordsFile(), learnerOf(otherAway), otherAway, &report, &error))
        << error.toStdString();
    EXPECT_EQ(report.coursesMerged, 2);
    EXPECT_EQ(report.coursesAside, 0);
    EXPECT_EQ(rowsAt(otherAway, kResults), rowsAt(otherHome, kResults));
    EXPECT_EQ(rowsAt(awayPlace(), kResults), rowsAt(homePlace(), kResults));
}

// A file written before the notebook was kept has no table for it.
TEST_F(RecordsFileTest, AFileWithoutANotebookStillImports)
{
    studyAtHome();
    exportHome();
    ASSERT_TRUE(execPlain(recordsFile(), "drop table notebook"));
    EXPECT_EQ(importAway().coursesMerged, 1);
    EXPECT_EQ(rowsAt(awayPlace(), kResults), rowsAt(homePlace(), kResults));
}

TEST_F(RecordsFileTest, ImportingTheSameFileAgainChangesNothing)
{
    studyAtHome();
    exportHome();
    importAway();
    const QByteArray database = contentOf(awayPlace().databaseFile());
    const QStringList files = QDir(awayPlace().dataFolder()).entryList(QDir::Files);

    const ImportReport again = importAway();
    EXPECT_EQ(again.wordsRaised, 0);
    EXPECT_EQ(again.unitsRaised, 0);
    EXPECT_EQ(again.historyAdded, 0);
    EXPECT_EQ(again.readingsAdded, 0);
    EXPECT_EQ(again.wordsKept, 2);
    EXPECT_EQ(contentOf(awayPlace().databaseFile()), database) << "the database was rewritten";
    EXPECT_EQ(QDir(awayPlace().dataFolder()).entryList(QDir::Files), files) << "another backup was made";
}

TEST_F(RecordsFileTest, AReadingTheLearnerAlreadyHasIsKept)
{
    studyAtHome();
    exportHome();
    setRecords(awayPlace(), QStringLiteral("select 1"));
    const QByteArray own("RIFF read on this computer");
    ASSERT_TRUE(QDir().mkpath(awayPlace().myVoiceFolder()));
    ASSERT_TRUE(writeBytes(awayPlace().myVoiceFolder() + QStringLiteral("/hello.wav"), own));
    EXPECT_EQ(importAway().readingsAdded, 0);
    EXPECT_EQ(contentOf(awayPlace().myVoiceFolder() + QStringLiteral("/hello.wav")), own);
}

// A merge never lowers what is stored here: each count takes its higher, a unit keeps every part
// done on either computer.
struct MergeCase
{
    const char* name;
    QVariant stored; // "hello"'s result on this computer
    QVariant incoming;
    QString expected;
    int storedStatus; // of book 0's second unit
    int incomingStatus;
    int expectedStatus;
};

class Merged : public RecordsFileTest, public ::testing::WithParamInterface<MergeCase>
{};

TEST_P(Merged, NothingInTheFileLowersWhatIsStored)
{
    const MergeCase& c = GetParam();
    const auto set = [](const QVariant& result, int status) {
        return QStringLiteral("update PEP set Result = %1 where English = 'hello';"
                              "update PEP_BookUnit set UnitStatus = %2 where BookID = 0 and UnitID = 1")
            .arg(result.isNull() ? QStringLiteral("null")
                                 : QLatin1Char('\'') + result.toString() + QLatin1Char('\''))
            .arg(status);
    };
    setRecords(homePlace(), set(c.incoming, c.incomingStatus) +
                                QStringLiteral(";update PEP set Result = '1|0|1' where English = 'pen'"));
    setRecords(awayPlace(), set(c.stored, c.storedStatus));
    exportHome();
    importAway();
    EXPECT_EQ(helloAt(awayPlace()).toString(), c.expected);
    const Rows status = rowsAt(
        awayPlace(), QStringLiteral("select UnitStatus from PEP_BookUnit where BookID = 0 and UnitID = 1"));
    EXPECT_EQ(status.at(0).at(0).toInt(), c.expectedStatus);
}

INSTANTIATE_TEST_SUITE_P(Records, Merged,
                         ::testing::Values(MergeCase{"HigherInTheFileRaises", QStringLiteral("2|1|1"),
                                                     QStringLiteral("5|1|3"), "5|1|3", 1, 2, 3},
                                           MergeCase{"LowerInTheFileIsIgnored", QStringLiteral("5|1|3"),
                                                     QStringLiteral("2|0|2"), "5|1|3", 3, 1, 3},
                                           MergeCase{"EachCountTakesItsHigher", QStringLiteral("5|3|0"),
                                                     QStringLiteral("4|1|4"), "5|3|4", 0, 2, 2},
                                           MergeCase{"NothingStoredTakesTheFiles", QVariant(),
                                                     QStringLiteral("3|1|2"), "3|1|2", 0, 0, 0},
                                           MergeCase{"NothingInTheFileKeepsTheStored",
                                                     QStringLiteral("3|0|3"), QVariant(), "3|0|3", 2, 0, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

// Files that must be refused, each made from a good export.
struct BadFileCase
{
    const char* name;
    std::function<bool(const QString&)> spoil;
    const char* reason;
};

class BadRecordsFile : public RecordsFileTest, public ::testing::WithParamInterface<BadFileCase>
{};

TEST_P(BadRecordsFile, IsRefusedWithItsReasonAndChangesNothing)
{
    studyAtHome();
    exportHome();
    ASSERT_TRUE(GetParam().spoil(recordsFile()));
    setRecords(awayPlace(), QStringLiteral("update PEP set Result = '1|1|0' where English = 'hello'"));
    const QByteArray before = contentOf(awayPlace().databaseFile());

    ImportReport report;
    QString error;
    EXPECT_FALSE(ImportRecords(recordsFile(), learnerOf(awayPlace()), awayPlace(), &report, &error));
    EXPECT_TRUE(error.contains(QString::fromUtf8(GetParam().reason))) << error.toStdString();
    EXPECT_EQ(contentOf(awayPlace().databaseFile()), before);
    EXPECT_FALSE(QFileInfo::exists(awayPlace().backupFile(1)));
    EXPECT_FALSE(QFileInfo::exists(learnerOf(awayPlace()) + QStringLiteral("/pending")));
    EXPECT_FALSE(QFileInfo::exists(awayPlace().myVoiceFolder() + QStringLiteral("/hello.wav")));
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadRecordsFile,
    ::testing::Values(BadFileCase{"Truncated",
                                  [](const QString& file) {
                                      QFile f(file);
                                      return f.resize(f.size() / 2);
                                  },
                                  "已损坏或不完整"},
                      BadFileCase{"Empty", [](const QString& file) { return writeBytes(file, {}); },
                                  "不是 Lexora 导出的学习记录文件"},
                      BadFileCase{"AnotherProgramsDatabase",
                                  [](const QString& file) {
                                      return QFile::remove(file) &&
                                             execPlain(file, "create table words (english, result);"
                                                             "insert into words values ('hello', '9|0|9')");
                                  },
                                  "不是 Lexora 导出的学习记录文件"},
                      BadFileCase{"NewerFormat",
                                  [](const QString& file) {
                                      return execPlain(file,
                                                       "update meta set value = 2 where key = 'format'");
                                  },
                                  "更新版本"},
                      BadFileCase{"ACourseIdentityThatLeavesTheFolder",
                                  [](const QString& file) {
                                      return execPlain(file,
                                                       "update courses set course_id = '../../elsewhere'");
                                  },
                                  "已损坏或不完整"},
                      BadFileCase{"AReadingNameWithAFolder",
                                  [](const QString& file) {
                                      return execPlain(file,
                                                       "update readings set name = '../lexora.pet.wav'");
                                  },
                                  "已损坏或不完整"}),
    [](const auto& info) { return std::string(info.param.name); });

// A kill at any step of an import: the learner keeps a database the program opens, with either the
// old records or the merged ones, and importing again finishes the merge.
class InterruptedImport : public RecordsFileTest, public ::testing::WithParamInterface<const char*>
{};

TEST_P(InterruptedImport, LeavesTheOldOrTheMergedRecords)
{
    setRecords(homePlace(), QStringLiteral("update PEP set Result = '5|0|5' where English = 'hello'"));
    setRecords(awayPlace(), QStringLiteral("update PEP set Result = '1|1|0' where English = 'hello'"));
    exportHome();
    const QString stopAt = QString::fromUtf8(GetParam());
    QStringList passed;
    importAway(
        [&](const QString& step) {
            passed << step;
            return step != stopAt;
        },
        false);
    ASSERT_FALSE(passed.isEmpty());
    EXPECT_EQ(passed.last(), stopAt);
    EXPECT_TRUE(programCanOpen(awayPlace()));
    const QString hello = helloAt(awayPlace()).toString();
    EXPECT_TRUE(hello == QLatin1String("1|1|0") || hello == QLatin1String("5|1|5")) << hello.toStdString();

    importAway();
    EXPECT_EQ(helloAt(awayPlace()).toString(), QStringLiteral("5|1|5"));
    EXPECT_TRUE(programCanOpen(awayPlace()));
}

INSTANTIATE_TEST_SUITE_P(Steps, InterruptedImport, ::testing::Values("copied", "merged", "kept", "replaced"),
                         [](const auto& info) { return std::string(info.param); });

TEST_F(RecordsFileTest, ACourseNotInstalledIsKeptAsideUntilItIs)
{
    studyAtHome();
    exportHome();
    CourseFixture other = CourseFixture::fresh();
    ASSERT_TRUE(other.build());
    const Locations otherPlace = Locations::installed(other.root(), away.path());
    ASSERT_NE(otherPlace.courseId(), awayPlace().courseId());

    ImportReport report;
    QString error;
    ASSERT_TRUE(ImportRecords(recordsFile(), learnerOf(otherPlace), otherPlace, &report, &error))
        << error.toStdString();
    EXPECT_EQ(report.coursesAside, 1);
    EXPECT_EQ(report.coursesMerged, 0);
    EXPECT_FALSE(QFileInfo::exists(awayPlace().databaseFile()));
    // A second import of the same file keeps one set of records aside, not two.
    ASSERT_TRUE(ImportRecords(recordsFile(), learnerOf(otherPlace), otherPlace, &report, &error));

    const LearnerDatabaseOutcome outcome = PrepareLearnerDatabase(awayPlace());
    EXPECT_EQ(outcome.state, LearnerDatabaseOutcome::State::Copied);
    EXPECT_TRUE(outcome.pendingMerged) << outcome.pendingError.toStdString();
    for (const QString& sql : {kResults, kStatus, kHistory, kNotebook, kTestRuns})
        EXPECT_EQ(rowsAt(awayPlace(), sql), rowsAt(homePlace(), sql)) << sql.toStdString();
    EXPECT_EQ(contentOf(awayPlace().myVoiceFolder() + QStringLiteral("/hello.wav")), kReading);
    EXPECT_FALSE(QFileInfo::exists(learnerOf(awayPlace()) + QStringLiteral("/pending/") +
                                   awayPlace().courseId() + QStringLiteral(".lexrec")));
}

} // namespace
} // namespace lexora::test
