#include "ui/ClickLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace lexora {

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    QLabel::mouseReleaseEvent(event);
}

void ClickLabel::keyPressEvent(QKeyEvent* event)
{
    // Reached by Tab only when given a focus policy; then Space works it like a button.
    if (focusPolicy() != Qt::NoFocus && event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
        Q_EMIT clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

} // namespace lexora
