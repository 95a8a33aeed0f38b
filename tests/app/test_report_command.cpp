#include "CourseFixture.h"
#include "MediaTestKit.h"
#include "app/InstanceLock.h"
#include "app/Launch.h"
#include "app/ReportCommand.h"
#include "store/LearnerRecords.h"
#include "store/Learners.h"
#include "store/Locations.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace lexora::test {
namespace {

class ReportCommandRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(course.build());
        QString error;
        const auto child = Learners(data.path()).add(QStringLiteral("小明"), &error);
        ASSERT_TRUE(child) << error.toStdString();
        learner = child->id;
        ASSERT_EQ(PrepareLearnerDatabase(locations()).state, LearnerDatabaseOutcome::State::Copied);
        ASSERT_TRUE(CourseFixture::execOn(
            locations().databaseFile(),
            QStringLiteral("update PEP set Result = '4|3|0' where English in ('mother', 'pen')")));
    }
    Locations locations() const { return Locations::installed(course.root(), data.path(), learner); }
    CommandOutcome run(const QString& file) const
    {
        CommandLine line;
        line.action = CommandLine::Action::Report;
        line.reportFile = file;
        return RunReportCommand(line, locations(), QDate(2026, 3, 28));
    }

    WithApplication app; // the report is drawn: fonts need the GUI
    CourseFixture course = CourseFixture::standard();
    QTemporaryDir data;
    QTemporaryDir work;
    QString learner;
};

TEST_F(ReportCommandRun, WritesAPdfWithTheChildCourseAndWeakestWords)
{
    const QString file = work.filePath(QStringLiteral("r.pdf"));
    const CommandOutcome outcome = run(file);
    ASSERT_EQ(outcome.code, 0) << outcome.err.toStdString();

    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    QProcess text;
    text.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-enc"), QStringLiteral("UTF-8"), file, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    ASSERT_EQ(text.exitCode(), 0) << "pdftotext does not accept the file: "
                                  << text.readAllStandardError().toStdString();
    const QString words = QString::fromUtf8(text.readAllStandardOutput());
    for (const QString& expected :
         {QStringLiteral("小明"), QStringLiteral("小学英语"), QStringLiteral("2026年3月28日"),
          QStringLiteral("mother"), QStringLiteral("母亲"), QStringLiteral("pen")})
        EXPECT_TRUE(words.contains(expected)) << expected.toStdString() << " missing from:\n"
                                              << words.toStdString();
}

TEST_F(ReportCommandRun, FailsWithoutLeavingAFile)
{
    struct Case
    {
        const char* name;
        QString file;
        bool lockHeld;
        const char* errHolds;
    };
    const QString unwritable = work.filePath(QStringLiteral("missing/r.pdf"));
    const QString busy = work.filePath(QStringLiteral("busy.pdf"));
    for (const Case& c : {Case{"unwritable folder", unwritable, false, "无法写入文件"},
                          Case{"Lexora running", busy, true, "正在使用"}}) {
        SCOPED_TRACE(c.name);
        std::optional<InstanceLock> running;
        if (c.lockHeld) {
            running.emplace(locations().lockFile());
            ASSERT_EQ(running->tryLock(), InstanceLock::Outcome::Taken);
        }
        const CommandOutcome outcome = run(c.file);
        EXPECT_NE(outcome.code, 0);
        EXPECT_TRUE(outcome.err.contains(QString::fromUtf8(c.errHolds))) << outcome.err.toStdString();
        EXPECT_FALSE(QFile::exists(c.file));
    }
    EXPECT_TRUE(QDir(work.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

} // namespace
} // namespace lexora::test
