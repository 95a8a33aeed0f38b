#pragma once

#include <QString>

namespace lexora {

// Every folder and file Lexora reads or writes outside its media subfolders, decided in one place.
//
// Portable: the program folder is writable and holds AppPics with the database; the common data
// folder "Common" is its sibling; the learner's readings and the lock live there too.
// Installed: the course (AppPics and Common) is read-only; each user keeps their own database, readings
// and lock in their data folder. The database there starts as a copy of the course's own.
class Locations
{
public:
    // The program folder's AppPics holds the database; Common beside it (drive root: the root's Common).
    static Locations portable(const QString& programFolder);
    // A portable layout whose common data folder is given instead of found beside the program folder.
    static Locations portable(const QString& programFolder, const QString& commonFolder);
    // A read-only course folder and the user's own data folder. The course folder holds AppPics and
    // Common; a staged tree (Lexora/AppPics beside Common) serves as well.
    static Locations installed(const QString& courseFolder, const QString& dataFolder);

    // The rule: a course given on the command line is used installed-style; otherwise a program folder
    // that holds its own database is portable; otherwise the course installed under the prefix, found
    // at `courseFromExecutable` relative to the executable's folder.
    static Locations decide(const QString& executableFolder, const QString& courseOption,
                            const QString& courseFromExecutable, const QString& dataFolder);

    bool isInstalled() const { return !m_dataFolder.isEmpty(); }
    // Creates the user's data folder when installed; false when it cannot be made.
    bool makeDataFolder() const;

    // Holds AppPics: the fallback picture, the game backgrounds, the help texts.
    const QString& programFolder() const { return m_program; }
    QString appPicsFolder() const;
    // Holds voice, pics and appvoice.
    const QString& commonFolder() const { return m_common; }
    const QString& myVoiceFolder() const { return m_myVoice; }
    // The database the program opens and writes.
    const QString& databaseFile() const { return m_database; }
    const QString& lockFile() const { return m_lock; }

    // Installed only (empty otherwise): the user's data folder, the course's own database the user's
    // copy is made from, the note of which course that copy came from, and the one kept backup.
    const QString& dataFolder() const { return m_dataFolder; }
    QString courseDatabaseFile() const;
    QString originFile() const;
    QString backupFile() const;

private:
    Locations() = default;

    QString m_program;
    QString m_common;
    QString m_myVoice;
    QString m_database;
    QString m_lock;
    QString m_dataFolder;
};

} // namespace lexora
