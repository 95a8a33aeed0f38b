#pragma once

#include "store/MistakeNotebook.h"
#include "store/TestRuns.h"

#include <QDate>
#include <QImage>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace lexora {

class CourseDatabase;
class MediaFolders;

// What a parent reads about one child's work on one course. Everything is read from the course
// database; building it writes nothing.
struct ProgressReport
{
    struct Unit
    {
        QString name;
        bool spellingDone = false; // every single word of the letter game mastered
        bool testDone = false;     // a recognition test without a mistake
        bool known = true;         // false: a stored status that is none of the known marks
    };
    struct Book
    {
        QString name;
        std::vector<Unit> units;
    };
    // Tests finished on one day of the chart's span.
    struct Day
    {
        QDate date;
        int tests = 0;
        int asked = 0; // words asked in the day's logged runs
        int wrong = 0; // of them answered wrong
    };
    struct WeakWord
    {
        QString english;
        QString chinese;
        int asked = 0;
        int wrong = 0;
        int right = 0;  // answers that were not wrong
        QImage picture; // null when the word has none
    };

    QString courseTitle;
    QDate made;
    std::vector<Book> books;
    std::vector<Day> days; // oldest first, one entry per day up to `made`
    // Over every word of the course, whatever day it was answered: the history keeps no answers.
    int wordsAsked = 0;   // words asked at least once
    int answers = 0;      // times any word was asked
    int wrongAnswers = 0; // of them wrong
    std::vector<WeakWord> weakest;
    // Words in the mistake notebook per box 1..3.
    std::array<int, kNotebookBoxes> notebook{};

    int unitCount() const;
    int unitsWith(bool ProgressReport::Unit::*mark) const;
    // Right answers per hundred over all answers; nothing before the first answer.
    std::optional<int> rightPercent() const;
    int notebookTotal() const;
};

inline constexpr int kReportDays = 28;
inline constexpr int kReportWeakWords = 8;

// The date a history row's text names (ISO and the usual Chinese spellings); null when it names none.
QDate HistoryDate(const QString& text);
// Tests per day (one history row per test, by its date text) over the `span` days that end with
// `last`; rows outside the span or without a readable date are left out.
std::vector<ProgressReport::Day> TestsPerDay(const QStringList& dates, QDate last, int span);
// Adds logged test runs to the days they fall on: a test each, with its words asked and wrong.
void AddTestRuns(std::vector<ProgressReport::Day>& days, const std::vector<TestRun>& runs);

// A word's counts as its record holds them ("asked|wrong|right in a row").
struct WordCounts
{
    QString english;
    QString chinese;
    int asked = 0;
    int wrong = 0;
};
// The words answered wrong most often relative to their right answers, at most `count` of them;
// ties go to more mistakes, then to the alphabet. A word stored in several units counts once.
std::vector<ProgressReport::WeakWord> WeakestWords(const std::vector<WordCounts>& words, int count);

// Reads the report of the open course database (settings, units, history, word records, mistake
// notebook) as of `today`; pictures of the weakest words come from `media` without touching its
// files. Nothing, with the reason, when the database cannot be read.
std::optional<ProgressReport> ReadProgressReport(CourseDatabase& db, const MediaFolders& media, QDate today,
                                                 QString* error);

} // namespace lexora
