#include "store/MistakeNotebook.h"

#include "store/CourseDatabase.h"
#include "store/SqlCipher.h"

#include <algorithm>
#include <sqlcipher/sqlite3.h>

namespace lexora {

namespace {

const QString kDateFormat = QLatin1String(kNotebookDayFormat);

QString dayText(const QDate& day)
{
    return day.toString(kDateFormat);
}

bool step(Database& db, const QString& sql, const QVariantList& params, QString* error)
{
    StatementHandle statement = db.prepare(sql, params, error);
    if (!statement)
        return false;
    if (sqlite3_step(statement.get()) != SQLITE_DONE) {
        *error = db.lastError();
        return false;
    }
    return true;
}

bool apply(Database& db, const NotebookAnswers& answers, const QDate& today, QString* error)
{
    auto stored = ReadNotebookRows(db, error);
    if (!stored)
        return false;
    for (const auto& [english, answer] : answers) {
        const QString word = english.trimmed();
        auto it = std::find_if(stored->begin(), stored->end(),
                               [&word](const NotebookRow& r) { return r.english == word; });
        const auto before = it == stored->end() ? std::nullopt : std::optional<NotebookEntry>(it->entry);
        const auto after = NextNotebookEntry(before, answer, today);
        if (after == before)
            continue;
        if (after) {
            const NotebookRow row{word, *after};
            if (!WriteNotebookRow(db, row, error))
                return false;
            if (it == stored->end())
                stored->push_back(row);
            else
                *it = row;
        } else if (before) {
            if (!step(db,
                      QStringLiteral("delete from %1 where English = ?").arg(QLatin1String(kNotebookTable)),
                      {word}, error))
                return false;
            stored->erase(it);
        }
    }
    return true;
}

} // namespace

int BoxInterval(int box)
{
    return 1 << (std::clamp(box, 1, kNotebookBoxes) - 1);
}

std::optional<NotebookEntry> NextNotebookEntry(const std::optional<NotebookEntry>& entry,
                                               NotebookAnswer answer, const QDate& today)
{
    if (answer == NotebookAnswer::Wrong)
        return NotebookEntry{1, today, entry && entry->entered.isValid() ? entry->entered : today};
    if (!entry)
        return std::nullopt;
    NotebookEntry next = *entry;
    next.box = std::clamp(entry->box, 1, kNotebookBoxes);
    if (!entry->since.isValid() || today < entry->since) {
        next.since = today;
        return next;
    }
    if (today < entry->since.addDays(BoxInterval(next.box)))
        return next;
    if (next.box == kNotebookBoxes)
        return std::nullopt;
    ++next.box;
    next.since = today;
    return next;
}

bool IsNotebookDue(const NotebookEntry& entry, const QDate& today)
{
    return !entry.since.isValid() || today < entry.since ||
           today >= entry.since.addDays(BoxInterval(entry.box));
}

std::optional<std::vector<NotebookRow>> ReadNotebookRows(Database& db, QString* error)
{
    std::vector<NotebookRow> rows;
    bool found = false;
    if (!db.hasTable(QLatin1String(kNotebookTable), &found, error))
        return std::nullopt;
    if (!found)
        return rows;
    StatementHandle statement =
        db.prepare(QStringLiteral("select English, Box, Since, Entered from %1 order by Since, English")
                       .arg(QLatin1String(kNotebookTable)),
                   {}, error);
    if (!statement)
        return std::nullopt;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
        const auto text = [&statement](int column) {
            return ColumnValue(statement.get(), column).toString();
        };
        rows.push_back({text(0).trimmed(),
                        {ColumnValue(statement.get(), 1).toInt(), QDate::fromString(text(2), kDateFormat),
                         QDate::fromString(text(3), kDateFormat)}});
    }
    if (rc != SQLITE_DONE) {
        *error = db.lastError();
        return std::nullopt;
    }
    return rows;
}

bool WriteNotebookRow(Database& db, const NotebookRow& row, QString* error)
{
    const QString table = QLatin1String(kNotebookTable);
    return db.exec(QStringLiteral(
                       "create table if not exists %1 (English TEXT PRIMARY KEY, Box INTEGER NOT NULL, "
                       "Since TEXT NOT NULL, Entered TEXT NOT NULL)")
                       .arg(table),
                   error) &&
           step(db,
                QStringLiteral("insert or replace into %1 (English, Box, Since, Entered) values (?, ?, ?, ?)")
                    .arg(table),
                {row.english, std::clamp(row.entry.box, 1, kNotebookBoxes), dayText(row.entry.since),
                 dayText(row.entry.entered)},
                error);
}

bool MistakeNotebook::record(const NotebookAnswers& answers, const QDate& today, QString* error)
{
    if (answers.empty())
        return true;
    auto db = m_db.connect(error);
    if (!db)
        return false;
    bool ok = db->exec(QStringLiteral("BEGIN"), error);
    if (ok) {
        ok = apply(*db, answers, today, error) && db->exec(QStringLiteral("COMMIT"), error);
        if (!ok)
            db->exec(QStringLiteral("ROLLBACK"));
    }
    db.reset();
    m_db.finish();
    return ok;
}

std::optional<std::vector<NotebookRow>> MistakeNotebook::rows(QString* error)
{
    auto db = m_db.connect(error);
    if (!db)
        return std::nullopt;
    auto rows = ReadNotebookRows(*db, error);
    db.reset();
    m_db.finish();
    return rows;
}

std::optional<QStringList> MistakeNotebook::dueWords(const QDate& today, QString* error)
{
    const auto all = rows(error);
    if (!all)
        return std::nullopt;
    QStringList due;
    for (const NotebookRow& row : *all) {
        if (due.size() < kMaxReviewWords && IsNotebookDue(row.entry, today))
            due.append(row.english);
    }
    return due;
}

std::optional<std::array<int, kNotebookBoxes>> MistakeNotebook::boxCounts(QString* error)
{
    const auto all = rows(error);
    if (!all)
        return std::nullopt;
    std::array<int, kNotebookBoxes> counts{};
    for (const NotebookRow& row : *all)
        ++counts[static_cast<size_t>(std::clamp(row.entry.box, 1, kNotebookBoxes) - 1)];
    return counts;
}

} // namespace lexora
