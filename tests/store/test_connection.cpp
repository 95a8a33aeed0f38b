#include "ReadOnlyPaths.h"
#include "StoreTest.h"
#include "store/ConnectString.h"
#include "store/LearnerRecords.h"

#include <QTemporaryDir>

using namespace lexora;
using lexora::test::FakePrompter;
using lexora::test::ScriptedRandom;
using lexora::test::StoreTest;

namespace {

TEST(Connection, StringCarriesTheFileAndPasswordThroughAnyPath)
{
    FakePrompter prompter;
    ScriptedRandom random;
    WordStore store(QStringLiteral("/opt/x;y/Lexora"), prompter, random);
    const ConnectionInfo info = ParseConnectString(store.database().connectString());
    EXPECT_EQ(info.dataSource, QStringLiteral("/opt/x;y/Lexora/AppPics/lexora.pet"));
    EXPECT_EQ(info.password, QStringLiteral("quillbent"));
}

class ScrambleToggle : public StoreTest
{
protected:
    // Opening through the row-set layer alone tells whether the file is plain right now.
    bool isPlain() const
    {
        RecordSet rs;
        QString error;
        return rs.Open(QStringLiteral("select count(*) from FeatureTable"), course.dbFile(),
                       QStringLiteral("quillbent"), nullptr, {}, &error);
    }
};

// Whatever state the file is found in, a query opens it and its close leaves it scrambled.
TEST_F(ScrambleToggle, AQueryOpensEitherStateAndItsCloseLeavesTheFileScrambled)
{
    for (const bool scrambled : {true, false}) {
        SCOPED_TRACE(scrambled);
        ASSERT_TRUE(open());
        ASSERT_TRUE(course.build(scrambled));
        QString error;
        ASSERT_TRUE(store->database().open(QStringLiteral("select * from FeatureTable"), {}, &error));
        EXPECT_EQ(store->database().rows().RecordCount(), 1);
        EXPECT_TRUE(isPlain());
        store->database().close();
        EXPECT_FALSE(isPlain());
        ASSERT_TRUE(store->LoadBookUnits(0));
        EXPECT_FALSE(isPlain());
        EXPECT_TRUE(prompter.asked().empty());
    }
}

TEST_F(ScrambleToggle, SecondFailureRestoresTheHeaderReportsAndEnds)
{
    for (bool scrambled : {true, false}) {
        ASSERT_TRUE(open(/*loadSettings=*/false));
        ASSERT_TRUE(course.build(scrambled));
        prompter.clear();
        const QByteArray head = course.head();
        QString error;
        EXPECT_FALSE(store->database().open(QStringLiteral("select * from NoSuchTable"), {}, &error));
        EXPECT_EQ(course.head(), head) << "scrambled=" << scrambled;
        EXPECT_TRUE(error.contains(QStringLiteral("NoSuchTable"))) << qPrintable(error);
        EXPECT_TRUE(prompter.asked().empty()) << "the connection shows nothing itself";
    }
    QFile::remove(course.dbFile()); // a missing database is reported, never created
    EXPECT_FALSE(store->LoadSettings());
    EXPECT_EQ(fatals, 1);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_TRUE(prompter.asked()[0].text.contains(QStringLiteral("找不到文件")));
    EXPECT_FALSE(QFile::exists(course.dbFile()));
}

// A scrambled database that cannot be written cannot be unscrambled: the learner is told that, not
// that the file is no database.
TEST_F(ScrambleToggle, AHeaderThatCannotBeRestoredIsReportedAsAFileThatCannotBeWritten)
{
    ASSERT_TRUE(open(/*loadSettings=*/false));
    const QByteArray head = course.head();
    {
        lexora::test::ReadOnlyPaths readOnly(course.root(), {course.dbFile()});
        EXPECT_FALSE(store->LoadSettings());
    }
    EXPECT_EQ(fatals, 1);
    EXPECT_EQ(course.head(), head);
    ASSERT_EQ(prompter.asked().size(), 1u);
    const QString& text = prompter.asked()[0].text;
    EXPECT_TRUE(text.contains(QStringLiteral("不能写入"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("只读"))) << qPrintable(text);
    EXPECT_FALSE(text.contains(QStringLiteral("不是单词库"))) << qPrintable(text);
}

// A file at rest is tried turned first; one left plain that cannot be turned still opens as found.
TEST_F(ScrambleToggle, APlainDatabaseThatCannotBeWrittenStillOpens)
{
    ASSERT_TRUE(open(/*loadSettings=*/false));
    ASSERT_TRUE(course.build(/*scrambled=*/false));
    const QByteArray head = course.head();
    lexora::test::ReadOnlyPaths readOnly(course.root(), {course.dbFile()});
    QString error;
    EXPECT_TRUE(store->database().open(QStringLiteral("select * from FeatureTable"), {}, &error))
        << qPrintable(error);
    EXPECT_EQ(course.head(), head);
}

// A burst keeps the file plain between its queries and a run's save, and scrambled at its end.
TEST_F(ScrambleToggle, ABurstKeepsTheFilePlainUntilItEnds)
{
    ASSERT_TRUE(open());
    ASSERT_TRUE(store->LoadUnitWords(0, 0));
    {
        CourseDatabase::Burst burst(store->database());
        EXPECT_TRUE(store->LoadBookUnits(0));
        EXPECT_TRUE(isPlain()) << "scrambled after a query within the burst";
        EXPECT_TRUE(store->SaveWordResults({0, 1}));
        EXPECT_TRUE(store->LoadBookUnits(0));
        EXPECT_TRUE(isPlain()) << "scrambled after a save within the burst";
    }
    EXPECT_FALSE(isPlain());
    EXPECT_TRUE(prompter.asked().empty());
}

TEST_F(ScrambleToggle, KeysFetchedAheadOpenTheFileInEitherState)
{
    for (const bool scrambled : {true, false}) {
        SCOPED_TRACE(scrambled);
        ASSERT_TRUE(course.build(scrambled));
        WordStore fresh(course.programFolder(), prompter, random);
        fresh.PrefetchKeys();
        EXPECT_TRUE(fresh.LoadSettings());
        EXPECT_TRUE(fresh.LoadUnitWords(1, 0));
        EXPECT_FALSE(isPlain());
    }
    QFile::remove(course.dbFile()); // nothing to fetch ahead: the open reports it as before
    WordStore missing(course.programFolder(), prompter, random);
    missing.PrefetchKeys();
    EXPECT_FALSE(missing.LoadSettings());
    EXPECT_EQ(prompter.asked().size(), 1u);
}

// A file with no head yet (missing or empty) is opened as it is: nothing is said to have been turned,
// so nothing turns the new database's head afterwards.
TEST(HeadlessFile, OpensAsFoundAndIsNotReportedTurned)
{
    for (const bool empty : {false, true}) {
        SCOPED_TRACE(empty);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("new.pet"));
        if (empty) {
            QFile created(file);
            ASSERT_TRUE(created.open(QIODevice::WriteOnly));
        }
        bool turned = true;
        QString error;
        EXPECT_NE(OpenInEitherState(file, &turned, &error), nullptr) << qPrintable(error);
        EXPECT_FALSE(turned);
    }
}

} // namespace
