#include "store/Records.h"

#include <QStringList>
#include <cmath>
#include <limits>

namespace lexora {

std::int16_t ToInt16(const QVariant& value)
{
    bool ok = false;
    double number = value.toDouble(&ok);
    if (!ok) {
        number = value.toString().trimmed().toDouble(&ok);
        if (!ok)
            return 0;
    }
    // "nan" parses as a number but has no integer value; count it as unreadable.
    if (std::isnan(number))
        return 0;
    constexpr double lo = std::numeric_limits<std::int16_t>::min();
    constexpr double hi = std::numeric_limits<std::int16_t>::max();
    if (number < lo)
        return std::numeric_limits<std::int16_t>::min();
    if (number > hi)
        return std::numeric_limits<std::int16_t>::max();
    // Round half to even, as the stored values' conversion to a 16-bit integer does.
    return static_cast<std::int16_t>(std::nearbyint(number));
}

QString CWordType::GetWordResult()
{
    const QStringList parts = Result.split(QLatin1Char('|'));
    auto part = [&parts](int i) { return i < parts.size() ? ToInt16(parts[i]) : std::int16_t{0}; };
    testNum = part(0);
    errNum = part(1);
    rightNum = part(2);

    const int t = testNum, e = errNum, r = rightNum;
    int score;
    if (r >= 7)
        score = 100;
    else if (t >= 6 && e == 0)
        score = 100;
    else if (t >= 8 && e <= 1 && r >= 4)
        score = r + 60;
    else if (r >= 1 && e <= 2)
        score = t - e + 30;
    else
        score = t - e;
    return QString::number(score);
}

void CWordType::SetWordResultString()
{
    Result = QStringLiteral("%1|%2|%3").arg(testNum).arg(errNum).arg(rightNum);
}

void CWordType::SetComposition()
{
    for (const QChar ch : English) {
        const char16_t up = ch.toUpper().unicode();
        if (up < u'A' || up > u'Z') {
            Composition = 1;
            return;
        }
    }
}

} // namespace lexora
