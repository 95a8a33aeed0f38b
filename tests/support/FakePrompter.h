#pragma once

#include "store/Prompter.h"

#include <deque>
#include <vector>

namespace lexora::test {

// Records every message and input request; answers from a queue (Ok / the first offered answer
// when the queue is empty).
class FakePrompter final : public Prompter
{
public:
    struct Asked
    {
        QString text;
        QString title;
        Buttons buttons;
        Icon icon;
    };

    void queueAnswer(Answer answer) { m_answers.push_back(answer); }
    // An empty optional answers as if the person cancelled.
    void queueInput(const std::optional<QString>& text)
    {
        m_inputs.push_back({!text, text.value_or(QString())});
    }

    Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& defaultText) override;

    const std::vector<Asked>& asked() const { return m_asked; }
    std::vector<QString> texts() const;
    void clear() { m_asked.clear(); }

private:
    std::deque<Answer> m_answers;
    struct Input
    {
        bool cancelled;
        QString text;
    };
    std::deque<Input> m_inputs;
    std::vector<Asked> m_asked;
};

} // namespace lexora::test
