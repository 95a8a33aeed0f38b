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

QRectF ButtonFace::faceRect() const
{
    return QRectF(m_button.rect()).adjusted(2, 2, -2, -2);
}

void ButtonFace::DrawAhead(const std::vector<ButtonFace*>& faces)
{
    struct Face
    {
        QString emoji;
        QString name;
        QColor colour;
        QSize size;
    };
    std::vector<Face> wanted;
    for (const ButtonFace* face : faces)
        wanted.push_back({face->m_emoji, face->m_name, face->m_colour, face->faceRect().size().toSize()});
    const std::shared_future<std::vector<QImage>> drawn = std::async(std::launch::async, [wanted] {
        std::vector<QImage> images;
        for (const Face& face : wanted) {
            QImage& image = images.emplace_back(face.size, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            PaintPictureButtonFace(painter, QRectF(image.rect()), face.emoji, face.name, face.colour);
        }
        return images;
    });
    for (size_t i = 0; i < faces.size(); ++i) {
        faces[i]->m_ahead = drawn;
        faces[i]->m_aheadIndex = i;
    }
}

const QImage* ButtonFace::drawnAhead(QSize deviceSize)
{
    if (m_ahead.valid()) {
        m_drawn = m_ahead.get().at(m_aheadIndex);
        m_ahead = {};
    }
    return !m_drawn.isNull() && m_drawn.size() == deviceSize ? &m_drawn : nullptr;
}

void ButtonFace::paint()
{
    QPainter painter(&m_button);
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF face = faceRect();
    if (m_button.isDown())
        face.translate(1, 1);
    const QImage* ahead =
        m_button.isEnabled() ? drawnAhead(painter.deviceTransform().mapRect(face).size().toSize()) : nullptr;
    if (ahead)
        painter.drawImage(face, *ahead);
    else
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
