#include "app/FormLearnerChoice.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace lexora {

FormLearnerChoice::FormLearnerChoice(const QStringList& names, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormLearnerChoice"));
    setWindowTitle(QStringLiteral("英语Lexora"));
    setAccessibleName(QStringLiteral("谁来学习？"));
    auto* layout = new QVBoxLayout(this);
    auto* question = new QLabel(QStringLiteral("谁来学习？"), this);
    question->setObjectName(QStringLiteral("lblQuestion"));
    question->setAlignment(Qt::AlignCenter);
    question->setStyleSheet(QStringLiteral("font-size: 28px; font-family: 'Noto Sans CJK SC';"));
    layout->addWidget(question);
    for (int i = 0; i < names.size(); ++i) {
        auto* button = new QPushButton(names[i], this);
        button->setObjectName(QStringLiteral("cmdLearner%1").arg(i));
        button->setAccessibleName(names[i]);
        button->setMinimumSize(280, 64);
        button->setStyleSheet(QStringLiteral("font-size: 24px; font-family: 'Noto Sans CJK SC';"));
        button->setAutoDefault(true);
        connect(button, &QPushButton::clicked, this, [this, i] {
            m_chosen = i;
            accept();
        });
        layout->addWidget(button);
        m_buttons.push_back(button);
    }
    if (!m_buttons.empty())
        m_buttons.front()->setFocus();
}

void FormLearnerChoice::keyPressEvent(QKeyEvent* event)
{
    const int step = event->key() == Qt::Key_Down ? 1 : event->key() == Qt::Key_Up ? -1 : 0;
    if (step == 0 || m_buttons.empty()) {
        QDialog::keyPressEvent(event);
        return;
    }
    const int count = static_cast<int>(m_buttons.size());
    int current = 0;
    for (int i = 0; i < count; ++i) {
        if (m_buttons[static_cast<size_t>(i)]->hasFocus())
            current = i;
    }
    m_buttons[static_cast<size_t>((current + step + count) % count)]->setFocus();
}

} // namespace lexora
