#include "app/ButtonFace.h"

#include "ui/Art.h"

#include <QAbstractButton>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>

namespace lexora {

ButtonFace::ButtonFace(QAbstractButton& button, const QString& emoji, const QString& name,
                       const QColor& colour)
    : QObject(&button), m_button(button), m_emoji(emoji), m_name(name), m_colour(colour)
{
    button.setAttribute(Qt::WA_Hover);
    button.installEventFilter(this);
}

bool ButtonFace::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &m_button)
        return false;
    if (event->type() == QEvent::Paint) {
        paint();
        return true;
    }
    return false;
}

void ButtonFace::paint()
{
    QPainter painter(&m_button);
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF face = QRectF(m_button.rect()).adjusted(2, 2, -2, -2);
    if (m_button.isDown())
        face.translate(1, 1);
    PaintPictureButtonFace(painter, face, m_emoji, m_name,
                           m_button.isEnabled() ? m_colour : QColor(Qt::gray));
    if (m_button.underMouse() && !m_button.isDown()) {
        QPainterPath path;
        path.addRoundedRect(face.adjusted(1, 1, -1, -1), 10, 10);
        painter.fillPath(path, QColor(255, 255, 255, 50));
    }
    if (m_button.hasFocus()) {
        painter.setPen(QPen(QColor(0xff, 0x8c, 0x00), 3));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(m_button.rect()).adjusted(1.5, 1.5, -1.5, -1.5), 11, 11);
    }
}

} // namespace lexora
