#pragma once

#include "quiz/QuizDraw.h"
#include "ui/ViewContext.h"

#include <QDialog>
#include <array>
#include <cstdint>
#include <memory>

class QRadioButton;

namespace Ui {
class FormRRK;
}

namespace lexora {

class ClickLabel;

// The single-word quiz: the learner hears a word and picks its meaning among pictured choices until
// the right one. The caller sets the word, shows the dialog modally and then reads retAns.
class FormRRK final : public QDialog
{
    Q_OBJECT
public:
    explicit FormRRK(const ViewContext& context, QWidget* parent = nullptr);
    ~FormRRK() override;

    // Draws the choices, shows their meanings and pictures, and plays the word.
    void SetTestWord(std::int16_t wordIndex);

    // Stays true until the first wrong answer.
    bool retAns = true;

    void cmdOK_Click();
    void imgWord_Click(int Index);
    void imgSound_Click();

    const QuizChoices& choices() const { return arrChoice; }

private:
    void showChoice(int k);

    std::unique_ptr<Ui::FormRRK> ui;
    ViewContext m_ctx;
    std::array<QRadioButton*, kQuizChoices> m_optAns{};
    std::array<ClickLabel*, kQuizChoices> m_imgWord{};
    QuizChoices arrChoice{};
    std::int16_t m_wordIndex = -1;
    QString m_english;
    QString m_chinese;
};

} // namespace lexora
