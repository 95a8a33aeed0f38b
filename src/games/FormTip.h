#pragma once

#include "ui/ViewContext.h"

#include <QDialog>
#include <memory>

namespace Ui {
class FormTip;
}

namespace lexora {

class ClockTimer;

// Shows a word of the letter game with its meaning and picture. Its OK button works only after the
// first second of each showing, so a click meant for the board does not close it unseen.
class FormTip final : public QDialog
{
    Q_OBJECT
public:
    explicit FormTip(const ViewContext& context, QWidget* parent = nullptr);
    ~FormTip() override;

    void SetGameWord(const QString& vGameword, const QString& vChinese);
    void LoadWordPic();

    void Timer1_Timer();
    void imgWord_Click();

    ClockTimer& Timer1() { return *m_timer1; }
    const QString& english() const { return m_english; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::FormTip> ui;
    ViewContext m_ctx;
    ClockTimer* m_timer1;
    QString m_english;
    QString m_chinese;
};

} // namespace lexora
