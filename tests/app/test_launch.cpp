#include "CourseFixture.h"
#include "FakePrompter.h"
#include "MediaTestKit.h"
#include "app/FormLearners.h"
#include "app/Launch.h"
#include "store/Learners.h"
#include "store/Locations.h"

#include <QFile>
#include <QFileInfo>
#include <QListWidget>
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
    const char* file = ""; // the records file, or the report's for a report
};

class CommandLineParsing : public ::testing::TestWithParam<LineCase>
{};

TEST_P(CommandLineParsing, TellsWhatToDo)
{
    const LineCase& c = GetParam();
    const CommandLine line = ParseCommandLine(QStringList{QStringLiteral("lexora")} + c.arguments);
    EXPECT_EQ(line.action, c.action) << line.text.toStdString();
    EXPECT_EQ(line.course, QString::fromUtf8(c.course));
    EXPECT_TRUE(line.text.contains(QString::fromUtf8(c.textHolds))) << line.text.toStdString();
    EXPECT_EQ(c.action == Action::Report ? line.reportFile : line.recordsFile, QString::fromUtf8(c.file));
}

INSTANTIATE_TEST_SUITE_P(
    Options, CommandLineParsing,
    ::testing::Values(
        LineCase{"Nothing", {}, Action::Run, "", ""},
        LineCase{"Course", {"--course", "/srv/course"}, Action::Run, "/srv/course", ""},
        LineCase{"CourseWithEquals", {"--course=/srv/course"}, Action::Run, "/srv/course", ""},
        LineCase{"Help", {"--help"}, Action::Help, "", "--course <DIR>"},
        LineCase{"Version", {"--version"}, Action::Version, "", ""},
        LineCase{"HelpWins", {"--course", "x", "--help"}, Action::Help, "", "--help"},
        LineCase{"Unknown", {"--colour"}, Action::Error, "", "colour"},
        LineCase{"CourseWithoutFolder", {"--course"}, Action::Error, "", "course"},
        LineCase{"EmptyCourse", {"--course", ""}, Action::Error, "", "--course"},
        LineCase{"StrayArgument", {"apple"}, Action::Error, "", "apple"},
        LineCase{"EmptyLearner", {"--learner", " "}, Action::Error, "", "--learner"},
        LineCase{"Export", {"--export-records", "a.lexrec"}, Action::ExportRecords, "", "", "a.lexrec"},
        LineCase{"ImportWithACourse",
                 {"--course", "/srv/course", "--import-records=b.lexrec"},
                 Action::ImportRecords,
                 "/srv/course",
                 "",
                 "b.lexrec"},
        LineCase{"ExportWithoutAFile", {"--export-records"}, Action::Error, "", ""},
        LineCase{"AnEmptyFile", {"--import-records", ""}, Action::Error, "", ""},
        LineCase{"BothWays", {"--export-records", "a", "--import-records", "b"}, Action::Error, "", ""},
        LineCase{"Report", {"--learner", "小明", "--report", "r.pdf"}, Action::Report, "", "", "r.pdf"},
        LineCase{"ReportAndExport", {"--report", "r.pdf", "--export-records", "a"}, Action::Error, "", ""}),
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

// Who is learning: asked only when several children learn here; a name given is looked up, never made.
TEST_F(PreparingTheLearner, TheLearnerIsNamedAskedForOrTheOnlyOne)
{
    QStringList offered;
    int answer = -1;
    const auto ask = [&](const QStringList& names) {
        offered = names;
        return answer;
    };
    EXPECT_EQ(PickLearner(data.path(), {}, prompter, ask), QStringLiteral("default"));
    EXPECT_TRUE(offered.isEmpty()) << "one learner: no question";

    QString error;
    Learners learners(data.path());
    const auto mei = learners.add(QStringLiteral("小美"), &error);
    ASSERT_TRUE(mei);
    answer = 1;
    EXPECT_EQ(PickLearner(data.path(), {}, prompter, ask), mei->id);
    EXPECT_EQ(offered, (QStringList{QStringLiteral("学习者1"), QStringLiteral("小美")}));
    answer = -1;
    EXPECT_EQ(PickLearner(data.path(), {}, prompter, ask), std::nullopt) << "the choice was closed";

    offered.clear();
    EXPECT_EQ(PickLearner(data.path(), QStringLiteral("小美"), prompter, ask), mei->id);
    EXPECT_TRUE(offered.isEmpty()) << "a learner named on the command line is not asked for";
    EXPECT_TRUE(prompter.asked().empty());
    EXPECT_EQ(PickLearner(data.path(), QStringLiteral("小刚"), prompter, ask), std::nullopt);
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_TRUE(prompter.asked()[0].text.contains(QStringLiteral("小美"))) << "the names there are";
    EXPECT_FALSE(QFileInfo::exists(data.filePath(QStringLiteral("小刚"))));
}

// The parent's dialog: add through the input box, the child studying now is never removed, another one
// only after a yes.
TEST_F(PreparingTheLearner, TheLearnersDialogAddsRenamesAndRemovesWithAQuestion)
{
    WithApplication app;
    Learners learners(data.path());
    FormLearners dialog(learners, prompter, QStringLiteral("default"));
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("lstLearners"));
    ASSERT_NE(list, nullptr);
    prompter.queueInput(QStringLiteral("小美"));
    dialog.cmdAdd_Click();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentItem()->text(), QStringLiteral("小美"));
    prompter.queueInput(QStringLiteral("小丽"));
    dialog.cmdRename_Click();
    EXPECT_EQ(list->currentItem()->text(), QStringLiteral("小丽"));

    list->setCurrentRow(0);
    dialog.cmdRemove_Click();
    EXPECT_EQ(learners.list().size(), 2u) << "the learner studying now stays";
    list->setCurrentRow(1);
    prompter.queueAnswer(Prompter::Answer::No);
    dialog.cmdRemove_Click();
    EXPECT_EQ(learners.list().size(), 2u) << "a no keeps the learner";
    list->setCurrentRow(1);
    prompter.queueAnswer(Prompter::Answer::Yes);
    dialog.cmdRemove_Click();
    EXPECT_EQ(learners.list().size(), 1u);
    EXPECT_EQ(list->count(), 1);
}

TEST_F(PreparingTheLearner, NoCourseAndNoRecordsStopsTheProgramWithAMessage)
{
    EXPECT_FALSE(PrepareLearner(locations(), prompter));
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_TRUE(prompter.asked()[0].text.contains(QStringLiteral("程序无法启动")));
}

} // namespace
} // namespace lexora::test
