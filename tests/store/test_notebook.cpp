#include "store/MistakeNotebook.h"

#include <gtest/gtest.h>

namespace lexora::test {
namespace {

constexpr auto R = NotebookAnswer::Right;
constexpr auto W = NotebookAnswer::Wrong;

struct NotebookCase
{
    const char* story;
    std::vector<std::pair<int, NotebookAnswer>> answers; // days after a Monday
    int box;                                             // 0: not in the notebook
    int day;                                             // the day due is asked about
    bool due;
};

// Boxes wait 1, 2 and 4 days; a right answer before the wait is over changes nothing.
const NotebookCase kCases[] = {
    {"wrong on Monday, not due that day", {{0, W}}, 1, 0, false},
    {"wrong on Monday, due on Tuesday", {{0, W}}, 1, 1, true},
    {"right the same day does not count", {{0, W}, {0, R}}, 1, 1, true},
    {"right on Tuesday: box 2, waits two days", {{0, W}, {1, R}}, 2, 2, false},
    {"box 2 due on Thursday", {{0, W}, {1, R}}, 2, 3, true},
    {"right a day early stays in box 2", {{0, W}, {1, R}, {2, R}}, 2, 3, true},
    {"right on Thursday: box 3, waits four days", {{0, W}, {1, R}, {3, R}}, 3, 6, false},
    {"box 3 due the next Monday", {{0, W}, {1, R}, {3, R}}, 3, 7, true},
    {"right a day early stays in box 3", {{0, W}, {1, R}, {3, R}, {6, R}}, 3, 7, true},
    {"the third right review takes it out", {{0, W}, {1, R}, {3, R}, {7, R}}, 0, 7, false},
    {"wrong again goes back to box 1", {{0, W}, {1, R}, {3, W}}, 1, 4, true},
    {"right without a mistake never enters", {{0, R}}, 0, 1, false},
    {"a clock set back shows the word rather than hiding it", {{0, W}, {1, R}}, 2, -30, true},
    {"right under a clock set back keeps the box, the wait starts again",
     {{0, W}, {1, R}, {-30, R}},
     2,
     -29,
     false},
    {"and it is due again after its wait from that day", {{0, W}, {1, R}, {-30, R}}, 2, -28, true},
    {"wrong under a clock set back is box 1 from that day", {{5, W}, {6, R}, {1, W}}, 1, 2, true},
};

TEST(NotebookRule, MovesWordsThroughTheBoxesAndNeverLosesOneToTheClock)
{
    const QDate monday(2026, 3, 2);
    for (const NotebookCase& c : kCases) {
        SCOPED_TRACE(c.story);
        std::optional<NotebookEntry> entry;
        for (const auto& [day, answer] : c.answers)
            entry = NextNotebookEntry(entry, answer, monday.addDays(day));
        ASSERT_EQ(entry ? entry->box : 0, c.box);
        if (entry) {
            EXPECT_EQ(IsNotebookDue(*entry, monday.addDays(c.day)), c.due);
            EXPECT_EQ(entry->entered, monday.addDays(c.answers.front().first)) << "the day it first came in";
        }
    }
}

} // namespace
} // namespace lexora::test
