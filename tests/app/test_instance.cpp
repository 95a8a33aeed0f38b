#include "FakePrompter.h"
#include "ReadOnlyPaths.h"
#include "SmallDisk.h"
#include "app/InstanceLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

namespace lexora::test {
namespace {

using Outcome = InstanceLock::Outcome;

QString lockIn(const QString& folder)
{
    return folder + QStringLiteral("/.lexora.lock");
}

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
                          {"held by another user's program", Outcome::HeldByOtherUser, "另一位用户"},
                          {"read-only folder", Outcome::FolderNotWritable, "不能写入"},
                          {"missing folder", Outcome::Failed, "无法在文件夹"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        QString folder = dir.filePath(QStringLiteral("Lexora"));
        ASSERT_TRUE(QDir().mkpath(folder));
        InstanceLock first(lockIn(folder));
        std::unique_ptr<ReadOnlyPaths> readOnly;
        if (c.outcome == Outcome::HeldByOther || c.outcome == Outcome::HeldByOtherUser) {
            ASSERT_EQ(first.tryLock(), Outcome::Taken);
            // The lock's file tells whose program holds it (only root can give it away).
            if (c.outcome == Outcome::HeldByOtherUser &&
                ::chown(QFile::encodeName(lockIn(folder)).constData(), 65534, 65534) != 0)
                continue;
        } else if (c.outcome == Outcome::FolderNotWritable)
            readOnly = std::make_unique<ReadOnlyPaths>(dir.path(), QStringList{folder});
        else
            folder = dir.filePath(QStringLiteral("gone"));
        InstanceLock second(lockIn(folder));
        FakePrompter prompter;
        EXPECT_FALSE(ClaimProgramFolder(second, prompter));
        readOnly.reset();
        ASSERT_EQ(prompter.asked().size(), 1u);
        EXPECT_TRUE(prompter.asked()[0].text.contains(QString::fromUtf8(c.told)))
            << qPrintable(prompter.asked()[0].text);
        EXPECT_EQ(prompter.asked()[0].title, QStringLiteral("英语Lexora"));
    }
}

TEST(InstanceLock, AFullDiskIsNamedAsTheReasonTheStartIsRefused)
{
    SmallDisk disk(64 * 1024);
    if (!disk.isReady())
        GTEST_SKIP() << "a disk of its own needs root";
    ASSERT_TRUE(disk.fill(0));
    InstanceLock lock(lockIn(disk.path()));
    FakePrompter prompter;
    EXPECT_FALSE(ClaimProgramFolder(lock, prompter));
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_TRUE(prompter.asked()[0].text.contains(QStringLiteral("磁盘已满")))
        << qPrintable(prompter.asked()[0].text);
}

TEST(InstanceLock, ALockLetGoOrLeftByAProgramThatDiedIsTaken)
{
    QTemporaryDir dir;
    InstanceLock first(lockIn(dir.path()));
    ASSERT_EQ(first.tryLock(), Outcome::Taken);
    first.unlock();
    FakePrompter prompter;
    InstanceLock second(lockIn(dir.path()));
    EXPECT_TRUE(ClaimProgramFolder(second, prompter));
    EXPECT_TRUE(prompter.asked().empty());
    second.unlock();

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        InstanceLock lock(lockIn(dir.path()));
        _exit(lock.tryLock() == Outcome::Taken ? 0 : 1); // dies holding the lock
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    ASSERT_TRUE(QFile::exists(dir.filePath(QStringLiteral(".lexora.lock"))));
    InstanceLock next(lockIn(dir.path()));
    EXPECT_EQ(next.tryLock(), Outcome::Taken);
}

// A pid that no process holds: a child's, once it has ended and been reaped.
qint64 DeadPid()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

QByteArray LockText(qint64 pid, const QString& app, const QString& host)
{
    return QByteArray::number(pid) + '\n' + app.toUtf8() + '\n' + host.toUtf8() + '\n';
}

// Bytes that name no pid, program or computer, with a line break among them.
const QByteArray kGarbled = QByteArray::fromHex("8f00d3ff4b010a9317e2c4");

using Answer = Prompter::Answer;
using Buttons = Prompter::Buttons;

struct FoundLock
{
    const char* name;
    std::function<QByteArray()> content;
    // The learner's answer when asked whether to go on; nothing when no question is expected.
    std::optional<Answer> answer;
    bool started;
    const char* told; // part of the one message, or nothing when none is expected
};

class FoundLockTest : public ::testing::TestWithParam<FoundLock>
{};

// What a start finds in the lock decides: a lock that cannot say whose it is, or that comes from
// another computer, once refused every start; now the learner is told whose it is and may go on.
TEST_P(FoundLockTest, StartsRefusesOrAsksWithTheOwner)
{
    const FoundLock& c = GetParam();
    QTemporaryDir dir;
    const QString file = lockIn(dir.path());
    const QByteArray content = c.content();
    {
        QFile planted(file);
        ASSERT_TRUE(planted.open(QIODevice::WriteOnly));
        planted.write(content);
        planted.close();
        const QDateTime written(QDate(2026, 3, 1), QTime(8, 30));
        ASSERT_TRUE(planted.open(QIODevice::Append));
        ASSERT_TRUE(planted.setFileTime(written, QFileDevice::FileModificationTime));
    }
    FakePrompter prompter;
    if (c.answer)
        prompter.queueAnswer(*c.answer);
    InstanceLock lock(file);

    EXPECT_EQ(ClaimProgramFolder(lock, prompter), c.started);

    if (!c.told) {
        EXPECT_TRUE(prompter.asked().empty()) << qPrintable(prompter.texts().front());
    } else {
        ASSERT_EQ(prompter.asked().size(), 1u);
        const auto& asked = prompter.asked()[0];
        EXPECT_TRUE(asked.text.contains(QString::fromUtf8(c.told))) << qPrintable(asked.text);
        EXPECT_EQ(asked.buttons, c.answer ? Buttons::YesNo : Buttons::Ok);
        if (c.answer) {
            EXPECT_TRUE(asked.text.contains(QStringLiteral("2026-03-01 08:30"))) << qPrintable(asked.text);
        }
    }
    QFile left(file);
    ASSERT_TRUE(left.open(QIODevice::ReadOnly)) << "a lock is there after the start";
    if (c.started)
        EXPECT_EQ(left.readLine(), QByteArray::number(getpid()) + '\n') << "the lock is now this program's";
    else
        EXPECT_EQ(left.readAll(), content) << "a refused start leaves the lock as it was";
}

const QString kApp = QStringLiteral("lexora");
const QString kThisExe = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();

INSTANTIATE_TEST_SUITE_P(
    Contents, FoundLockTest,
    ::testing::Values(FoundLock{"EmptyStop", [] { return QByteArray(); }, Answer::No, false, "内容无法识别"},
                      FoundLock{"RandomBytesGoOn", [] { return kGarbled; }, Answer::Yes, true,
                                "内容无法识别"},
                      FoundLock{"DeadPidOnAnotherComputerGoOn",
                                [] { return LockText(DeadPid(), kApp, QStringLiteral("usb-stick-pc")); },
                                Answer::Yes, true, "usb-stick-pc"},
                      FoundLock{"DeadPidOnAnotherComputerStop",
                                [] { return LockText(4242, kApp, QStringLiteral("usb-stick-pc")); },
                                Answer::No, false, "usb-stick-pc"},
                      FoundLock{"DeadPidHereTakenOver",
                                [] { return LockText(DeadPid(), kApp, QSysInfo::machineHostName()); },
                                std::nullopt, true, nullptr},
                      FoundLock{"LivePidHereRefused",
                                [] { return LockText(getpid(), kThisExe, QSysInfo::machineHostName()); },
                                std::nullopt, false, "已经打开"}),
    [](const ::testing::TestParamInfo<FoundLock>& info) { return std::string(info.param.name); });

} // namespace
} // namespace lexora::test
