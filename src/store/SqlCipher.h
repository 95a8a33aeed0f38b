#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <future>
#include <map>
#include <memory>
#include <mutex>

struct sqlite3;
struct sqlite3_stmt;

namespace lexora {

struct Sqlite3Closer
{
    void operator()(sqlite3* db) const;
};
struct StatementFinalizer
{
    void operator()(sqlite3_stmt* stmt) const;
};
using DbHandle = std::unique_ptr<sqlite3, Sqlite3Closer>;
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Raw SQLCipher keys by file salt. A passphrase key costs a full key derivation on every open; the
// raw key derived once per salt opens a connection in well under a millisecond.
class KeyCache
{
public:
    // The raw key literal ("x'..'") for this password and the salt at the file's start; empty when
    // the file has no salt to read (a new or empty file).
    QByteArray rawKeyFor(const QString& dbFile, const QString& password);
    // Starts deriving, on a worker thread, the key for the file's salt as it reads with its head turned:
    // the state a file at rest is opened in. The key of the other state is derived only if asked for.
    void prefetch(const QString& dbFile, const QString& password);

private:
    using Entry = std::pair<QByteArray, QString>; // salt, password
    std::shared_future<QByteArray> keyFor(const Entry& entry, std::launch how);

    std::mutex m_mutex;
    std::map<Entry, std::shared_future<QByteArray>> m_keys;
};

// One SQLCipher connection keyed with the password (through the cache when given one).
class Database
{
public:
    // Opens or creates the file. On failure returns nothing and sets error.
    static std::unique_ptr<Database> open(const QString& file, const QString& password, KeyCache* cache,
                                          QString* error);

    sqlite3* handle() const { return m_db.get(); }
    // Why the last call failed, in the learner's words (ErrorText.h).
    QString lastError() const;

    // Runs statements that return no rows; false with error on failure.
    bool exec(const QString& sql, QString* error = nullptr);
    // Prepares one statement with its parameters bound in order.
    StatementHandle prepare(const QString& sql, const QVariantList& params, QString* error);
    // Whether the file holds a table of that name (older files lack the newer tables); false with
    // error when it cannot be read.
    bool hasTable(const QString& name, bool* found, QString* error);

private:
    explicit Database(DbHandle db) : m_db(std::move(db)) {}
    DbHandle m_db;
};

bool BindValue(sqlite3_stmt* stmt, int index, const QVariant& value);
QVariant ColumnValue(sqlite3_stmt* stmt, int column);

} // namespace lexora
