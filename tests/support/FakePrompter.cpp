#include "FakePrompter.h"

namespace lexora::test {

Prompter::Answer FakePrompter::message(const QString& text, const QString& title, Buttons buttons, Icon icon)
{
    m_asked.push_back({text, title, buttons, icon});
    if (!m_answers.empty()) {
        const Answer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
}

std::optional<QString> FakePrompter::input(const QString& prompt, const QString& title,
                                           const QString& defaultText)
{
    m_asked.push_back({prompt, title, Buttons::OkCancel, Icon::None});
    if (m_inputs.empty())
        return defaultText;
    const Input next = m_inputs.front();
    m_inputs.pop_front();
    if (next.cancelled)
        return std::nullopt;
    return next.text;
}

std::vector<QString> FakePrompter::texts() const
{
    std::vector<QString> out;
    for (const Asked& a : m_asked)
        out.push_back(a.text);
    return out;
}

} // namespace lexora::test
