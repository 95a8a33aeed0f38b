#include "course/ImportTable.h"

#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <map>

namespace lexora {

namespace {

enum Role
{
    English,
    Chinese,
    Book,
    Unit,
    Picture,
    Voice,
    RoleCount
};

// Header names of each column a spreadsheet may have, compared without letter case.
const std::array<QStringList, RoleCount>& roleNames()
{
    static const std::array<QStringList, RoleCount> names = {
        QStringList{"english", "en", "word", "words", "英文", "英语", "单词"},
        QStringList{"chinese", "zh", "meaning", "translation", "中文", "汉语", "释义", "意思", "词义",
                    "中文意思", "解释"},
        QStringList{"book", "书", "课本", "册", "教材"},
        QStringList{"unit", "lesson", "单元", "课"},
        QStringList{"picture", "image", "pic", "图片", "图"},
        QStringList{"voice", "sound", "audio", "声音", "发音", "录音"},
    };
    return names;
}

std::optional<Role> roleOf(const QString& header)
{
    for (int role = 0; role < RoleCount; ++role) {
        if (roleNames()[static_cast<size_t>(role)].contains(header.trimmed(), Qt::CaseInsensitive))
            return static_cast<Role>(role);
    }
    return std::nullopt;
}

struct TableRecord
{
    int line = 0;
    QStringList cells;
};

// The separator that the header line uses most, outside quotes; tab wins a tie, then semicolon.
QChar detectSeparator(const QString& line)
{
    std::map<QChar, int> count;
    bool quoted = false;
    for (const QChar c : line) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted)
            ++count[c];
    }
    QChar best = QLatin1Char('\t');
    for (const QChar c : {QLatin1Char(';'), QLatin1Char(',')}) {
        if (count[c] > count[best])
            best = c;
    }
    return best;
}

// Splits RFC 4180 text into records; a quoted cell may hold separators, "" for a quote and line
// breaks, so a record remembers the line it starts on.
std::variant<std::vector<TableRecord>, CourseError> splitTable(const QString& text, QChar separator,
                                                               int firstLine)
{
    std::vector<TableRecord> records;
    TableRecord record{firstLine, {}};
    QString cell;
    int line = firstLine;
    int quoteLine = 0;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"'))
                cell += text[++i];
            else if (c == QLatin1Char('"'))
                quoted = false;
            else
                cell += c;
            line += c == QLatin1Char('\n') ? 1 : 0;
        } else if (c == QLatin1Char('"') && cell.trimmed().isEmpty()) {
            quoted = true;
            quoteLine = line;
            cell.clear();
        } else if (c == separator) {
            record.cells << cell;
            cell.clear();
        } else if (c == QLatin1Char('\n')) {
            record.cells << cell;
            records.push_back(std::move(record));
            record = {++line, {}};
            cell.clear();
        } else {
            cell += c;
        }
    }
    if (quoted)
        return CourseError{quoteLine, QStringLiteral("a quoted cell is not closed")};
    if (!cell.isEmpty() || !record.cells.isEmpty()) {
        record.cells << cell;
        records.push_back(std::move(record));
    }
    return records;
}

bool isBlank(const QStringList& cells)
{
    return std::all_of(cells.begin(), cells.end(), [](const QString& c) { return c.trimmed().isEmpty(); });
}

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Columns picked by --english/--chinese (a name in the header or a position from 1), then the
// others found by their names.
class Columns
{
public:
    std::optional<CourseError> map(const TableRecord& header, const ImportOptions& options,
                                   std::vector<CourseError>* notes);
    QString cell(const TableRecord& record, Role role) const
    {
        const int column = m_column[role];
        return column < 0 ? QString() : record.cells.value(column).trimmed();
    }
    QString describe(const TableRecord& header) const;

private:
    std::optional<CourseError> pick(const TableRecord& header, Role role, const QString& choice,
                                    const char* option);
    std::array<int, RoleCount> m_column{-1, -1, -1, -1, -1, -1};
};

std::optional<CourseError> Columns::pick(const TableRecord& header, Role role, const QString& choice,
                                         const char* option)
{
    if (choice.isEmpty())
        return std::nullopt;
    bool number = false;
    const int position = choice.toInt(&number);
    int column = number ? position - 1 : -1;
    for (int i = 0; i < header.cells.size() && !number; ++i) {
        if (header.cells[i].trimmed().compare(choice, Qt::CaseInsensitive) == 0)
            column = i;
    }
    if (column < 0 || column >= header.cells.size())
        return CourseError{header.line, QStringLiteral("--%1 %2: no such column in the header row (%3)")
                                            .arg(QLatin1String(option), quoted(choice),
                                                 header.cells.join(QStringLiteral(", ")))};
    m_column[role] = column;
    return std::nullopt;
}

std::optional<CourseError> Columns::map(const TableRecord& header, const ImportOptions& options,
                                        std::vector<CourseError>* notes)
{
    if (auto error = pick(header, English, options.english, "english"))
        return error;
    if (auto error = pick(header, Chinese, options.chinese, "chinese"))
        return error;
    for (int i = 0; i < header.cells.size(); ++i) {
        if (std::find(m_column.begin(), m_column.end(), i) != m_column.end())
            continue;
        const auto role = roleOf(header.cells[i]);
        if (role && m_column[*role] < 0)
            m_column[*role] = i;
        else if (!header.cells[i].trimmed().isEmpty())
            notes->push_back(
                {header.line,
                 QStringLiteral("column %1 is not read").arg(quoted(header.cells[i].trimmed()))});
    }
    if (m_column[English] < 0)
        return CourseError{header.line,
                           QStringLiteral("no English column in the header row: name one "
                                          "\"English\" or \"word\", or choose it with --english")};
    if (m_column[Chinese] < 0)
        notes->push_back(
            {header.line, QStringLiteral("no Chinese column: every meaning is left for you to "
                                         "fill in (name one \"Chinese\" or \"meaning\", or choose "
                                         "it with --chinese)")});
    return std::nullopt;
}

QString Columns::describe(const TableRecord& header) const
{
    const auto name = [&header](int column) {
        return column < 0 ? QStringLiteral("no column")
                          : QStringLiteral("column ") + quoted(header.cells[column]);
    };
    return QStringLiteral("English from %1, Chinese from %2")
        .arg(name(m_column[English]), name(m_column[Chinese]));
}

} // namespace

bool IsSpreadsheetHeader(const QString& text)
{
    const QString line = text.trimmed().section(QLatin1Char('\n'), 0, 0);
    const auto records = splitTable(line, detectSeparator(line), 1);
    if (!std::holds_alternative<std::vector<TableRecord>>(records))
        return false;
    const auto& split = std::get<std::vector<TableRecord>>(records);
    int named = 0;
    int english = 0;
    for (const QString& cell : split.empty() ? QStringList() : split.front().cells) {
        if (cell.trimmed().isEmpty())
            continue;
        const auto role = roleOf(cell);
        if (!role)
            return false;
        ++named;
        english += *role == English ? 1 : 0;
    }
    // One cell alone is a plain list's first word ("English" is a word children learn).
    return named >= 2 && english == 1;
}

ImportRead ReadSpreadsheet(const QString& text, const ImportOptions& options)
{
    // Some spreadsheets write their separator as a first line of its own: "sep=;".
    static const QRegularExpression sepLine(QStringLiteral("^sep=(.)\n"));
    const auto sep = sepLine.match(text);
    const QString body = sep.hasMatch() ? text.mid(sep.capturedLength()) : text;
    const QChar separator = sep.hasMatch() ? sep.captured(1).front()
                                           : detectSeparator(body.trimmed().section(QLatin1Char('\n'), 0, 0));
    auto split = splitTable(body, separator, sep.hasMatch() ? 2 : 1);
    if (auto* error = std::get_if<CourseError>(&split))
        return *error;
    auto& records = std::get<std::vector<TableRecord>>(split);
    records.erase(
        std::remove_if(records.begin(), records.end(), [](const TableRecord& r) { return isBlank(r.cells); }),
        records.end());
    if (records.empty())
        return CourseError{0, QStringLiteral("no header row: the file is empty")};
    ImportList list;
    Columns columns;
    if (auto error = columns.map(records.front(), options, &list.notes))
        return *error;
    list.columns = columns.describe(records.front());
    std::map<std::pair<QString, QString>, size_t> unitOf;
    for (auto record = records.begin() + 1; record != records.end(); ++record) {
        ImportRow row{record->line,
                      {},
                      columns.cell(*record, Book),
                      columns.cell(*record, English),
                      columns.cell(*record, Chinese),
                      columns.cell(*record, Picture),
                      columns.cell(*record, Voice)};
        const QString unit = columns.cell(*record, Unit);
        if (unit.isEmpty()) {
            list.loose.push_back(std::move(row));
            continue;
        }
        auto [it, added] = unitOf.try_emplace({row.book, unit}, list.units.size());
        if (added)
            list.units.push_back({row.book, unit, row.line, {}});
        list.units[it->second].rows.push_back(std::move(row));
    }
    return list;
}

ImportRead ReadPlainList(const QString& text)
{
    ImportList list;
    list.columns = QStringLiteral("English and Chinese from each line of a plain list");
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString trimmed = lines[i].trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        QStringList cells = lines[i].split(QLatin1Char('\t'));
        while (cells.size() > 2 && cells.back().trimmed().isEmpty())
            cells.removeLast();
        // More columns is no plain list: most likely a course source whose first record is mistyped.
        if (cells.size() > 2)
            return CourseError{i + 1, QStringLiteral("this line has %1 columns: a plain list has English and "
                                                     "at most its Chinese meaning, and a course source "
                                                     "starts with its version line")
                                          .arg(cells.size())};
        ImportRow row;
        row.line = i + 1;
        row.english = cells[0].trimmed();
        row.chinese = cells.value(1).trimmed();
        list.loose.push_back(std::move(row));
    }
    return list;
}

} // namespace lexora
