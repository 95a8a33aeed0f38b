#pragma once

#include <QString>
#include <optional>

namespace lexora {

// Message boxes and the input box. The store and media layers ask through this; the program wraps
// QMessageBox, tests script the answers.
class Prompter
{
public:
    enum class Buttons
    {
        Ok,
        OkCancel,
        YesNo,
        YesNoCancel
    };
    enum class Icon
    {
        None,
        Information,
        Question,
        Warning,
        Critical
    };
    enum class Answer
    {
        Ok,
        Cancel,
        Yes,
        No
    };

    virtual ~Prompter() = default;
    virtual Answer message(const QString& text, const QString& title, Buttons buttons = Buttons::Ok,
                           Icon icon = Icon::None) = 0;
    // Returns nothing when the person cancels.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& defaultText = {}) = 0;
};

} // namespace lexora
