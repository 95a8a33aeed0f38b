#pragma once

#include "store/SqlCipher.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace lexora {

// A row set opened on an SQL text: every row is read into memory at once, so the row count is exact
// as soon as it is open. Rows of "select * from TABLE ..." can be changed and added; the changes
// are written back by rowid with bound values when the row is saved.
class RecordSet
{
public:
    RecordSet() = default;
    RecordSet(const RecordSet&) = delete;
    RecordSet& operator=(const RecordSet&) = delete;
    ~RecordSet();

    // Opens a fresh connection, runs the query and reads all rows. Values in params are bound to the
    // query's '?' placeholders in order. On failure the set stays closed and error holds the reason.
    bool Open(const QString& sql, const QString& dataSource, const QString& password, KeyCache* keys,
              const QVariantList& params, QString* error);
    void Close();
    bool IsOpen() const { return m_db != nullptr; }

    int RecordCount() const { return static_cast<int>(m_rows.size()); }
    bool IsEOF() const { return m_pos < 0 || m_pos >= RecordCount(); }
    void MoveFirst() { m_pos = 0; }
    void MoveNext();

    // The value of a column of the current row; an invalid QVariant for Null, an unknown column or no
    // current row.
    QVariant Field(const QString& column) const;
    bool HasColumn(const QString& column) const { return columnIndex(column) >= 0; }
    // Changes a column of the current row in memory; Save writes it.
    bool SetField(const QString& column, const QVariant& value);
    // Appends an empty row and makes it current.
    bool AddNew();
    // Writes the current row's changes (or the new row) to its table.
    bool Save(QString* error = nullptr);

    const QStringList& Columns() const { return m_columns; }

private:
    struct Row
    {
        qlonglong rowid = -1; // -1: not yet in the table
        std::vector<QVariant> values;
        std::vector<bool> changed;
    };

    int columnIndex(const QString& column) const;

    std::unique_ptr<Database> m_db;
    QString m_table; // set when the rows can be written back
    QStringList m_columns;
    std::vector<Row> m_rows;
    int m_pos = -1;
};

} // namespace lexora
