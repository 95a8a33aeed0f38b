#pragma once

#include <QLockFile>
#include <QString>

namespace lexora {

class Prompter;

// One program at a time per database: two instances would each toggle the database's scrambled
// header and leave it corrupt. The lock is a file beside the database's owner (the program folder, or
// the user's data folder); one left by a program that died is taken over.
class InstanceLock
{
public:
    explicit InstanceLock(const QString& lockFile);

    // False when another running program holds the folder.
    bool tryLock();
    void unlock();

private:
    QLockFile m_lock;
};

// Takes the program folder for this run; false, after telling the learner, when another Lexora has it.
bool ClaimProgramFolder(InstanceLock& lock, Prompter& prompter);

} // namespace lexora
