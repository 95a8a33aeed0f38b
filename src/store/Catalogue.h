#pragma once

#include "store/Records.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace lexora {

class CourseDatabase;

// What a finished activity marks on its unit; a unit's stored status holds both marks as bits.
enum class UnitMark : std::int16_t
{
    SpellingDone = 1, // every single word of the letter game mastered
    TestDone = 2,     // a recognition test without a mistake
};

// A unit's stored status after this mark (anything above both marks reads as both).
std::int16_t MergeUnitStatus(std::int16_t current, UnitMark mark);

// Why a use of the store failed: the database could not be opened (the program cannot go on), it
// does not hold what was asked for, or a record could not be written.
struct StoreFailure
{
    enum class Kind
    {
        Open,
        Content,
        Write
    };
    Kind kind = Kind::Content;
    QString reason;
};

// The course catalogue and its settings: the version, the books, the units of the current book with
// their status, the last book and unit chosen, and the test history.
class Catalogue
{
public:
    std::int16_t versionId() const { return m_versionId; }
    const QString& versionName() const { return m_versionName; }
    // The stem of the course's table names, checked to be a plain name before it enters SQL text.
    const QString& tableStem() const { return m_tableStem; }

    int bookCount() const { return static_cast<int>(m_bookNames.size()); }
    const std::vector<QString>& bookNames() const { return m_bookNames; }
    // Empty outside the books.
    QString bookName(int book) const;

    std::int16_t currentBook() const { return m_currentBook; }
    std::int16_t currentUnit() const { return m_currentUnit; }
    void setCurrent(std::int16_t book, std::int16_t unit);
    void setCurrentUnit(std::int16_t unit) { m_currentUnit = unit; }
    // The current unit's name; empty when the stored unit is one the book no longer has.
    QString currentUnitName() const;

    // The units of the book last read; a failed read leaves none counted.
    int unitCount() const;
    const std::vector<CBookUnit>& units() const { return m_units; }
    const CBookUnit* unit(int index) const;
    // Puts back units read earlier (a dialog that looked at another book and was cancelled).
    void restoreUnits(std::vector<CBookUnit> units, int count);

    const std::vector<CHisType>& history() const { return m_history; }

    // The version, its books and the last choice; false with the failure.
    bool readSettings(CourseDatabase& db, StoreFailure* failure);
    bool readUnits(CourseDatabase& db, std::int16_t book, StoreFailure* failure);
    // The newest history rows, at most kMaxHistoryRows; an empty history is a Content failure.
    bool readHistory(CourseDatabase& db, StoreFailure* failure);
    static constexpr int kMaxHistoryRows = 50;

    bool writeLastChoice(CourseDatabase& db, StoreFailure* failure) const;
    // Marks the current unit in memory and in every row of the unit. An unknown current unit is a
    // Content failure without a reason: nothing is written.
    bool markCurrentUnit(CourseDatabase& db, UnitMark mark, StoreFailure* failure);

private:
    std::int16_t m_versionId = 0;
    QString m_versionName;
    QString m_tableStem;
    std::vector<QString> m_bookNames;
    std::int16_t m_currentBook = 0;
    std::int16_t m_currentUnit = 0;
    std::vector<CBookUnit> m_units;
    int m_unitCount = 0;
    std::vector<CHisType> m_history;
};

} // namespace lexora
