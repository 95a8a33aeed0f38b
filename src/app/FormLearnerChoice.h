#pragma once

#include <QDialog>
#include <QStringList>
#include <vector>

class QPushButton;

namespace lexora {

// "谁来学习？" at start-up when several children learn on this account: a large button per child,
// reached with the arrow keys and chosen with Enter as well as the mouse.
class FormLearnerChoice final : public QDialog
{
    Q_OBJECT
public:
    explicit FormLearnerChoice(const QStringList& names, QWidget* parent = nullptr);

    // The index of the child chosen; -1 before a choice.
    int chosen() const { return m_chosen; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::vector<QPushButton*> m_buttons;
    int m_chosen = -1;
};

} // namespace lexora
