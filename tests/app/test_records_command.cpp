#include "CourseFixture.h"
#include "app/InstanceLock.h"
#include "app/Launch.h"
#include "app/RecordsCommand.h"
#include "store/LearnerRecords.h"
#include "store/Locations.h"
#include "store/RecordsFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace lexora::test {
namespace {

using Action = CommandLine::Action;

struct CommandCase
{
    const char* name;
    Action action;
    bool exportFirst; // the file to import is this learner's own export
    bool lockHeld;    // the learner's Lexora is running
    int code;
    const char* outHolds;
    const char* errHolds;
};

class RecordsCommandRun : public ::testing::TestWithParam<CommandCase>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(course.build());
        ASSERT_EQ(PrepareLearnerDatabase(locations()).state, LearnerDatabaseOutcome::State::Copied);
        ASSERT_TRUE(
            CourseFixture::execOn(locations().databaseFile(),
                                  QStringLiteral("update PEP set Result = '2|0|2' where English = 'pen'")));
    }
    Locations locations() const { return Locations::installed(course.root(), data.path()); }
    QString file() const { return work.filePath(QStringLiteral("child.lexrec")); }

    CourseFixture course = CourseFixture::standard();
    QTemporaryDir data;
    QTemporaryDir work;
};

TEST_P(RecordsCommandRun, EndsWithItsCodeAndSaysWhy)
{
    const CommandCase& c = GetParam();
    if (c.exportFirst) {
        QString error;
        ASSERT_TRUE(ExportRecords(QFileInfo(locations().dataFolder()).path(), file(), &error))
            << error.toStdString();
    }
    std::optional<InstanceLock> running;
    if (c.lockHeld) {
        running.emplace(locations().lockFile());
        ASSERT_EQ(running->tryLock(), InstanceLock::Outcome::Taken);
    }
    CommandLine line;
    line.action = c.action;
    line.recordsFile = file();
    const CommandOutcome outcome = RunRecordsCommand(line, locations());
    EXPECT_EQ(outcome.code, c.code) << outcome.err.toStdString();
    EXPECT_TRUE(outcome.out.contains(QString::fromUtf8(c.outHolds))) << outcome.out.toStdString();
    EXPECT_TRUE(outcome.err.contains(QString::fromUtf8(c.errHolds))) << outcome.err.toStdString();
    EXPECT_LE(outcome.out.count(QLatin1Char('\n')), 1) << "more than one summary line";
}

INSTANTIATE_TEST_SUITE_P(
    Commands, RecordsCommandRun,
    ::testing::Values(CommandCase{"ExportSaysHowManyCourses", Action::ExportRecords, false, false, 0,
                                  "导出了 1 个课程的学习记录到", ""},
                      CommandCase{"ImportOfItsOwnExportKeepsEverything", Action::ImportRecords, true, false,
                                  0, "新增 0 个单词的成绩、0 个单元的完成情况、0 条测试历史", ""},
                      CommandCase{"ImportOfAMissingFileFails", Action::ImportRecords, false, false, 1, "",
                                  "无法读取"},
                      CommandCase{"ImportWhileLexoraRunsIsRefused", Action::ImportRecords, true, true, 1, "",
                                  "请先关闭 Lexora"},
                      CommandCase{"ExportWhileLexoraRunsIsRefused", Action::ExportRecords, false, true, 1, "",
                                  "请先关闭 Lexora"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace lexora::test
