#include "app/InstanceLock.h"

#include "store/Prompter.h"

namespace lexora {

InstanceLock::InstanceLock(const QString& lockFile) : m_lock(lockFile)
{
    // A lock is never stale by age while its owner lives; a dead owner's lock is detected by its pid.
    m_lock.setStaleLockTime(0);
}

bool InstanceLock::tryLock()
{
    if (m_lock.tryLock(0))
        return true;
    // A folder we cannot write holds no lock and no other writer either.
    return m_lock.error() != QLockFile::LockFailedError;
}

void InstanceLock::unlock()
{
    m_lock.unlock();
}

bool ClaimProgramFolder(InstanceLock& lock, Prompter& prompter)
{
    if (lock.tryLock())
        return true;
    prompter.message(QStringLiteral("Lexora 已经打开了，请使用已经打开的窗口。"),
                     QStringLiteral("英语Lexora"), Prompter::Buttons::Ok, Prompter::Icon::Information);
    return false;
}

} // namespace lexora
