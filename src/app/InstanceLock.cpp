#include "app/InstanceLock.h"

#include "store/Prompter.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QSysInfo>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lexora {

namespace {

// Less than a block free: the lock file's few bytes cannot be written.
constexpr qint64 kLockRoom = 4096;

} // namespace

InstanceLock::InstanceLock(const QString& lockFile) : m_folder(QFileInfo(lockFile).path()), m_lock(lockFile)
{
    // A lock is never stale by age while its owner lives; a dead owner's lock is detected by its pid.
    m_lock.setStaleLockTime(0);
}

InstanceLock::Outcome InstanceLock::tryLock()
{
    if (m_lock.tryLock(0))
        return Outcome::Taken;
    switch (m_lock.error()) {
    case QLockFile::LockFailedError: {
        // A dead owner on this computer was already taken over by QLockFile; what is left is a
        // living owner here, or a file that cannot say whether its owner lives.
        qint64 pid = 0;
        QString host;
        QString app;
        if (!m_lock.getLockInfo(&pid, &host, &app))
            return Outcome::Unproven;
        if (!host.isEmpty() && host != QSysInfo::machineHostName())
            return Outcome::Unproven;
        struct stat info = {};
        if (::stat(QFile::encodeName(m_lock.fileName()).constData(), &info) == 0 &&
            info.st_uid != ::geteuid())
            return Outcome::HeldByOtherUser;
        return Outcome::HeldByOther;
    }
    case QLockFile::PermissionError:
        return Outcome::FolderNotWritable;
    default:
        // QLockFile does not tell a full disk from other faults; the folder's free space does.
        if (const QStorageInfo disk(m_folder); disk.isValid() && disk.bytesAvailable() < kLockRoom)
            return Outcome::DiskFull;
        return Outcome::Failed;
    }
}

InstanceLock::Outcome InstanceLock::takeOver()
{
    // Refused while a program here still holds the file's native lock.
    m_lock.removeStaleLockFile();
    return tryLock();
}

InstanceLock::Owner InstanceLock::owner() const
{
    Owner owner;
    qint64 pid = 0;
    QString app;
    if (!m_lock.getLockInfo(&pid, &owner.host, &app))
        owner.host.clear();
    const QFileInfo file(m_lock.fileName());
    owner.written = file.lastModified();
    owner.user = file.owner();
    if (owner.user.isEmpty() && file.exists())
        owner.user = QString::number(file.ownerId());
    return owner;
}

void InstanceLock::unlock()
{
    m_lock.unlock();
}

namespace {

// Whether to go on past a lock that proves nothing, saying whose it is.
bool AskToOverride(const InstanceLock& lock, Prompter& prompter, const QString& title)
{
    const InstanceLock::Owner owner = lock.owner();
    const QString when = owner.written.isValid() ? owner.written.toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                                                 : QStringLiteral("时间不明");
    const QString whose = owner.host.isEmpty() ? QStringLiteral("内容无法识别，留下于 %1").arg(when)
                                               : QStringLiteral("由电脑“%1”留下于 %2").arg(owner.host, when);
    const QString text =
        QStringLiteral("文件夹 %1 里有一个 Lexora 的运行标记（%2），\n"
                       "但这台电脑上并没有 Lexora 在使用它，可能是上次没有正常退出。\n\n"
                       "如果别的电脑上没有 Lexora 正在使用这个文件夹，可以继续打开。要继续吗？")
            .arg(QDir::toNativeSeparators(lock.folder()), whose);
    return prompter.message(text, title, Prompter::Buttons::YesNo, Prompter::Icon::Question) ==
           Prompter::Answer::Yes;
}

} // namespace

bool ClaimProgramFolder(InstanceLock& lock, Prompter& prompter)
{
    const QString title = QStringLiteral("英语Lexora");
    const QString folder = QDir::toNativeSeparators(lock.folder());
    InstanceLock::Outcome outcome = lock.tryLock();
    if (outcome == InstanceLock::Outcome::Unproven) {
        if (!AskToOverride(lock, prompter, title))
            return false;
        outcome = lock.takeOver();
    }
    switch (outcome) {
    case InstanceLock::Outcome::Taken:
        return true;
    case InstanceLock::Outcome::HeldByOtherUser:
        prompter.message(QStringLiteral("这台电脑上的另一位用户（%1）正在使用文件夹 %2 里的 Lexora，\n"
                                        "请等他退出 Lexora 以后再打开。")
                             .arg(lock.owner().user, folder),
                         title, Prompter::Buttons::Ok, Prompter::Icon::Information);
        return false;
    case InstanceLock::Outcome::DiskFull:
        prompter.message(QStringLiteral("Lexora 不能启动：文件夹 %1 所在的磁盘已满，无法建立运行标记文件。\n"
                                        "请删除一些不用的文件，再打开 Lexora。")
                             .arg(folder),
                         title, Prompter::Buttons::Ok, Prompter::Icon::Critical);
        return false;
    case InstanceLock::Outcome::HeldByOther:
        prompter.message(QStringLiteral("Lexora 已经打开了，请使用已经打开的窗口。"), title,
                         Prompter::Buttons::Ok, Prompter::Icon::Information);
        return false;
    case InstanceLock::Outcome::FolderNotWritable:
        prompter.message(
            QStringLiteral("Lexora 不能启动：文件夹 %1 不能写入，Lexora 要在这里记下它正在运行。\n"
                           "请把 Lexora 放到可以写入的文件夹里再打开。")
                .arg(folder),
            title, Prompter::Buttons::Ok, Prompter::Icon::Critical);
        return false;
    case InstanceLock::Outcome::Unproven:
    case InstanceLock::Outcome::Failed:
        break;
    }
    prompter.message(QStringLiteral("Lexora 不能启动：无法在文件夹 %1 中建立运行标记文件。\n"
                                    "请确认这个文件夹存在并且可以写入。")
                         .arg(folder),
                     title, Prompter::Buttons::Ok, Prompter::Icon::Critical);
    return false;
}

} // namespace lexora
