#include "FakePrompter.h"
#include "ReadOnlyPaths.h"
#include "app/InstanceLock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

namespace lexora::test {
namespace {

using Outcome = InstanceLock::Outcome;

// Every way of not getting the lock refuses the start and says why; a read-only folder once let two
// programs run side by side.
TEST(InstanceLock, ALockThatCannotBeTakenRefusesTheStartAndSaysWhy)
{
    struct Case
    {
        const char* name;
        Outcome outcome;
        const char* told;
    };
    const Case cases[] = {{"held by another program", Outcome::HeldByOther, "已经打开"},
                          {"read-only folder", Outcome::FolderNotWritable, "不能写入"},
                          {"missing folder", Outcome::Failed, "无法在文件夹"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        QString folder = dir.filePath(QStringLiteral("Lexora"));
        ASSERT_TRUE(QDir().mkpath(folder));
        InstanceLock first(folder);
        std::unique_ptr<ReadOnlyPaths> readOnly;
        if (c.outcome == Outcome::HeldByOther)
            ASSERT_EQ(first.tryLock(), Outcome::Taken);
        else if (c.outcome == Outcome::FolderNotWritable)
            readOnly = std::make_unique<ReadOnlyPaths>(dir.path(), QStringList{folder});
        else
            folder = dir.filePath(QStringLiteral("gone"));
        InstanceLock second(folder);
        FakePrompter prompter;
        EXPECT_FALSE(ClaimProgramFolder(second, prompter));
        readOnly.reset();
        ASSERT_EQ(prompter.asked().size(), 1u);
        EXPECT_TRUE(prompter.asked()[0].text.contains(QString::fromUtf8(c.told)))
            << qPrintable(prompter.asked()[0].text);
        EXPECT_EQ(prompter.asked()[0].title, QStringLiteral("英语Lexora"));
    }
}

TEST(InstanceLock, ALockLetGoOrLeftByAProgramThatDiedIsTaken)
{
    QTemporaryDir dir;
    InstanceLock first(dir.path());
    ASSERT_EQ(first.tryLock(), Outcome::Taken);
    first.unlock();
    FakePrompter prompter;
    InstanceLock second(dir.path());
    EXPECT_TRUE(ClaimProgramFolder(second, prompter));
    EXPECT_TRUE(prompter.asked().empty());
    second.unlock();

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        InstanceLock lock(dir.path());
        _exit(lock.tryLock() == Outcome::Taken ? 0 : 1); // dies holding the lock
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    ASSERT_TRUE(QFile::exists(dir.filePath(QStringLiteral(".lexora.lock"))));
    InstanceLock next(dir.path());
    EXPECT_EQ(next.tryLock(), Outcome::Taken);
}

} // namespace
} // namespace lexora::test
