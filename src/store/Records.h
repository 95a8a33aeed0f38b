#pragma once

#include <QString>
#include <QVariant>
#include <cstdint>

namespace lexora {

// Stored integers are read as 16-bit values; anything out of range is clamped, unreadable text is 0.
std::int16_t ToInt16(const QVariant& value);

// One word of the current word list.
class CWordType
{
public:
    std::int16_t Book = 0;
    std::int16_t Unit = 0;
    std::int16_t Composition = 0; // non-zero: a phrase
    QString English;
    // The text as the word table holds it, blanks included: a word stored as " I'm " is shown and
    // played as "I'm" but its row is only found by the stored text.
    QString StoredEnglish;
    QString Chinese;
    bool Tested = false;
    bool CurrErr = false;
    QString Result = QStringLiteral("0|0|0"); // testNum|errNum|rightNum
    std::int16_t errNum = 0;
    std::int16_t testNum = 0;
    std::int16_t rightNum = 0;

    // Re-reads the counters from Result and returns the mastery score 0..100 as text.
    QString GetWordResult();
    void SetWordResultString();
    // Marks the word as a phrase when its English holds anything but the letters A to Z.
    void SetComposition();
    // The stored text, or English for a word not read from the table.
    const QString& storedText() const { return StoredEnglish.isNull() ? English : StoredEnglish; }
};

// One unit of a book.
class CBookUnit
{
public:
    std::int16_t BookID = 0;
    std::int16_t UnitID = 0;
    QString UnitName;
    std::int16_t UnitStatus = 0; // 1 letter game done, 2 test done without error, 3 both
};

// One row of the test history.
class CHisType
{
public:
    double NO = 0;
    std::int16_t userID = 0;
    QString myDate;
    QString myTime;
    QString myTask;
};

} // namespace lexora
