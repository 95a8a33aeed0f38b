#pragma once

#include "store/Prompter.h"

class QTranslator;

namespace lexora {

// Message boxes and the input box on Qt's standard dialogs, over the active window.
class QtPrompter final : public Prompter
{
public:
    Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
};

// Loads Qt's own Chinese texts so standard buttons read 确定/取消/是/否; false when not installed.
bool InstallChineseQtTexts(QTranslator& translator);

} // namespace lexora
