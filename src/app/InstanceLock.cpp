#include "app/InstanceLock.h"

#include "store/Prompter.h"

#include <QDir>

namespace lexora {

InstanceLock::InstanceLock(const QString& folder)
    : m_folder(folder), m_lock(folder + QStringLiteral("/.lexora.lock"))
{
    // A lock is never stale by age while its owner lives; a dead owner's lock is detected by its pid.
    m_lock.setStaleLockTime(0);
}

InstanceLock::Outcome InstanceLock::tryLock()
{
    if (m_lock.tryLock(0))
        return Outcome::Taken;
    switch (m_lock.error()) {
    case QLockFile::LockFailedError:
        return Outcome::HeldByOther;
    case QLockFile::PermissionError:
        return Outcome::FolderNotWritable;
    default:
        return Outcome::Failed;
    }
}

void InstanceLock::unlock()
{
    m_lock.unlock();
}

bool ClaimProgramFolder(InstanceLock& lock, Prompter& prompter)
{
    const QString title = QStringLiteral("英语Lexora");
    const QString folder = QDir::toNativeSeparators(lock.folder());
    switch (lock.tryLock()) {
    case InstanceLock::Outcome::Taken:
        return true;
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
