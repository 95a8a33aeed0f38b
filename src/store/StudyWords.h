#pragma once

#include "store/Records.h"

#include <QString>
#include <QVariantList>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace lexora {

class CourseDatabase;
class Database;
class Random;
class RecordSet;
struct StoreFailure;

// The words being studied: their records, the cursor on the current word, the run's test counts.
class StudyWords
{
public:
    // Words that can be read: the count, never more than the records held.
    int count() const;
    // The word at index; null outside the list, so an index is checked where it is used.
    CWordType* word(int index);
    const CWordType* word(int index) const;
    // Every record held, the list's words first.
    const std::vector<CWordType>& records() const { return m_words; }
    // The list's words, to mark or count in place.
    std::span<CWordType> listed() { return std::span<CWordType>(m_words).first(static_cast<size_t>(count())); }

    // Replaces the list (a new list: what was drawn from the old one is never judged against it).
    void assign(std::vector<CWordType> words);
    // Counts only the first n records as the list (n within what is held); 0 empties it.
    void setCount(int n);
    // Puts back a list kept aside, as the same list it was.
    void restore(std::vector<CWordType> words, int count);

    std::int16_t current() const { return m_current; }
    void setCurrent(int index) { m_current = static_cast<std::int16_t>(index); }
    // The current word's texts, taken when the word became current (SetCurrWordText).
    const QString& currentEnglish() const { return m_currentEnglish; }
    const QString& currentChinese() const { return m_currentChinese; }
    void SetCurrWordText();

    // How many words of the run were answered, and how many the run asks.
    std::int16_t testDone() const { return m_testDone; }
    void setTestDone(int done) { m_testDone = static_cast<std::int16_t>(done); }
    std::int16_t testTotal() const { return m_testTotal; }
    void setTestTotal(int total) { m_testTotal = static_cast<std::int16_t>(total); }
    void ResetTestFlags();
    void ResetTestFlagsSkipPhrases();
    // A random word not yet tested (a few draws, then the first one left); -1 when all are.
    std::int16_t RandUntestedWord(Random& random) const;

    // Changes whenever a load replaces the list: what was drawn from one list is never judged or
    // saved against another.
    std::uint32_t stamp() const { return m_stamp; }

    // Reads the words of an SQL text (values bound to its '?' marks); on failure the list is left
    // empty (its records stay held).
    bool read(CourseDatabase& db, const QString& sql, StoreFailure* failure, const QVariantList& params = {});
    // Writes the results of the words at these indices in one transaction of db: every one of them
    // or none. watch is called with 0 once the transaction has begun, with the number written after
    // each word, and with -1 once committed.
    bool writeResults(Database& db, const QString& table, const std::vector<int>& indices,
                      const std::function<void(int)>& watch, QString* error);

private:
    static CWordType fromRow(const RecordSet& rs);

    std::vector<CWordType> m_words;
    int m_count = 0;
    std::int16_t m_current = 0;
    QString m_currentEnglish;
    QString m_currentChinese;
    std::int16_t m_testTotal = 0;
    std::int16_t m_testDone = 0;
    std::uint32_t m_stamp = 0;
};

} // namespace lexora
