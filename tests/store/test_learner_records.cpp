#include "CourseFixture.h"
#include "FakePrompter.h"
#include "ReadOnlyPaths.h"
#include "ScriptedRandom.h"
#include "SmallDisk.h"
#include "store/LearnerRecords.h"
#include "store/Locations.h"
#include "store/WordStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lexora::test {
namespace {

using State = LearnerDatabaseOutcome::State;
using Rows = std::vector<QVariantList>;

const QString kResults =
    QStringLiteral("select English, Book, Unit, Result from PEP order by Book, Unit, English");
const QString kStatus = QStringLiteral("select BookID, UnitID, UnitName, UnitStatus from PEP_BookUnit "
                                       "order by BookID, UnitID");
const QString kHistory = QStringLiteral("select NO, userID, Date, Time, Task from History order by NO");
const QString kSettings = QStringLiteral("select LastBook, LastUnit from FeatureTable");
const QString kNotebook =
    QStringLiteral("select English, Box, Since, Entered from MistakeNotebook order by English");

// The next version of that course: "blue" gone, "green" new, unit 3 renamed, apple's meaning changed,
// the second unit of book 1 gone with its word.
CourseFixture nextCourse()
{
    CourseFixture course = CourseFixture::fresh();
    std::erase_if(course.words, [](const auto& w) {
        return w.english == QLatin1String("blue") || w.english == QLatin1String("mother");
    });
    std::erase_if(course.units, [](const auto& u) { return u.book == 1 && u.unit == 1; });
    course.words.push_back({0, 1, QStringLiteral("green"), QStringLiteral("绿色"), 0, QVariant()});
    for (auto& word : course.words) {
        if (word.english == QLatin1String("apple"))
            word.chinese = QStringLiteral("大苹果");
    }
    course.units[2].unitName = QStringLiteral("Unit 3 Yummy Food");
    return course;
}

class LearnerDatabase : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(data.isValid());
        ASSERT_TRUE(course.build());
    }

    Locations locations() const { return Locations::installed(course.root(), data.path()); }
    QString learnerFile() const { return locations().databaseFile(); }
    Rows learnerRows(const QString& sql) const { return CourseFixture::rowsOf(learnerFile(), sql); }

    // First start, then a learner who has studied: results, unit status, history, last unit.
    void startAndStudy(int lastBook = 0, int lastUnit = 2)
    {
        ASSERT_EQ(PrepareLearnerDatabase(locations()).state, State::Copied);
        // One connection for all of it: every open of the file derives its key afresh.
        const QString study = QStringLiteral(
            "update PEP set Result = '2|1|1' where English = 'hello';"
            "update PEP set Result = '4|2|2' where English = 'blue';"
            "update PEP set Result = '5|0|5' where English = 'apple' and Unit = 1;"
            "update PEP set Result = '3|0|3' where English = 'ice cream';"
            "update PEP set Result = '1|1|0' where English = 'mother';"
            "update PEP_BookUnit set UnitStatus = 1 where BookID = 0 and UnitID = 1;"
            "update PEP_BookUnit set UnitStatus = 2 where BookID = 0 and UnitID = 2;"
            "update PEP_BookUnit set UnitStatus = 3 where BookID = 1 and UnitID = 1;"
            "insert into History values (1, 0, '2026-12-01', '08:00', 'Unit 1');"
            "insert into History values (2, 1, '2026-12-02', '09:30', 'Unit 2');"
            "create table MistakeNotebook (English TEXT PRIMARY KEY, Box INTEGER NOT NULL, Since TEXT NOT "
            "NULL, Entered TEXT NOT NULL);"
            "insert into MistakeNotebook values ('hello', 2, '2026-12-02', '2026-12-01'), "
            "('blue', 1, '2026-12-02', '2026-12-02');"
            "create table TestRuns (Date text not null, Time text not null, Asked integer not null, Wrong "
            "integer not null, Task text);"
            "insert into TestRuns values ('2026-12-02', '09:40', 3, 1, 'Unit 2');"
            "update FeatureTable set LastBook = %1, LastUnit = %2");
        ASSERT_TRUE(CourseFixture::execOn(learnerFile(), study.arg(lastBook).arg(lastUnit)));
    }

    // The course changes under the learner: the next version is built in place.
    void publishNextCourse(CourseFixture next = nextCourse())
    {
        ASSERT_TRUE(next.build());
        ASSERT_TRUE(QFile::remove(course.dbFile()));
        ASSERT_TRUE(QFile::copy(next.dbFile(), course.dbFile()));
    }

    void expectCarriedRecords() const
    {
        const Rows expected = {
            {QStringLiteral("I'm"), 0, 0, QVariant()},
            {QStringLiteral("good morning"), 0, 0, QVariant()},
            {QStringLiteral("hello"), 0, 0, QStringLiteral("2|1|1")},
            {QStringLiteral("apple"), 0, 1, QStringLiteral("5|0|5")},
            {QStringLiteral("green"), 0, 1, QVariant()},
            {QStringLiteral("red"), 0, 1, QVariant()},
            {QStringLiteral("apple"), 0, 2, QStringLiteral("5|0|5")}, // one result per word
            {QStringLiteral("cake"), 0, 2, QVariant()},
            {QStringLiteral("ice cream"), 0, 2, QStringLiteral("3|0|3")},
            {QStringLiteral("T-shirt"), 1, 0, QVariant()},
            {QStringLiteral("pen"), 1, 0, QVariant()},
        };
        Rows results = learnerRows(kResults);
        for (auto& row : results)
            row[0] = row[0].toString().trimmed();
        EXPECT_EQ(results, expected);
        const Rows status = {
            {0, 0, QStringLiteral(" Unit 1 Hello "), QVariant()},
            {0, 1, QStringLiteral("Unit 2 Colours"), 1},
            {0, 2, QStringLiteral("Unit 3 Yummy Food"), 2},
            {1, 0, QStringLiteral("Unit 1 School"), QVariant()},
        };
        EXPECT_EQ(learnerRows(kStatus), status);
        const Rows history = {
            {1, 0, QStringLiteral("2026-12-01"), QStringLiteral("08:00"), QStringLiteral("Unit 1")},
            {2, 1, QStringLiteral("2026-12-02"), QStringLiteral("09:30"), QStringLiteral("Unit 2")},
        };
        EXPECT_EQ(learnerRows(kHistory), history);
        const Rows apples =
            learnerRows(QStringLiteral("select distinct Chinese from PEP where English = 'apple'"));
        EXPECT_EQ(apples, (Rows{{QStringLiteral("大苹果")}}));
        EXPECT_EQ(
            learnerRows(QStringLiteral("select Date, Time, Asked, Wrong, Task from TestRuns")),
            (Rows{{QStringLiteral("2026-12-02"), QStringLiteral("09:40"), 3, 1, QStringLiteral("Unit 2")}}));
        // blue is gone from the course, and so from the notebook.
        EXPECT_EQ(learnerRows(kNotebook), (Rows{{QStringLiteral("hello"), 2, QStringLiteral("2026-12-02"),
                                                 QStringLiteral("2026-12-01")}}));
    }

    // The program opens the learner's database as it would at start-up.
    bool programCanOpen()
    {
        FakePrompter prompter;
        ScriptedRandom random;
        WordStore store(locations(), prompter, random);
        return store.LoadSettings() &&
               store.LoadUnitWords(store.catalogue().currentBook(), store.catalogue().currentUnit());
    }

    CourseFixture course = CourseFixture::fresh();
    QTemporaryDir data;
};

// A course on a CD or copied read-only serves every user, not only root.
TEST_F(LearnerDatabase, TheFirstStartCopiesAReadOnlyCourseForAnOrdinaryUser)
{
    ASSERT_TRUE(QFile::setPermissions(data.path(), QFileDevice::ReadOther | QFileDevice::WriteOther |
                                                       QFileDevice::ExeOther | QFileDevice::ReadOwner |
                                                       QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    ReadOnlyPaths readOnly(course.root(), {course.dbFile(), QFileInfo(course.dbFile()).path()});
    const LearnerDatabaseOutcome outcome = PrepareLearnerDatabase(locations());
    EXPECT_EQ(outcome.state, State::Copied) << qPrintable(outcome.error);
    EXPECT_TRUE(QFileInfo(learnerFile()).isWritable());
    EXPECT_FALSE(QFile::exists(learnerFile() + QStringLiteral(".part")));
    EXPECT_TRUE(programCanOpen());
}

// Whatever is planted at a name the store writes through first (a link to another file) is removed,
// never followed: the first start, an update and the backups it keeps.
TEST_F(LearnerDatabase, ALinkPlantedAtATemporaryNameIsNeverFollowed)
{
    QTemporaryDir elsewhere;
    const QString victim = elsewhere.filePath(QStringLiteral("victim"));
    QFile file(victim);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not yours");
    file.close();
    const QString folder = locations().dataFolder();
    ASSERT_TRUE(QDir().mkpath(folder));
    const auto plant = [&] {
        for (const char* name : {"lexora.pet.part", "course-origin.part", "lexora.pet.new",
                                 "lexora.pet.new-journal", "lexora.pet.bak1.part"}) {
            const QString at = folder + QLatin1Char('/') + QLatin1String(name);
            QFile::remove(at);
            ASSERT_TRUE(QFile::link(victim, at)) << name;
        }
    };
    plant();
    startAndStudy();
    publishNextCourse();
    plant();
    EXPECT_EQ(PrepareLearnerDatabase(locations()).state, State::Updated);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("not yours"));
    EXPECT_TRUE(programCanOpen());
}

// An update that runs out of room at any of its steps names the full disk, and the learner goes on
// with the database they had.
TEST(LearnerDatabaseOnAFullDisk, AnUpdateSaysTheDiskIsFullAndKeepsTheRecord)
{
    for (const qint64 room : {0, 8 * 1024, 12 * 1024, 16 * 1024}) {
        SCOPED_TRACE(room);
        SmallDisk disk(2 * 1024 * 1024);
        if (!disk.isReady())
            GTEST_SKIP() << "a disk of its own needs root";
        CourseFixture course = CourseFixture::fresh();
        ASSERT_TRUE(course.build());
        const Locations place = Locations::installed(course.root(), disk.path());
        ASSERT_EQ(PrepareLearnerDatabase(place).state, State::Copied);
        ASSERT_TRUE(CourseFixture::execOn(
            place.databaseFile(), QStringLiteral("update PEP set Result = '2|1|1' where English = 'hello'")));
        CourseFixture next = nextCourse();
        ASSERT_TRUE(next.build());
        ASSERT_TRUE(QFile::remove(course.dbFile()));
        ASSERT_TRUE(QFile::copy(next.dbFile(), course.dbFile()));
        ASSERT_TRUE(disk.fill(room));

        const LearnerDatabaseOutcome outcome = PrepareLearnerDatabase(place);
        EXPECT_EQ(outcome.state, State::UpdateFailed);
        EXPECT_TRUE(outcome.error.contains(QStringLiteral("磁盘已满"))) << qPrintable(outcome.error);
        EXPECT_EQ(CourseFixture::rowsOf(place.databaseFile(),
                                        QStringLiteral("select Result from PEP where English = 'hello'")),
                  (Rows{{QStringLiteral("2|1|1")}}));
    }
}

// A learner's file cut short to nothing: the newest backup takes its place, or else a fresh record;
// either way the learner is told and the program opens.
TEST_F(LearnerDatabase, ALearnerFileWithNoDatabaseInItIsReplacedAndSaidSo)
{
    startAndStudy();
    publishNextCourse();
    ASSERT_EQ(PrepareLearnerDatabase(locations()).state, State::Updated);
    const auto empty = [this] {
        QFile file(learnerFile());
        ASSERT_TRUE(file.resize(0));
    };
    empty();
    LearnerDatabaseOutcome outcome = PrepareLearnerDatabase(locations());
    EXPECT_EQ(outcome.state, State::Updated) << qPrintable(outcome.error);
    EXPECT_TRUE(outcome.repaired.contains(QStringLiteral("备份恢复"))) << qPrintable(outcome.repaired);
    EXPECT_EQ(learnerRows(QStringLiteral("select Result from PEP where English = 'hello'")),
              (Rows{{QStringLiteral("2|1|1")}}));
    EXPECT_TRUE(programCanOpen());

    for (int generation = 1; generation <= Locations::kBackups; ++generation)
        QFile::remove(locations().backupFile(generation));
    empty();
    outcome = PrepareLearnerDatabase(locations());
    EXPECT_EQ(outcome.state, State::Copied) << qPrintable(outcome.error);
    EXPECT_TRUE(outcome.repaired.contains(QStringLiteral("从头开始"))) << qPrintable(outcome.repaired);
    EXPECT_TRUE(programCanOpen());
}

TEST_F(LearnerDatabase, ANewCourseKeepsTheRecordsOfWhatIsStillThere)
{
    startAndStudy();
    publishNextCourse();
    const LearnerDatabaseOutcome outcome = PrepareLearnerDatabase(locations());
    EXPECT_EQ(outcome.state, State::Updated) << outcome.error.toStdString();
    // hello, apple and ice cream stay; blue and mother are gone, and so is book 1's second unit.
    EXPECT_EQ(outcome.carried.wordsKept, 3);
    EXPECT_EQ(outcome.carried.wordsGone, 2);
    EXPECT_EQ(outcome.carried.unitsGone, 1);
    expectCarriedRecords();
    EXPECT_EQ(learnerRows(kSettings), (Rows{{0, 2}}));
    // The previous database is kept, once.
    EXPECT_EQ(CourseFixture::rowsOf(locations().backupFile(),
                                    QStringLiteral("select Result from PEP where English = 'blue'")),
              (Rows{{QStringLiteral("4|2|2")}}));
    // Once updated, the course counts as unchanged and the database is left alone.
    EXPECT_EQ(PrepareLearnerDatabase(locations()).state, State::Ready);
    expectCarriedRecords();
    EXPECT_TRUE(programCanOpen());
}

TEST_F(LearnerDatabase, ALastUnitThatIsGoneFallsBackToTheCoursesOwn)
{
    startAndStudy(1, 1);
    publishNextCourse();
    ASSERT_EQ(PrepareLearnerDatabase(locations()).state, State::Updated);
    EXPECT_EQ(learnerRows(kSettings), (Rows{{0, 0}}));
}

TEST_F(LearnerDatabase, EachUpdateKeepsTheLastThreeDatabasesNewestFirst)
{
    startAndStudy();
    for (const char* meaning : {"一", "二", "三", "四"}) {
        CourseFixture next = nextCourse();
        next.words.front().chinese = QString::fromUtf8(meaning);
        publishNextCourse(std::move(next));
        ASSERT_EQ(PrepareLearnerDatabase(locations()).state, State::Updated);
    }
    const QString first = QStringLiteral("select Chinese from PEP where rowid = 1");
    EXPECT_EQ(CourseFixture::rowsOf(locations().backupFile(1), first), (Rows{{QStringLiteral("三")}}));
    EXPECT_EQ(CourseFixture::rowsOf(locations().backupFile(2), first), (Rows{{QStringLiteral("二")}}));
    EXPECT_EQ(CourseFixture::rowsOf(locations().backupFile(3), first), (Rows{{QStringLiteral("一")}}));
    EXPECT_FALSE(QFile::exists(locations().databaseFile() + QStringLiteral(".bak4")));
}

// A word that moves to another unit keeps its counts there.
TEST_F(LearnerDatabase, AWordMovedToAnotherUnitKeepsItsCounts)
{
    startAndStudy();
    CourseFixture next = CourseFixture::fresh();
    for (auto& word : next.words) {
        if (word.english == QLatin1String("hello"))
            word.unit = 1;
    }
    publishNextCourse(std::move(next));
    const LearnerDatabaseOutcome outcome = PrepareLearnerDatabase(locations());
    ASSERT_EQ(outcome.state, State::Updated);
    EXPECT_EQ(outcome.carried.wordsGone, 0);
    EXPECT_EQ(learnerRows(QStringLiteral("select Unit, Result from PEP where English = 'hello'")),
              (Rows{{1, QStringLiteral("2|1|1")}}));
}

// Two courses in one account, the same title and tables: each keeps its own record, and going from
// one to the other and back changes nothing of either.
TEST_F(LearnerDatabase, SwitchingCoursesKeepsEachCoursesOwnRecord)
{
    startAndStudy();
    CourseFixture other = CourseFixture::fresh();
    for (auto& unit : other.units)
        unit.unitName = QStringLiteral("Other ") + unit.unitName;
    ASSERT_TRUE(other.build());
    const Locations otherPlace = Locations::installed(other.root(), data.path());
    ASSERT_NE(otherPlace.databaseFile(), learnerFile());
    const Rows before = learnerRows(kResults);
    const Rows statusBefore = learnerRows(kStatus);

    ASSERT_EQ(PrepareLearnerDatabase(otherPlace).state, State::Copied);
    ASSERT_TRUE(CourseFixture::execOn(
        otherPlace.databaseFile(), QStringLiteral("update PEP set Result = '9|9|0' where English = 'pen'")));
    EXPECT_EQ(PrepareLearnerDatabase(locations()).state, State::Ready);
    EXPECT_EQ(learnerRows(kResults), before);
    EXPECT_EQ(learnerRows(kStatus), statusBefore);
    EXPECT_EQ(PrepareLearnerDatabase(otherPlace).state, State::Ready);
    EXPECT_EQ(CourseFixture::rowsOf(otherPlace.databaseFile(),
                                    QStringLiteral("select Result from PEP where English = 'hello'")),
              (Rows{{QVariant()}}));
}

// The one record a user had before records were kept per course goes to the course it belongs to.
TEST_F(LearnerDatabase, AnOlderSingleRecordIsTakenOverByItsOwnCourseOnly)
{
    ASSERT_TRUE(QFile::copy(course.dbFile(), data.filePath(QStringLiteral("lexora.pet"))));
    ASSERT_TRUE(
        CourseFixture::execOn(data.filePath(QStringLiteral("lexora.pet")),
                              QStringLiteral("update PEP set Result = '7|0|7' where English = 'pen'")));
    QFile origin(data.filePath(QStringLiteral("course-origin")));
    ASSERT_TRUE(origin.open(QIODevice::WriteOnly));
    origin.write(CourseFingerprint(course.dbFile()));
    origin.close();

    CourseFixture other = CourseFixture::standard();
    other.versionDB = QStringLiteral("OTHER");
    ASSERT_TRUE(other.build());
    const Locations otherPlace = Locations::installed(other.root(), data.path());
    ASSERT_EQ(PrepareLearnerDatabase(otherPlace).state, State::Copied);
    EXPECT_TRUE(QFile::exists(data.filePath(QStringLiteral("lexora.pet"))))
        << "another course's record stays";

    EXPECT_EQ(PrepareLearnerDatabase(locations()).state, State::Ready);
    EXPECT_FALSE(QFile::exists(data.filePath(QStringLiteral("lexora.pet"))));
    EXPECT_EQ(learnerRows(QStringLiteral("select Result from PEP where English = 'pen'")),
              (Rows{{QStringLiteral("7|0|7")}}));
}

// A crash at any step of an update: the learner keeps a database the program opens with their
// records, and the next start finishes the update.
class InterruptedUpdate : public LearnerDatabase, public ::testing::WithParamInterface<const char*>
{};

TEST_P(InterruptedUpdate, LeavesAUsableDatabaseAndTheNextStartFinishes)
{
    startAndStudy();
    publishNextCourse();
    const QString stopAt = QString::fromUtf8(GetParam());
    QStringList passed;
    const LearnerDatabaseOutcome outcome = PrepareLearnerDatabase(locations(), [&](const QString& step) {
        passed << step;
        return step != stopAt;
    });
    EXPECT_EQ(outcome.state, State::UpdateFailed);
    EXPECT_EQ(passed.last(), stopAt);
    EXPECT_TRUE(programCanOpen());
    EXPECT_EQ(learnerRows(QStringLiteral("select Result from PEP where English = 'hello'")),
              (Rows{{QStringLiteral("2|1|1")}}));

    EXPECT_EQ(PrepareLearnerDatabase(locations()).state, State::Updated);
    expectCarriedRecords();
    EXPECT_TRUE(programCanOpen());
}

INSTANTIATE_TEST_SUITE_P(Steps, InterruptedUpdate,
                         ::testing::Values("copied", "carried", "kept", "replaced"));

} // namespace
} // namespace lexora::test
