#include "store/Schema.h"

#include "store/SqlCipher.h"

#include <QRegularExpression>
#include <QUuid>

namespace lexora {

QStringList CourseSchemaStatements(const QString& versionDB)
{
    return {
        QStringLiteral("CREATE TABLE FeatureTable (LastBook INTEGER NOT NULL, LastUnit INTEGER NOT NULL, "
                       "VersionID INTEGER NOT NULL)"),
        QStringLiteral("CREATE TABLE VersionInfo (ID INTEGER NOT NULL, VersionName TEXT NOT NULL, "
                       "VersionDB TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE %1_BookUnit (BookID INTEGER, BookName TEXT, UnitID INTEGER, "
                       "UnitName TEXT, UnitStatus INTEGER, UserID INTEGER, VersionID INTEGER)")
            .arg(versionDB),
        QStringLiteral("CREATE TABLE %1 (Book INTEGER, Unit INTEGER, English TEXT, Chinese TEXT, "
                       "Composition INTEGER NOT NULL DEFAULT 0, Result TEXT)")
            .arg(versionDB),
        QStringLiteral("CREATE TABLE History (NO INTEGER, userID INTEGER NOT NULL DEFAULT 0, Date TEXT, "
                       "Time TEXT, Task TEXT)"),
        QStringLiteral("CREATE INDEX %1_English ON %1 (English)").arg(versionDB),
        QStringLiteral("CREATE INDEX %1_BookUnitIndex ON %1 (Book, Unit)").arg(versionDB),
    };
}

bool IsValidTableStem(const QString& versionDB)
{
    static const QRegularExpression stem(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return stem.match(versionDB).hasMatch();
}

bool IsValidCourseId(const QString& id)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9-]{1,%1}$").arg(kMaxCourseIdLength));
    return pattern.match(id).hasMatch();
}

QString NewCourseId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

bool CreateCourseSchema(Database& db, const QString& versionDB, QString* error)
{
    if (!IsValidTableStem(versionDB)) {
        if (error)
            *error = QStringLiteral("invalid table stem: %1").arg(versionDB);
        return false;
    }
    for (const QString& statement : CourseSchemaStatements(versionDB)) {
        if (!db.exec(statement, error))
            return false;
    }
    return true;
}

} // namespace lexora
