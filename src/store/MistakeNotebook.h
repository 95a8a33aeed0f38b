#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace lexora {

class CourseDatabase;
class Database;

// The words a child answered wrong, kept in the learner's database until reviewed right on three
// days: box 1, 2 and 3 wait 1, 2 and 4 days. The table is made on the first wrong answer, so older
// databases (and the course's own) simply have none.
inline constexpr auto kNotebookTable = "MistakeNotebook";
inline constexpr int kNotebookBoxes = 3;
// How the notebook's days are written, in the learner's database and in records files.
inline constexpr auto kNotebookDayFormat = "yyyy-MM-dd";
// A review loads at most this many words; the rest stay due for the next one.
inline constexpr int kMaxReviewWords = 200;

// Days a word waits in box (1 to kNotebookBoxes) before it is asked again.
int BoxInterval(int box);

struct NotebookEntry
{
    int box = 1;
    QDate since;   // the wrong answer, or the last right review that counted
    QDate entered; // the first wrong answer of this stay
    bool operator==(const NotebookEntry&) const = default;
};

enum class NotebookAnswer
{
    Right,
    Wrong
};

// The word's place after an answer given today; nothing when it is not (or no longer) in the notebook.
// A wrong answer puts it in box 1. A right answer moves it one box on only once its box's wait is over
// (earlier ones, in any test, change nothing) and takes it out of the last box. A day before the one
// stored means the clock was set back: the word stays in its box and its wait starts again today.
std::optional<NotebookEntry> NextNotebookEntry(const std::optional<NotebookEntry>& entry,
                                               NotebookAnswer answer, const QDate& today);
// True when the word's wait is over, or when its stored day lies ahead of today (a clock set back
// must not hide a word for months).
bool IsNotebookDue(const NotebookEntry& entry, const QDate& today);

struct NotebookRow
{
    QString english; // trimmed
    NotebookEntry entry;
};
using NotebookAnswers = std::vector<std::pair<QString, NotebookAnswer>>;

// The notebook rows of an open database; none when it has no notebook.
std::optional<std::vector<NotebookRow>> ReadNotebookRows(Database& db, QString* error);
// Creates the table when it is missing, then stores the row in place of the word's old one.
bool WriteNotebookRow(Database& db, const NotebookRow& row, QString* error);

// The notebook of the learner's course database.
class MistakeNotebook
{
public:
    explicit MistakeNotebook(CourseDatabase& db) : m_db(db) {}

    // Applies the answers of one run in one transaction: all of them or none.
    bool record(const NotebookAnswers& answers, const QDate& today, QString* error);
    std::optional<std::vector<NotebookRow>> rows(QString* error);
    // The English texts due today, the longest waiting first, at most kMaxReviewWords.
    std::optional<QStringList> dueWords(const QDate& today, QString* error);
    // Words in box 1, 2 and 3.
    std::optional<std::array<int, kNotebookBoxes>> boxCounts(QString* error);

private:
    CourseDatabase& m_db;
};

} // namespace lexora
