#include "FakePrompter.h"
#include "app/InstanceLock.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lexora::test {
namespace {

TEST(InstanceLock, ASecondProgramOnTheSameFolderIsRefusedWithAMessage)
{
    QTemporaryDir dir;
    InstanceLock first(dir.filePath(QStringLiteral(".lexora.lock")));
    ASSERT_TRUE(first.tryLock());
    InstanceLock second(dir.filePath(QStringLiteral(".lexora.lock")));
    FakePrompter prompter;
    EXPECT_FALSE(ClaimProgramFolder(second, prompter));
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_TRUE(prompter.asked()[0].text.contains(QStringLiteral("已经打开")));

    first.unlock();
    EXPECT_TRUE(ClaimProgramFolder(second, prompter));
    EXPECT_EQ(prompter.asked().size(), 1u);
}

TEST(InstanceLock, TheLockOfAProgramThatDiedIsTakenOver)
{
    QTemporaryDir dir;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        InstanceLock lock(dir.filePath(QStringLiteral(".lexora.lock")));
        _exit(lock.tryLock() ? 0 : 1); // dies holding the lock
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    ASSERT_TRUE(QFile::exists(dir.filePath(QStringLiteral(".lexora.lock"))));
    InstanceLock next(dir.filePath(QStringLiteral(".lexora.lock")));
    EXPECT_TRUE(next.tryLock());
}

} // namespace
} // namespace lexora::test
