#pragma once

#include <QDate>
#include <QString>

namespace lexora {

class Database;

// The learner's finished test runs, one row a run: the day, how many words were asked and how many
// of them were answered wrong. Kept in a table of its own beside the course's tables for the parents'
// report; the test history the program shows stays the course's own.
inline constexpr auto kTestRunsTable = "TestRuns";
inline constexpr auto kTestRunsSchema =
    "create table if not exists TestRuns (Date text not null, Time text not null, Asked integer not null, "
    "Wrong integer not null, Task text)";

struct TestRun
{
    QDate date;
    QString time; // HH:mm
    int asked = 0;
    int wrong = 0;
    QString task; // what was tested: the book and unit, or the review
};

// Adds a run, making the table first when the database has none.
bool AddTestRun(Database& db, const TestRun& run, QString* error);

} // namespace lexora
