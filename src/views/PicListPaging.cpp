#include "views/PicListPaging.h"

#include <algorithm>

namespace lexora {

PicListPaging::PicListPaging(int wordNum)
{
    const int words = std::max(wordNum, 0);
    m_groupNum = words / kPicListGroupSize;
    m_lastGroupSize = words % kPicListGroupSize;
    if (m_lastGroupSize != 0)
        ++m_groupNum;
    else if (m_groupNum > 0)
        m_lastGroupSize = kPicListGroupSize;
}

int PicListPaging::countIn(int group) const
{
    if (group < 1 || group > m_groupNum)
        return 0;
    return group == m_groupNum ? m_lastGroupSize : kPicListGroupSize;
}

int PicListPaging::firstIndex(int group) const
{
    return std::max(group - 1, 0) * kPicListGroupSize;
}

GroupButtons PicListPaging::buttonsFor(int group) const
{
    const bool atEnd = group >= m_groupNum;
    const bool atStart = group <= 1;
    return {!atStart, !atStart, !atEnd, !atEnd};
}

QString PicListPaging::groupLine(int group) const
{
    return QStringLiteral("第%1组 / 共%2组").arg(group).arg(m_groupNum);
}

} // namespace lexora
