#include "store/Locations.h"

#include "store/Schema.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace lexora {

namespace {

QString join(const QString& folder, const QString& name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

QString databaseIn(const QString& programFolder)
{
    return join(join(programFolder, QLatin1String(kAppPicsFolder)), QLatin1String(kDatabaseFileName));
}

// "Common" beside the program folder: X/Y gives X/Common, a folder right under the root and the root
// itself give /Common.
QString commonBeside(const QString& programFolder)
{
    const qsizetype slash = programFolder.lastIndexOf(QLatin1Char('/'));
    const QString parent = slash > 0 ? programFolder.left(slash) : QString();
    return join(parent, QLatin1String(kCommonFolder));
}

} // namespace

Locations Locations::portable(const QString& programFolder)
{
    const QString program = QDir::cleanPath(programFolder);
    return portable(program, commonBeside(program));
}

Locations Locations::portable(const QString& programFolder, const QString& commonFolder)
{
    Locations l;
    l.m_program = QDir::cleanPath(programFolder);
    l.m_common = QDir::cleanPath(commonFolder);
    l.m_myVoice = join(l.m_common, QLatin1String(kMyVoiceFolder));
    l.m_database = databaseIn(l.m_program);
    l.m_lock = join(l.m_program, QStringLiteral(".lexora.lock"));
    return l;
}

Locations Locations::installed(const QString& courseFolder, const QString& dataFolder, const QString& learnerId)
{
    const QString course = QDir::cleanPath(courseFolder);
    const QString staged = join(course, QStringLiteral("Lexora"));
    Locations l;
    l.m_program = QFileInfo(join(staged, QLatin1String(kAppPicsFolder))).isDir() ? staged : course;
    l.m_common = join(course, QLatin1String(kCommonFolder));
    l.m_courseId = CourseIdentity(l.m_program);
    l.m_legacyFolder = QDir::cleanPath(dataFolder);
    l.m_learnerId = learnerId;
    const QString learner = join(l.m_legacyFolder, learnerId);
    l.m_dataFolder = join(learner, l.m_courseId);
    l.m_myVoice = join(l.m_dataFolder, QLatin1String(kMyVoiceFolder));
    l.m_database = join(l.m_dataFolder, QLatin1String(kDatabaseFileName));
    l.m_lock = join(learner, QStringLiteral("lexora.lock"));
    return l;
}

QString CourseIdentity(const QString& programFolder)
{
    const QString appPics = join(QDir::cleanPath(programFolder), QLatin1String(kAppPicsFolder));
    QFile file(join(appPics, QLatin1String(kCourseIdFileName)));
    if (file.open(QIODevice::ReadOnly)) {
        const QString id = QString::fromLatin1(file.read(kMaxCourseIdLength + 1)).trimmed();
        if (IsValidCourseId(id))
            return id;
    }
    // Older trees have none: where the course is tells it apart from every other one.
    const QString where = QFileInfo(appPics).canonicalFilePath();
    const QByteArray hash = QCryptographicHash::hash((where.isEmpty() ? appPics : where).toUtf8(),
                                                     QCryptographicHash::Sha256)
                                .toHex();
    return QStringLiteral("at-") + QString::fromLatin1(hash.left(20));
}

Locations Locations::decide(const QString& executableFolder, const QString& courseOption,
                            const QString& courseFromExecutable, const QString& dataFolder,
                            const QString& learner)
{
    if (!courseOption.isEmpty())
        return installed(QDir(courseOption).absolutePath(), dataFolder, learner);
    if (QFileInfo(databaseIn(QDir::cleanPath(executableFolder))).isFile())
        return portable(executableFolder);
    return installed(join(executableFolder, courseFromExecutable), dataFolder, learner);
}

bool Locations::makeDataFolder() const
{
    return !isInstalled() || QDir().mkpath(m_dataFolder);
}

QString Locations::appPicsFolder() const
{
    return join(m_program, QLatin1String(kAppPicsFolder));
}

QString Locations::courseDatabaseFile() const
{
    return isInstalled() ? databaseIn(m_program) : QString();
}

QString Locations::originFile() const
{
    return isInstalled() ? join(m_dataFolder, QStringLiteral("course-origin")) : QString();
}

QString Locations::backupFile(int generation) const
{
    return isInstalled() ? m_database + QStringLiteral(".bak") + QString::number(generation) : QString();
}

} // namespace lexora
