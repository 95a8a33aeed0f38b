#include "quiz/ChoiceKeys.h"

#include "media/PageScale.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <algorithm>

namespace lexora {

namespace {

constexpr int kCircle = 26;
constexpr int kHintWidth = 15;
constexpr int kHintPt = 9;

} // namespace

ChoiceKeys::ChoiceKeys(QWidget& owner, const std::array<QRadioButton*, 4>& choices, QAbstractButton& confirm)
    : QObject(&owner), m_choices(choices), m_confirm(confirm)
{
    owner.installEventFilter(this);
    for (size_t k = 0; k < m_choices.size(); ++k) {
        QRadioButton* choice = m_choices[k];
        choice->installEventFilter(this);
        PageScale::setIndicatorSize(*choice, kCircle);
        choice->setFocusPolicy(Qt::StrongFocus);
        m_hints[k] = keyHint(*choice, static_cast<int>(k));
    }
}

QLabel* ChoiceKeys::keyHint(QRadioButton& choice, int k)
{
    // The key's digit in the margin just left of the circle, small, where the eye meets the choice.
    auto* hint = new QLabel(QString::number(k + 1), choice.parentWidget());
    hint->setObjectName(QStringLiteral("keyHint_%1").arg(k));
    hint->setAccessibleName(QStringLiteral("按键 %1").arg(k + 1));
    hint->setAlignment(Qt::AlignCenter);
    hint->setStyleSheet(QStringLiteral("color: #6a7f99;"));
    QFont font = PageScale::font(choice);
    font.setPointSize(kHintPt);
    font.setBold(true);
    PageScale::setFont(*hint, font);
    const QRect place = PageScale::geometry(choice);
    PageScale::setGeometry(*hint, QRect(place.x() - kHintWidth - 1, place.y(), kHintWidth, place.height()));
    hint->setVisible(!choice.isHidden());
    return hint;
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
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        // A choice left out of a short list takes its key's digit with it.
        if (row != m_choices.end())
            m_hints[static_cast<size_t>(row - m_choices.begin())]->setVisible(event->type() ==
                                                                              QEvent::ShowToParent);
        return false;
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
