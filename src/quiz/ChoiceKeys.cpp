#include "quiz/ChoiceKeys.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QRadioButton>
#include <algorithm>

namespace lexora {

namespace {

const QString kLargeCircle = QStringLiteral("QRadioButton::indicator { width: 26px; height: 26px; }");

} // namespace

ChoiceKeys::ChoiceKeys(QWidget& owner, const std::array<QRadioButton*, 4>& choices, QAbstractButton& confirm)
    : QObject(&owner), m_choices(choices), m_confirm(confirm)
{
    owner.installEventFilter(this);
    for (QRadioButton* choice : m_choices) {
        choice->installEventFilter(this);
        choice->setStyleSheet(kLargeCircle);
        choice->setFocusPolicy(Qt::StrongFocus);
    }
}

int ChoiceKeys::ChoiceForKey(int key)
{
    return key >= Qt::Key_1 && key <= Qt::Key_4 ? key - Qt::Key_1 : -1;
}

QString ChoiceKeys::ChoiceName(int k, const QString& text)
{
    return QStringLiteral("%1. %2").arg(k + 1).arg(text);
}

bool ChoiceKeys::pick(int index)
{
    QRadioButton* choice = m_choices[static_cast<size_t>(index)];
    if (!choice->isVisible() || !choice->isEnabled())
        return false;
    choice->setFocus(Qt::ShortcutFocusReason);
    choice->click();
    return true;
}

bool ChoiceKeys::keyPress(int key)
{
    if (const int index = ChoiceForKey(key); index >= 0)
        return pick(index);
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (m_confirm.isVisible() && m_confirm.isEnabled())
            m_confirm.click();
        return true;
    }
    return false;
}

bool ChoiceKeys::eventFilter(QObject* watched, QEvent* event)
{
    const auto row = std::find(m_choices.begin(), m_choices.end(), watched);
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~Qt::KeypadModifier)
            return false;
        return keyPress(key->key());
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // The row's blank part answers like its circle and text.
        return row != m_choices.end() && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (row == m_choices.end() || mouse->button() != Qt::LeftButton)
            return false;
        if ((*row)->rect().contains(mouse->position().toPoint()) && (*row)->isEnabled()) {
            (*row)->setFocus(Qt::MouseFocusReason);
            (*row)->click();
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace lexora
