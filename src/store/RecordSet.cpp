#include "store/RecordSet.h"

#include <QRegularExpression>
#include <sqlcipher/sqlite3.h>

namespace lexora {

namespace {

// "select * from T ..." gets the rowid selected alongside so that rows can be saved back.
const QRegularExpression& writableQuery()
{
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*select\s+\*\s+from\s+([A-Za-z_][A-Za-z0-9_]*)\b(.*)$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return re;
}

const QString kRowidAlias = QStringLiteral("lexora_rowid");

QString quoted(const QString& identifier)
{
    QString inner = identifier;
    inner.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

} // namespace

RecordSet::~RecordSet()
{
    Close();
}

bool RecordSet::Open(const QString& sql, const QString& dataSource, const QString& password, KeyCache* keys,
                     const QVariantList& params, QString* error)
{
    Close();
    auto db = Database::open(dataSource, password, keys, error);
    if (!db)
        return false;

    QString text = sql;
    QString table;
    const auto match = writableQuery().match(sql);
    if (match.hasMatch()) {
        table = match.captured(1);
        text = QStringLiteral("select _rowid_ AS %1, * from %2%3").arg(kRowidAlias, table, match.captured(2));
    }
    auto stmt = db->prepare(text, params, error);
    if (!stmt && !table.isEmpty()) {
        // A view or a table without rowid: read it, without write-back.
        table.clear();
        stmt = db->prepare(sql, params, error);
    }
    if (!stmt)
        return false;

    const int columnCount = sqlite3_column_count(stmt.get());
    const int first = table.isEmpty() ? 0 : 1;
    QStringList columns;
    for (int c = first; c < columnCount; ++c)
        columns << QString::fromUtf8(sqlite3_column_name(stmt.get(), c));

    std::vector<Row> rows;
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        Row row;
        if (first)
            row.rowid = sqlite3_column_int64(stmt.get(), 0);
        row.values.reserve(static_cast<size_t>(columnCount - first));
        for (int c = first; c < columnCount; ++c)
            row.values.push_back(ColumnValue(stmt.get(), c));
        row.changed.assign(row.values.size(), false);
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) {
        if (error)
            *error = db->lastError();
        return false;
    }
    m_db = std::move(db);
    m_table = table;
    m_columns = columns;
    m_rows = std::move(rows);
    m_pos = m_rows.empty() ? -1 : 0;
    return true;
}

void RecordSet::Close()
{
    m_db.reset();
    m_table.clear();
    m_columns.clear();
    m_rows.clear();
    m_pos = -1;
}

void RecordSet::MoveNext()
{
    if (m_pos >= 0 && m_pos < RecordCount())
        ++m_pos;
}

int RecordSet::columnIndex(const QString& column) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].compare(column, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant RecordSet::Field(const QString& column) const
{
    const int c = columnIndex(column);
    if (c < 0 || IsEOF())
        return {};
    return m_rows[static_cast<size_t>(m_pos)].values[static_cast<size_t>(c)];
}

bool RecordSet::SetField(const QString& column, const QVariant& value)
{
    const int c = columnIndex(column);
    if (c < 0 || IsEOF() || m_table.isEmpty())
        return false;
    Row& row = m_rows[static_cast<size_t>(m_pos)];
    row.values[static_cast<size_t>(c)] = value;
    row.changed[static_cast<size_t>(c)] = true;
    return true;
}

bool RecordSet::AddNew()
{
    if (!IsOpen() || m_table.isEmpty())
        return false;
    Row row;
    row.values.assign(static_cast<size_t>(m_columns.size()), QVariant());
    row.changed.assign(row.values.size(), false);
    m_rows.push_back(std::move(row));
    m_pos = RecordCount() - 1;
    return true;
}

bool RecordSet::Save(QString* error)
{
    if (!IsOpen() || m_table.isEmpty() || IsEOF()) {
        if (error)
            *error = QStringLiteral("这些记录不能写回单词库");
        return false;
    }
    Row& row = m_rows[static_cast<size_t>(m_pos)];
    QStringList names;
    QVariantList values;
    for (size_t c = 0; c < row.values.size(); ++c) {
        if (row.changed[c]) {
            names << quoted(m_columns[static_cast<int>(c)]);
            values << row.values[c];
        }
    }
    QString sql;
    if (row.rowid < 0) {
        if (names.isEmpty()) {
            sql = QStringLiteral("insert into %1 default values").arg(quoted(m_table));
        } else {
            QStringList marks;
            for (int i = 0; i < names.size(); ++i)
                marks << QStringLiteral("?");
            sql = QStringLiteral("insert into %1 (%2) values (%3)")
                      .arg(quoted(m_table), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
        }
    } else {
        if (names.isEmpty())
            return true;
        for (QString& name : names)
            name += QStringLiteral(" = ?");
        sql = QStringLiteral("update %1 set %2 where _rowid_ = ?")
                  .arg(quoted(m_table), names.join(QLatin1Char(',')));
        values << row.rowid;
    }
    auto stmt = m_db->prepare(sql, values, error);
    if (!stmt)
        return false;
    if (sqlite3_step(stmt.get()) != SQLITE_DONE) {
        if (error)
            *error = m_db->lastError();
        return false;
    }
    if (row.rowid < 0)
        row.rowid = sqlite3_last_insert_rowid(m_db->handle());
    row.changed.assign(row.values.size(), false);
    return true;
}

} // namespace lexora
