#pragma once

#include "CourseFixture.h"
#include "quiz/WordRRK.h"

#include <QRadioButton>

namespace lexora::test {

// Selects a right (or a wrong) choice of the question on show; false when there is none.
inline bool PickChoice(WordRRK& test, bool right)
{
    for (int k = 0; k < kChoiceCount; ++k) {
        const int word = test.arrChoice()[static_cast<size_t>(k)];
        if (word >= 0 && (word == test.iTestWord()) == right) {
            test.findChild<QRadioButton*>(QStringLiteral("optAns_%1").arg(k))->setChecked(true);
            test.optAns_Click(k);
            return true;
        }
    }
    return false;
}

// The stored status of a unit; Null when none is stored.
inline QVariant StoredUnitStatus(const CourseFixture& course, int book, int unit)
{
    const auto rows =
        course.rows(QStringLiteral("select UnitStatus from PEP_BookUnit where BookID = %1 and UnitID = %2")
                        .arg(book)
                        .arg(unit));
    return rows.empty() ? QVariant() : rows[0][0];
}

} // namespace lexora::test
