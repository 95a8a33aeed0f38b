#include "app/FormLearners.h"

#include "store/Prompter.h"
#include "ui_FormLearners.h"

namespace lexora {

namespace {

const QString kTitle = QStringLiteral("学习者");

} // namespace

FormLearners::FormLearners(Learners& learners, Prompter& prompter, QString currentId, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::FormLearners>()), m_learners(learners), m_prompter(prompter),
      m_currentId(std::move(currentId))
{
    ui->setupUi(this);
    connect(ui->cmdAdd, &QPushButton::clicked, this, &FormLearners::cmdAdd_Click);
    connect(ui->cmdRename, &QPushButton::clicked, this, &FormLearners::cmdRename_Click);
    connect(ui->cmdRemove, &QPushButton::clicked, this, &FormLearners::cmdRemove_Click);
    connect(ui->cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    fill(m_currentId);
}

FormLearners::~FormLearners() = default;

void FormLearners::fill(const QString& select)
{
    ui->lstLearners->clear();
    for (const Learners::Learner& learner : m_learners.list()) {
        auto* item = new QListWidgetItem(learner.id == m_currentId ? learner.name + QStringLiteral("（正在学习）")
                                                                    : learner.name,
                                         ui->lstLearners);
        item->setData(Qt::UserRole, learner.id);
        if (learner.id == select)
            ui->lstLearners->setCurrentItem(item);
    }
}

QString FormLearners::selectedId() const
{
    const QListWidgetItem* item = ui->lstLearners->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}

void FormLearners::tell(const QString& text)
{
    m_prompter.message(text, kTitle, Prompter::Buttons::Ok, Prompter::Icon::Information);
}

void FormLearners::cmdAdd_Click()
{
    const auto name = m_prompter.input(QStringLiteral("新学习者的名字："), kTitle);
    if (!name)
        return;
    QString error;
    if (const auto added = m_learners.add(*name, &error))
        fill(added->id);
    else
        tell(error);
}

void FormLearners::cmdRename_Click()
{
    const QString id = selectedId();
    const auto learner = m_learners.find(id);
    if (!learner)
        return;
    const auto name = m_prompter.input(QStringLiteral("“%1”的新名字：").arg(learner->name), kTitle, learner->name);
    if (!name)
        return;
    QString error;
    if (m_learners.rename(id, *name, &error))
        fill(id);
    else
        tell(error);
}

void FormLearners::cmdRemove_Click()
{
    const auto learner = m_learners.find(selectedId());
    if (!learner)
        return;
    if (learner->id == m_currentId) {
        tell(QStringLiteral("“%1”正在学习，不能删除。").arg(learner->name));
        return;
    }
    if (m_prompter.message(QStringLiteral("真的要删除学习者“%1”吗？\n他的学习记录会作为备份保留下来。").arg(learner->name),
                           kTitle, Prompter::Buttons::YesNo, Prompter::Icon::Question) != Prompter::Answer::Yes)
        return;
    QString error;
    if (!m_learners.remove(learner->id, &error))
        tell(error);
    fill(m_currentId);
}

} // namespace lexora
