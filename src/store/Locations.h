#pragma once

#include <QString>

namespace lexora {

// Every folder and file Lexora reads or writes outside its media subfolders, decided in one place.
//
// Portable: the program folder is writable and holds AppPics with the database; the common data
// folder "Common" is its sibling; the learner's readings and the lock live there too.
// Installed: the course (AppPics and Common) is read-only; each user keeps, in their data folder, one
// record per learner and course: <data>/<learner>/<course id>/ holds the database (first a copy of
// the course's own), its backups and the readings; the lock is the learner's, beside their courses.
class Locations
{
public:
    // The program folder's AppPics holds the database; Common beside it (drive root: the root's Common).
    static Locations portable(const QString& programFolder);
    // A portable layout whose common data folder is given instead of found beside the program folder.
    static Locations portable(const QString& programFolder, const QString& commonFolder);
    // A read-only course folder and the user's own data folder. The course folder holds AppPics and
    // Common; a staged tree (Lexora/AppPics beside Common) serves as well.
    static Locations installed(const QString& courseFolder, const QString& dataFolder,
                               const QString& learner = QLatin1String(kDefaultLearner));

    // The learner whose records a start uses while there are no others (Learners' first).
    static constexpr auto kDefaultLearner = "default";

    // The rule: a course given on the command line is used installed-style; otherwise a program folder
    // that holds its own database is portable; otherwise the course installed under the prefix, found
    // at `courseFromExecutable` relative to the executable's folder.
    static Locations decide(const QString& executableFolder, const QString& courseOption,
                            const QString& courseFromExecutable, const QString& dataFolder,
                            const QString& learner = QLatin1String(kDefaultLearner));

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

    // Installed only (empty otherwise): the folder of this learner's record of this course, the
    // course's identity, the course's own database the learner's copy is made from, the note of which
    // course version that copy came from, and the backups kept before each update (1 the newest).
    const QString& dataFolder() const { return m_dataFolder; }
    const QString& courseId() const { return m_courseId; }
    // The learner whose record this is (installed only).
    const QString& learnerId() const { return m_learnerId; }
    QString courseDatabaseFile() const;
    QString originFile() const;
    QString backupFile(int generation = 1) const;
    static constexpr int kBackups = 3;
    // Where a Lexora that kept one record per user (not per course) left it: the user's data folder.
    const QString& legacyFolder() const { return m_legacyFolder; }

private:
    Locations() = default;

    QString m_program;
    QString m_common;
    QString m_myVoice;
    QString m_database;
    QString m_lock;
    QString m_dataFolder;
    QString m_courseId;
    QString m_learnerId;
    QString m_legacyFolder;
};

// The identity of the course in a program folder: the one its builder wrote into AppPics, or, for a
// tree without one, one derived from where the tree is, so that it never names another course.
QString CourseIdentity(const QString& programFolder);

} // namespace lexora
