#pragma once

#include "store/Learners.h"

#include <QDialog>
#include <memory>

namespace Ui {
class FormLearners;
}

namespace lexora {

class Prompter;

// Where a parent adds, renames and removes the children who learn on this account. The learner
// studying now cannot be removed; a removed learner's records are kept as a dated backup.
class FormLearners final : public QDialog
{
    Q_OBJECT
public:
    FormLearners(Learners& learners, Prompter& prompter, QString currentId, QWidget* parent = nullptr);
    ~FormLearners() override;

    void cmdAdd_Click();
    void cmdRename_Click();
    void cmdRemove_Click();

private:
    void fill(const QString& select = {});
    QString selectedId() const;
    void tell(const QString& text);

    std::unique_ptr<Ui::FormLearners> ui;
    Learners& m_learners;
    Prompter& m_prompter;
    QString m_currentId;
};

} // namespace lexora
