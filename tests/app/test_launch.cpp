#include "CourseFixture.h"
#include "FakePrompter.h"
#include "app/Launch.h"
#include "store/Locations.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lexora::test {
namespace {

using Action = CommandLine::Action;

struct LineCase
{
    const char* name;
    QStringList arguments;
    Action action;
    const char* course;
    const char* textHolds;
};

class CommandLineParsing : public ::testing::TestWithParam<LineCase>
{};

TEST_P(CommandLineParsing, TellsWhatToDo)
{
    const LineCase& c = GetParam();
    const CommandLine line = ParseCommandLine(QStringList{QStringLiteral("lexora")} + c.arguments);
    EXPECT_EQ(line.action, c.action);
    EXPECT_EQ(line.course, QString::fromUtf8(c.course));
    EXPECT_TRUE(line.text.contains(QString::fromUtf8(c.textHolds))) << line.text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Options, CommandLineParsing,
    ::testing::Values(LineCase{"Nothing", {}, Action::Run, "", ""},
                      LineCase{"Course", {"--course", "/srv/course"}, Action::Run, "/srv/course", ""},
                      LineCase{"CourseWithEquals", {"--course=/srv/course"}, Action::Run, "/srv/course", ""},
                      LineCase{"Help", {"--help"}, Action::Help, "", "--course <DIR>"},
                      LineCase{"ShortHelp", {"-h"}, Action::Help, "", "--version"},
                      LineCase{"Version", {"--version"}, Action::Version, "", ""},
                      LineCase{"HelpWins", {"--course", "x", "--help"}, Action::Help, "", "--help"},
                      LineCase{"Unknown", {"--colour"}, Action::Error, "", "colour"},
                      LineCase{"CourseWithoutFolder", {"--course"}, Action::Error, "", "course"},
                      LineCase{"EmptyCourse", {"--course", ""}, Action::Error, "", "--course"},
                      LineCase{"StrayArgument", {"apple"}, Action::Error, "", "apple"}),
    [](const auto& info) { return std::string(info.param.name); });

struct RecordsLineCase
{
    const char* name;
    QStringList arguments;
    Action action;
    const char* file;
};

class RecordsOptionParsing : public ::testing::TestWithParam<RecordsLineCase>
{};

TEST_P(RecordsOptionParsing, NamesTheFileAndTheDirection)
{
    const RecordsLineCase& c = GetParam();
    const CommandLine line = ParseCommandLine(QStringList{QStringLiteral("lexora")} + c.arguments);
    EXPECT_EQ(line.action, c.action) << line.text.toStdString();
    EXPECT_EQ(line.recordsFile, QString::fromUtf8(c.file));
}

INSTANTIATE_TEST_SUITE_P(
    Options, RecordsOptionParsing,
    ::testing::Values(
        RecordsLineCase{"Export", {"--export-records", "a.lexrec"}, Action::ExportRecords, "a.lexrec"},
        RecordsLineCase{"ImportWithACourse",
                        {"--course", "/srv/course", "--import-records=b.lexrec"},
                        Action::ImportRecords,
                        "b.lexrec"},
        RecordsLineCase{"ExportWithoutAFile", {"--export-records"}, Action::Error, ""},
        RecordsLineCase{"AnEmptyFile", {"--import-records", ""}, Action::Error, ""},
        RecordsLineCase{"BothWays", {"--export-records", "a", "--import-records", "b"}, Action::Error, ""}),
    [](const auto& info) { return std::string(info.param.name); });

class PreparingTheLearner : public ::testing::Test
{
protected:
    Locations locations() const { return Locations::installed(course.root(), data.path()); }

    CourseFixture course = CourseFixture::standard();
    QTemporaryDir data;
    FakePrompter prompter;
};

TEST_F(PreparingTheLearner, AFailedUpdateWarnsAndGoesOnWithTheOldRecords)
{
    ASSERT_TRUE(course.build());
    ASSERT_TRUE(PrepareLearner(locations(), prompter));
    QFile broken(course.dbFile());
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray(2048, 'x'));
    broken.close();
    EXPECT_TRUE(PrepareLearner(locations(), prompter));
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_TRUE(prompter.asked()[0].text.startsWith(QStringLiteral("课程更新失败")));
}

TEST_F(PreparingTheLearner, NoCourseAndNoRecordsStopsTheProgramWithAMessage)
{
    EXPECT_FALSE(PrepareLearner(locations(), prompter));
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_TRUE(prompter.asked()[0].text.contains(QStringLiteral("程序无法启动")));
}

} // namespace
} // namespace lexora::test
