#pragma once

#include <QDateTime>
#include <QLockFile>
#include <QString>

namespace lexora {

class Prompter;

// One program at a time per database: two instances would each toggle the database's scrambled
// header and leave it corrupt. The lock is the given file (beside the program, or in the user's data
// folder); one left by a program that died is taken over. A lock that proves nothing (empty, unreadable,
// or written on another computer, as a portable copy carried between them leaves it) is the learner's
// to override; any other lock that cannot be taken refuses the start: without it nothing keeps a second
// program away.
class InstanceLock
{
public:
    explicit InstanceLock(const QString& lockFile);

    enum class Outcome
    {
        Taken,
        HeldByOther,
        // Held by a program another user of this computer runs.
        HeldByOtherUser,
        // Held, but not by a program known to run on this computer.
        Unproven,
        FolderNotWritable,
        DiskFull,
        Failed
    };
    Outcome tryLock();
    // Removes a lock that proved nothing and takes it; Unproven still when it could not be removed.
    Outcome takeOver();
    void unlock();

    // Who left the lock, as far as its file tells: the computer's name (empty when unreadable) and
    // when it was written.
    struct Owner
    {
        QString host;
        QDateTime written;
        QString user; // the account the lock file belongs to
    };
    Owner owner() const;

    const QString& folder() const { return m_folder; }

private:
    QString m_folder;
    QLockFile m_lock;
};

// Takes the lock for this run; false, after telling the learner why, when it cannot be taken.
bool ClaimProgramFolder(InstanceLock& lock, Prompter& prompter);

} // namespace lexora
