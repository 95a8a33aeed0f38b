#include "CourseFixture.h"
#include "FakePrompter.h"
#include "ScriptedRandom.h"
#include "store/ConnectString.h"
#include "store/WordStore.h"

#include <gtest/gtest.h>

using namespace lexora;
using lexora::test::CourseFixture;
using lexora::test::FakePrompter;
using lexora::test::ScriptedRandom;

namespace {

TEST(ConnectString, KeepsItsTextAndYieldsFileAndPassword)
{
    FakePrompter prompter;
    ScriptedRandom random;
    WordStore store(QStringLiteral("/opt/x;y/Lexora"), prompter, random);
    store.MakeConnectString();
    EXPECT_EQ(store.strDBFile, QStringLiteral("/opt/x;y/Lexora/AppPics/lexora.pet"));
    EXPECT_EQ(store.strConnect, QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;"
                                               "Jet OLEDB:Database Password=quillbent;Data Source=/opt/x;y/"
                                               "Lexora/AppPics/lexora.pet"));
    const ConnectionInfo info = ParseConnectString(store.strConnect);
    EXPECT_EQ(info.dataSource, store.strDBFile);
    EXPECT_EQ(info.password, QStringLiteral("quillbent"));
}

struct CommonCase
{
    const char* program;
    const char* common;
};

class CommonPath : public ::testing::TestWithParam<CommonCase>
{};

TEST_P(CommonPath, IsTheProgramFoldersSibling)
{
    FakePrompter prompter;
    ScriptedRandom random;
    WordStore store(QString::fromUtf8(GetParam().program), prompter, random);
    EXPECT_EQ(store.GetCommonPath(), QString::fromUtf8(GetParam().common));
}

INSTANTIATE_TEST_SUITE_P(Folders, CommonPath,
                         ::testing::Values(CommonCase{"/home/kid/apps/Lexora", "/home/kid/apps/Common"},
                                           CommonCase{"/home/kid/apps/Lexora/", "/home/kid/apps/Common"},
                                           CommonCase{"/Lexora", "/Common"}, CommonCase{"/", "/Common"},
                                           CommonCase{"/a b/词汇", "/a b/Common"}),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

class ScrambleToggle : public ::testing::Test
{
protected:
    void make(bool scrambled)
    {
        course = CourseFixture::standard();
        ASSERT_TRUE(course.build(scrambled));
        store = std::make_unique<WordStore>(course.programFolder(), prompter, random);
        store->MakeConnectString();
        store->setFatalHandler([this] { ++fatals; });
    }
    // Opening through the row-set layer alone tells whether the file is plain right now.
    bool isPlain() const
    {
        RecordSet rs;
        QString error;
        return rs.Open(QStringLiteral("select count(*) from FeatureTable"), course.dbFile(),
                       QStringLiteral("quillbent"), nullptr, {}, &error);
    }

    CourseFixture course;
    FakePrompter prompter;
    ScriptedRandom random;
    std::unique_ptr<WordStore> store;
    int fatals = 0;
};

TEST_F(ScrambleToggle, ScrambledFileOpensAfterOneToggleAndIsScrambledAgainOnClose)
{
    make(/*scrambled=*/true);
    const QByteArray scrambledHead = course.head();
    EXPECT_FALSE(isPlain());
    ASSERT_TRUE(store->OpenRecordset(QStringLiteral("select * from FeatureTable")));
    EXPECT_EQ(store->myRS->RecordCount(), 1);
    EXPECT_NE(course.head(), scrambledHead); // plain while open
    store->CloseRecordset();
    EXPECT_EQ(course.head(), scrambledHead);
    EXPECT_FALSE(isPlain());
    EXPECT_TRUE(prompter.asked().empty());
}

TEST_F(ScrambleToggle, PlainFileOpensAtFirstTry)
{
    make(/*scrambled=*/false);
    const QByteArray plainHead = course.head();
    ASSERT_TRUE(store->OpenRecordset(QStringLiteral("select * from FeatureTable")));
    EXPECT_EQ(course.head(), plainHead);
    store->CloseRecordset();
    EXPECT_NE(course.head(), plainHead);
    EXPECT_FALSE(isPlain());
}

TEST_F(ScrambleToggle, CloseWithoutOpenSetDoesNotScramble)
{
    make(/*scrambled=*/false);
    store->CloseRecordset();
    EXPECT_TRUE(isPlain());
}

TEST_F(ScrambleToggle, UpdateUserInfoLeavesTheFilePlain)
{
    make(/*scrambled=*/true);
    ASSERT_TRUE(store->LoadSettings());
    ASSERT_TRUE(store->LoadUnitWords(0, 0));
    store->arrWords[0].testNum = 1;
    store->arrWords[0].UpdateUserInfo(*store);
    EXPECT_TRUE(isPlain());
    // The next query opens the plain file at once and scrambles it on close.
    ASSERT_TRUE(store->LoadBookUnits(0));
    EXPECT_FALSE(isPlain());
}

TEST_F(ScrambleToggle, SecondFailureRestoresTheHeaderReportsAndEnds)
{
    for (bool scrambled : {true, false}) {
        make(scrambled);
        prompter.clear();
        fatals = 0;
        const QByteArray head = course.head();
        EXPECT_FALSE(store->OpenRecordset(QStringLiteral("select * from NoSuchTable")));
        EXPECT_EQ(course.head(), head) << "scrambled=" << scrambled;
        EXPECT_EQ(fatals, 1);
        ASSERT_EQ(prompter.asked().size(), 1u);
        EXPECT_TRUE(prompter.asked()[0].text.contains(QStringLiteral("NoSuchTable")));
        EXPECT_EQ(prompter.asked()[0].icon, FakePrompter::Icon::Critical);
    }
}

TEST_F(ScrambleToggle, MissingDatabaseIsReportedNotCreated)
{
    make(/*scrambled=*/true);
    QFile::remove(course.dbFile());
    EXPECT_FALSE(store->LoadSettings());
    EXPECT_EQ(fatals, 1);
    EXPECT_FALSE(QFile::exists(course.dbFile()));
}

} // namespace
