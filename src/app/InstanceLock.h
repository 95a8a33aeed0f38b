#pragma once

#include <QLockFile>
#include <QString>

namespace lexora {

class Prompter;

// One program at a time per program folder: two instances would each toggle the database's scrambled
// header and leave it corrupt. The lock is a file in the given folder; one left by a program that
// died is taken over. A lock that cannot be taken for any reason refuses the start: without it
// nothing keeps a second program away.
class InstanceLock
{
public:
    explicit InstanceLock(const QString& folder);

    enum class Outcome
    {
        Taken,
        HeldByOther,
        FolderNotWritable,
        Failed
    };
    Outcome tryLock();
    void unlock();

    const QString& folder() const { return m_folder; }

private:
    QString m_folder;
    QLockFile m_lock;
};

// Takes the lock for this run; false, after telling the learner why, when it cannot be taken.
bool ClaimProgramFolder(InstanceLock& lock, Prompter& prompter);

} // namespace lexora
