#pragma once

#include "views/ViewContext.h"

#include <QDialog>
#include <memory>

namespace Ui {
class FormTip;
}

namespace lexora {

class ClockTimer;

// Shows a word of the letter game with its meaning and picture. It can be closed only after the first
// second of each showing, so a click or key meant for the board does not close it unseen.
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

    // Every way of closing (OK, Return, Esc, the close box) waits for the first second.
    void done(int result) override;

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
