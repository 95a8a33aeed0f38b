#include "store/CourseDatabase.h"

#include "store/ConnectString.h"
#include "store/ErrorText.h"
#include "store/FileHead.h"
#include "store/Schema.h"

#include <QDir>
#include <QFileInfo>
#include <sqlcipher/sqlite3.h>

namespace lexora {

bool InEitherHeadState(const QString& file, const std::function<bool(QString*)>& attempt, QString* error,
                       bool* turned, HeadFirst first)
{
    bool isTurned = false;
    int fileError = 0;
    const auto turn = [&] {
        // A missing or empty file has no head: it stays as it is found.
        if (QFileInfo(file).size() == 0)
            return true;
        if (!CryptFileHead(file, &fileError))
            return false;
        isTurned = !isTurned;
        return true;
    };
    const auto succeeded = [&] {
        if (turned)
            *turned = isTurned;
        return true;
    };
    if (turned)
        *turned = false;
    // A head that cannot be turned is tried as found; its failure is reported below.
    if (first == HeadFirst::Turned)
        turn();
    QString firstError;
    if (attempt(&firstError))
        return succeeded();
    if (!turn()) {
        // Read-only files open for reading, so the real fault is the head we could not restore.
        *error = QStringLiteral("单词库文件 %1 不能写入：%2。")
                     .arg(QDir::toNativeSeparators(file), DescribeFileError(fileError));
        return false;
    }
    if (attempt(error))
        return succeeded();
    // One of the two tries saw the file in its wrong state; the other one's error is the real one.
    if (*error == DescribeSqliteError(SQLITE_NOTADB))
        *error = firstError;
    // Leave a file that failed for another reason as it was found.
    if (isTurned)
        CryptFileHead(file);
    return false;
}

CourseDatabase::CourseDatabase(QString file)
    : m_file(std::move(file)),
      m_connect(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;"
                               "Jet OLEDB:Database Password=%1;Data Source=")
                    .arg(QLatin1String(kDatabasePassword)) +
                m_file)
{}

void CourseDatabase::prefetchKeys()
{
    m_keys.prefetch(m_file, QLatin1String(kDatabasePassword));
}

CourseDatabase::Burst::~Burst()
{
    if (--m_db.m_burstDepth == 0 && m_db.m_scrambleOwed) {
        m_db.m_scrambleOwed = false;
        m_db.m_leftPlain = false;
        CryptFileHead(m_db.m_file);
    }
}

bool CourseDatabase::checkExists(QString* error) const
{
    // A query never creates the database: a missing file is an error, not an empty course.
    if (QFileInfo::exists(ParseConnectString(m_connect).dataSource))
        return true;
    *error = QStringLiteral("找不到文件 %1").arg(QDir::toNativeSeparators(m_file));
    return false;
}

bool CourseDatabase::inEitherState(const std::function<bool(QString*)>& attempt, QString* error)
{
    // Whichever try succeeds leaves the file plain now, whatever an earlier query of a burst owed.
    if (!InEitherHeadState(m_file, attempt, error, nullptr,
                           m_leftPlain ? HeadFirst::AsFound : HeadFirst::Turned))
        return false;
    m_scrambleOwed = false;
    m_leftPlain = true;
    return true;
}

bool CourseDatabase::open(const QString& sql, const QVariantList& params, QString* error)
{
    m_rows.reset();
    const ConnectionInfo info = ParseConnectString(m_connect);
    return inEitherState(
        [&](QString* e) {
            if (!checkExists(e))
                return false;
            auto rows = std::make_unique<RecordSet>();
            if (!rows->Open(sql, info.dataSource, info.password, &m_keys, params, e))
                return false;
            m_rows = std::move(rows);
            return true;
        },
        error);
}

void CourseDatabase::close()
{
    if (!isOpen())
        return;
    m_rows.reset();
    if (m_burstDepth > 0) {
        m_scrambleOwed = true;
        return;
    }
    m_leftPlain = false;
    CryptFileHead(m_file);
}

std::unique_ptr<Database> CourseDatabase::connect(QString* error)
{
    m_rows.reset();
    const ConnectionInfo info = ParseConnectString(m_connect);
    std::unique_ptr<Database> db;
    const bool ok = inEitherState(
        [&](QString* e) {
            db.reset();
            if (!checkExists(e))
                return false;
            db = Database::open(info.dataSource, info.password, &m_keys, e);
            // Opening reads nothing yet; the first read tells whether the head is in its plain state.
            if (db && !db->exec(QStringLiteral("select count(*) from sqlite_master"), e))
                db.reset();
            return db != nullptr;
        },
        error);
    return ok ? std::move(db) : nullptr;
}

void CourseDatabase::finish()
{
    m_leftPlain = false;
    CryptFileHead(m_file);
}

} // namespace lexora
