#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace lexora {

class Random;

// Which of the four navigation buttons (first, previous, next, last) may be used on a word.
struct NavEnable
{
    bool first = false;
    bool prev = false;
    bool next = false;
    bool last = false;
    bool operator==(const NavEnable&) const = default;
};

// An index outside the list (an empty list among them) leaves every button disabled.
NavEnable NavButtonsFor(int index, int wordNum);

inline constexpr int kThumbsPerPage = 8;
// Pictures likely needed next are decoded ahead from this long after a step: the step and its
// painting are over by then, and a learner looks at a word far longer.
inline constexpr int kReadAheadDelayMs = 15;

// The strip of thumbnails that holds the current word.
struct ThumbPage
{
    int start = 0;     // first word of the page, a multiple of 8
    int count = 0;     // thumbnails in use, 0 only for an empty list
    int bordered = -1; // position of the current word on the page, -1 for none
};

ThumbPage ThumbPageFor(int currentWord, int wordNum);

// The word a page button moves to; nothing on the last (next) or first (previous) page.
std::optional<int> NextPageWord(const ThumbPage& page, int wordNum);
std::optional<int> PrevPageWord(const ThumbPage& page);

// The word "next" and "previous" move to. In order, next wraps from the last word to the first and
// previous stops at the first word (nothing: the move is ignored, as the disabled button is). Random
// order draws any word of the list after reseeding. Nothing for an empty list.
std::optional<int> NextWordIndex(int current, int wordNum, bool randomOrder, Random& random);
std::optional<int> PrevWordIndex(int current, int wordNum, bool randomOrder, Random& random);

// The largest size of start, start - 2, start - 4, ... whose text is at most maxWidth wide, never
// below minPt (a text too long for any size stays at minPt).
int FitFontSize(int startPt, int maxWidth, const std::function<int(int pt)>& widthAt, int minPt);

// The position shown under the reader's picture: "3/25"; "0/0" for an empty list.
QString WordNumberText(int current, int wordNum);
// The reader's note on the notebook's words due today; empty when none is.
QString MistakeNoteText(int due);

} // namespace lexora
