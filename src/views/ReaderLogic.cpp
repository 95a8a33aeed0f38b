#include "views/ReaderLogic.h"

#include "store/Random.h"

#include <algorithm>

namespace lexora {

NavEnable NavButtonsFor(int index, int wordNum)
{
    if (index < 0 || index >= wordNum)
        return {};
    const bool isFirst = index == 0;
    const bool isLast = index == wordNum - 1;
    return {!isFirst, !isFirst, !isLast, !isLast};
}

ThumbPage ThumbPageFor(int currentWord, int wordNum)
{
    if (wordNum <= 0)
        return {};
    const int current = std::clamp(currentWord, 0, wordNum - 1);
    ThumbPage page;
    page.start = current / kThumbsPerPage * kThumbsPerPage;
    page.count = std::min(kThumbsPerPage, wordNum - page.start);
    page.bordered = current == currentWord ? current - page.start : -1;
    return page;
}

std::optional<int> NextPageWord(const ThumbPage& page, int wordNum)
{
    if (page.start + page.count >= wordNum)
        return std::nullopt;
    return page.start + page.count;
}

std::optional<int> PrevPageWord(const ThumbPage& page)
{
    if (page.start < 1)
        return std::nullopt;
    return page.start - 1;
}

namespace {

int RandomWord(int wordNum, Random& random)
{
    random.Randomize();
    return random.below(wordNum);
}

} // namespace

std::optional<int> NextWordIndex(int current, int wordNum, bool randomOrder, Random& random)
{
    if (wordNum <= 0)
        return std::nullopt;
    if (randomOrder)
        return RandomWord(wordNum, random);
    const int next = current + 1;
    return next >= wordNum || next < 0 ? 0 : next;
}

std::optional<int> PrevWordIndex(int current, int wordNum, bool randomOrder, Random& random)
{
    if (wordNum <= 0)
        return std::nullopt;
    if (randomOrder)
        return RandomWord(wordNum, random);
    if (current <= 0 || current > wordNum)
        return std::nullopt;
    return current - 1;
}

int FitFontSize(int startPt, int maxWidth, const std::function<int(int pt)>& widthAt, int minPt)
{
    int size = std::max(startPt, minPt);
    while (size > minPt && widthAt(size) > maxWidth)
        size = std::max(size - 2, minPt);
    return size;
}

QString WordNumberText(int current, int wordNum)
{
    if (wordNum <= 0)
        return QStringLiteral("0/0");
    return QString::number(current + 1) + QLatin1Char('/') + QString::number(wordNum);
}

QString MistakeNoteText(int due)
{
    return due > 0 ? QStringLiteral("错词本：今天有 %1 个单词要复习").arg(due) : QString();
}

} // namespace lexora
