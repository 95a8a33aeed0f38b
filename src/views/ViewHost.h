#pragma once

#include <cstdint>

namespace lexora {

// What the views may ask of the window that hosts them. The main window implements it and hands it
// to each view, so no view includes the main window or a sibling view.
class ViewHost
{
public:
    virtual ~ViewHost() = default;
    // Hides every view and shows the one numbered ctrlIndex (1 reader, 2 word list, 3 letter game,
    // 4 recognition test with its mode in para, 6 matching game, 8 picture word list).
    virtual void ShowUserControl(std::int16_t ctrlIndex, std::int16_t para = 0) = 0;
    // The main window's reader command: asks the running activity to end, then shows the reader.
    virtual void ShowReader() = 0;
    // Shows the word list with the result of the recognition test run that has just ended.
    virtual void ShowTestResults() = 0;
    // The letter game's help text in the help dialog, shown modally.
    virtual void ShowGameHelp() = 0;
};

} // namespace lexora
