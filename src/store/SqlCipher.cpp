#include "store/SqlCipher.h"

#include "store/ErrorText.h"
#include "store/FileHead.h"
#include "store/Pbkdf2.h"

#include <QFile>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <sqlcipher/sqlite3.h>

namespace lexora {

namespace {

// SQLCipher 3 derives its page key with PBKDF2-HMAC-SHA1 over the file's 16-byte salt.
constexpr int kSaltLength = 16;
constexpr int kKdfIterations = 64000;
constexpr int kKeyLength = 32;

QString sqliteError(sqlite3* db)
{
    if (!db)
        return DescribeSqliteError(SQLITE_NOMEM);
    return DescribeSqliteError(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)));
}

} // namespace

void Sqlite3Closer::operator()(sqlite3* db) const
{
    sqlite3_close_v2(db);
}

void StatementFinalizer::operator()(sqlite3_stmt* stmt) const
{
    sqlite3_finalize(stmt);
}

namespace {

QByteArray readSalt(const QString& dbFile)
{
    QFile file(dbFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray salt = file.read(kSaltLength);
    return salt.size() == kSaltLength ? salt : QByteArray();
}

// SQLCipher's first page read sets up OpenSSL's cipher and digest (configuration, provider, method
// lookups), some millions of instructions; done ahead on the key's thread, the first query is spared it.
void warmCiphers()
{
    unsigned char key[32] = {};
    unsigned char block[16] = {};
    unsigned char out[EVP_MAX_MD_SIZE + sizeof block];
    int written = 0;
    if (EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new()) {
        EVP_CipherInit_ex(ctx, EVP_aes_256_cbc(), nullptr, key, block, 1);
        EVP_CipherUpdate(ctx, out, &written, block, sizeof block);
        EVP_CIPHER_CTX_free(ctx);
    }
    unsigned int digestLength = 0;
    HMAC(EVP_sha1(), key, sizeof key, block, sizeof block, out, &digestLength);
}

QByteArray deriveKey(const QByteArray& salt, const QString& password)
{
    // The key is wanted for a connection, which needs the ciphers next: on a prefetching thread too.
    warmCiphers();
    const QByteArray derived = Pbkdf2HmacSha1(password.toUtf8(), salt, kKdfIterations, kKeyLength);
    return "x'" + derived.toHex() + "'";
}

QByteArray uncachedRawKey(const QString& dbFile, const QString& password)
{
    const QByteArray salt = readSalt(dbFile);
    return salt.isEmpty() ? QByteArray() : deriveKey(salt, password);
}

} // namespace

std::shared_future<QByteArray> KeyCache::keyFor(const Entry& entry, std::launch how)
{
    const std::lock_guard lock(m_mutex);
    auto found = m_keys.find(entry);
    if (found == m_keys.end())
        found = m_keys.emplace(entry, std::async(how, deriveKey, entry.first, entry.second).share()).first;
    return found->second;
}

QByteArray KeyCache::rawKeyFor(const QString& dbFile, const QString& password)
{
    const QByteArray salt = readSalt(dbFile);
    if (salt.isEmpty())
        return {};
    return keyFor({salt, password}, std::launch::deferred).get();
}

void KeyCache::prefetch(const QString& dbFile, const QString& password)
{
    QByteArray salt = readSalt(dbFile);
    if (salt.isEmpty())
        return;
    CryptBytesHead(salt);
    keyFor({salt, password}, std::launch::async);
}

std::unique_ptr<Database> Database::open(const QString& file, const QString& password, KeyCache* cache,
                                         QString* error)
{
    sqlite3* raw = nullptr;
    const QByteArray path = file.toUtf8();
    const int rc =
        sqlite3_open_v2(path.constData(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    DbHandle db(raw);
    if (rc != SQLITE_OK) {
        if (error)
            *error = sqliteError(raw);
        return nullptr;
    }
    // The key is derived here even without a cache: quicker than SQLCipher deriving it from the password.
    QByteArray key = cache ? cache->rawKeyFor(file, password) : uncachedRawKey(file, password);
    if (key.isEmpty())
        key = password.toUtf8();
    if (sqlite3_key(raw, key.constData(), static_cast<int>(key.size())) != SQLITE_OK) {
        if (error)
            *error = sqliteError(raw);
        return nullptr;
    }
    sqlite3_busy_timeout(raw, 2000);
    return std::unique_ptr<Database>(new Database(std::move(db)));
}

QString Database::lastError() const
{
    return sqliteError(m_db.get());
}

bool Database::exec(const QString& sql, QString* error)
{
    const int rc = sqlite3_exec(m_db.get(), sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    // In the learner's words: a save that cannot begin on a read-only file says so, not SQLite's text.
    if (rc != SQLITE_OK && error)
        *error = lastError();
    return rc == SQLITE_OK;
}

StatementHandle Database::prepare(const QString& sql, const QVariantList& params, QString* error)
{
    sqlite3_stmt* raw = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(m_db.get(), text.constData(), static_cast<int>(text.size()), &raw, nullptr) !=
        SQLITE_OK) {
        if (error)
            *error = lastError();
        sqlite3_finalize(raw);
        return nullptr;
    }
    StatementHandle stmt(raw);
    for (int i = 0; i < params.size(); ++i) {
        if (!BindValue(raw, i + 1, params[i])) {
            if (error)
                *error = lastError();
            return nullptr;
        }
    }
    return stmt;
}

bool Database::hasTable(const QString& name, bool* found, QString* error)
{
    StatementHandle statement = prepare(
        QStringLiteral("select 1 from sqlite_master where type = 'table' and name = ?"), {name}, error);
    if (!statement)
        return false;
    const int rc = sqlite3_step(statement.get());
    *found = rc == SQLITE_ROW;
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        if (error)
            *error = lastError();
        return false;
    }
    return true;
}

bool BindValue(sqlite3_stmt* stmt, int index, const QVariant& value)
{
    if (value.isNull())
        return sqlite3_bind_null(stmt, index) == SQLITE_OK;
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return sqlite3_bind_int64(stmt, index, value.toLongLong()) == SQLITE_OK;
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(stmt, index, value.toDouble()) == SQLITE_OK;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob(stmt, index, bytes.constData(), static_cast<int>(bytes.size()),
                                 SQLITE_TRANSIENT) == SQLITE_OK;
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        return sqlite3_bind_text(stmt, index, text.constData(), static_cast<int>(text.size()),
                                 SQLITE_TRANSIENT) == SQLITE_OK;
    }
    }
}

QVariant ColumnValue(sqlite3_stmt* stmt, int column)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, column));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                                          sqlite3_column_bytes(stmt, column)));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, column)),
                                   sqlite3_column_bytes(stmt, column)));
    default:
        return QVariant();
    }
}

} // namespace lexora
