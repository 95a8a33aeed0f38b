#pragma once

#include <QString>

namespace lexora {

inline constexpr int kPicListGroupSize = 8;

// Which of the four group buttons (first, previous, next, last) may be used.
struct GroupButtons
{
    bool first = false;
    bool prev = false;
    bool next = false;
    bool last = false;
    bool operator==(const GroupButtons&) const = default;
};

// The word list cut into groups of eight for the picture word list. Groups are numbered from 1; an
// empty list has no group, and group 0 stands for "nothing on show".
class PicListPaging
{
public:
    explicit PicListPaging(int wordNum);

    int groupNum() const { return m_groupNum; }
    int lastGroupSize() const { return m_lastGroupSize; }
    // The group shown first: 1, or 0 for an empty list.
    int firstGroup() const { return m_groupNum > 0 ? 1 : 0; }
    // Words in the group (the last may hold fewer than eight); 0 outside 1..groupNum.
    int countIn(int group) const;
    // Index in the word list of the group's first word.
    int firstIndex(int group) const;
    GroupButtons buttonsFor(int group) const;
    // "第2组 / 共3组".
    QString groupLine(int group) const;

private:
    int m_groupNum = 0;
    int m_lastGroupSize = 0;
};

} // namespace lexora
