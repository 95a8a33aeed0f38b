#pragma once

#include "store/Prompter.h"

namespace lexora {

// Message boxes of the command-line tools: the text goes to stderr and the first offered answer is
// taken. The input box reads a line from stdin when the tool may ask (the access code), else it is
// left unanswered (a build console).
class ConsolePrompter final : public Prompter
{
public:
    explicit ConsolePrompter(bool readsInput = false) : m_readsInput(readsInput) {}
    Answer message(const QString& text, const QString& title, Buttons buttons = Buttons::Ok,
                   Icon icon = Icon::None) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText = {}) override;

private:
    bool m_readsInput;
};

} // namespace lexora
